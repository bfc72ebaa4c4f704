// The find window over the main window of this process, on a generated install: it starts with
// the main window's kind, typing filters the rows and the count, a header click sorts and the
// next reverses, Escape leaves the main window as it was, and Use picks the row there as the
// Name list does.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "SimGen.h"
#include "app/MainDialog.h"
#include "common/MessageRecorder.h"
#include "framework/WinApp.h"
#include "resource.h"
#include "support/GuiTest.h"
#include "support/RunningProgram.h"
#include "support/TempFolder.h"
#include "ui/FindObjectDialog.h"

namespace {

using gui_test::Text;
using gui_test::WhenDialogOpens;
using Cells = std::vector<std::string>;

class CTestApp : public CWinApp {};
CTestApp theApp;

// Ctrl+F as the main window's loop sees it; true when the window took it.
bool PressControlF(CMainDialog& dialog) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG message{::GetFocus(), WM_KEYDOWN, 'F', 0, 0, {}};
    const bool taken = dialog.PreTranslateMessage(&message);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    return taken;
}

HWND List(HWND find) {
    return ::GetDlgItem(find, IDC_FIND_LIST);
}

// One column of every row, or one row's cells.
Cells Column(HWND find, int column) {
    Cells cells;
    const int rows = int(::SendMessageA(List(find), LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row)
        cells.push_back(gui_test::CellText(List(find), row, column));
    return cells;
}

void Type(HWND find, const std::string& text) {
    ::SetDlgItemTextA(find, IDC_FIND_TEXT, "");
    gui_test::TypeText(text, ::GetDlgItem(find, IDC_FIND_TEXT));
    gui_test::PumpMessages();
}

// A click on a column's header, as the header control sees it.
void ClickHeader(HWND find, int column) {
    HWND header = HWND(::SendMessageA(List(find), LVM_GETHEADER, 0, 0));
    RECT rect{};
    ::SendMessageA(header, HDM_GETITEMRECT, WPARAM(column), LPARAM(&rect));
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(header, WM_LBUTTONUP, 0, at);
}

void SelectRow(HWND find, int row) {
    LVITEMA item{};
    item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(List(find), LVM_SETITEMSTATE, WPARAM(row), LPARAM(&item));
}

}  // namespace

