// The program's windows as a user sees them: the program carries its manifest and gets the common
// controls and the scaling it asks for; secondary windows open centred over the main window and
// on the work area, a resizable one where and as large as it was; every window shows its texts
// whole, no control over another, at 100 % here and at 125, 150 and 200 % in copies of this
// program started at those scalings.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "SimGen.h"
#include "app/MainDialog.h"
#include "common/MessageRecorder.h"
#include "framework/Dpi.h"
#include "framework/WinApp.h"
#include "resource.h"
#include "support/GuiTest.h"
#include "support/RunningProgram.h"
#include "support/TempFolder.h"
#include "ui/AboutDialog.h"
#include "ui/BuildResultsDialog.h"
#include "ui/ObjectPropertiesDialog.h"
#include "ui/OptionsDialog.h"
#include "ui/SelectSimDialog.h"
#include "ui/Settings.h"

namespace {

class CTestApp : public CWinApp {};
CTestApp theApp;

constexpr const char* kScalingVariable = "SCENEWRIGHT_TEST_DPI";  // set in the scaled copies

void UseFreshSettings() {
    AfxGetApp()->SetRegistryKey(kSettingsCompany, "ScenewrightWindowLayoutTest");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, AfxGetApp()->ProfileKeyPath().c_str());
}

RECT RectOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

bool Inside(const RECT& inner, const RECT& outer) {
    RECT both{};
    return ::IntersectRect(&both, &inner, &outer) && ::EqualRect(&both, &inner);
}

bool CentredOver(const RECT& window, const RECT& over) {
    return std::abs((window.left + window.right) - (over.left + over.right)) <= 2 &&
           std::abs((window.top + window.bottom) - (over.top + over.bottom)) <= 2;
}

// Opens a window from the main window's system menu, looks at it and closes it.
void OpenFromMenu(HWND main, UINT command, std::function<void(HWND)> look) {
    gui_test::WhenDialogOpens(
        [&](HWND window) {
            look(window);
            ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        },
        main);
    ::SendMessageA(main, WM_SYSCOMMAND, command, 0);
}

