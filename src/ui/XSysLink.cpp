#include "ui/XSysLink.h"

#include <commctrl.h>
#include <shellapi.h>

#include "common/Text.h"
#include "framework/Dpi.h"
#include "resource.h"

namespace {
constexpr UINT kToolId = 1;
}

BEGIN_MESSAGE_MAP(XSysLink, CStatic)
ON_WM_CTLCOLOR_REFLECT()
ON_WM_SETCURSOR()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_KEYDOWN()
ON_MESSAGE(WM_NCHITTEST, &XSysLink::OnNcHitTest)
ON_WM_LBUTTONDOWN()
ON_WM_SIZE()
ON_MESSAGE(kDpiChangedAfterParent, &XSysLink::OnDpiChangedAfterParent)
END_MESSAGE_MAP()

XSysLink::XSysLink() {
    m_cursor = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_LINK));
}

XSysLink::~XSysLink() {
    m_toolTip.Destroy();
    if (m_linkFont)
        ::DeleteObject(m_linkFont);
}

void XSysLink::PreSubclassWindow() {
    std::string text = GetWindowText();
    if (m_target.empty())
        m_target = text;
    if (text.empty() && !m_target.empty())
        SetWindowText(m_target);

    if (HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))) {
        UnderlineFont(font);
        if (m_fitToText)
            FitToText();
    }

    if (m_toolTip.Create(m_hWnd, TTS_ALWAYSTIP | TTS_BALLOON))
        m_toolTip.AddTool(kToolId, GetClientRect(), m_target);
}

// The link font: the underlined copy of `font`, given to the control.
void XSysLink::UnderlineFont(HFONT font) {
    LOGFONTA description{};
    if (!::GetObjectA(font, sizeof description, &description))
        return;
    description.lfUnderline = TRUE;
    HFONT underlined = ::CreateFontIndirectA(&description);
    if (!underlined)
        return;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(underlined), TRUE);
    if (m_linkFont)
        ::DeleteObject(m_linkFont);
    m_linkFont = underlined;
}

void XSysLink::OnSize(UINT, int, int) {
    Default();
    m_toolTip.SetToolRect(kToolId, GetClientRect());
}

// The window was laid out again at a new scaling and its font made anew; the link's own font,
// which the window does not know, follows it, and the link fits its text again.
LRESULT XSysLink::OnDpiChangedAfterParent(WPARAM, LPARAM) {
    const LRESULT result = Default();
    HWND parent = ::GetParent(m_hWnd);
    HFONT font =
        parent ? reinterpret_cast<HFONT>(::SendMessageA(parent, WM_GETFONT, 0, 0)) : nullptr;
    if (font && m_linkFont) {
        UnderlineFont(font);
        if (m_fitToText)
            FitToText();
    }
    return result;
}

void XSysLink::FitToText() {
    // A picture keeps the area its template gives it: its "text" is not what it shows.
    const DWORD type = GetStyle() & SS_TYPEMASK;
    if (type == SS_BITMAP || type == SS_ICON || type == SS_ENHMETAFILE)
        return;
    RECT window = GetWindowRect();
    if (HWND parent = ::GetParent(m_hWnd))
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    const RECT client = GetClientRect();
    const int bx = (window.right - window.left) - (client.right - client.left);
    const int by = (window.bottom - window.top) - (client.bottom - client.top);

    const std::string text = GetWindowText();
    SIZE extent{};
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ oldFont = ::SelectObject(
        dc, m_linkFont ? m_linkFont : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    ::GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &extent);
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(m_hWnd, dc);

    const DWORD style = GetStyle();
    if (style & SS_CENTERIMAGE) {
        const int shrink = ((window.bottom - window.top) - extent.cy) / 2;
        window.top += shrink;
        window.bottom -= shrink;
    } else {
        window.bottom = window.top + extent.cy;
    }
    if (style & SS_CENTER) {
        const int shrink = ((window.right - window.left) - extent.cx) / 2;
        window.left += shrink;
        window.right -= shrink;
    } else if (style & SS_RIGHT) {
        window.left = window.right - extent.cx;
    } else {
        window.right = window.left + extent.cx;
    }
    ::MoveWindow(m_hWnd, window.left, window.top, window.right - window.left + bx,
                 window.bottom - window.top + by, TRUE);
}

void XSysLink::SetLinkTarget(const std::string& target) {
    m_target = target;
    m_toolTip.UpdateTipText(kToolId, m_target);
    m_visited = 0;
    Invalidate(true);
}

bool XSysLink::PreTranslateMessage(MSG* message) {
    m_toolTip.RelayEvent(message);
    return CStatic::PreTranslateMessage(message);
}

HBRUSH XSysLink::CtlColor(HDC dc, UINT kind) {
    if (kind == CTLCOLOR_STATIC) {
        ::SetTextColor(dc, m_visited ? kVisitedColour : kLinkColour);
        ::SetBkMode(dc, TRANSPARENT);
    }
    return static_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH));
}

LRESULT XSysLink::OnSetCursor(HWND, UINT, UINT) {
    ::SetCursor(m_cursor);
    return TRUE;
}

void XSysLink::DrawFocus() {
    HDC dc = ::GetDC(m_hWnd);
    const RECT client = GetClientRect();
    ::DrawFocusRect(dc, &client);
    ::ReleaseDC(m_hWnd, dc);
}

void XSysLink::OnSetFocus(HWND previous) {
    if (GetStyle() & WS_TABSTOP)
        DrawFocus();
    else if (previous)
        ::SetFocus(previous);
}

void XSysLink::OnKillFocus(HWND) {
    if (GetStyle() & WS_TABSTOP)
        DrawFocus();
}

void XSysLink::OnKeyDown(UINT key, UINT, UINT) {
    if (key == VK_SPACE)
        FollowLink();
    else
        Default();
}

void XSysLink::OnLButtonDown(UINT, POINT) {
    SetFocus();
    FollowLink();
}

void XSysLink::FollowLink() {
    HINSTANCE result =
        ::ShellExecuteA(nullptr, "open", m_target.c_str(), nullptr, nullptr, SW_SHOW);
    const auto code = reinterpret_cast<INT_PTR>(result);
    if (code > 32) {
        m_visited = 1;
        Invalidate(true);
        return;
    }
    std::string text = FormatText(259, "ERROR:%X Cannot follow link.", unsigned(code));
    ::MessageBoxA(m_hWnd, text.c_str(), "Waypost", MB_OK);
}