TEST(FindObject, FiltersSortsAndUsesRowsOfEitherKind) {
    AfxGetApp()->SetRegistryKey("ScenewrightFindTest");
    ForgetSimInstalls();
    TempFolder folder;
    simgen::Options options;
    options.version = 6;
    options.givenObjects = {
        {{0x5A5A0001, 0x0000E5F6, 0x11D2F24A, 0x1000849C}, "Zeppelin_a", 60, 0x8000, "", 0},
        {{0x5A5A0002, 0, 0, 0}, "Zeppelin_b", 90, 0x4000, "", 0},
        {{0x5A5A0003, 0x0000E5F6, 0x11D2F24A, 0x1000849C}, "", 30, 0x10000, "", 0},
        {{0x5A5A0004, 0, 0, 1}, "Old_zeppelin", 20, 0x10000, "", 0},
    };
    simgen::Install install;
    std::string error;
    ASSERT_TRUE(simgen::Generate(folder.File("FS9"), options, install, error)) << error;
    ASSERT_TRUE(RegisterSimInstall(6, folder.File("FS9")));
    const std::string objects = GroupedCount(install.objects.size()) + " library objects";
    MessageRecorder messages;
    CMainDialog dialog;
    WhenDialogOpens([&](HWND main) {
        char entry[64] = {};
        ::GetMenuStringA(::GetSystemMenu(main, FALSE), IDM_FIND, entry, sizeof entry, MF_BYCOMMAND);
        EXPECT_STREQ(entry, "&Find Object...\tCtrl+F");
        const Cells before = {Text(main, IDC_TYPE), Text(main, IDC_NAME),
                              Text(main, IDC_PARAMETERS)};
        ASSERT_EQ(before[0], "Effect");

        // Escape: whatever was typed, chosen or sorted, the main window stays as it was.
        WhenDialogOpens(
            [&](HWND find) {
                EXPECT_FALSE(::IsWindowEnabled(main));
                EXPECT_EQ(Text(find, IDC_FIND_KIND), "Effects");
                // The empty box's hint is the edit control's own (common controls 6 only).
                wchar_t cue[64] = {};
                ::SendDlgItemMessageA(find, IDC_FIND_TEXT, EM_GETCUEBANNER, WPARAM(cue), 64);
                EXPECT_STREQ(cue, L"Name, library file or identifier");
                const size_t effects = install.effects.size();
                EXPECT_EQ(Text(find, IDC_FIND_COUNT),
                          std::to_string(effects) + " of " + std::to_string(effects) + " effects");
                const std::string file = install.effects[1].fileName;
                Type(find, "FX_ " + file.substr(3));
                EXPECT_EQ(Column(find, 1), (Cells{file}));
                SelectRow(find, 0);
                ClickHeader(find, 1);
                gui_test::PressKey(VK_ESCAPE);
            },
            main);
        EXPECT_TRUE(PressControlF(dialog));
        EXPECT_EQ((Cells{Text(main, IDC_TYPE), Text(main, IDC_NAME), Text(main, IDC_PARAMETERS)}),
                  before);

        WhenDialogOpens(
            [&](HWND find) {
                auto* window = static_cast<CFindObjectDialog*>(CWnd::FromHandlePermanent(find));
                HWND kind = ::GetDlgItem(find, IDC_FIND_KIND);
                ::SendMessageA(kind, CB_SETCURSEL, 0, 0);
                ::SendMessageA(find, WM_COMMAND, MAKEWPARAM(IDC_FIND_KIND, CBN_SELCHANGE),
                               LPARAM(kind));
                EXPECT_EQ(Text(find, IDC_FIND_COUNT),
                          objects.substr(0, objects.find(' ')) + " of " + objects);
                // Names beginning with the first word first, each group in the Name list's order.
                Type(find, "zeppelin");
                EXPECT_EQ(Column(find, 0), (Cells{"Zeppelin_a", "Zeppelin_b", "Old_zeppelin"}));
                EXPECT_EQ(Text(find, IDC_FIND_COUNT), "3 of " + objects);
                ClickHeader(find, 2);
                EXPECT_EQ(Column(find, 2), (Cells{"20", "60", "90"}));
                ClickHeader(find, 2);
                EXPECT_EQ(Column(find, 0), (Cells{"Zeppelin_b", "Zeppelin_a", "Old_zeppelin"}));
                EXPECT_EQ(Column(find, 3), (Cells{"0.25", "0.5", "1"}));
                EXPECT_TRUE(gui_test::SaveWindowPng(find, gui_test::ScreenshotPath("find-object")));
                // The chosen row stays chosen through the sorts.
                EXPECT_EQ(::SendMessageA(List(find), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED),
                          1);

                // The nameless object by a piece of its assembler form, shown as in the Name list.
                Type(find, "05A5A0003h, 0");
                EXPECT_EQ(Column(find, 0), (Cells{"{ 5A5A0003, 0000E5F6, 11D2F24A, 1000849C }"}));
                RECT row{LVIR_BOUNDS, 0, 0, 0};
                ::SendMessageA(List(find), LVM_GETITEMRECT, 0, LPARAM(&row));
                gui_test::MovePointerTo(List(find), {row.left + 20, (row.top + row.bottom) / 2});
                gui_test::PumpMessages();
                EXPECT_EQ(window->ToolTip().GetText(List(find)), install.objects[2].libraryPath);

                Type(find, "ZEPPELIN_B");
                gui_test::PressKey(VK_RETURN);
            },
            main);
        EXPECT_TRUE(PressControlF(dialog));
        EXPECT_EQ(Text(main, IDC_TYPE), "Library");
        EXPECT_EQ(Text(main, IDC_NAME), "Zeppelin_b");
        EXPECT_EQ(Text(main, IDC_PARAMETERS),
                  "SHADOW=1\r\nSIGNAL=0\r\nRADIUS=90\r\nSCALE=000004000h");
        EXPECT_EQ(dialog.ToolTip().GetText(::GetDlgItem(main, IDC_NAME)),
                  "{ 5A5A0002, 00000000, 00000000, 00000000 }");
        EXPECT_EQ(dialog.ToolTip().GetText(::GetDlgItem(main, IDC_BROWSE_NAME)),
                  "Properties for \"Zeppelin_b\"");
        EXPECT_TRUE(messages.messages.empty());
        ::PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
    });
    dialog.DoModal();
    ForgetSimInstalls();
}
