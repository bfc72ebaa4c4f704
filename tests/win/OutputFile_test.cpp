#include <windows.h>

#include <gtest/gtest.h>

#include "common/FakeForm.h"
#include "common/MessageRecorder.h"
#include "placement/OutputList.h"
#include "placement/Placement.h"
#include "resource.h"
#include "support/TempFolder.h"

namespace {

FakeForm EffectForm(const char* name) {
    FakeForm form;
    form[IDC_TYPE].selected = static_cast<int>(ObjectType::EFFECT);
    form[IDC_NAME].text = name;
    form[IDC_LATITUDE].text = "S013* 55' 21.0000\"";
    form[IDC_LONGITUDE].text = "E085* 41' 36.0000\"";
    form[IDC_SNAP_TO_GROUND].checked = true;
    return form;
}

// Files in the folder other than the ones named: a left-over temporary shows up here.
int OtherFiles(const TempFolder& folder, const std::string& except) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder.File("*").c_str(), &found);
    int count = 0;
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != ".." && name != except)
            ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

}  // namespace

TEST(OutputFileOnWindows, WritesTheListsBytesAndReplacesTheFile) {
    MessageRecorder recorder;
    TempFolder folder;
    std::string path = folder.File("objects.csv");
    ASSERT_TRUE(WriteWholeFile(path, std::string(5000, 'x')));

    OutputList list;
    FakeForm form = EffectForm("fx_caf\xE9_\xFC");
    ASSERT_TRUE(list.AddPlacement(form, {}, {}));
    list.outputPath = path;
    ASSERT_TRUE(list.WriteOutputFile());
    EXPECT_TRUE(list.savedFlag);

    // The longer file it replaced leaves nothing behind; 8-bit letters stay as they are.
    EXPECT_EQ(ReadWholeFile(path), list.FileBytes());
    EXPECT_NE(list.FileBytes().find("EFFECT,fx_caf\xE9_\xFC,"), std::string::npos);

    // The C runtime's bounded formatting cuts an over-long line rather than losing it.
    Placement huge;
    huge.name = std::string(5000, 'n');
    EXPECT_EQ(FormatPlacementLine(huge)[0], "EFFECT," + std::string(4088, 'n'));

    list.Clear(form);
    ASSERT_TRUE(list.WriteOutputFile());
    EXPECT_EQ(ReadWholeFile(path), list.FileBytes());
    EXPECT_EQ(OtherFiles(folder, "objects.csv"), 0);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST(OutputFileOnWindows, AFailedWriteLeavesThePreviousFile) {
    MessageRecorder recorder;
    TempFolder folder;
    OutputList list;
    list.outputPath = folder.File("missing\\objects.csv");
    EXPECT_FALSE(list.WriteOutputFile());
    EXPECT_FALSE(list.savedFlag);
    EXPECT_EQ(GetLastError(), 3u);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "ERROR:3 Cannot create file \"" + list.outputPath + "\"");
    EXPECT_EQ(recorder.messages[0].kind, 0u);

    std::string path = folder.File("kept.csv");
    ASSERT_TRUE(WriteWholeFile(path, "good placements\r\n"));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    list.outputPath = path;
    EXPECT_FALSE(list.WriteOutputFile());
    EXPECT_FALSE(list.savedFlag);
    EXPECT_EQ(ReadWholeFile(path), "good placements\r\n");
    EXPECT_EQ(OtherFiles(folder, "kept.csv"), 0);
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[1].text, "ERROR:5 Cannot create file \"" + path + "\"");

    // Held open by another program: the new file is complete, but it cannot take the old one's
    // place, and it must not stay behind.
    std::string busy = folder.File("busy.csv");
    ASSERT_TRUE(WriteWholeFile(busy, "in use\r\n"));
    HANDLE holder = CreateFileA(busy.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    list.outputPath = busy;
    EXPECT_FALSE(list.WriteOutputFile());
    CloseHandle(holder);
    EXPECT_FALSE(list.savedFlag);
    EXPECT_EQ(ReadWholeFile(busy), "in use\r\n");
    EXPECT_EQ(OtherFiles(folder, "kept.csv"), 1);
    ASSERT_EQ(recorder.messages.size(), 3u);
}

TEST(OutputFileOnWindows, NameIsCheckedAsAFullPath) {
    MessageRecorder recorder;
    TempFolder folder;
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    ASSERT_TRUE(WriteWholeFile(folder.File("existing.csv"), "old\r\n"));

    OutputList list;
    list.outputPath = "C:\\kept.csv";
    FakeForm form;
    form[IDC_OUTPUT_FILE].text = "existing.csv";
    recorder.answers = {answer::kNo};
    EXPECT_FALSE(list.CheckOutputFileName(form));
    EXPECT_EQ(list.outputPath, "C:\\kept.csv");
    EXPECT_EQ(form[IDC_OUTPUT_FILE].text, "");
    EXPECT_EQ(form.focused, IDC_OUTPUT_FILE);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text,
              folder.File("existing.csv") + " already exists.\r\nDo you want to replace it?");
    EXPECT_EQ(recorder.messages[0].kind, 0x134u);

    // Too long once the current folder is put in front: refused, not cut to a different name.
    form[IDC_OUTPUT_FILE].text = std::string(250, 'x');
    EXPECT_FALSE(list.CheckOutputFileName(form));
    EXPECT_EQ(list.outputPath, "C:\\kept.csv");
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[1].text.substr(0, 30), "ERROR:CE Cannot use file name ");

    // A typed relative name keeps naming this folder after the current folder moves away.
    form[IDC_OUTPUT_FILE].text = "new.csv";
    EXPECT_TRUE(list.CheckOutputFileName(form));
    EXPECT_EQ(list.outputPath, folder.File("new.csv"));
    EXPECT_EQ(form[IDC_OUTPUT_FILE].text, folder.File("new.csv"));
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(list.WriteOutputFile());
    EXPECT_EQ(ReadWholeFile(folder.File("new.csv")), list.FileBytes());
    EXPECT_EQ(recorder.messages.size(), 2u);
}
