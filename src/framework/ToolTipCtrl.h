// CToolTipCtrl: the platform's tooltip control, owned by a window, with one tool per control
// (identified by the control's handle) or per id over a rectangle.
#pragma once
#include <windows.h>

#include <string_view>

class CToolTipCtrl {
  public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl();
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

    bool Create(HWND owner, DWORD style = 0);
    void Destroy();
    // A tool for a whole control.
    bool AddTool(HWND control, std::string_view text);
    // A tool with its own id over the owner's client area (controls that draw their own tips).
    bool AddTool(UINT id, const RECT& rect, std::string_view text);
    void UpdateTipText(HWND control, std::string_view text);
    void UpdateTipText(UINT id, std::string_view text);
    // The area of a tool with its own id, after its owner was resized.
    void SetToolRect(UINT id, const RECT& rect);
    std::string GetText(HWND control) const;
    void Activate(bool active);
    // Shows the tips for queued mouse messages of the window (called from PreTranslateMessage).
    void RelayEvent(MSG* message);
    // The window under a point of the screen as the control itself sees it (TTM_WINDOWFROMPOINT):
    // one of the owner's controls that has a tool, disabled ones too, wherever there is one.
    HWND WindowFromPoint(POINT screenPoint) const;
    int GetToolCount() const;
    HWND m_hWnd = nullptr;

  private:
    static LRESULT CALLBACK ToolTipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND ControlWithToolAt(POINT screenPoint) const;

    HWND m_owner = nullptr;
    WNDPROC m_previousProc = nullptr;
};
