#include "ToolTipCtrl.h"

#include <commctrl.h>

#include <string>

namespace {
constexpr const char* kSelfProperty = "CToolTipCtrl";

// Without a comctl32 version 6 manifest the tool record must have its older size, or every
// tool message fails.
TTTOOLINFOA MakeToolInfo(HWND owner, UINT flags, UINT_PTR id, const char* text) {
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = flags;
    info.hwnd = owner;
    info.uId = id;
    info.lpszText = const_cast<char*>(text);
    return info;
}
}  // namespace

CToolTipCtrl::~CToolTipCtrl() {
    Destroy();
}

bool CToolTipCtrl::Create(HWND owner, DWORD style) {
    m_owner = owner;
    m_hWnd = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                               nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (!m_hWnd)
        return false;
    ::SetPropA(m_hWnd, kSelfProperty, this);
    m_previousProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
        m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CToolTipCtrl::ToolTipProc)));
    ::SendMessageA(m_hWnd, TTM_SETMAXTIPWIDTH, 0, 400);
    return true;
}

// MSDN: the tooltip sends itself TTM_WINDOWFROMPOINT before it shows a tip, a message "intended
// to be processed by an application that subclasses a tooltip". Its own answer is the window
// that mouse input would go to, which is never a disabled control, so their tips never showed;
// over the owner this answer is the control under the point that has a tool.
LRESULT CALLBACK CToolTipCtrl::ToolTipProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    auto* self = static_cast<CToolTipCtrl*>(::GetPropA(window, kSelfProperty));
    if (!self)
        return ::DefWindowProcA(window, message, wParam, lParam);
    const WNDPROC previous = self->m_previousProc;
    if (message == TTM_WINDOWFROMPOINT && lParam) {
        const POINT point = *reinterpret_cast<const POINT*>(lParam);
        HWND under =
            reinterpret_cast<HWND>(::CallWindowProcA(previous, window, message, wParam, lParam));
        if (under == self->m_owner || ::IsChild(self->m_owner, under)) {
            if (HWND control = self->ControlWithToolAt(point))
                return reinterpret_cast<LRESULT>(control);
        }
        return reinterpret_cast<LRESULT>(under);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        ::RemovePropA(window, kSelfProperty);
        self->m_previousProc = nullptr;
    }
    return ::CallWindowProcA(previous, window, message, wParam, lParam);
}

// The first of the owner's visible controls in Z order (a group box lies above the controls it
// frames, but has no tool) whose rectangle holds the point and that has a tool.
HWND CToolTipCtrl::ControlWithToolAt(POINT screenPoint) const {
    for (HWND child = ::GetWindow(m_owner, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        if (!::IsWindowVisible(child) || !::GetWindowRect(child, &rect) ||
            !::PtInRect(&rect, screenPoint))
            continue;
        char text[1024] = {};
        TTTOOLINFOA info =
            MakeToolInfo(m_owner, TTF_IDISHWND, reinterpret_cast<UINT_PTR>(child), text);
        if (::SendMessageA(m_hWnd, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)))
            return child;
    }
    return nullptr;
}

void CToolTipCtrl::Destroy() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

bool CToolTipCtrl::AddTool(HWND control, std::string_view text) {
    std::string copy(text);
    TTTOOLINFOA info =
        MakeToolInfo(m_owner, TTF_IDISHWND, reinterpret_cast<UINT_PTR>(control), copy.c_str());
    return ::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

bool CToolTipCtrl::AddTool(UINT id, const RECT& rect, std::string_view text) {
    std::string copy(text);
    TTTOOLINFOA info = MakeToolInfo(m_owner, 0, id, copy.c_str());
    info.rect = rect;
    return ::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void CToolTipCtrl::UpdateTipText(HWND control, std::string_view text) {
    std::string copy(text);
    TTTOOLINFOA info =
        MakeToolInfo(m_owner, TTF_IDISHWND, reinterpret_cast<UINT_PTR>(control), copy.c_str());
    ::SendMessageA(m_hWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(UINT id, std::string_view text) {
    std::string copy(text);
    TTTOOLINFOA info = MakeToolInfo(m_owner, 0, id, copy.c_str());
    ::SendMessageA(m_hWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::SetToolRect(UINT id, const RECT& rect) {
    if (!m_hWnd)
        return;
    TTTOOLINFOA info = MakeToolInfo(m_owner, 0, id, nullptr);
    info.rect = rect;
    ::SendMessageA(m_hWnd, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
}

std::string CToolTipCtrl::GetText(HWND control) const {
    char buffer[1024] = {};
    TTTOOLINFOA info =
        MakeToolInfo(m_owner, TTF_IDISHWND, reinterpret_cast<UINT_PTR>(control), buffer);
    ::SendMessageA(m_hWnd, TTM_GETTEXTA, sizeof(buffer), reinterpret_cast<LPARAM>(&info));
    return buffer;
}

void CToolTipCtrl::Activate(bool active) {
    ::SendMessageA(m_hWnd, TTM_ACTIVATE, active, 0);
}

void CToolTipCtrl::RelayEvent(MSG* message) {
    if (m_hWnd)
        ::SendMessageA(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(message));
}

HWND CToolTipCtrl::WindowFromPoint(POINT screenPoint) const {
    return reinterpret_cast<HWND>(
        ::SendMessageA(m_hWnd, TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&screenPoint)));
}

int CToolTipCtrl::GetToolCount() const {
    return int(::SendMessageA(m_hWnd, TTM_GETTOOLCOUNT, 0, 0));
}
