// CWnd: a C++ object attached to a window. Dialogs are attached as they are created, controls
// of a dialog template by subclassing them by id; from then on the window's messages go through
// the object's message map, and what it leaves alone goes to the window's original procedure.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "MessageMap.h"

class CWnd {
  public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object attached to a window, or null.
    static CWnd* FromHandlePermanent(HWND window);

    // Routes an existing window's messages through this object.
    bool SubclassWindow(HWND window);
    bool SubclassDlgItem(int id, CWnd* parent);
    HWND UnsubclassWindow();

    static const MessageMap* GetThisMessageMap();

    // Queued messages pass here before they are dispatched; true means the message was taken.
    virtual bool PreTranslateMessage(MSG* message);

    // Text and state.
    std::string GetWindowText() const;
    void SetWindowText(std::string_view text);
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    bool EnableWindow(bool enable = true) { return ::EnableWindow(m_hWnd, enable) != FALSE; }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    bool ShowWindow(int command) { return ::ShowWindow(m_hWnd, command) != FALSE; }
    void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    DWORD GetStyle() const { return DWORD(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    bool KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id) != FALSE; }
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    CWnd* GetParent() const { return FromHandlePermanent(::GetParent(m_hWnd)); }
    // Centres the window over another (or on the work area when that one is minimised, hidden
    // or null), kept on the work area.
    void CenterWindow(HWND over);

  protected:
    virtual const MessageMap* GetMessageMap() const { return GetThisMessageMap(); }
    // Every message of the window: the message map first, then Default().
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The original window procedure for the message being handled.
    LRESULT Default();
    // Called after the object was attached by subclassing, before any message arrives.
    virtual void PreSubclassWindow() {}
    // A notification of this control that its parent handed back; true when handled here.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // After WM_NCDESTROY, when the window is gone and the object detached.
    virtual void PostNcDestroy() {}

    bool DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Hands a child's WM_COMMAND, WM_NOTIFY or WM_CTLCOLOR* to that child's object.
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    bool Attach(HWND window);
    void Detach();

    WNDPROC m_previousProc = nullptr;

  private:
    friend class CDialog;
    static LRESULT CALLBACK StandardWindowProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam);
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current{};
};

// A window rectangle moved onto the work area of the monitor it is nearest to, so that all of it
// shows (its top-left corner where it is larger than the work area).
RECT KeepOnWorkArea(const RECT& window);
// The same for a window the user can size: one larger than that work area is first made as large
// as the work area, but not smaller than `smallest`.
RECT FitOnWorkArea(const RECT& window, SIZE smallest);

// Draws into a window between BeginPaint and EndPaint.
class CPaintDC {
  public:
    explicit CPaintDC(HWND window) : m_window(window) { m_dc = ::BeginPaint(window, &m_paint); }
    ~CPaintDC() { ::EndPaint(m_window, &m_paint); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    operator HDC() const { return m_dc; }
    const PAINTSTRUCT& Paint() const { return m_paint; }

  private:
    HWND m_window;
    HDC m_dc;
    PAINTSTRUCT m_paint{};
};
