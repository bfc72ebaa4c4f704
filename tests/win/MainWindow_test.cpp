// The real main window driven as a user drives it: kinds, fields, Add, the output file, Quit.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/MainDialog.h"
#include "common/MessageRecorder.h"
#include "common/Text.h"
#include "framework/WinApp.h"
#include "placement/Placement.h"
#include "resource.h"
#include "support/GuiTest.h"
#include "SimGen.h"
#include "support/TempFolder.h"
#include "ui/ObjectPropertiesDialog.h"

namespace {

std::string Text(HWND dialog, int id) {
    char buffer[1100] = {};
    ::GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    return buffer;
}

bool Enabled(HWND dialog, int id) {
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}

void ChooseKind(HWND dialog, ObjectType type) {
    HWND list = ::GetDlgItem(dialog, IDC_TYPE);
    ::SendMessageA(list, CB_SETCURSEL, WPARAM(type), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TYPE, CBN_SELCHANGE), LPARAM(list));
}

void Click(HWND dialog, int id) {
    ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// A key press as the window's own loop sees it before dispatching, then dispatched as it would.
void PressKeyIn(CMainDialog& dialog, int id, UINT key) {
    MSG message{::GetDlgItem(dialog.m_hWnd, id), WM_KEYDOWN, key, 0, 0, {}};
    if (!dialog.PreTranslateMessage(&message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

// Types into a box and leaves it, so that its check runs as it does for a user.
void Fill(HWND dialog, int id, const char* text) {
    gui_test::FocusControl(dialog, id);
    ::SetDlgItemTextA(dialog, id, text);
    gui_test::FocusControl(dialog, IDC_PARAMETERS);
    gui_test::PumpMessages();
}

// The centre of a control in its dialog's client coordinates, where a disabled control's mouse
// messages go.
POINT CentreOf(HWND dialog, int id) {
    RECT rect;
    ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::ScreenToClient(dialog, &centre);
    return centre;
}

class CTestApp : public CWinApp {};
CTestApp theApp;

}  // namespace

TEST(MainWindow, StartsEmptyAddsPlacementsOfEachKindAndWritesTheFileAtQuit) {
    AfxGetApp()->SetRegistryKey("ScenewrightMainWindowTest");
    MessageRecorder messages;
    TempFolder folder;
    const std::string outputPath = folder.File("places.csv");
    HGDIOBJ lastPicture = nullptr;
    CMainDialog dialog;

    gui_test::WhenDialogOpens([&](HWND window) {
        // Fresh start without any simulator: the warning, then the start-up state.
        ASSERT_FALSE(messages.messages.empty());
        EXPECT_EQ(
            messages.messages[0].text.rfind("WARNING:2 Flight Simulator cannot be located", 0), 0u);
        EXPECT_EQ(Text(window, IDC_TYPE), "Effect");
        EXPECT_EQ(Text(window, IDC_DENSITY), "Normal");
        EXPECT_EQ(::SendDlgItemMessageA(window, IDC_DENSITY, CB_GETCOUNT, 0, 0), 4);
        EXPECT_EQ(::IsDlgButtonChecked(window, IDC_SNAP_TO_GROUND), BST_CHECKED);
        EXPECT_EQ(Text(window, IDC_ALTITUDE), "0.00");
        EXPECT_FALSE(Enabled(window, IDC_ALTITUDE));
        EXPECT_EQ(Text(window, IDC_HEADING), "0.00");
        EXPECT_EQ(Text(window, IDC_LATITUDE), "");
        EXPECT_FALSE(Enabled(window, IDC_ADD));
        EXPECT_FALSE(Enabled(window, IDC_CLEAR));
        EXPECT_FALSE(Enabled(window, IDC_BUILD));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(window, IDC_VERSION)));
        EXPECT_FALSE(Enabled(window, IDC_NAME));  // no effects without a simulator
        EXPECT_EQ(dialog.ToolTip().GetText(::GetDlgItem(window, IDC_NAME)), "No effects");
        EXPECT_TRUE(gui_test::SaveWindowPng(window, gui_test::ScreenshotPath("main-start")));

        // The picture cycles through its five airplanes, each a new bitmap.
        HWND picture = ::GetDlgItem(window, IDC_PICTURE);
        LRESULT first = ::SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0);
        EXPECT_NE(first, 0);
        for (int click = 0; click < 5; ++click) {
            ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_PICTURE, STN_CLICKED),
                           LPARAM(picture));
            EXPECT_NE(::SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
        }

        ChooseKind(window, ObjectType::LIBRARY);
        EXPECT_EQ(dialog.ToolTip().GetText(::GetDlgItem(window, IDC_NAME)), "No objects");
        EXPECT_EQ(Text(window, IDC_PARAMETERS), "");
        EXPECT_EQ(::SendDlgItemMessageA(window, IDC_DENSITY, CB_GETCOUNT, 0, 0), 6);

        // Enter in a field moves on; in the parameter box it is a new line.
        gui_test::FocusControl(window, IDC_LATITUDE);
        gui_test::PumpMessages();
        PressKeyIn(dialog, IDC_LATITUDE, VK_RETURN);
        gui_test::PumpMessages();
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(window, IDC_LONGITUDE));
        gui_test::FocusControl(window, IDC_PARAMETERS);
        gui_test::PumpMessages();
        PressKeyIn(dialog, IDC_PARAMETERS, VK_RETURN);
        gui_test::PumpMessages();
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(window, IDC_PARAMETERS));

        ChooseKind(window, ObjectType::WINDSOCK);
        EXPECT_FALSE(Enabled(window, IDC_NAME));
        EXPECT_EQ(Text(window, IDC_PARAMETERS), ParameterTemplate(ObjectType::WINDSOCK));
        EXPECT_EQ(dialog.ToolTip().GetText(::GetDlgItem(window, IDC_BROWSE_NAME)),
                  "No options for windsocks");

        messages.messages.clear();
        Fill(window, IDC_OUTPUT_FILE, outputPath.c_str());
        Fill(window, IDC_LATITUDE, "N47 30.00");
        Fill(window, IDC_LONGITUDE, "W122 18.00");
        EXPECT_TRUE(Enabled(window, IDC_ADD));
        Click(window, IDC_ADD);
        EXPECT_TRUE(Enabled(window, IDC_CLEAR));
        EXPECT_TRUE(Enabled(window, IDC_BUILD));

        ChooseKind(window, ObjectType::BUILDING);
        Click(window, IDC_SNAP_TO_GROUND);  // off: the altitude is typed
        EXPECT_TRUE(Enabled(window, IDC_ALTITUDE));
        Fill(window, IDC_ALTITUDE, "120.5");
        Fill(window, IDC_HEADING, "90");
        ::SendDlgItemMessageA(window, IDC_DENSITY, CB_SETCURSEL, 5, 0);
        Click(window, IDC_ADD);
        EXPECT_TRUE(gui_test::SaveWindowPng(window, gui_test::ScreenshotPath("main-building")));

        lastPicture = HGDIOBJ(::SendDlgItemMessageA(window, IDC_PICTURE, STM_GETIMAGE, 0, 0));
        Click(window, IDOK);  // the unsaved question is answered No: write and close
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(::GetObjectType(lastPicture), 0u);  // the picture's bitmap went with the window

    Placement windsock;
    windsock.type = ObjectType::WINDSOCK;
    // Leaving the fields rewrote them in the one notation the line carries (less the quote).
    windsock.latitude = "N047* 30' 00.0000";
    windsock.longitude = "W122* 18' 00.0000";
    windsock.altitude = "AGL";
    windsock.density = "Normal";
    Placement building = windsock;
    building.type = ObjectType::BUILDING;
    building.altitude = "120.50";
    building.heading = 90.0;
    building.density = "Extremely Dense";
    std::string expected;
    for (const char* line : kOutputHeader)
        expected += std::string(line) + "\r\n";
    for (const Placement& placement : {windsock, building}) {
        for (const std::string& line : FormatPlacementLine(placement))
            expected += line + "\r\n";
    }
    EXPECT_EQ(ReadWholeFile(outputPath), expected);
    EXPECT_EQ(AfxGetApp()->GetProfileInt("", "DefaultSim", 99), UINT(-1));
}

