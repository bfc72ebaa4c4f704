#include "placement/QuitPath.h"

#include <gtest/gtest.h>

#include "common/FakeForm.h"
#include "common/MessageRecorder.h"
#include "resource.h"

namespace {

struct Leaving : ::testing::Test {
    OutputList output;
    FakeForm form;
    MessageRecorder messages;
    int settingsWrites = 0;
    bool Quit() {
        return ConfirmQuit(output, form, [this] { ++settingsWrites; });
    }
    void AddUnsaved() {
        output.placementCount = 1;
        output.savedFlag = false;
    }
};

TEST_F(Leaving, QuitWithNothingAddedSavesSettingsAndClosesWithoutAsking) {
    EXPECT_TRUE(Quit());
    EXPECT_EQ(settingsWrites, 1);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Leaving, QuitUnsavedAnsweredYesClosesWithoutWriting) {
    AddUnsaved();
    output.outputPath = "/nonexistent-folder/never-written.scn";
    messages.answers = {answer::kYes};
    EXPECT_TRUE(Quit());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].kind, message_kind::kQuitQuestion);
    EXPECT_EQ(settingsWrites, 1);
}

TEST_F(Leaving, QuitWithoutFileNameStaysOpenWithFocusInTheFileBox) {
    AddUnsaved();
    messages.answers = {answer::kNo};
    EXPECT_FALSE(Quit());
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].kind, message_kind::kExclamation);
    EXPECT_EQ(form.focused, IDC_OUTPUT_FILE);
    EXPECT_EQ(settingsWrites, 1);  // already saved before the question
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

TEST_F(Leaving, EscapeClosesWhenNothingIsUnsavedAndOtherwiseAsks) {
    EXPECT_TRUE(ConfirmCancel(output));
    EXPECT_TRUE(messages.messages.empty());
    AddUnsaved();
    messages.answers = {answer::kNo, answer::kYes};
    EXPECT_FALSE(ConfirmCancel(output));
    EXPECT_TRUE(ConfirmCancel(output));
    EXPECT_EQ(messages.messages.size(), 2u);
}

}  // namespace
