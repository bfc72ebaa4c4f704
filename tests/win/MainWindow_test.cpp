// The main window, the object properties window and the placements window in this process, where
// their tooltips and pictures can be looked at: the placements window over a file opened from the
// command line, its rows and their tooltips, Remove with Delete, Use with Enter and a double
// click, Quit writing the list back, and Open reading the written file again. The program's
// workflow is driven end to end in Scenewright_test.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/MainDialog.h"
#include "common/AppStrings.h"
#include "common/MessageRecorder.h"
#include "framework/WinApp.h"
#include "resource.h"
#include "support/GuiTest.h"
#include "support/TempFolder.h"
#include "ui/ObjectPropertiesDialog.h"
#include "ui/PlacementsDialog.h"

namespace {

using gui_test::Click;
using gui_test::IsEnabled;
using gui_test::Text;
using gui_test::WhenDialogOpens;

class CTestApp : public CWinApp {};
CTestApp theApp;

void ChooseKind(HWND dialog, ObjectType type) {
    HWND list = ::GetDlgItem(dialog, IDC_TYPE);
    ::SendMessageA(list, CB_SETCURSEL, WPARAM(type), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TYPE, CBN_SELCHANGE), LPARAM(list));
}

const std::string kAt = "N047* 26' 59.0000,W122* 18' 32.0000,";
const std::string kWindsock = "WINDSOCK,," + kAt + "AGL,0.00,0.00,0.00,Normal,\"\"";
const std::string kLibrary = "LIBRARY,\"0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Ch\"," + kAt +
                             "AGL,0.00,0.00,0.00,Normal,\"\"";
const std::string kBuilding =
    "BUILDING,," + kAt + "120.50,5.00,3.25,90.00,Very Dense,\"X=20;Z=30\"";
const std::string kEffect = "EFFECT,my,fx," + kAt + "AGL,0.00,0.00,0.00,Dense,\"R=\"a;b\"\"";

// The text of a row's column in the list.
std::string Cell(HWND window, int row, int column) {
    return gui_test::CellText(::GetDlgItem(window, IDC_PLACEMENT_LIST), row, column);
}

POINT RowPoint(HWND list, int row) {
    RECT rect{LVIR_BOUNDS, 0, 0, 0};
    ::SendMessageA(list, LVM_GETITEMRECT, WPARAM(row), LPARAM(&rect));
    return {rect.left + 20, (rect.top + rect.bottom) / 2};
}

// Closes the window when a script stops early, so that a failed check ends the test instead of
// leaving the window open.
struct CloseUnlessDone {
    HWND window;
    bool done = false;
    ~CloseUnlessDone() {
        if (!done)
            ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
};

// Ctrl+L as the main window's loop sees it.
bool PressControlL(CMainDialog& dialog, bool down = true) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
    MSG message{::GetFocus(), WM_KEYDOWN, 'L', 0, 0, {}};
    return down && dialog.PreTranslateMessage(&message);
}

}  // namespace

