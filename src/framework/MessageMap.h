// Message maps: a static table per window class that routes window messages, commands and
// notifications to member functions, falling back to the base class's table. Each entry holds a
// small thunk that unpacks WPARAM/LPARAM for its handler's signature.
#pragma once
#include <windows.h>

class CWnd;

// Notifications that a parent hands back to the child control they came from.
constexpr UINT kReflectBase = WM_USER + 0x1C00;
constexpr UINT kReflectedCommand = kReflectBase + WM_COMMAND;
constexpr UINT kReflectedNotify = kReflectBase + WM_NOTIFY;
// Every WM_CTLCOLOR* arrives as this one message: wParam the device context, lParam the
// CTLCOLOR_* kind.
constexpr UINT kReflectedCtlColor = kReflectBase + 0x0019;  // the old WM_CTLCOLOR

// How an entry matches: by message alone, or by message with notification code and control id.
enum class MessageMatch { kMessage, kCommand, kNotify };

using MessageThunk = bool (*)(CWnd* window, WPARAM wParam, LPARAM lParam, LRESULT* result);

struct MessageEntry {
    UINT message;
    MessageMatch match;
    UINT code;  // notification code for kCommand / kNotify
    UINT id;    // control id for kCommand / kNotify; 0xFFFF matches any (reflected entries)
    MessageThunk thunk;
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageEntry* entries;  // ends with an entry whose thunk is null
};

constexpr UINT kAnyControl = 0xFFFF;

#define DECLARE_MESSAGE_MAP()                         \
  public:                                             \
    static const MessageMap* GetThisMessageMap();     \
                                                      \
  protected:                                          \
    const MessageMap* GetMessageMap() const override; \
                                                      \
  private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)          \
    const MessageMap* theClass::GetMessageMap() const { \
        return GetThisMessageMap();                     \
    }                                                   \
    const MessageMap* theClass::GetThisMessageMap() {   \
        using ThisClass [[maybe_unused]] = theClass;                  \
        using BaseClass = baseClass;                    \
        static const MessageEntry entries[] = {
#define END_MESSAGE_MAP()                                                   \
    { 0, MessageMatch::kMessage, 0, 0, nullptr }                            \
    }                                                                       \
    ;                                                                       \
    static const MessageMap map = {&BaseClass::GetThisMessageMap, entries}; \
    return &map;                                                            \
    }

#define SW_THUNK(body)                                                   \
    [](CWnd* w, WPARAM wParam, LPARAM lParam, LRESULT* result) -> bool { \
        auto* self = static_cast<ThisClass*>(w);                         \
        (void)self;                                                      \
        (void)wParam;                                                    \
        (void)lParam;                                                    \
        (void)result;                                                    \
        body                                                             \
    }

// Commands and notifications from child controls (handler: void()).
#define ON_CONTROL(code, id, fn)                                  \
    {                                                             \
        WM_COMMAND, MessageMatch::kCommand, UINT(code), UINT(id), \
            SW_THUNK((self->*(fn))(); return true;)               \
    }                                                             \
    ,
#define ON_COMMAND(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CBN_KILLFOCUS(id, fn) ON_CONTROL(CBN_KILLFOCUS, id, fn)
// A WM_NOTIFY from a child (handler: void(NMHDR*, LRESULT*)).
#define ON_NOTIFY(code, id, fn)                                                             \
    {                                                                                       \
        WM_NOTIFY, MessageMatch::kNotify, UINT(code), UINT(id),                             \
            SW_THUNK((self->*(fn))(reinterpret_cast<NMHDR*>(lParam), result); return true;) \
    }                                                                                       \
    ,

// Reflected back to the control that sent them (handlers: void(); bool(NMHDR*, LRESULT*)
// answering whether it handled the notification).
#define ON_CONTROL_REFLECT(code, fn)                                        \
    {                                                                       \
        kReflectedCommand, MessageMatch::kCommand, UINT(code), kAnyControl, \
            SW_THUNK((self->*(fn))(); return true;)                         \
    }                                                                       \
    ,
#define ON_NOTIFY_REFLECT(code, fn)                                                   \
    {                                                                                 \
        kReflectedNotify, MessageMatch::kNotify, UINT(code), kAnyControl,             \
            SW_THUNK(return (self->*(fn))(reinterpret_cast<NMHDR*>(lParam), result);) \
    }                                                                                 \
    ,
// HBRUSH CtlColor(HDC, UINT kind); a null brush leaves the colours to the parent.
#define ON_WM_CTLCOLOR_REFLECT()                                                                 \
    {                                                                                            \
        kReflectedCtlColor, MessageMatch::kMessage, 0, 0,                                        \
            SW_THUNK(HBRUSH brush = self->CtlColor(reinterpret_cast<HDC>(wParam), UINT(lParam)); \
                     if (!brush) return false; *result = reinterpret_cast<LRESULT>(brush);       \
                     return true;)                                                               \
    }                                                                                            \
    ,

// Window messages.
#define ON_MESSAGE(message, fn)                                             \
    {                                                                       \
        UINT(message), MessageMatch::kMessage, 0, 0,                        \
            SW_THUNK(*result = (self->*(fn))(wParam, lParam); return true;) \
    }                                                                       \
    ,
