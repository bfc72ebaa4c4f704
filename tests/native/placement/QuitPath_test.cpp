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

}  // namespace
