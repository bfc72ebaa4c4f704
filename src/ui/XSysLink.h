// XSysLink: a static control that acts as a hyperlink. Its text is underlined in the link
// colour (the visited colour once opened), the pointer turns into a pointing hand over it, a
// balloon tip shows the target, and a click or the space bar opens the target with the shell.
#pragma once
#include <string>

#include "framework/StdControls.h"
#include "framework/ToolTipCtrl.h"

class XSysLink : public CStatic {
  public:
    XSysLink();
    ~XSysLink() override;

    virtual const char* GetRuntimeClassName() const { return "XSysLink"; }

    // A new target also resets the link to unvisited.
    void SetLinkTarget(const std::string& target);
    const std::string& GetLinkTarget() const { return m_target; }
    bool IsVisited() const { return m_visited != 0; }
    CToolTipCtrl& ToolTip() { return m_toolTip; }

    bool PreTranslateMessage(MSG* message) override;

    HBRUSH CtlColor(HDC dc, UINT kind);
    LRESULT OnSetCursor(HWND, UINT, UINT);
    void OnSetFocus(HWND previous);
    void OnKillFocus(HWND next);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    LRESULT OnNcHitTest(WPARAM, LPARAM) { return HTCLIENT; }
    void OnLButtonDown(UINT flags, POINT point);
    void OnSize(UINT type, int width, int height);
    LRESULT OnDpiChangedAfterParent(WPARAM, LPARAM);

    static constexpr COLORREF kLinkColour = RGB(0, 0, 255);
    static constexpr COLORREF kVisitedColour = RGB(128, 0, 128);

  protected:
    void PreSubclassWindow() override;

  private:
    void UnderlineFont(HFONT font);
    void FitToText();
    void FollowLink();
    void DrawFocus();

    DWORD m_fitToText = 1;
    DWORD m_visited = 0;
    HFONT m_linkFont = nullptr;
    std::string m_target;
    HCURSOR m_cursor = nullptr;
    CToolTipCtrl m_toolTip;

    DECLARE_MESSAGE_MAP()
};
