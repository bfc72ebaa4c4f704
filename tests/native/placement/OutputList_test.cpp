// The output list (Add, Clear, the output file name), the one message routine, and leaving the
// program with Quit or Escape, for a list of added placements and for one opened from a file.
#include "placement/OutputList.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "common/FakeForm.h"
#include "common/MessageRecorder.h"
#include "native/sim/ScanFiles.h"
#include "placement/Message.h"
#include "placement/Placement.h"
#include "placement/PlacementFile.h"
#include "placement/QuitPath.h"
#include "resource.h"

namespace {

FakeForm WindsockForm() {
    FakeForm form;
    form[IDC_TYPE].selected = static_cast<int>(ObjectType::WINDSOCK);
    form[IDC_LATITUDE].text = "N047* 26' 59.0000\"";
    form[IDC_LONGITUDE].text = "W122* 18' 32.0000\"";
    form[IDC_SNAP_TO_GROUND].checked = true;
    return form;
}

}  // namespace

TEST(OutputList, AddCountsPlacementsAndClearKeepsTheTooltip) {
    MessageRecorder recorder;
    OutputList list;
    FakeForm form = WindsockForm();
    EXPECT_TRUE(list.AddPlacementAndConfirm(form, {}, {}));
    EXPECT_EQ(form[IDC_CLEAR].tooltip, "Clear 1 item from the output file");
    list.savedFlag = true;
    EXPECT_TRUE(list.AddPlacement(form, {}, {}));
    EXPECT_FALSE(list.savedFlag);
    EXPECT_TRUE(list.AddPlacement(form, {}, {}));
    EXPECT_EQ(list.Lines().size(), 17u);
    EXPECT_EQ(form[IDC_CLEAR].tooltip, "Clear 3 items from the output file");
    EXPECT_TRUE(form[IDC_CLEAR].enabled && form[IDC_BUILD].enabled);
    EXPECT_EQ(list.placementCount, 3);

    list.Clear(form);
    EXPECT_EQ(list.Lines().size(), kOutputHeaderLineCount);
    EXPECT_EQ(list.placementCount, 0);
    EXPECT_FALSE(form[IDC_CLEAR].enabled || form[IDC_BUILD].enabled);
    EXPECT_EQ(form[IDC_CLEAR].tooltip, "Clear 3 items from the output file");

    form[IDC_LATITUDE].text = "";
    EXPECT_FALSE(list.AddPlacementAndConfirm(form, {}, {}));
    EXPECT_EQ(list.Lines().size(), kOutputHeaderLineCount);
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[0].text, "The object was added successfully.");
    EXPECT_EQ(recorder.messages[1].text, "Unable to add object.");
}

TEST(OutputFileName, RefusalsStopTheCheckAndAnEmptyBoxStaysEmpty) {
    for (const char* bad : {"a/b", "a*b", "a?b", "a<b", "a>b", "a|b"})
        EXPECT_FALSE(HasNoForbiddenCharacter(bad)) << bad;
    EXPECT_TRUE(HasNoForbiddenCharacter("C:\\my dir\\objects.csv"));

    MessageRecorder recorder;
    OutputList list;
    list.outputPath = "/kept.csv";
    FakeForm form;
    form[IDC_OUTPUT_FILE].text = "bad?.csv";
    EXPECT_FALSE(list.CheckOutputFileName(form));
    EXPECT_EQ(list.outputPath, "/kept.csv");
    EXPECT_EQ(form[IDC_OUTPUT_FILE].text, "");
    EXPECT_EQ(form.focused, IDC_OUTPUT_FILE);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].kind, 0x10u);

    // After a refusal the command state is not looked at: no second box follows the first.
    form[IDC_OUTPUT_FILE].text = SCENEWRIGHT_SOURCE_DIR "/README.md";
    recorder.answers = {answer::kNo};
    EXPECT_FALSE(list.CheckOutputFileName(form));
    form[IDC_OUTPUT_FILE].text = std::string(300, 'x');
    EXPECT_FALSE(list.CheckOutputFileName(form));
    EXPECT_EQ(list.outputPath, "/kept.csv");
    EXPECT_EQ(recorder.messages.size(), 3u);
    EXPECT_EQ(form.commandStateUpdates, 0);

    form[IDC_OUTPUT_FILE].text = "";
    EXPECT_TRUE(list.CheckOutputFileName(form));
    EXPECT_EQ(list.outputPath, "");
    EXPECT_GT(form.commandStateUpdates, 0);
}

TEST(ReportMessage, ShowsNothingForNoTextAndCaptionsTheRest) {
    MessageRecorder recorder;
    EXPECT_EQ(ReportMessage(nullptr, message_kind::kPlain), answer::kNothingShown);
    EXPECT_TRUE(recorder.messages.empty());

    SetMessageCaption("");
    recorder.answers = {answer::kYes};
    EXPECT_EQ(ReportMessage("Quit without saving file?", message_kind::kQuitQuestion),
              answer::kYes);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].caption, "Scenewright");
    EXPECT_EQ(recorder.messages[0].kind, 0x124u);
}