TEST(ToolTips, ShowOverDisabledControls) {
    AfxGetApp()->SetRegistryKey("ScenewrightMainWindowTest");
    MessageRecorder messages;
    CMainDialog dialog;
    std::string add, clear, build;
    gui_test::RunSteps({
        [&](HWND window) { gui_test::MovePointerTo(window, CentreOf(window, IDC_ADD)); },
        [&](HWND window) {
            add = gui_test::WaitForToolTip(::GetDlgItem(window, IDC_ADD));
            gui_test::MovePointerTo(window, CentreOf(window, IDC_CLEAR));
        },
        [&](HWND window) {
            clear = gui_test::WaitForToolTip(::GetDlgItem(window, IDC_CLEAR));
            gui_test::MovePointerTo(window, CentreOf(window, IDC_BUILD));
        },
        [&](HWND window) {
            build = gui_test::WaitForToolTip(::GetDlgItem(window, IDC_BUILD));
            gui_test::MovePointerAway();
        },
    });
    dialog.DoModal();
    EXPECT_EQ(add, "Add the object to the output file");
    EXPECT_EQ(clear, "Clear the output file");
    EXPECT_EQ(build, "Build the bgl file");

    LibraryObject object;
    object.name = "Hangar_A";
    object.libraryPath = "C:\\FS\\Scenery\\World\\scenery\\lib.bgl";
    CObjectPropertiesDialog properties(nullptr, &object);
    std::string library;
    gui_test::RunSteps({
        [&](HWND window) { gui_test::MovePointerTo(window, CentreOf(window, IDC_PROP_LIBRARY)); },
        [&](HWND window) {
            library = gui_test::WaitForToolTip(::GetDlgItem(window, IDC_PROP_LIBRARY));
            gui_test::MovePointerAway();
        },
    });
    properties.DoModal();
    EXPECT_EQ(library, object.libraryPath);
}

