// The flat edit, transparent picture and link controls and the about window, in real dialogs
// driven with real messages; what they draw is read back from the screen.
#include <gtest/gtest.h>

#include "framework/Dialog.h"
#include "resource.h"
#include "support/DialogTemplate.h"
#include "support/GuiTest.h"
#include "ui/AboutDialog.h"
#include "ui/HoverEdit.h"
#include "ui/TransparentPicture.h"
#include "ui/XSysLink.h"

namespace {

constexpr WORD kField = 201;
constexpr WORD kDisabledField = 202;
constexpr WORD kLink = 203;
constexpr WORD kPicture = 204;

// A program that the shell opens and that ends at once.
const char* const kOpensFine = "C:\\windows\\system32\\hostname.exe";

class HoverDialog : public CDialog {
  public:
    explicit HoverDialog(DialogTemplateBuilder& builder) : CDialog(builder.Get(), nullptr) {}
    CHoverEdit field;
    CHoverEdit disabledField;
    XSysLink link;
    CTransparentPicture picture;

  protected:
    void DoDataExchange(CDataExchange* exchange) override {
        DDX_Control(exchange, kField, field);
        DDX_Control(exchange, kDisabledField, disabledField);
        DDX_Control(exchange, kLink, link);
        DDX_Control(exchange, kPicture, picture);
    }
};

DialogTemplateBuilder HoverTemplate() {
    DialogTemplateBuilder builder("Hover controls", 200, 130);
    builder.Add(0x0081, "field", kField, 10, 10, 100, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL)
        .Add(0x0081, "disabled", kDisabledField, 10, 30, 100, 12,
             WS_BORDER | WS_DISABLED | ES_AUTOHSCROLL)
        .Add(0x0082, "Open the page", kLink, 10, 50, 150, 8, SS_LEFT | SS_NOTIFY)
        .Add(0x0082, "", kPicture, 120, 62, 70, 40, SS_BITMAP)
        .Add(0x0080, "OK", IDOK, 140, 110, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP);
    return builder;
}

RECT ClientOf(HWND window) {
    RECT rect{};
    ::GetClientRect(window, &rect);
    return rect;
}

// Whether any pixel of the control's client area is exactly this colour.
bool Shows(HWND window, COLORREF colour) {
    ::UpdateWindow(window);
    RECT rect = ClientOf(window);
    HDC dc = ::GetDC(window);
    bool found = false;
    for (int y = rect.top; y < rect.bottom && !found; ++y)
        for (int x = rect.left; x < rect.right && !found; ++x)
            found = ::GetPixel(dc, x, y) == colour;
    ::ReleaseDC(window, dc);
    return found;
}

COLORREF Solid(COLORREF c) {
    return c & 0xFFFFFF;
}

// A pixel at a point of a control's client coordinates, read on its dialog, so that points just
// outside the control can be read too.
COLORREF AroundControl(HWND control, int x, int y) {
    POINT point{x, y};
    ::MapWindowPoints(control, ::GetParent(control), &point, 1);
    return gui_test::PixelAt(::GetParent(control), point.x, point.y);
}

TEST(HoverEdit, RaisedUnderThePointerAndFlatWhenItLeavesUnlessFocused) {
    auto builder = HoverTemplate();
    HoverDialog dialog(builder);
    gui_test::WhenDialogOpens([&](HWND window) {
        HWND field = dialog.field.m_hWnd;
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
        const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
        const RECT r = ClientOf(field);
        gui_test::FocusControl(window, IDOK);
        gui_test::PumpMessages(50);
        EXPECT_EQ(AroundControl(field, -1, 4), face);  // flat: no frame
        EXPECT_EQ(AroundControl(field, r.right, 4), face);

        gui_test::MovePointerTo(field, {5, 5});
        gui_test::PumpMessages();
        EXPECT_TRUE(dialog.field.IsHovered());
        EXPECT_EQ(::GetCapture(), field);
        EXPECT_EQ(AroundControl(field, -1, 4), shadow);  // sunken: dark top-left
        EXPECT_EQ(AroundControl(field, r.right, 4), highlight);

        gui_test::MovePointerTo(field, {r.right + 30, r.bottom + 30});
        gui_test::PumpMessages();
        EXPECT_FALSE(dialog.field.IsHovered());
        EXPECT_EQ(::GetCapture(), nullptr);
        EXPECT_EQ(AroundControl(field, -1, 4), face);

        // With the focus the frame stays after the pointer left.
        gui_test::FocusControl(window, kField);
        gui_test::PumpMessages(50);
        gui_test::MovePointerTo(field, {5, 5});
        gui_test::PumpMessages();
        gui_test::MovePointerTo(field, {r.right + 30, r.bottom + 30});
        gui_test::PumpMessages();
        EXPECT_EQ(AroundControl(field, -1, 4), shadow);

        // A disabled field shows the highlight ring and never the hover frame.
        HWND disabled = dialog.disabledField.m_hWnd;
        ::InvalidateRect(disabled, nullptr, TRUE);
        gui_test::PumpMessages(50);
        EXPECT_EQ(AroundControl(disabled, -1, 4), highlight);

        gui_test::MovePointerAway();
        EXPECT_TRUE(gui_test::SaveWindowPng(window, gui_test::ScreenshotPath("hover-controls")));
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(TransparentPicture, WhiteShowsTheDialogAndOtherColoursAreDrawn) {
    auto builder = HoverTemplate();
    HoverDialog dialog(builder);
    // A 4 x 4 picture: white on the left half, near white on the right.
    const COLORREF nearWhite = RGB(254, 255, 255);
    HBITMAP bitmap = nullptr;
    gui_test::WhenDialogOpens([&](HWND window) {
        HDC screen = ::GetDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, 4, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC dc = ::CreateCompatibleDC(screen);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                ::SetPixel(dc, x, y, x < 2 ? RGB(255, 255, 255) : nearWhite);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
        HWND picture = dialog.picture.m_hWnd;
        ::SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
        // The static sizes itself to a bitmap; give it back an area larger than the picture.
        ::SetWindowPos(picture, nullptr, 0, 0, 40, 30, SWP_NOMOVE | SWP_NOZORDER);
        // The static paints a new image at once; the dialog repaints what lies behind it.
        ::RedrawWindow(window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        gui_test::PumpMessages(50);
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        EXPECT_EQ(gui_test::PixelAt(picture, 0, 0), face);
        EXPECT_EQ(Solid(gui_test::PixelAt(picture, 3, 1)), nearWhite);
        EXPECT_EQ(gui_test::PixelAt(picture, 20, 20), face);  // not covered by the bitmap
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ::DeleteObject(bitmap);
}

TEST(XSysLink, FitsToTextOpensTurnsVisitedAndReportsFailure) {
    auto builder = HoverTemplate();
    HoverDialog dialog(builder);
    std::string failure;
    gui_test::WhenDialogOpens([&](HWND window) {
        HWND link = dialog.link.m_hWnd;
        EXPECT_STREQ(dialog.link.GetRuntimeClassName(), "XSysLink");
        EXPECT_EQ(dialog.link.GetLinkTarget(), "Open the page");  // its text, when unset

        // Left-aligned without a border: keeps its left edge, width of its underlined text.
        RECT rect{};
        ::GetWindowRect(link, &rect);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        RECT planned{10, 50, 160, 58};
        ::MapDialogRect(window, &planned);
        EXPECT_EQ(rect.left, planned.left);
        EXPECT_LT(rect.right - rect.left, planned.right - planned.left);
        LOGFONTA font{};
        ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(link, WM_GETFONT, 0, 0)), sizeof font,
                     &font);
        EXPECT_TRUE(font.lfUnderline);

        dialog.link.SetLinkTarget(kOpensFine);
        EXPECT_EQ(dialog.link.ToolTip().GetToolCount(), 1);
        EXPECT_TRUE(Shows(link, XSysLink::kLinkColour));
        EXPECT_FALSE(Shows(link, XSysLink::kVisitedColour));

        // Keys other than space do nothing; a click opens and hands the focus back.
        gui_test::FocusControl(window, IDOK);
        gui_test::PumpMessages(20);
        ::SendMessageA(link, WM_KEYDOWN, 'A', 1);
        EXPECT_FALSE(dialog.link.IsVisited());
        ::SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        EXPECT_TRUE(dialog.link.IsVisited());
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(window, IDOK));
        gui_test::PumpMessages(50);
        EXPECT_TRUE(Shows(link, XSysLink::kVisitedColour));
        EXPECT_FALSE(Shows(link, XSysLink::kLinkColour));

        dialog.link.SetLinkTarget(kOpensFine);  // a new target is unvisited again
        gui_test::PumpMessages(50);
        EXPECT_FALSE(dialog.link.IsVisited());
        EXPECT_TRUE(Shows(link, XSysLink::kLinkColour));

        // A target the shell cannot open: the box, and the link stays unvisited.
        dialog.link.SetLinkTarget("C:\\no such folder\\no such file.xyz");
        gui_test::WhenDialogOpens(
            [&](HWND box) {
                char text[300] = {};
                ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                failure = text;
                char caption[100] = {};
                ::GetWindowTextA(box, caption, sizeof caption);
                failure += std::string("|") + caption;
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            },
            window);
        ::SendMessageA(link, WM_KEYDOWN, VK_SPACE, 1);
        EXPECT_FALSE(dialog.link.IsVisited());
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
        char caption[100] = {};
        ::GetWindowTextA(window, caption, sizeof caption);
        EXPECT_STREQ(caption, "About Scenewright");
        EXPECT_EQ(about.m_pictureLink.GetLinkTarget(), CAboutDialog::kHomePage);
        EXPECT_EQ(about.m_versionLink.GetLinkTarget(), CAboutDialog::kHomePage);
        EXPECT_EQ(about.m_versionLink.ToolTip().GetToolCount(), 1);

        // Fitting to text spares the picture: it still shows the whole bitmap.
        RECT picture{};
        ::GetClientRect(about.m_pictureLink.m_hWnd, &picture);
        EXPECT_GE(picture.right, 254);
        EXPECT_GE(picture.bottom, 137);
        EXPECT_TRUE(Shows(about.m_versionLink.m_hWnd, XSysLink::kLinkColour));
        EXPECT_TRUE(gui_test::SaveWindowPng(window, gui_test::ScreenshotPath("about-window")));
        // Through the dialog's own loop; the program the link test opened may hold the focus.
        gui_test::PressKey(VK_ESCAPE, ::GetDlgItem(window, IDOK));
    });
    EXPECT_EQ(about.DoModal(), IDCANCEL);
}

}  // namespace
