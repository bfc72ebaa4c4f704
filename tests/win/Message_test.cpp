#include "placement/Message.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "common/AppStrings.h"
#include "resource.h"

TEST(ReportMessageOnWindows, NoTextShowsNothingAndGivesTwo) {
    EXPECT_EQ(ReportMessage(nullptr, MB_OK), 2);
}

TEST(AppStringsOnWindows, StringTableHoldsTheFixedTexts) {
    EXPECT_EQ(LoadAppString(IDS_CAPTION), "Scenewright");
    EXPECT_EQ(LoadAppString(IDS_QUIT_UNSAVED), "Quit without saving file?");
    EXPECT_EQ(LoadAppString(99), "");
}
