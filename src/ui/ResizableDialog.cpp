#include "ui/ResizableDialog.h"

#include <algorithm>

#include "framework/Dpi.h"
#include "ui/Settings.h"

BEGIN_MESSAGE_MAP(CResizableDialog, CDialog)
ON_WM_CREATE()
ON_WM_GETMINMAXINFO()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_MESSAGE(WM_DPICHANGED, &CResizableDialog::OnDpiChanged)
END_MESSAGE_MAP()

void CResizableDialog::AddAnchor(int controlId, uint16_t flags) {
    if (flags != 0)
        m_anchors.push_back(uint32_t(uint16_t(controlId)) | uint32_t(flags) << 16);
}

int CResizableDialog::OnCreate(CREATESTRUCTA* create) {
    if (Default() == -1)
        return -1;
    m_minTrackWidth = create->cx;
    m_minTrackHeight = create->cy;
    m_dpi = WindowDpi(m_hWnd);
    return 0;
}

// Where the window was when it last closed, at least as large as it opens, no larger than the
// nearest monitor's work area (unless it opens larger) and all of it on that work area; the first
// time, or when nothing usable is stored, centred as any window.
void CResizableDialog::PlaceWindow() {
    WindowPlace place;
    if (m_templateId == 0 || !LoadWindowPlace(m_templateId, place)) {
        CDialog::PlaceWindow();
        return;
    }
    const UINT dpi = WindowDpi(m_hWnd);
    const int width = std::max(::MulDiv(place.width, int(dpi), place.dpi), int(m_minTrackWidth));
    const int height = std::max(::MulDiv(place.height, int(dpi), place.dpi), int(m_minTrackHeight));
    // Closed on a larger screen, it may not fit this one: Use and Close would be off it.
    const RECT window =
        FitOnWorkArea({place.left, place.top, place.left + width, place.top + height},
                      {m_minTrackWidth, m_minTrackHeight});
    // The anchored controls move by the change from the size they were laid out for.
    if (m_lastClientWidth == 0) {
        const RECT client = GetClientRect();
        m_lastClientWidth = client.right;
        m_lastClientHeight = client.bottom;
    }
    ::SetWindowPos(m_hWnd, nullptr, window.left, window.top, window.right - window.left,
                   window.bottom - window.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CResizableDialog::OnGetMinMaxInfo(MINMAXINFO* info) {
    if (m_minTrackWidth == 0) {
        Default();
        return;
    }
    info->ptMinTrackSize.x = m_minTrackWidth;
    info->ptMinTrackSize.y = m_minTrackHeight;
}

void CResizableDialog::OnSize(UINT type, int width, int height) {
    Default();
    if (type == SIZE_MINIMIZED)
        return;
    if (m_dpiChanging) {
        m_lastClientWidth = width;
        m_lastClientHeight = height;
        return;
    }
    const int dx = width - m_lastClientWidth;
    const int dy = height - m_lastClientHeight;
    if (m_lastClientWidth != 0) {
        for (uint32_t entry : m_anchors) {
            HWND control = GetDlgItem(int(entry & 0xFFFF));
            if (!control)
                continue;
            const uint16_t flags = uint16_t(entry >> 16);
            RECT r;
            ::GetWindowRect(control, &r);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
            if (flags & anchor::kStretchRight) {
                r.right += dx;
            } else if (flags & anchor::kMoveRight) {
                r.left += dx;
                r.right += dx;
            }
            if (flags & anchor::kStretchDown) {
                r.bottom += dy;
            } else if (flags & anchor::kMoveDown) {
                r.top += dy;
                r.bottom += dy;
            }
            ::MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
            ::InvalidateRect(control, nullptr, TRUE);
        }
    }
    m_lastClientWidth = width;
    m_lastClientHeight = height;
}

// The system scales the window and lays its controls out again for the new scaling; moving them
// by their anchors as well would move them twice. The smallest size scales with them, before the
// system asks for it.
LRESULT CResizableDialog::OnDpiChanged(WPARAM wParam, LPARAM) {
    const UINT dpi = HIWORD(wParam);
    if (m_dpi != 0 && dpi != 0 && m_minTrackWidth != 0) {
        m_minTrackWidth = ::MulDiv(m_minTrackWidth, int(dpi), int(m_dpi));
        m_minTrackHeight = ::MulDiv(m_minTrackHeight, int(dpi), int(m_dpi));
    }
    m_dpi = dpi;
    m_dpiChanging = true;
    const LRESULT result = Default();
    m_dpiChanging = false;
    const RECT client = GetClientRect();
    m_lastClientWidth = client.right;
    m_lastClientHeight = client.bottom;
    return result;
}

// The window's place is kept as it closes: the settings proper wait for Quit, but a window's place
// is no choice the user could want undone.
void CResizableDialog::OnDestroy() {
    if (m_templateId != 0 && !::IsIconic(m_hWnd) && !::IsZoomed(m_hWnd)) {
        const RECT window = GetWindowRect();
        SaveWindowPlace(m_templateId,
                        WindowPlace{window.left, window.top, window.right - window.left,
                                    window.bottom - window.top, int32_t(WindowDpi(m_hWnd))});
    }
    m_minTrackWidth = m_minTrackHeight = 0;
    m_lastClientWidth = m_lastClientHeight = 0;
    Default();
}