// The width and height a text takes in a control's font, broken into lines `width` wide.
SIZE TextSize(HWND control, const std::string& text, UINT format, int width = 0) {
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, HGDIOBJ(::SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT rect{0, 0, width, 0};
    ::DrawTextA(dc, text.c_str(), int(text.size()), &rect, format | DT_CALCRECT);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return {rect.right, rect.bottom};
}

// What is cut or covered in a window: a line per control whose text does not fit it or that
// reaches past the window, and per two controls one over the other (group boxes frame others).
std::vector<std::string> LayoutFaults(HWND window) {
    std::vector<std::string> faults;
    const UINT dpi = WindowDpi(window);
    std::vector<std::pair<HWND, std::string>> controls;
    RECT client{};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    for (HWND child = ::GetWindow(window, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child))
            continue;
        char name[32] = {};
        ::GetClassNameA(child, name, sizeof name);
        const std::string kind = name, text = gui_test::Text(child);
        const std::string who = kind + " " + std::to_string(::GetDlgCtrlID(child)) + " " + text;
        const DWORD style = DWORD(::GetWindowLongPtrA(child, GWL_STYLE));
        const DWORD button = style & BS_TYPEMASK;
        RECT area{};
        ::GetClientRect(child, &area);
        // One-line texts and what the control draws beside them: a button's edges, a check
        // box's box, an edit's margins, a list's button.
        std::vector<std::string> lines;
        int beside = 0;
        SIZE need{};
        if (kind == "Static" && (style & SS_TYPEMASK) <= SS_RIGHT) {
            need = TextSize(child, text, DT_WORDBREAK | (style & SS_NOPREFIX ? DT_NOPREFIX : 0),
                            area.right);
        } else if (kind == "Button") {
            lines = {text};
            beside = button <= BS_DEFPUSHBUTTON  ? 2 * SystemMetricForDpi(SM_CXEDGE, dpi)
                     : button <= BS_AUTOCHECKBOX ? SystemMetricForDpi(SM_CXMENUCHECK, dpi) + 2
                                                 : 0;
        } else if (kind == "Edit" && !(style & ES_MULTILINE)) {
            lines = {text};
            beside = 2 * LOWORD(::SendMessageA(child, EM_GETMARGINS, 0, 0));
        } else if (kind == "ComboBox" && (style & 3) == CBS_DROPDOWNLIST) {
            for (int row = 0; row < ::SendMessageA(child, CB_GETCOUNT, 0, 0); ++row) {
                char item[260] = {};
                ::SendMessageA(child, CB_GETLBTEXT, row, LPARAM(item));
                lines.push_back(item);
            }
            beside = SystemMetricForDpi(SM_CXVSCROLL, dpi);
        }
        for (const std::string& line : lines) {
            const SIZE size = TextSize(child, line, kind == "Button" ? 0 : DT_NOPREFIX);
            need = {std::max(need.cx, size.cx + beside), std::max(need.cy, size.cy)};
        }
        if (need.cx > area.right || need.cy > area.bottom)
            faults.push_back(who + " cuts its text");
        // A list's cells, each with the margin the list leaves on both sides.
        for (int row = 0;
             kind == WC_LISTVIEWA && row < ::SendMessageA(child, LVM_GETITEMCOUNT, 0, 0); ++row) {
            const int columns = int(::SendMessageA(HWND(::SendMessageA(child, LVM_GETHEADER, 0, 0)),
                                                   HDM_GETITEMCOUNT, 0, 0));
            for (int column = 0; column < columns; ++column) {
                const std::string cell = gui_test::CellText(child, row, column);
                if (::SendMessageA(child, LVM_GETSTRINGWIDTHA, 0, LPARAM(cell.c_str())) +
                        ScaleForDpi(12, dpi) >
                    ::SendMessageA(child, LVM_GETCOLUMNWIDTH, column, 0))
                    faults.push_back(who + " cuts " + cell);
            }
        }
        if (!Inside(RectOf(child), client))
            faults.push_back(who + " reaches past the window");
        if (kind != "Button" || button != BS_GROUPBOX)
            controls.push_back({child, who});
    }
    for (size_t i = 0; i < controls.size(); ++i) {
        for (size_t j = i + 1; j < controls.size(); ++j) {
            RECT a = RectOf(controls[i].first), b = RectOf(controls[j].first), both{};
            if (::IntersectRect(&both, &a, &b))
                faults.push_back(controls[i].second + " over " + controls[j].second);
        }
    }
    return faults;
}

// Looks at the window that opens next (its DoModal follows) and saves its picture.
void CheckLayout(const std::string& name) {
    gui_test::RunSteps({[name](HWND window) {
        const std::string dpi = std::to_string(WindowDpi(window));
        EXPECT_EQ(LayoutFaults(window), std::vector<std::string>{}) << name << " at " << dpi;
        gui_test::SaveWindowPng(window, gui_test::ScreenshotPath("layout-" + name + "-" + dpi));
    }});
}

}  // namespace

