#include "ui/ResizableDialog.h"

BEGIN_MESSAGE_MAP(CResizableDialog, CDialog)
ON_WM_CREATE()
ON_WM_GETMINMAXINFO()
ON_WM_SIZE()
ON_WM_DESTROY()
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
    return 0;
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

void CResizableDialog::OnDestroy() {
    m_minTrackWidth = m_minTrackHeight = 0;
    m_lastClientWidth = m_lastClientHeight = 0;
    Default();
}
