// CHoverComboBox: a combo box that draws itself flat and rises while the pointer is over it or
// it has the focus, and that completes a typed name from its list.
#pragma once
#include "framework/Wnd.h"

enum class ComboFrameState { Flat = 0, Raised = 1, Pressed = 2 };

class CHoverComboBox : public CWnd {
  public:
    CHoverComboBox();
    ~CHoverComboBox() override;

    // Keys reaching the box or its edit field: Delete and Backspace switch completion off until
    // the next key, Enter picks the first item the text begins with (and tells the parent when
    // that changed the selection).
    bool PreTranslateMessage(MSG* message) override;

  protected:
    void OnPaint();
    void OnMouseMove(UINT flags, POINT point);
    void OnLButtonDown(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);
    void OnTimer(UINT_PTR id);
    LRESULT OnSysColorChange(WPARAM, LPARAM);
    void OnSetFocus();
    void OnKillFocus();
    void OnEditUpdate();

  private:
    void ReadColours();
    void TimerStep();
    void DrawComboFrame(ComboFrameState state, COLORREF a, COLORREF b);
    void DrawCurrentFrame();

    bool m_hot = false;
    bool m_focused = false;
    bool m_pressed = false;
    bool m_autoComplete = true;
    COLORREF m_face = 0;
    COLORREF m_highlight = 0;
    COLORREF m_shadow = 0;

    static constexpr UINT_PTR kHoverTimer = 1;
    static constexpr UINT kHoverPeriod = 10;  // ms

    DECLARE_MESSAGE_MAP()
};
