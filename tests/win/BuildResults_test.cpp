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

// Grows the window by dx, dy; the frame it had.
RECT Grow(HWND window, int dx, int dy) {
    RECT frame;
    ::GetWindowRect(window, &frame);
    ::SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + dx,
                   frame.bottom - frame.top + dy, SWP_NOMOVE | SWP_NOZORDER);
    gui_test::PumpMessages();
    return frame;
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
        const RECT frame = Grow(window, 120, 80);
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

TEST(BuildResults, AnchorsWithoutFlagsOrControlsAreLeftAlone) {
    class Probe : public CResizableDialog {
      public:
        Probe() : CResizableDialog(IDD_BUILD_RESULTS, nullptr) {
            AddAnchor(IDC_BUILD_OUTPUT, 0);       // not added
            AddAnchor(4242, anchor::kMoveRight);  // no such control
            AddAnchor(IDOK, anchor::kStretchRight | anchor::kMoveRight | anchor::kMoveDown);
        }
    } dialog;
    gui_test::WhenDialogOpens([](HWND window) {
        const RECT text = ControlRect(window, IDC_BUILD_OUTPUT), ok = ControlRect(window, IDOK);
        Grow(window, 50, 30);
        EXPECT_EQ(ControlRect(window, IDC_BUILD_OUTPUT).right, text.right);
        const RECT after = ControlRect(window, IDOK);
        EXPECT_EQ(after.left, ok.left);  // the stretch wins over the move
        EXPECT_EQ(after.right, ok.right + 50);
        EXPECT_EQ(after.top, ok.top + 30);
        gui_test::Click(window, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}