TEST(ObjectProperties, ShowsTheObjectAndEmptyFieldsWithoutOne) {
    LibraryObject object;
    object.name = "Hangar_A";
    object.libraryPath = "C:\\FS\\Scenery\\World\\scenery\\lib.bgl";
    object.guidText = "{ 00000001, 00000002, 00000003, 00000004 }";
    object.radius = -25;
    object.scale = 0x00010000;
    CObjectPropertiesDialog dialog(nullptr, &object);
    gui_test::WhenDialogOpens([&](HWND window) {
        char caption[300] = {};
        ::GetWindowTextA(window, caption, sizeof caption);
        EXPECT_STREQ(caption, "Properties for \"Hangar_A\"");
        EXPECT_EQ(Text(window, IDC_PROP_NAME), "Hangar_A");
        EXPECT_EQ(Text(window, IDC_PROP_LIBRARY), "lib.bgl");
        EXPECT_EQ(dialog.m_toolTip.GetText(::GetDlgItem(window, IDC_PROP_LIBRARY)),
                  object.libraryPath);
        EXPECT_EQ(Text(window, IDC_PROP_GUID), object.guidText);
        EXPECT_EQ(Text(window, IDC_PROP_SIZE), "-25");
        EXPECT_EQ(Text(window, IDC_PROP_SCALE), "00010000");
        EXPECT_TRUE(gui_test::SaveWindowPng(window, gui_test::ScreenshotPath("properties")));
        gui_test::PressKey(VK_RETURN);
    });
    dialog.DoModal();

    CObjectPropertiesDialog empty(nullptr, nullptr);
    gui_test::WhenDialogOpens([&](HWND window) {
        char caption[300] = {};
        ::GetWindowTextA(window, caption, sizeof caption);
        EXPECT_STREQ(caption, "Object Properties");
        EXPECT_EQ(Text(window, IDC_PROP_NAME), "");
        EXPECT_EQ(Text(window, IDC_PROP_SCALE), "");
        gui_test::PressKey(VK_ESCAPE);
    });
    empty.DoModal();
}

