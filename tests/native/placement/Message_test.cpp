#include "placement/Message.h"

#include <gtest/gtest.h>

#include "common/MessageRecorder.h"

TEST(ReportMessage, ShowsNothingForNoTextAndCaptionsTheRest) {
    MessageRecorder recorder;
    EXPECT_EQ(ReportMessage(nullptr, message_kind::kPlain), answer::kNothingShown);
    EXPECT_TRUE(recorder.messages.empty());

    SetMessageCaption("");
    recorder.answers = {answer::kYes};
    EXPECT_EQ(ReportMessage("Quit without saving file?", message_kind::kQuitQuestion), answer::kYes);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].caption, "Scenewright");
    EXPECT_EQ(recorder.messages[0].kind, 0x124u);
}