TEST(Manifest, IsInTheProgramAndItsCommonControlsAndScalingAreInUse) {
    auto manifestOf = [](HMODULE module) {
        HRSRC found = ::FindResourceA(module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
        HGLOBAL data = found ? ::LoadResource(module, found) : nullptr;
        return data ? std::string(static_cast<const char*>(::LockResource(data)),
                                  ::SizeofResource(module, found))
                    : std::string();
    };
    HMODULE program = ::LoadLibraryExA(BuildPath("src\\app\\Scenewright.exe").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    const std::string manifest = manifestOf(program);
    ::FreeLibrary(program);
    EXPECT_NE(manifest.find(">PerMonitorV2, System</dpiAwareness>"), std::string::npos);
    // This program carries the same resources: what the system made of them shows here. Wine's
    // common controls do not tell their version, but they come from the side-by-side store.
    EXPECT_EQ(manifest, manifestOf(nullptr));
    char controls[MAX_PATH] = {};
    ::GetModuleFileNameA(::GetModuleHandleA("comctl32.dll"), controls, MAX_PATH);
    EXPECT_NE(std::string(::CharLowerA(controls)).find("common-controls_6595b64144ccf1df_6.0."),
              std::string::npos)
        << controls;
    EXPECT_TRUE(::IsProcessDPIAware());
}

TEST(WindowPlaces, OverTheMainWindowOnTheWorkAreaAndResizableOnesWhereTheyWere) {
    UseFreshSettings();
    MessageRecorder messages;
    CMainDialog dialog;
    gui_test::WhenDialogOpens([&](HWND main) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        ::GetMonitorInfoA(::MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT work = monitor.rcWork;
        auto moveMain = [main](LONG x, LONG y) {
            ::SetWindowPos(main, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        };
        moveMain(work.left + 300, work.top + 200);
        for (UINT command : {IDM_OPTIONS, IDM_ABOUTBOX, IDM_PLACEMENTS, IDM_FIND})
            OpenFromMenu(main, command, [&](HWND window) {
                EXPECT_TRUE(CentredOver(RectOf(window), RectOf(main))) << command;
            });
        // Half off the work area's corner, the main window; the window opens all on it.
        moveMain(work.right - 150, work.bottom - 100);
        OpenFromMenu(main, IDM_OPTIONS,
                     [&](HWND window) { EXPECT_TRUE(Inside(RectOf(window), work)); });
        moveMain(work.left + 300, work.top + 200);

        RECT left{}, closeButton{};
        OpenFromMenu(main, IDM_PLACEMENTS, [&](HWND window) {
            const RECT opened = RectOf(window);
            left = {work.left + 20, work.top + 25, work.left + 110 + (opened.right - opened.left),
                    work.top + 95 + (opened.bottom - opened.top)};
            ::MoveWindow(window, left.left, left.top, left.right - left.left,
                         left.bottom - left.top, TRUE);
            closeButton = RectOf(::GetDlgItem(window, IDCANCEL));
        });
        // Where and as large as it was, its buttons laid out for that size.
        OpenFromMenu(main, IDM_PLACEMENTS, [&](HWND window) {
            RECT now = RectOf(window), button = RectOf(::GetDlgItem(window, IDCANCEL));
            EXPECT_TRUE(::EqualRect(&now, &left) && ::EqualRect(&button, &closeButton));
        });
        // Kept off the screen at twice this scaling: half the size, on the work area.
        const LONG width = 2 * (left.right - left.left), height = 2 * (left.bottom - left.top);
        SaveWindowPlace(IDD_PLACEMENTS,
                        {int32_t(work.right + 500), int32_t(work.top - 900), int32_t(width),
                         int32_t(height), int32_t(2 * WindowDpi(main))});
        OpenFromMenu(main, IDM_PLACEMENTS, [&](HWND window) {
            const RECT now = RectOf(window);
            EXPECT_EQ(now.right - now.left, width / 2);
            EXPECT_EQ(now.bottom - now.top, height / 2);
            EXPECT_TRUE(Inside(now, work));
        });
        // Closed larger than this screen's work area (on a larger monitor): as large as the work
        // area, so that Use and Close show.
        SaveWindowPlace(
            IDD_PLACEMENTS,
            {int32_t(work.left + 40), int32_t(work.top + 30), int32_t(work.right - work.left + 900),
             int32_t(work.bottom - work.top + 700), int32_t(WindowDpi(main))});
        OpenFromMenu(main, IDM_PLACEMENTS, [&](HWND window) {
            const RECT now = RectOf(window);
            EXPECT_TRUE(::EqualRect(&now, &work));
        });
        ::PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
    });
    dialog.DoModal();
}

TEST(Layout, EveryWindowShowsItsTextsWholeAtThisScaling) {
    UseFreshSettings();
    MessageRecorder messages;
    if (const char* scaling = std::getenv(kScalingVariable)) {
        ASSERT_EQ(WindowDpi(nullptr), UINT(std::atoi(scaling)));
    }
    TempFolder folder;
    // An install for the find window's rows, with a name as long as the simulators' own.
    ForgetSimInstalls();
    simgen::Options options;
    options.version = 6;
    const simgen::Object hangar{{0x90B2BBE0, 0x11D2F24A, 0x1000849C, 0x2AE60C5A},
                                "generic_hangar_large_01",
                                120,
                                0x10000,
                                "",
                                0};
    options.givenObjects = {hangar};
    simgen::Install install;
    std::string error;
    ASSERT_TRUE(simgen::Generate(folder.File("FS9"), options, install, error)) << error;
    ASSERT_TRUE(RegisterSimInstall(6, folder.File("FS9")));
    const std::string path = folder.File("places.csv"), at = "N047* 26' 59.0000,W122* 18' 32.0000,";
    ASSERT_TRUE(WriteWholeFile(
        path, OutputList().FileBytes() + "BUILDING,," + at +
                  "120.50,5.00,3.25,90.00,Extremely Dense,\"X=20\"\r\nEFFECT,fx_beacon,fx," + at +
                  "AGL,0.00,0.00,359.99,Very Sparse,\"\"\r\n"));
    CMainDialog main;
    main.OpenAfterStartUp(path);
    gui_test::WhenDialogOpens([&](HWND window) {
        CheckLayout("placements");
        ::SendMessageA(window, WM_SYSCOMMAND, IDM_PLACEMENTS, 0);
        // Both kinds, the library objects counted as on the largest install.
        auto lookAtKind = [](int row, const std::string& name, const std::string& count) {
            return [row, name, count](HWND find) {
                HWND kind = ::GetDlgItem(find, IDC_FIND_KIND);
                ::SendMessageA(kind, CB_SETCURSEL, WPARAM(row), 0);
                ::SendMessageA(find, WM_COMMAND, MAKEWPARAM(IDC_FIND_KIND, CBN_SELCHANGE),
                               LPARAM(kind));
                if (!count.empty())
                    ::SetDlgItemTextA(find, IDC_FIND_COUNT, count.c_str());
                const std::string dpi = std::to_string(WindowDpi(find));
                EXPECT_EQ(LayoutFaults(find), std::vector<std::string>{}) << name << " at " << dpi;
                gui_test::SaveWindowPng(find,
                                        gui_test::ScreenshotPath("layout-" + name + "-" + dpi));
            };
        };
        gui_test::RunSteps({lookAtKind(0, "find-library", "29,100 of 29,100 library objects"),
                            lookAtKind(1, "find-effects", "")});
        ::SendMessageA(window, WM_SYSCOMMAND, IDM_FIND, 0);
        // A building's densities, a position and a short path, as the fields show them.
        ::SendDlgItemMessageA(window, IDC_TYPE, CB_SETCURSEL, int(ObjectType::BUILDING), 0);
        ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_TYPE, CBN_SELCHANGE),
                       LPARAM(::GetDlgItem(window, IDC_TYPE)));
        ::SetDlgItemTextA(window, IDC_OUTPUT_FILE, "C:\\Scenery\\Seattle.csv");
        ::SetDlgItemTextA(window, IDC_LATITUDE, "N047* 26' 59.0000\"");
        ::SetDlgItemTextA(window, IDC_LONGITUDE, "W122* 18' 32.0000\"");
        CheckLayout("main");
    });
    main.DoModal();
    ForgetSimInstalls();

    CheckLayout("about");
    CAboutDialog().DoModal();
    CheckLayout("options");
    COptionsDialog(nullptr).DoModal();
    SimVersionTable versions;
    versions[6].installPath = new char[4]{"C:\\"};
    CheckLayout("select-sim");
    CSelectSimDialog(nullptr, &versions).DoModal();
    LibraryObject object;
    object.name = "generic_hangar_large_01";
    object.libraryPath = "C:\\FS2004\\Scenery\\Generic\\scenery\\hangars.bgl";
    object.guidText = "{ 90B2BBE0, 11D2F24A, 1000849C, 2AE60C5A }";
    CheckLayout("object-properties");
    CObjectPropertiesDialog(nullptr, &object).DoModal();
    CheckLayout("build-results");
    CBuildResultsDialog(nullptr, "BGLC 2.0\r\nplaces.csv: 2 objects\r\n").DoModal();
}

TEST(Layout, AndAt125150And200Percent) {
    if (std::getenv(kScalingVariable))
        GTEST_SKIP() << "a scaled copy";
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    // Wine reads the scaling from here as a program starts.
    constexpr const char* kDesktop = "Control Panel\\Desktop";
    for (DWORD dpi : {120u, 144u, 192u}) {
        ::RegSetKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
        ::SetEnvironmentVariableA(kScalingVariable, std::to_string(dpi).c_str());
        std::string output;
        EXPECT_EQ(RunCommand('"' + std::string(self) + "\" --gtest_filter=Layout.Every*", &output),
                  0u)
            << "at " << dpi << ":\n"
            << output;
    }
    ::SetEnvironmentVariableA(kScalingVariable, nullptr);
    const DWORD standard = kDefaultDpi;
    ::RegSetKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels", REG_DWORD, &standard,
                      sizeof standard);
}