TEST(MainWindow, StartsWithoutASimulatorInItsInitialState) {
    AfxGetApp()->SetRegistryKey("ScenewrightMainWindowTest");
    MessageRecorder messages;
    HGDIOBJ lastPicture = nullptr;
    CMainDialog dialog;
    gui_test::RunSteps({
        [&](HWND window) {
            ASSERT_FALSE(messages.messages.empty());
            EXPECT_EQ(
                messages.messages[0].text.rfind("WARNING:2 Flight Simulator cannot be located", 0),
                0u);
            EXPECT_EQ(Text(window, IDC_TYPE), "Effect");
            EXPECT_EQ(Text(window, IDC_DENSITY), "Normal");
            EXPECT_EQ(::SendDlgItemMessageA(window, IDC_DENSITY, CB_GETCOUNT, 0, 0), 4);
            EXPECT_EQ(::IsDlgButtonChecked(window, IDC_SNAP_TO_GROUND), BST_CHECKED);
            EXPECT_EQ(Text(window, IDC_ALTITUDE), "0.00");
            EXPECT_EQ(Text(window, IDC_HEADING), "0.00");
            EXPECT_EQ(Text(window, IDC_LATITUDE), "");
            for (int id : {IDC_ALTITUDE, IDC_NAME, IDC_ADD, IDC_CLEAR, IDC_BUILD})
                EXPECT_FALSE(IsEnabled(window, id)) << id;
            HWND version = ::GetDlgItem(window, IDC_VERSION);
            EXPECT_FALSE(::IsWindowVisible(version));
            EXPECT_FALSE(::GetWindowLongPtrA(version, GWL_STYLE) & WS_TABSTOP);
            EXPECT_EQ(dialog.ToolTip().GetText(::GetDlgItem(window, IDC_NAME)), "No effects");
            EXPECT_TRUE(gui_test::SaveWindowPng(window, gui_test::ScreenshotPath("main-start")));

            ChooseKind(window, ObjectType::LIBRARY);
            EXPECT_EQ(dialog.ToolTip().GetText(::GetDlgItem(window, IDC_NAME)), "No objects");
            EXPECT_EQ(Text(window, IDC_PARAMETERS), "");
            EXPECT_EQ(::SendDlgItemMessageA(window, IDC_DENSITY, CB_GETCOUNT, 0, 0), 6);
            ChooseKind(window, ObjectType::WINDSOCK);
            EXPECT_EQ(Text(window, IDC_PARAMETERS), ParameterTemplate(ObjectType::WINDSOCK));
            EXPECT_EQ(dialog.ToolTip().GetText(::GetDlgItem(window, IDC_BROWSE_NAME)),
                      "No options for windsocks");

            // The picture cycles through its five airplanes.
            HWND picture = ::GetDlgItem(window, IDC_PICTURE);
            for (int click = 0; click < 5; ++click) {
                ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_PICTURE, STN_CLICKED),
                               LPARAM(picture));
                EXPECT_NE(::SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
            }
            lastPicture = HGDIOBJ(::SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));

            // Enter in the parameter box is a new line; in a field it moves on.
            gui_test::FocusControl(window, IDC_PARAMETERS);
            gui_test::PressKey(VK_RETURN);
        },
        [&](HWND window) {
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(window, IDC_PARAMETERS));
            EXPECT_EQ(Text(window, IDC_PARAMETERS).find("\r\n"), 0u);
            gui_test::FocusControl(window, IDC_LATITUDE);
            gui_test::PressKey(VK_RETURN);
        },
        [&](HWND window) { EXPECT_EQ(::GetFocus(), ::GetDlgItem(window, IDC_LONGITUDE)); },
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(::GetObjectType(lastPicture), 0u);  // the picture's bitmap went with the window
}

TEST(MainWindow, ToolTipsShowOverDisabledControls) {
    AfxGetApp()->SetRegistryKey("ScenewrightMainWindowTest");
    MessageRecorder messages;
    CMainDialog dialog;
    const int ids[] = {IDC_ADD, IDC_CLEAR, IDC_BUILD};
    std::vector<std::string> tips;
    std::vector<std::function<void(HWND)>> steps;
    for (size_t i = 0; i <= std::size(ids); ++i)
        steps.push_back([&, i](HWND window) {
            if (i > 0)
                tips.push_back(gui_test::WaitForToolTip(::GetDlgItem(window, ids[i - 1])));
            if (i < std::size(ids))
                gui_test::MovePointerTo(window, gui_test::CentreOf(window, ids[i]));
            else
                gui_test::MovePointerAway();
        });
    gui_test::RunSteps(steps);
    dialog.DoModal();
    EXPECT_EQ(tips, (std::vector<std::string>{"Add the object to the output file",
                                              "Clear the output file", "Build the bgl file"}));
}

TEST(ObjectProperties, ShowsTheObjectWithTipsOnItsDisabledFields) {
    LibraryObject object;
    object.name = "Hangar_A";
    object.libraryPath = "C:\\FS\\Scenery\\World\\scenery\\lib.bgl";
    object.guidText = "{ 00000001, 00000002, 00000003, 00000004 }";
    object.radius = -25;
    object.scale = 0x00010000;
    CObjectPropertiesDialog dialog(nullptr, &object);
    std::string libraryTip;
    gui_test::RunSteps({
        [&](HWND window) {
            EXPECT_EQ(Text(window), "Properties for \"Hangar_A\"");
            EXPECT_EQ(Text(window, IDC_PROP_NAME), "Hangar_A");
            EXPECT_EQ(Text(window, IDC_PROP_LIBRARY), "lib.bgl");
            EXPECT_EQ(Text(window, IDC_PROP_GUID), object.guidText);
            EXPECT_EQ(Text(window, IDC_PROP_SIZE), "-25");
            EXPECT_EQ(Text(window, IDC_PROP_SCALE), "00010000");
            gui_test::MovePointerTo(window, gui_test::CentreOf(window, IDC_PROP_LIBRARY));
        },
        [&](HWND window) {
            libraryTip = gui_test::WaitForToolTip(::GetDlgItem(window, IDC_PROP_LIBRARY));
            gui_test::MovePointerAway();
        },
    });
    dialog.DoModal();
    EXPECT_EQ(libraryTip, object.libraryPath);
}

