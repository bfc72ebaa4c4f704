// The dialog framework against real windows (message maps, reflection, data exchange, settings in
// the registry), and the program's controls in one real dialog driven with real messages, what
// they draw read back from the screen: the flat edit, the hover combo box's type-ahead and frame,
// the transparent picture and the link (its colours through the reflected WM_CTLCOLORSTATIC); the
// file dialog over the system's save dialog; the about window. (The framework's modal loop runs
// every window of the program's own tests.)
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/Text.h"
#include "framework/Dialog.h"
#include "framework/Dpi.h"
#include "framework/WinApp.h"
#include "resource.h"
#include "support/DialogTemplate.h"
#include "support/GuiTest.h"
#include "support/TempFolder.h"
#include "ui/AboutDialog.h"
#include "ui/HoverComboBox.h"
#include "ui/HoverEdit.h"
#include "ui/TransparentPicture.h"
#include "ui/XFileDialog.h"
#include "ui/XSysLink.h"

namespace {

constexpr WORD kEdit = 101, kButton = 102, kCheck = 103;
constexpr WORD kField = 201, kDisabledField = 202, kLink = 203, kPicture = 204, kNames = 205,
               kTypes = 206;

class CountingEdit : public CWnd {
  public:
    int changes = 0;
    void OnReflectedChange() { ++changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingEdit, CWnd)
ON_CONTROL_REFLECT(EN_CHANGE, &CountingEdit::OnReflectedChange)
END_MESSAGE_MAP()

class TestDialog : public CDialog {
  public:
    explicit TestDialog(DialogTemplateBuilder& builder) : CDialog(builder.Get(), nullptr) {}
    CountingEdit edit;
    std::string text = "initial";
    int checked = 1;
    int clicks = 0;
    int parentChanges = 0;

