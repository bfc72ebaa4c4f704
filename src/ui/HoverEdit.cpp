#include "ui/HoverEdit.h"

#include "framework/Draw3dRect.h"
#include "framework/Dpi.h"

namespace {

// The frame at `distance`: a ring `width` pixels thick (one at 100 % scaling), the first ring
// on the client rectangle's edge pixels and each further one just outside the one before.
void FrameAt(HDC dc, RECT rect, int distance, int width, COLORREF topLeft, COLORREF bottomRight) {
    ::InflateRect(&rect, distance * width, distance * width);
    Draw3dRect(dc, rect, topLeft, bottomRight, width);
}

}  // namespace

BEGIN_MESSAGE_MAP(CHoverEdit, CEdit)
ON_WM_PAINT()
ON_MESSAGE(WM_NCHITTEST, &CHoverEdit::OnNcHitTest)
ON_WM_MOUSEMOVE()
ON_MESSAGE(WM_SYSCOLORCHANGE, &CHoverEdit::OnSysColorChange)
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CHoverEdit::CHoverEdit() {
    ReadColours();
}

CHoverEdit::~CHoverEdit() = default;

void CHoverEdit::ReadColours() {
    m_face = ::GetSysColor(COLOR_BTNFACE);
    m_highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_shadow = ::GetSysColor(COLOR_BTNSHADOW);
}

void CHoverEdit::DrawFrame() {
    // Clipped to the parent rather than to the client area, so that the frame reaches over the
    // field's own border and the dialog around it (not every edit class has a parent DC).
    // The parent's surface, with the origin moved to the field's client area.
    HWND surface = ::GetParent(m_hWnd) ? ::GetParent(m_hWnd) : m_hWnd;
    HDC dc = ::GetDC(surface);
    if (!dc)
        return;
    POINT origin{0, 0};
    ::MapWindowPoints(m_hWnd, surface, &origin, 1);
    ::SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    const RECT client = GetClientRect();
    const bool enabled = IsWindowEnabled();
    const int width = LineWidthForDpi(WindowDpi(m_hWnd));
    FrameAt(dc, client, 0, width, m_face, m_face);
    if (enabled)
        FrameAt(dc, client, 1, width, m_face, m_face);
    else
        FrameAt(dc, client, 1, width, m_highlight, m_highlight);
    for (int distance = 2; distance <= 4; ++distance)
        FrameAt(dc, client, distance, width, m_face, m_face);
    if (enabled && (m_hovered || m_focused)) {
        FrameAt(dc, client, 0, width, m_face, m_face);
        FrameAt(dc, client, 1, width, m_shadow, m_highlight);
    }
    ::ReleaseDC(surface, dc);
}

void CHoverEdit::OnPaint() {
    Default();
    DrawFrame();
}

void CHoverEdit::OnMouseMove(UINT, POINT point) {
    // Mouse moves stay away from the standard edit: capture keeps them coming after the pointer
    // leaves, so that the frame can go flat again.
    if (!m_hovered) {
        m_hovered = true;
        DrawFrame();
        ::SetCapture(m_hWnd);
        return;
    }
    const RECT client = GetClientRect();
    if (!::PtInRect(&client, point)) {
        m_hovered = false;
        ::ReleaseCapture();
        DrawFrame();
    }
}

LRESULT CHoverEdit::OnSysColorChange(WPARAM, LPARAM) {
    LRESULT result = Default();
    ReadColours();
    return result;
}

void CHoverEdit::OnSetFocus(HWND) {
    m_focused = true;
    Default();
    DrawFrame();
}

void CHoverEdit::OnKillFocus(HWND) {
    m_focused = false;
    Default();
    DrawFrame();
}