TEST(MainWindow, FillsNamesAndTemplatesFromAGeneratedInstall) {
    AfxGetApp()->SetRegistryKey("ScenewrightMainWindowTest");
    MessageRecorder messages;
    TempFolder folder;
    simgen::Options options;
    options.version = 6;
    simgen::Install install;
    std::string error;
    ASSERT_TRUE(simgen::Generate(folder.Path(), options, install, error)) << error;
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, simgen::RegistryKey(6), 0, nullptr, 0,
                                KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(key, simgen::RegistryValue(6), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(folder.Path().c_str()),
                     DWORD(folder.Path().size() + 1));
    ::RegCloseKey(key);

    CMainDialog dialog;
    gui_test::WhenDialogOpens([&](HWND window) {
        EXPECT_TRUE(messages.messages.empty());
        HWND version = ::GetDlgItem(window, IDC_VERSION);
        EXPECT_TRUE(::IsWindowVisible(version));
        EXPECT_FALSE(::IsWindowEnabled(version));
        EXPECT_EQ(Text(window, IDC_VERSION), "FS24");
        EXPECT_EQ(dialog.ToolTip().GetText(version), "Flight Simulator version");
        EXPECT_EQ(::SendDlgItemMessageA(window, IDC_NAME, CB_GETCOUNT, 0, 0),
                  LRESULT(install.effects.size()));
        EXPECT_TRUE(Enabled(window, IDC_NAME));

        ChooseKind(window, ObjectType::LIBRARY);
        ASSERT_EQ(::SendDlgItemMessageA(window, IDC_NAME, CB_GETCOUNT, 0, 0),
                  LRESULT(install.objects.size()));
        // The first row in sorted order is selected and fills the parameter box; an object
        // without a name is listed by its identifier.
        EXPECT_EQ(::SendDlgItemMessageA(window, IDC_NAME, CB_GETCURSEL, 0, 0), 0);
        const intptr_t position = ::SendDlgItemMessageA(window, IDC_NAME, CB_GETITEMDATA, 0, 0);
        ASSERT_LT(size_t(position), install.objects.size());
        const simgen::Object& shown = install.objects[size_t(position)];
        const unsigned* g = shown.guid;
        EXPECT_EQ(Text(window, IDC_NAME),
                  shown.name.empty()
                      ? FormatText(64, "{ %08X, %08X, %08X, %08X }", g[0], g[1], g[2], g[3])
                      : shown.name);
        LibraryObject chosen;
        chosen.radius = shown.radius;
        chosen.scale = shown.scale;
        EXPECT_EQ(Text(window, IDC_PARAMETERS), FillLibraryTemplate(chosen));
        EXPECT_TRUE(gui_test::SaveWindowPng(window, gui_test::ScreenshotPath("main-library")));

        // A typed name that matches no row is reported when a field is left.
        ::SetDlgItemTextA(window, IDC_NAME, "no such object");
        ::SendDlgItemMessageA(window, IDC_NAME, CB_SETCURSEL, WPARAM(-1), 0);
        Fill(window, IDC_LATITUDE, "N47 30.00");
        ASSERT_FALSE(messages.messages.empty());
        EXPECT_EQ(messages.messages.back().text, "GCS RETURNED CB_ERR");
        Click(window, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(AfxGetApp()->GetProfileInt("", "DefaultSim", 99), 6u);
    ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, simgen::RegistryKey(6), KEY_WOW64_32KEY, 0);
}
