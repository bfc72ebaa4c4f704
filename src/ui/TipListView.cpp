#include "ui/TipListView.h"

#include <commctrl.h>

#include <utility>

#include "framework/Dpi.h"

bool CTipListView::CreateTips(std::function<std::string(int row)> tipText) {
    m_tipText = std::move(tipText);
    // Row texts (paths, parameter blocks) may hold "&", which is no access key here.
    if (!m_toolTip.Create(::GetParent(m_hWnd), TTS_ALWAYSTIP | TTS_NOPREFIX))
        return false;
    m_toolTip.AddTool(m_hWnd, "");
    m_toolTip.Activate(true);
    return true;
}

void CTipListView::InsertColumn(int column, std::string heading, int width, int format) {
    RECT dialogUnits{0, 0, width, 0};
    ::MapDialogRect(::GetParent(m_hWnd), &dialogUnits);
    LVCOLUMNA info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
    info.fmt = format;
    info.pszText = heading.data();
    info.cx = dialogUnits.right;
    info.iSubItem = column;
    ::SendMessageA(m_hWnd, LVM_INSERTCOLUMNA, WPARAM(column), LPARAM(&info));
    m_columnsDpi = WindowDpi(m_hWnd);
}

void CTipListView::ForgetTipRow() {
    m_tipRow = -1;
    if (m_toolTip.m_hWnd)
        ::SendMessageA(m_toolTip.m_hWnd, TTM_POP, 0, 0);
}

// The dialog was laid out again at a new scaling, but a list's column widths are its own: they
// keep their share of the list, widths the user dragged included.
void CTipListView::ScaleColumns(UINT dpi) {
    if (m_columnsDpi == 0 || dpi == 0 || dpi == m_columnsDpi)
        return;
    HWND header = HWND(::SendMessageA(m_hWnd, LVM_GETHEADER, 0, 0));
    const int columns = int(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int column = 0; column < columns; ++column) {
        const int width = int(::SendMessageA(m_hWnd, LVM_GETCOLUMNWIDTH, WPARAM(column), 0));
        ::SendMessageA(m_hWnd, LVM_SETCOLUMNWIDTH, WPARAM(column),
                       MAKELPARAM(::MulDiv(width, int(dpi), int(m_columnsDpi)), 0));
    }
    m_columnsDpi = dpi;
}

LRESULT CTipListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kDpiChangedAfterParent) {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        ScaleColumns(WindowDpi(m_hWnd));
        return result;
    }
    if (m_toolTip.m_hWnd && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
        if (message == WM_MOUSEMOVE) {
            LVHITTESTINFO hit{};
            hit.pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
            int row = int(::SendMessageA(m_hWnd, LVM_HITTEST, 0, LPARAM(&hit)));
            if (row != m_tipRow) {
                // A new row: the old tip goes, and the new text shows after the usual delay.
                m_tipRow = row;
                ::SendMessageA(m_toolTip.m_hWnd, TTM_POP, 0, 0);
                m_toolTip.UpdateTipText(m_hWnd, row >= 0 && m_tipText ? m_tipText(row) : "");
            }
        }
        MSG relayed{m_hWnd, message, wParam, lParam, DWORD(::GetMessageTime()), {}};
        ::GetCursorPos(&relayed.pt);
        m_toolTip.RelayEvent(&relayed);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