  protected:
    void DoDataExchange(CDataExchange* exchange) override {
        DDX_Control(exchange, kEdit, edit);
        DDX_Text(exchange, kEdit, text, 10);
        DDX_Check(exchange, kCheck, checked);
    }
    void OnButton() { ++clicks; }
    void OnEditChange() { ++parentChanges; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
ON_BN_CLICKED(kButton, &TestDialog::OnButton)
ON_EN_CHANGE(kEdit, &TestDialog::OnEditChange)
END_MESSAGE_MAP()

TEST(Framework, MapsCommandsReflectsNotificationsAndExchangesData) {
    DialogTemplateBuilder builder("Framework", 200, 100);
    builder.Add(0x0081, "", kEdit, 5, 5, 100, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL)
        .Add(0x0080, "Press", kButton, 5, 25, 50, 14, WS_TABSTOP)
        .Add(0x0080, "Check", kCheck, 5, 45, 50, 12, BS_AUTOCHECKBOX | WS_TABSTOP)
        .Add(0x0080, "OK", IDOK, 140, 80, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP);
    TestDialog dialog(builder);
    ASSERT_TRUE(dialog.Create());
    // Data to controls at initialisation; the edit's change went to the edit, not the parent.
    EXPECT_EQ(dialog.edit.GetWindowText(), "initial");
    EXPECT_GE(dialog.edit.changes, 1);
    EXPECT_EQ(dialog.parentChanges, 0);
    EXPECT_EQ(::SendDlgItemMessageA(dialog.m_hWnd, kCheck, BM_GETCHECK, 0, 0), BST_CHECKED);

    ::SendDlgItemMessageA(dialog.m_hWnd, kButton, BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.clicks, 1);

    // Controls to data, cut to the exchange's limit.
    dialog.edit.SetWindowText("a text longer than ten");
    ::SendDlgItemMessageA(dialog.m_hWnd, kCheck, BM_SETCHECK, BST_UNCHECKED, 0);
    ASSERT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.text, "a text lon");
    EXPECT_EQ(dialog.checked, 0);

    HWND edit = dialog.edit.m_hWnd;
    dialog.EndDialog(IDOK);
    EXPECT_FALSE(::IsWindow(edit));
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);  // detached when the window went
}

TEST(Framework, ProfileIntegersRoundTripAndForeignValuesReadAsMissing) {
    CWinApp app;
    app.SetRegistryKey("ScenewrightFrameworkTest");
    EXPECT_EQ(app.ProfileKeyPath(), "Software\\ScenewrightFrameworkTest\\Controls_test");
    EXPECT_EQ(app.GetProfileInt("", "Value", 5), 5u);
    ASSERT_TRUE(app.WriteProfileInt("", "Value", 3));
    EXPECT_EQ(app.GetProfileInt("", "Value", 5), 3u);
    ASSERT_TRUE(app.WriteProfileInt("", "Value", -1));
    EXPECT_EQ(int(app.GetProfileInt("", "Value", 5)), -1);

    const unsigned long long wide = 1;
    const struct {
        DWORD type;
        const void* data;
        DWORD size;
    } foreign[] = {{REG_SZ, "1", 2}, {REG_BINARY, &wide, sizeof wide}, {REG_BINARY, &wide, 4}};
    for (const auto& value : foreign) {
        ::RegSetKeyValueA(HKEY_CURRENT_USER, app.ProfileKeyPath().c_str(), "Foreign", value.type,
                          value.data, value.size);
        EXPECT_EQ(app.GetProfileInt("", "Foreign", 7), 7u) << value.type << " " << value.size;
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ScenewrightFrameworkTest");
}

// A program that the shell opens and that ends at once.
const char* const kOpensFine = "C:\\windows\\system32\\hostname.exe";

const DialogTemplateBuilder& ControlsTemplate() {
    static DialogTemplateBuilder builder = [] {
        DialogTemplateBuilder made("Controls", 200, 130);
        made.Add(0x0081, "field", kField, 10, 10, 100, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL)
            .Add(0x0081, "disabled", kDisabledField, 10, 30, 100, 12,
                 WS_BORDER | WS_DISABLED | ES_AUTOHSCROLL)
            .Add(0x0082, "Open the page", kLink, 10, 50, 150, 8, SS_LEFT | SS_NOTIFY)
            .Add(0x0082, "", kPicture, 120, 62, 70, 40, SS_BITMAP)
            .Add(0x0085, "", kNames, 10, 70, 100, 80,
                 CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP)
            .Add(0x0085, "", kTypes, 10, 95, 100, 60, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP)
            .Add(0x0080, "OK", IDOK, 140, 110, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP);
        return made;
    }();
    return builder;
}

class ControlsDialog : public CDialog {
  public:
    ControlsDialog() : CDialog(ControlsTemplate().Get(), nullptr) {}
    CHoverEdit field;
    CHoverEdit disabledField;
    XSysLink link;
    CTransparentPicture picture;
    CHoverComboBox names;
    CHoverComboBox types;
    LRESULT pickedOnOk = -2;

  protected:
    void DoDataExchange(CDataExchange* exchange) override {
        DDX_Control(exchange, kField, field);
        DDX_Control(exchange, kDisabledField, disabledField);
        DDX_Control(exchange, kLink, link);
        DDX_Control(exchange, kPicture, picture);
        DDX_Control(exchange, kNames, names);
        DDX_Control(exchange, kTypes, types);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        for (const char* item : {"Beacon", "Bench", "Windsock", "Window frame"})
            names.SendMessage(CB_ADDSTRING, 0, LPARAM(item));
        for (const char* item : {"Library object", "Effect"})
            types.SendMessage(CB_ADDSTRING, 0, LPARAM(item));
        types.SendMessage(CB_SETCURSEL, 0);
        return TRUE;
    }
    void OnOK() override {
        pickedOnOk = names.SendMessage(CB_GETCURSEL);
        CDialog::OnOK();
    }
};

// Whether any pixel of the control's client area is exactly this colour.
bool Shows(HWND window, COLORREF colour) {
    ::UpdateWindow(window);
    RECT rect{};
    ::GetClientRect(window, &rect);
    HDC dc = ::GetDC(window);
    bool found = false;
    for (int y = rect.top; y < rect.bottom && !found; ++y)
        for (int x = rect.left; x < rect.right && !found; ++x)
            found = ::GetPixel(dc, x, y) == colour;
    ::ReleaseDC(window, dc);
    return found;
}

// The pixel just left of a control's client area, where its frame is drawn, read on its dialog.
COLORREF LeftOf(HWND control) {
    POINT point{-1, 4};
    ::MapWindowPoints(control, ::GetParent(control), &point, 1);
    return gui_test::PixelAt(::GetParent(control), point.x, point.y);
}

TEST(HoverEdit, RaisedUnderThePointerAndFlatWhenItLeavesUnlessFocused) {
    ControlsDialog dialog;
    gui_test::WhenDialogOpens([&](HWND window) {
        HWND field = dialog.field.m_hWnd;
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE), shadow = ::GetSysColor(COLOR_BTNSHADOW);
        auto pointer = [&](bool over) {
            gui_test::MovePointerTo(field, over ? POINT{5, 5} : POINT{300, 100});
            gui_test::PumpMessages();
        };
        gui_test::FocusControl(window, IDOK);
        gui_test::PumpMessages(50);
        EXPECT_EQ(LeftOf(field), face);  // flat: no frame
        pointer(true);
        EXPECT_TRUE(dialog.field.IsHovered());
        EXPECT_EQ(::GetCapture(), field);
        EXPECT_EQ(LeftOf(field), shadow);  // sunken: dark top-left
        pointer(false);
        EXPECT_FALSE(dialog.field.IsHovered());
        EXPECT_EQ(::GetCapture(), nullptr);
        EXPECT_EQ(LeftOf(field), face);

        // With the focus the frame stays after the pointer left.
        gui_test::FocusControl(window, kField);
        gui_test::PumpMessages(50);
        pointer(true);
        pointer(false);
        EXPECT_EQ(LeftOf(field), shadow);

        // A disabled field shows the highlight ring and never the hover frame.
        ::InvalidateRect(dialog.disabledField.m_hWnd, nullptr, TRUE);
        gui_test::PumpMessages(50);
        EXPECT_EQ(LeftOf(dialog.disabledField.m_hWnd), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        gui_test::MovePointerAway();
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

// The box's text and the selection in its edit: "text [start, end)".
std::string State(CHoverComboBox& box) {
    DWORD start = 0, end = 0;
    box.SendMessage(CB_GETEDITSEL, WPARAM(&start), LPARAM(&end));
    return box.GetWindowText() + " [" + std::to_string(start) + ", " + std::to_string(end) + ")";
}

TEST(HoverComboBox, TypeAheadCompletesFromTheList) {
    ControlsDialog dialog;
    std::vector<std::string> states;
    LRESULT rowAfterNoMatch = 0;
    // Each step looks at what the step before typed, then types on.
    auto then = [&](std::function<void()> type) {
        return [&, type](HWND) {
            states.push_back(State(dialog.names));
            type();
        };
    };
    gui_test::RunSteps({[&](HWND window) {
                            gui_test::FocusControl(window, kNames);
                            gui_test::TypeText("Bea");
                        },
                        then([] { gui_test::TypeText("x"); }),  // replaces the completed part
                        then([&] {
                            dialog.names.SetWindowText("");
                            gui_test::TypeText("win");
                        }),
                        then([] { gui_test::PressKey(VK_BACK); }), then([&] {
                            dialog.names.SetWindowText("");
                            dialog.names.SendMessage(CB_SETCURSEL, WPARAM(-1));
                            gui_test::PressKey(VK_END);  // completion allowed again
                            gui_test::TypeText("Qz");
                        }),
                        then([&] {
                            rowAfterNoMatch = dialog.names.SendMessage(CB_GETCURSEL);
                            dialog.names.SendMessage(CB_SETCURSEL, WPARAM(-1));
                            dialog.names.SetWindowText("Ben");
                            gui_test::PressKey(VK_RETURN);
                        })});
    dialog.DoModal();
    // "win" takes the first matching row in list order with the row's own letters; Backspace
    // removes the highlighted completion and does not complete again.
    EXPECT_EQ(states,
              (std::vector<std::string>{"Beacon [3, 6)", "Beax [4, 4)", "Window frame [3, 12)",
                                        "Win [3, 3)", "Qz [2, 2)"}));
    EXPECT_EQ(rowAfterNoMatch, CB_ERR);
    // Enter picks the item the text begins with before the dialog's OK sees the list.
    EXPECT_EQ(dialog.pickedOnOk, 1);  // Bench in the sorted list
}

TEST(HoverComboBox, FrameRisesUnderThePointerAndFlattensAway) {
    ControlsDialog dialog;
    std::vector<COLORREF> corner;  // flat, raised, flat again, focused with the pointer away
    // Each step looks at the frame the step before left, then acts.
    auto then = [&](std::function<void(HWND)> act) {
        return [&, act](HWND window) {
            corner.push_back(gui_test::PixelAt(dialog.types, 0, 0));
            act(window);
        };
    };
    COLORREF disabled = 0;
    gui_test::RunSteps({[](HWND window) {
                            gui_test::FocusControl(window, IDOK);
                            gui_test::MovePointerAway();
                        },
                        then([&](HWND) {
                            gui_test::MovePointerTo(dialog.types, POINT{5, 5});
                        }),
                        then([](HWND) { gui_test::MovePointerAway(); }),
                        then([](HWND window) { gui_test::FocusControl(window, kTypes); }),
                        then([&](HWND window) {
                            gui_test::FocusControl(window, IDOK);
                            dialog.types.EnableWindow(false);
                        }),
                        [&](HWND) { disabled = gui_test::PixelAt(dialog.types, 1, 1); }});
    dialog.DoModal();
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(corner, (std::vector<COLORREF>{face, shadow, face, shadow}));
    EXPECT_EQ(disabled, ::GetSysColor(COLOR_BTNHIGHLIGHT));  // the inner ring
}

// (The open dialog is driven through the program itself in Scenewright_test.)
TEST(XFileDialog, SaveReturnsTheChosenPathWithItsExtensionOrCancels) {
    TempFolder folder;
    const std::string base = folder.Path() + "\\placements";
    for (bool choose : {true, false}) {
        gui_test::WhenDialogOpens([&](HWND window) {
            gui_test::SetFileDialogName(window, base);
            ::PostMessageA(window, WM_COMMAND, choose ? IDOK : IDCANCEL, 0);
        });
        XFileDialog save(false, "csv", "", 0x802, "Csv files (*.csv)|*.csv|All Files (*.*)|*.*||");
        ASSERT_EQ(save.DoModal(), choose ? IDOK : IDCANCEL);
        EXPECT_TRUE(!choose || EqualsNoCase(save.GetPathName(), base + ".csv"))
            << save.GetPathName();
    }
}

TEST(TransparentPicture, WhiteShowsTheDialogAndOtherColoursAreDrawn) {
    ControlsDialog dialog;
    // A 4 x 4 picture: white on the left half, near white (254, 255, 255) on the right.
    DWORD pixels[16];
    for (int i = 0; i < 16; ++i)
        pixels[i] = i % 4 < 2 ? 0xFFFFFF : 0xFEFFFF;
    HBITMAP bitmap = ::CreateBitmap(4, 4, 1, 32, pixels);
    gui_test::WhenDialogOpens([&](HWND window) {
        HWND picture = dialog.picture.m_hWnd;
        ::SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, LPARAM(bitmap));
        // The static sizes itself to a bitmap; give it back an area larger than the picture,
        // and the dialog repaints what lies behind it.
        ::SetWindowPos(picture, nullptr, 0, 0, 40, 30, SWP_NOMOVE | SWP_NOZORDER);
        ::RedrawWindow(window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        gui_test::PumpMessages(50);
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        EXPECT_EQ(gui_test::PixelAt(picture, 0, 0), face);
        EXPECT_EQ(gui_test::PixelAt(picture, 3, 1) & 0xFFFFFF, RGB(254, 255, 255));
        EXPECT_EQ(gui_test::PixelAt(picture, 20, 20), face);  // not covered by the bitmap
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ::DeleteObject(bitmap);
}

TEST(XSysLink, FitsToTextOpensTurnsVisitedAndReportsFailure) {
    ControlsDialog dialog;
    std::string failure;
    gui_test::WhenDialogOpens([&](HWND window) {
        XSysLink& link = dialog.link;
        EXPECT_EQ(link.GetLinkTarget(), "Open the page");  // its text, when unset

        // Left-aligned without a border: keeps its left edge, width of its underlined text.
        RECT rect{}, planned{10, 50, 160, 58};
        ::GetWindowRect(link.m_hWnd, &rect);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        ::MapDialogRect(window, &planned);
        EXPECT_EQ(rect.left, planned.left);
        EXPECT_LT(rect.right - rect.left, planned.right - planned.left);
        LOGFONTA font{};
        ::GetObjectA(HFONT(::SendMessageA(link.m_hWnd, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_TRUE(font.lfUnderline);

        link.SetLinkTarget(kOpensFine);
        EXPECT_EQ(link.ToolTip().GetToolCount(), 1);
        EXPECT_TRUE(Shows(link.m_hWnd, XSysLink::kLinkColour));
        // Keys other than space do nothing; a click opens and hands the focus back.
        gui_test::FocusControl(window, IDOK);
        ::SendMessageA(link.m_hWnd, WM_KEYDOWN, 'A', 1);
        EXPECT_FALSE(link.IsVisited());
        ::SendMessageA(link.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        EXPECT_TRUE(link.IsVisited());
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(window, IDOK));
        gui_test::PumpMessages(50);
        EXPECT_TRUE(Shows(link.m_hWnd, XSysLink::kVisitedColour));
        EXPECT_FALSE(Shows(link.m_hWnd, XSysLink::kLinkColour));
        link.SetLinkTarget(kOpensFine);  // a new target is unvisited again
        gui_test::PumpMessages(50);
        EXPECT_FALSE(link.IsVisited());
        EXPECT_TRUE(Shows(link.m_hWnd, XSysLink::kLinkColour));

        // A target the shell cannot open: the box, and the link stays unvisited.
        link.SetLinkTarget("C:\\no such folder\\no such file.xyz");
        gui_test::WhenDialogOpens(
            [&](HWND box) {
                failure = gui_test::Text(box, 0xFFFF) + "|" + gui_test::Text(box);
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            },
            window);
        ::SendMessageA(link.m_hWnd, WM_KEYDOWN, VK_SPACE, 1);
        EXPECT_FALSE(link.IsVisited());
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    // The shell's "file not found" is 2 (3 for a missing folder).
    EXPECT_TRUE(failure == "ERROR:2 Cannot follow link.|Waypost" ||
                failure == "ERROR:3 Cannot follow link.|Waypost")
        << failure;
}

TEST(AboutDialog, ShowsPictureAndLinksToTheHomePage) {
    CAboutDialog about;
    gui_test::WhenDialogOpens([&](HWND window) {
        EXPECT_EQ(gui_test::Text(window), "About Scenewright");
        EXPECT_EQ(about.m_pictureLink.GetLinkTarget(), CAboutDialog::kHomePage);
        EXPECT_EQ(about.m_versionLink.GetLinkTarget(), CAboutDialog::kHomePage);
        // Fitting to text spares the picture: it still shows the whole bitmap.
        RECT picture{};
        ::GetClientRect(about.m_pictureLink.m_hWnd, &picture);
        EXPECT_GE(picture.right, 254);
        EXPECT_GE(picture.bottom, 137);
        // In its own proportions, centred: the area is wider here, and its edge shows the window.
        HWND link = about.m_pictureLink.m_hWnd;
        const SIZE shown = BitmapSize(HBITMAP(::SendMessageA(link, STM_GETIMAGE, IMAGE_BITMAP, 0)));
        EXPECT_NEAR(double(shown.cx) / shown.cy, 254.0 / 137, 0.01);
        EXPECT_GT(picture.right, shown.cx);
        gui_test::PumpMessages(50);
        EXPECT_EQ(gui_test::PixelAt(link, 0, picture.bottom / 2), ::GetSysColor(COLOR_BTNFACE));
        EXPECT_NE(gui_test::PixelAt(link, picture.right / 2, picture.bottom / 2),
                  ::GetSysColor(COLOR_BTNFACE));
        EXPECT_TRUE(gui_test::SaveWindowPng(window, gui_test::ScreenshotPath("about-window")));
        // Through the dialog's own loop; the program the link test opened may hold the focus.
        gui_test::PressKey(VK_ESCAPE, ::GetDlgItem(window, IDOK));
    });
    EXPECT_EQ(about.DoModal(), IDCANCEL);
}

}  // namespace
