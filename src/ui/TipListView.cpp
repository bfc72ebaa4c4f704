#include "ui/TipListView.h"

#include <commctrl.h>

#include <utility>

bool CTipListView::CreateTips(std::function<std::string(int row)> tipText) {
    m_tipText = std::move(tipText);
    // Row texts (paths, parameter blocks) may hold "&", which is no access key here.
    if (!m_toolTip.Create(::GetParent(m_hWnd), TTS_ALWAYSTIP | TTS_NOPREFIX))
        return false;
    m_toolTip.AddTool(m_hWnd, "");
    m_toolTip.Activate(true);
    return true;
}

LRESULT CTipListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
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