TEST(PlacementsWindow, OpensRemovesUsesAndReopensPlacementFiles) {
    AfxGetApp()->SetRegistryKey("ScenewrightPlacementsTest");
    EXPECT_EQ(LoadAppString(IDS_NOT_PLACEMENT_LINE), "Line %d of \"%s\" is not a placement line.");
    MessageRecorder messages;
    TempFolder folder;
    const std::string path = folder.File("places.csv");
    const std::string header = OutputList().FileBytes();
    ASSERT_TRUE(WriteWholeFile(path, header + kWindsock +
                                         "\r\n;;++\r\n;; C:\\lib.bgl/Tower\r\n;;\r\n" + kLibrary +
                                         "\r\n" + kBuilding + "\r\n" + kEffect + "\r\n"));

    CMainDialog dialog;
    dialog.OpenAfterStartUp(path);
    WhenDialogOpens([&](HWND main) {
        // Opened once start-up was over, with no message but the missing simulator's warning.
        EXPECT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(Text(main, IDC_OUTPUT_FILE), path);
        EXPECT_TRUE(dialog.Output().placementCount == 4 && dialog.Output().savedFlag);
        EXPECT_EQ(dialog.ToolTip().GetText(::GetDlgItem(main, IDC_CLEAR)),
                  "Clear 4 items from the output file");
        HMENU menu = ::GetSystemMenu(main, FALSE);
        char entry[64] = {};
        ::GetMenuStringA(menu, IDM_PLACEMENTS, entry, sizeof entry, MF_BYCOMMAND);
        EXPECT_STREQ(entry, "&Placements...\tCtrl+L");
        ::GetMenuStringA(menu, IDM_RESCAN, entry, sizeof entry, MF_BYCOMMAND);
        EXPECT_STREQ(entry, "&Rescan Simulator Files\tF5");
        // The window's own entries after the system's, in this order.
        const UINT kOrder[] = {IDM_OPTIONS,    IDM_ABOUTBOX,   IDM_PLACEMENTS, IDM_FIND,
                               IDM_EXPORT_KML, IDM_IMPORT_KML, IDM_RESCAN};
        const int count = ::GetMenuItemCount(menu);
        for (int i = 0; i < int(std::size(kOrder)); ++i)
            EXPECT_EQ(::GetMenuItemID(menu, count - int(std::size(kOrder)) + i), kOrder[i]) << i;

        // Use fills the form without moving the focus: the output file box, which names the
        // opened file, asks its replace question when the window takes the focus, not again.
        gui_test::FocusControl(main, IDC_OUTPUT_FILE);
        messages.messages.clear();
        messages.answers = {answer::kYes};
        auto replaceQuestions = [&] {
            return std::count_if(
                messages.messages.begin(), messages.messages.end(),
                [](const RecordedMessage& m) { return m.kind == message_kind::kReplaceQuestion; });
        };
        WhenDialogOpens(
            [&](HWND window) {
                CloseUnlessDone guard{window};
                PressControlL(dialog, false);
                EXPECT_FALSE(::IsWindowEnabled(main));
                HWND list = ::GetDlgItem(window, IDC_PLACEMENT_LIST);
                ASSERT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 4);
                EXPECT_EQ(
                    (std::vector{Cell(window, 1, 1), Cell(window, 1, 2), Cell(window, 2, 6),
                                 Cell(window, 2, 7), Cell(window, 3, 2)}),
                    (std::vector<std::string>{"Library", "Tower", "90.00", "Very Dense", "my,fx"}));
                EXPECT_FALSE(IsEnabled(window, IDOK) || IsEnabled(window, IDC_REMOVE_PLACEMENTS));
                // A windsock's line is shorter than the 79 characters the tooltip control hands
                // back; each move is handled before the next, as the list takes the rows from them.
                gui_test::MovePointerTo(list, RowPoint(list, 3));
                gui_test::PumpMessages();
                gui_test::MovePointerTo(list, RowPoint(list, 0));
                gui_test::PumpMessages();
                auto* placements =
                    static_cast<CPlacementsDialog*>(CWnd::FromHandlePermanent(window));
                EXPECT_EQ(placements->ToolTip().GetText(list), kWindsock);
                EXPECT_TRUE(
                    gui_test::SaveWindowPng(window, gui_test::ScreenshotPath("placements")));

                // Delete removes both selected rows, the library object with its comment lines.
                LVITEMA selected{};
                selected.state = selected.stateMask = LVIS_SELECTED;
                ::SendMessageA(list, LVM_SETITEMSTATE, 0, LPARAM(&selected));
                ::SendMessageA(list, LVM_SETITEMSTATE, 1, LPARAM(&selected));
                EXPECT_TRUE(IsEnabled(window, IDC_REMOVE_PLACEMENTS) && !IsEnabled(window, IDOK));
                ::SetFocus(list);
                gui_test::PressKey(VK_DELETE);
                gui_test::PumpMessages();
                EXPECT_EQ(dialog.Output().FileBytes(),
                          header + kBuilding + "\r\n" + kEffect + "\r\n");
                EXPECT_FALSE(dialog.Output().savedFlag);
                // The pointer has not moved, but the row under it is another placement now.
                const POINT still = RowPoint(list, 0);
                ::SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(still.x, still.y));
                const std::string tip = placements->ToolTip().GetText(list);
                EXPECT_TRUE(!tip.empty() && kBuilding.rfind(tip, 0) == 0) << tip;
                EXPECT_EQ(dialog.ToolTip().GetText(::GetDlgItem(main, IDC_CLEAR)),
                          "Clear 2 items from the output file");
                // The building took the first removed row's place and is selected: Enter uses it.
                ASSERT_EQ(Cell(window, 0, 1), "Building");
                EXPECT_TRUE(IsEnabled(window, IDOK));
                gui_test::PressKey(VK_RETURN);
                guard.done = true;
            },
            main);
        EXPECT_TRUE(PressControlL(dialog));

        EXPECT_EQ(replaceQuestions(), 1);
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(main, IDC_OUTPUT_FILE));
        messages.answers = {answer::kYes};  // leaving the box for the heading asks again
        EXPECT_TRUE(::IsWindowEnabled(main));
        EXPECT_EQ(Text(main, IDC_TYPE), "Building");
        EXPECT_EQ(Text(main, IDC_LONGITUDE), "W122* 18' 32.0000\"");
        EXPECT_EQ(::IsDlgButtonChecked(main, IDC_SNAP_TO_GROUND), BST_UNCHECKED);
        EXPECT_EQ(Text(main, IDC_ALTITUDE), "120.50");
        EXPECT_EQ(Text(main, IDC_BANK), "3.25");
        EXPECT_EQ(Text(main, IDC_DENSITY), "Very Dense");
        EXPECT_EQ(Text(main, IDC_PARAMETERS), "X=20\r\nZ=30");
        // A changed copy is added beside the placement it came from.
        gui_test::FocusControl(main, IDC_HEADING);
        ::SetDlgItemTextA(main, IDC_HEADING, "180");
        gui_test::FocusControl(main, IDC_PARAMETERS);
        Click(main, IDC_ADD);
        EXPECT_EQ(dialog.Output().placementCount, 3);
        Click(main, IDOK);  // unsaved: the question is answered No, and the list written
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    std::string copy = kBuilding;
    copy.replace(copy.find("90.00"), 5, "180.00");
    const std::string written = header + kBuilding + "\r\n" + kEffect + "\r\n" + copy + "\r\n";
    EXPECT_EQ(ReadWholeFile(path), written);

    // The written file opened with Open..., then a double click uses the effect.
    CMainDialog second;
    WhenDialogOpens([&](HWND main) {
        WhenDialogOpens(
            [&](HWND window) {
                CloseUnlessDone guard{window};
                WhenDialogOpens(
                    [&](HWND files) {
                        gui_test::SetFileDialogName(files, path);
                        ::PostMessageA(files, WM_COMMAND, IDOK, 0);
                    },
                    window);
                messages.messages.clear();
                Click(window, IDC_OPEN_PLACEMENTS);
                HWND list = ::GetDlgItem(window, IDC_PLACEMENT_LIST);
                ASSERT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);
                EXPECT_EQ(Cell(window, 2, 6), "180.00");
                EXPECT_TRUE(messages.messages.empty());
                const POINT row = RowPoint(list, 1);
                ::PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(row.x, row.y));
                guard.done = true;
            },
            main);
        ::SendMessageA(main, WM_SYSCOMMAND, IDM_PLACEMENTS, 0);
        // A name that is no row of the list is the placement's own: no box about it.
        EXPECT_TRUE(messages.messages.empty());
        EXPECT_EQ(Text(main, IDC_OUTPUT_FILE), path);
        EXPECT_TRUE(second.Output().placementCount == 3 && second.Output().savedFlag);
        EXPECT_EQ(Text(main, IDC_TYPE), "Effect");
        EXPECT_EQ(Text(main, IDC_NAME), "my,fx");
        EXPECT_EQ(Text(main, IDC_PARAMETERS), "R=\"a\r\nb\"");
        Click(main, IDOK);  // unchanged since Open: no question, nothing written
    });
    ASSERT_EQ(second.DoModal(), IDOK);
    EXPECT_EQ(ReadWholeFile(path), written);
}
