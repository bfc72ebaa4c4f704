// CHoverEdit: an edit field drawn flat that shows a thin sunken frame while the pointer is over
// it or it has the keyboard focus. A disabled field shows a ring of the highlight colour instead.
#pragma once
#include "framework/StdControls.h"

class CHoverEdit : public CEdit {
  public:
    CHoverEdit();
    ~CHoverEdit() override;

    bool IsHovered() const { return m_hovered; }

    void OnPaint();
    LRESULT OnNcHitTest(WPARAM, LPARAM) { return HTCLIENT; }
    void OnMouseMove(UINT flags, POINT point);
    LRESULT OnSysColorChange(WPARAM, LPARAM);
    void OnSetFocus(HWND previous);
    void OnKillFocus(HWND next);

  private:
    void ReadColours();
    void DrawFrame();

    bool m_focused = false;
    bool m_hovered = false;
    COLORREF m_face = 0;
    COLORREF m_highlight = 0;
    COLORREF m_shadow = 0;

    DECLARE_MESSAGE_MAP()
};
