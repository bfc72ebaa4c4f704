// The results window: the output as the compiler wrote it, controls that follow the window's
// edges, and a window that refuses to become smaller than it opened.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "resource.h"
#include "support/GuiTest.h"
#include "ui/BuildResultsDialog.h"

namespace {

RECT ControlRect(HWND dialog, int id) {
    RECT r;
    ::GetWindowRect(::GetDlgItem(dialog, id), &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

TEST(BuildResults, ShowsTheOutputUnchangedAndFollowsTheWindowEdges) {
    std::string output;
    for (int i = 1; i <= 200; ++i)
        output += "objects.csv(" + std::to_string(i) + "): placement read\r\n";
    output += "\tdone, 0 errors\r\n";
    CBuildResultsDialog dialog(nullptr, output);
    gui_test::WhenDialogOpens([&](HWND window) {
        EXPECT_EQ(gui_test::Text(window, IDC_BUILD_OUTPUT), output);
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(window, IDOK));
        EXPECT_FALSE(gui_test::IsEnabled(window, IDC_BUILD_OUTPUT));

        const RECT text = ControlRect(window, IDC_BUILD_OUTPUT), ok = ControlRect(window, IDOK);
        RECT frame;
        ::GetWindowRect(window, &frame);
        ::SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + 120,
                       frame.bottom - frame.top + 80, SWP_NOMOVE | SWP_NOZORDER);
        gui_test::PumpMessages();
        const RECT grownText = ControlRect(window, IDC_BUILD_OUTPUT);
        const RECT movedOk = ControlRect(window, IDOK);
        EXPECT_EQ(grownText.left, text.left);
        EXPECT_EQ(grownText.top, text.top);
        EXPECT_EQ(grownText.right, text.right + 120);
        EXPECT_EQ(grownText.bottom, text.bottom + 80);
        EXPECT_EQ(movedOk.left, ok.left + 120);
        EXPECT_EQ(movedOk.top, ok.top + 80);
        EXPECT_EQ(movedOk.right - movedOk.left, ok.right - ok.left);
        EXPECT_TRUE(gui_test::SaveWindowPng(window, gui_test::ScreenshotPath("BuildResults")));

        // Minimising changes nothing; the way back restores the same layout.
        ::ShowWindow(window, SW_MINIMIZE);
        ::ShowWindow(window, SW_RESTORE);
        gui_test::PumpMessages();
        EXPECT_EQ(ControlRect(window, IDOK).left, movedOk.left);

        MINMAXINFO limits{};
        ::SendMessageA(window, WM_GETMINMAXINFO, 0, LPARAM(&limits));
        EXPECT_EQ(limits.ptMinTrackSize.x, frame.right - frame.left);
        EXPECT_EQ(limits.ptMinTrackSize.y, frame.bottom - frame.top);
        gui_test::Click(window, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}
