#include "ui/HoverComboBox.h"

#include <string>

#include "framework/Draw3dRect.h"
#include "framework/Dpi.h"

BEGIN_MESSAGE_MAP(CHoverComboBox, CWnd)
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_TIMER()
ON_MESSAGE(WM_SYSCOLORCHANGE, &CHoverComboBox::OnSysColorChange)
ON_CONTROL_REFLECT(CBN_SETFOCUS, &CHoverComboBox::OnSetFocus)
ON_CONTROL_REFLECT(CBN_KILLFOCUS, &CHoverComboBox::OnKillFocus)
ON_CONTROL_REFLECT(CBN_EDITUPDATE, &CHoverComboBox::OnEditUpdate)
END_MESSAGE_MAP()

CHoverComboBox::CHoverComboBox() {
    ReadColours();
}

CHoverComboBox::~CHoverComboBox() = default;

void CHoverComboBox::ReadColours() {
    m_face = ::GetSysColor(COLOR_BTNFACE);
    m_highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_shadow = ::GetSysColor(COLOR_BTNSHADOW);
}

void CHoverComboBox::DrawComboFrame(ComboFrameState state, COLORREF a, COLORREF b) {
    HDC dc = ::GetDC(m_hWnd);
    if (!dc)
        return;
    // Every step of one pixel at 100 % is a line's width at the window's scaling.
    const UINT dpi = WindowDpi(m_hWnd);
    const int line = LineWidthForDpi(dpi);
    const int buttonWidth = SystemMetricForDpi(SM_CXHTHUMB, dpi);
    RECT r = GetClientRect();
    bool enabled = IsWindowEnabled();
    Draw3dRect(dc, r, a, b, line);
    ::InflateRect(&r, -line, -line);
    COLORREF ring = enabled ? m_face : m_highlight;
    Draw3dRect(dc, r, ring, ring, line);
    ::InflateRect(&r, -line, -line);

    // The drop-down button area.
    r.left = r.right - buttonWidth;
    Draw3dRect(dc, r, m_face, m_face, line);
    ::InflateRect(&r, -line, -line);
    Draw3dRect(dc, r, m_face, m_face, line);

    if (enabled) {
        switch (state) {
            case ComboFrameState::Flat:
                ::InflateRect(&r, 0, line);
                Draw3dRect(dc, r, m_highlight, m_highlight, line);
                r.left -= line;
                Draw3dRect(dc, r, m_highlight, m_highlight, line);
                break;
            case ComboFrameState::Raised:
                ::InflateRect(&r, 0, line);
                Draw3dRect(dc, r, m_highlight, m_shadow, line);
                break;
            case ComboFrameState::Pressed:
                ::InflateRect(&r, 0, line);
                ::OffsetRect(&r, line, line);
                Draw3dRect(dc, r, m_shadow, m_highlight, line);
                break;
        }
    }
    ::ReleaseDC(m_hWnd, dc);
}

void CHoverComboBox::DrawCurrentFrame() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    RECT window = GetWindowRect();
    if (::PtInRect(&window, cursor) || m_focused)
        DrawComboFrame(ComboFrameState::Raised, m_shadow, m_highlight);
    else
        DrawComboFrame(ComboFrameState::Flat, m_face, m_face);
}

void CHoverComboBox::OnPaint() {
    // The sunken 3D border would show around the flat frame.
    constexpr LONG_PTR kBorders = WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME;
    LONG_PTR exStyle = ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
    if (exStyle & kBorders) {
        ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, exStyle & ~kBorders);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    Default();
    DrawCurrentFrame();
}

void CHoverComboBox::TimerStep() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    RECT window = GetWindowRect();
    if (m_pressed) {
        KillTimer(kHoverTimer);
        if (m_hot) {
            DrawComboFrame(ComboFrameState::Pressed, m_shadow, m_highlight);
            m_hot = false;
        }
    } else if (!::PtInRect(&window, cursor) && !m_focused) {
        KillTimer(kHoverTimer);
        if (m_hot) {
            DrawComboFrame(ComboFrameState::Flat, m_face, m_face);
            m_hot = false;
        }
    } else if (!m_hot) {
        m_hot = true;
        DrawComboFrame(ComboFrameState::Raised, m_shadow, m_highlight);
    }
}

void CHoverComboBox::OnMouseMove(UINT, POINT) {
    SetTimer(kHoverTimer, kHoverPeriod);
    TimerStep();
    Default();
}

void CHoverComboBox::OnLButtonDown(UINT, POINT) {
    m_pressed = true;
    Default();
}

void CHoverComboBox::OnLButtonUp(UINT, POINT) {
    m_pressed = false;
    Invalidate(true);
    Default();
}

void CHoverComboBox::OnTimer(UINT_PTR) {
    TimerStep();
}

LRESULT CHoverComboBox::OnSysColorChange(WPARAM, LPARAM) {
    LRESULT result = Default();
    ReadColours();
    return result;
}

void CHoverComboBox::OnSetFocus() {
    m_focused = true;
    DrawComboFrame(ComboFrameState::Raised, m_shadow, m_highlight);
}

void CHoverComboBox::OnKillFocus() {
    m_focused = false;
    DrawComboFrame(ComboFrameState::Flat, m_face, m_face);
}

bool CHoverComboBox::PreTranslateMessage(MSG* message) {
    if (message->message != WM_KEYDOWN ||
        (message->hwnd != m_hWnd && !::IsChild(m_hWnd, message->hwnd)))
        return false;
    m_autoComplete = message->wParam != VK_DELETE && message->wParam != VK_BACK;
    if (message->wParam == VK_RETURN) {
        std::string text = GetWindowText();
        LRESULT item = SendMessage(CB_FINDSTRING, WPARAM(-1), LPARAM(text.c_str()));
        if (item != CB_ERR) {
            const bool changed = item != SendMessage(CB_GETCURSEL);
            SendMessage(CB_SETCURSEL, WPARAM(item));
            // CB_SETCURSEL tells nobody; a row picked with Enter is a pick like one from the list.
            if (changed) {
                ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND,
                               MAKEWPARAM(GetDlgCtrlID(), CBN_SELCHANGE), LPARAM(m_hWnd));
            }
        }
    }
    return false;
}

void CHoverComboBox::OnEditUpdate() {
    if (!m_autoComplete)
        return;
    std::string typed = GetWindowText();
    DWORD length = DWORD(typed.size());
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(CB_GETEDITSEL, WPARAM(&start), LPARAM(&end));
    bool hadSelection = start != DWORD(-1);

    // Selecting the item replaces the edit text by the item's full text.
    if (SendMessage(CB_SELECTSTRING, WPARAM(-1), LPARAM(typed.c_str())) == CB_ERR) {
        SetWindowText(typed);
        if (hadSelection)
            SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(start, end));
        return;
    }
    if (end < length && hadSelection)
        SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(start, end));
    else
        SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(length, -1));
}
