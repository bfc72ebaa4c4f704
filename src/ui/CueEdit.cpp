#include "ui/CueEdit.h"

BEGIN_MESSAGE_MAP(CCueEdit, CEdit)
ON_WM_PAINT()
END_MESSAGE_MAP()

void CCueEdit::SetCue(std::string cue) {
    m_cue = std::move(cue);
    if (m_hWnd)
        Invalidate();
}

void CCueEdit::OnPaint() {
    Default();
    if (m_cue.empty() || !IsEmpty())
        return;
    HDC dc = ::GetDC(m_hWnd);
    if (!dc)
        return;
    // Where the control itself would put the first character, in its own font.
    RECT format{};
    SendMessage(EM_GETRECT, 0, LPARAM(&format));
    HGDIOBJ oldFont = ::SelectObject(dc, HGDIOBJ(SendMessage(WM_GETFONT)));
    ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextA(dc, m_cue.c_str(), int(m_cue.size()), &format,
                DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(m_hWnd, dc);
}

// The control redraws only what a keystroke changed; the hint must go, or come back, whole.
LRESULT CCueEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR:
        case WM_KEYDOWN:
        case WM_SETTEXT:
        case WM_CUT:
        case WM_PASTE:
        case WM_CLEAR:
        case WM_UNDO:
        case EM_UNDO:
        case EM_REPLACESEL: {
            const bool wasEmpty = IsEmpty();
            const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
            if (IsEmpty() != wasEmpty)
                Invalidate();
            return result;
        }
        default:
            return CEdit::WindowProc(message, wParam, lParam);
    }
}