#define ON_WM_TIMER()                                               \
    {                                                               \
        WM_TIMER, MessageMatch::kMessage, 0, 0,                     \
            SW_THUNK(self->OnTimer(UINT_PTR(wParam)); return true;) \
    }                                                               \
    ,
#define ON_WM_PAINT()                                                                   \
    { WM_PAINT, MessageMatch::kMessage, 0, 0, SW_THUNK(self->OnPaint(); return true;) } \
    ,
#define ON_WM_NCPAINT()                                                                     \
    { WM_NCPAINT, MessageMatch::kMessage, 0, 0, SW_THUNK(self->OnNcPaint(); return true;) } \
    ,
#define ON_WM_CREATE()                                                                   \
    {                                                                                    \
        WM_CREATE, MessageMatch::kMessage, 0, 0,                                         \
            SW_THUNK(*result = self->OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam)); \
                     return true;)                                                       \
    }                                                                                    \
    ,
#define ON_WM_DESTROY()                                                                     \
    { WM_DESTROY, MessageMatch::kMessage, 0, 0, SW_THUNK(self->OnDestroy(); return true;) } \
    ,
#define ON_WM_SIZE()                                                                           \
    {                                                                                          \
        WM_SIZE, MessageMatch::kMessage, 0, 0,                                                 \
            SW_THUNK(self->OnSize(UINT(wParam), LOWORD(lParam), HIWORD(lParam)); return true;) \
    }                                                                                          \
    ,
#define ON_WM_GETMINMAXINFO()                                                                    \
    {                                                                                            \
        WM_GETMINMAXINFO, MessageMatch::kMessage, 0, 0,                                          \
            SW_THUNK(self->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return true;) \
    }                                                                                            \
    ,
#define SW_POINT                                     \
    POINT {                                          \
        short(LOWORD(lParam)), short(HIWORD(lParam)) \
    }
#define ON_WM_MOUSEMOVE()                                                     \
    {                                                                         \
        WM_MOUSEMOVE, MessageMatch::kMessage, 0, 0,                           \
            SW_THUNK(self->OnMouseMove(UINT(wParam), SW_POINT); return true;) \
    }                                                                         \
    ,
#define ON_WM_LBUTTONDOWN()                                                     \
    {                                                                           \
        WM_LBUTTONDOWN, MessageMatch::kMessage, 0, 0,                           \
            SW_THUNK(self->OnLButtonDown(UINT(wParam), SW_POINT); return true;) \
    }                                                                           \
    ,
#define ON_WM_LBUTTONUP()                                                     \
    {                                                                         \
        WM_LBUTTONUP, MessageMatch::kMessage, 0, 0,                           \
            SW_THUNK(self->OnLButtonUp(UINT(wParam), SW_POINT); return true;) \
    }                                                                         \
    ,
#define ON_WM_SETCURSOR()                                                                        \
    {                                                                                            \
        WM_SETCURSOR, MessageMatch::kMessage, 0, 0,                                              \
            SW_THUNK(*result = self->OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), \
                                                 HIWORD(lParam));                                \
                     return true;)                                                               \
    }                                                                                            \
    ,
#define ON_WM_SYSCOMMAND()                                                   \
    {                                                                        \
        WM_SYSCOMMAND, MessageMatch::kMessage, 0, 0,                         \
            SW_THUNK(self->OnSysCommand(UINT(wParam), lParam); return true;) \
    }                                                                        \
    ,
#define ON_WM_ERASEBKGND()                                                                      \
    {                                                                                           \
        WM_ERASEBKGND, MessageMatch::kMessage, 0, 0,                                            \
            SW_THUNK(*result = self->OnEraseBkgnd(reinterpret_cast<HDC>(wParam)); return true;) \
    }                                                                                           \
    ,
#define ON_WM_KEYDOWN()                                                                         \
    {                                                                                           \
        WM_KEYDOWN, MessageMatch::kMessage, 0, 0,                                               \
            SW_THUNK(self->OnKeyDown(UINT(wParam), UINT(LOWORD(lParam)), UINT(HIWORD(lParam))); \
                     return true;)                                                              \
    }                                                                                           \
    ,
#define ON_WM_CHAR()                                                                         \
    {                                                                                        \
        WM_CHAR, MessageMatch::kMessage, 0, 0,                                               \
            SW_THUNK(self->OnChar(UINT(wParam), UINT(LOWORD(lParam)), UINT(HIWORD(lParam))); \
                     return true;)                                                           \
    }                                                                                        \
    ,
#define ON_WM_SETFOCUS()                                                             \
    {                                                                                \
        WM_SETFOCUS, MessageMatch::kMessage, 0, 0,                                   \
            SW_THUNK(self->OnSetFocus(reinterpret_cast<HWND>(wParam)); return true;) \
    }                                                                                \
    ,
#define ON_WM_KILLFOCUS()                                                             \
    {                                                                                 \
        WM_KILLFOCUS, MessageMatch::kMessage, 0, 0,                                   \
            SW_THUNK(self->OnKillFocus(reinterpret_cast<HWND>(wParam)); return true;) \
    }                                                                                 \
    ,
#define ON_WM_QUERYDRAGICON()                                                                    \
    {                                                                                            \
        WM_QUERYDRAGICON, MessageMatch::kMessage, 0, 0,                                          \
            SW_THUNK(*result = reinterpret_cast<LRESULT>(self->OnQueryDragIcon()); return true;) \
    }                                                                                            \
    ,
