// The main window and the object properties window in this process, where their tooltips and
// pictures can be looked at. The program's workflow is driven end to end in Scenewright_test.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/MainDialog.h"
#include "common/MessageRecorder.h"
#include "framework/WinApp.h"
#include "resource.h"
#include "support/GuiTest.h"
#include "ui/ObjectPropertiesDialog.h"

namespace {

using gui_test::IsEnabled;
using gui_test::Text;

void ChooseKind(HWND dialog, ObjectType type) {
    HWND list = ::GetDlgItem(dialog, IDC_TYPE);
    ::SendMessageA(list, CB_SETCURSEL, WPARAM(type), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TYPE, CBN_SELCHANGE), LPARAM(list));
}

class CTestApp : public CWinApp {};
CTestApp theApp;

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