namespace {

struct Leaving : ::testing::Test {
    OutputList output;
    FakeForm form;
    MessageRecorder messages;
    int settingsWrites = 0;
    bool Quit() {
        return ConfirmQuit(output, form, [this] { ++settingsWrites; });
    }
};

TEST_F(Leaving, QuitSavesTheSettingsFirstAndAsksOnlyForUnsavedPlacements) {
    EXPECT_TRUE(Quit());
    EXPECT_TRUE(ConfirmCancel(output));
    EXPECT_TRUE(messages.messages.empty());

    // Yes to "quit without saving" closes without writing.
    output.placementCount = 1;
    output.outputPath = "/nonexistent-folder/never-written.scn";
    messages.answers = {answer::kYes};
    EXPECT_TRUE(Quit());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].kind, message_kind::kQuitQuestion);

    // No, and no file named: the window stays open with the focus in the file box.
    output.outputPath = "";
    messages.answers = {answer::kNo};
    EXPECT_FALSE(Quit());
    ASSERT_EQ(messages.messages.size(), 3u);
    EXPECT_EQ(messages.messages[2].kind, message_kind::kExclamation);
    EXPECT_EQ(form.focused, IDC_OUTPUT_FILE);
    EXPECT_EQ(settingsWrites, 3);

    // Escape asks the same question.
    messages.answers = {answer::kNo, answer::kYes};
    EXPECT_FALSE(ConfirmCancel(output));
    EXPECT_TRUE(ConfirmCancel(output));
    EXPECT_EQ(messages.messages.size(), 5u);
}

TEST_F(Leaving, QuitWhoseFileWriteFailsStaysOpen) {
    output.placementCount = 2;
    output.savedFlag = true;  // written by Build before: no question, written again
    output.outputPath = "/nonexistent-folder/out.scn";
    EXPECT_FALSE(Quit());
    ASSERT_EQ(messages.messages.size(), 1u);  // the write's own error
    // The file Build wrote still holds the whole list: leaving asks nothing.
    EXPECT_TRUE(output.savedFlag);
    EXPECT_TRUE(ConfirmCancel(output));
    EXPECT_EQ(messages.messages.size(), 1u);
}

TEST_F(Leaving, AnOpenedFileIsWrittenOnlyWhenChangedAndNotOverAnotherProgramsEdit) {
    const scan_files::TempFolder temp;
    const std::string path = temp.path + "/places.csv";
    const std::string windsock =
        "WINDSOCK,,N047* 26' 59.0000,W122* 18' 32.0000,AGL,0.00,0.00,90.00,Normal,\"\"\n";
    const std::string head = ";;++\n;; mine\n", note = ";; hangars\n";
    auto write = [&](const std::string& bytes) { temp.Write("places.csv", bytes); };
    auto read = [&] {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    auto open = [&] {
        messages.messages.clear();
        EXPECT_TRUE(OpenPlacementFile(output, form, path));
    };

    // Left unchanged, the file is never written, whatever another program did to it meanwhile.
    write(head + windsock + note + windsock);
    open();
    EXPECT_TRUE(Quit() && ConfirmCancel(output));
    const std::string edited = head + windsock + note + windsock + ";; theirs\n";
    write(edited);
    EXPECT_TRUE(Quit());
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(read(), edited);

    // Remove is a change: both ways out ask, and Quit writes the list in the file's line ends.
    open();
    EXPECT_EQ(output.RemovePlacements({0}, form), 1);
    messages.answers = {answer::kNo, answer::kNo};
    EXPECT_FALSE(ConfirmCancel(output));
    EXPECT_TRUE(Quit());
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(read(), head + note + windsock + ";; theirs\n");

    // A change on disk since the last write, in its time alone: Clear's empty list is written
    // over it only after the question, and No keeps the file and the window.
    const auto time = std::filesystem::last_write_time(path);
    std::filesystem::last_write_time(path, time - std::chrono::hours(1));
    output.Clear(form);
    EXPECT_FALSE(form[IDC_BUILD].enabled);
    messages.messages.clear();
    messages.answers = {answer::kNo, answer::kNo};
    EXPECT_FALSE(Quit());
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(
        messages.messages[1].text,
        "\"" + path + "\" has been changed by another program since it was opened. Write over it?");
    EXPECT_EQ(messages.messages[1].kind, 0x134u);
    EXPECT_EQ(read(), head + note + windsock + ";; theirs\n");
    EXPECT_FALSE(output.savedFlag);
    messages.answers = {answer::kNo, answer::kYes};
    EXPECT_TRUE(Quit());
    EXPECT_EQ(read(), head + note + ";; theirs\n");
    // Written now: the next write asks nothing.
    messages.messages.clear();
    EXPECT_TRUE(output.WriteOutputFile());
    EXPECT_TRUE(messages.messages.empty());

    // Once Build has written it, a list never opened from a file is not written over another
    // program's edit unasked either.
    OutputList made;
    made.outputPath = temp.path + "/made.csv";
    ASSERT_TRUE(made.WriteOutputFile());
    temp.Write("made.csv", "theirs");
    messages.answers = {answer::kNo};
    EXPECT_FALSE(made.WriteOutputFile());
    EXPECT_EQ(messages.messages.size(), 1u);
}

}  // namespace
