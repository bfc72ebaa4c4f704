#include "ToolTipCtrl.h"

#include <commctrl.h>

#include <string>

namespace {
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
    ::SendMessageA(m_hWnd, TTM_SETMAXTIPWIDTH, 0, 400);
    return true;
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
    TTHITTESTINFOA hit{};
    hit.hwnd = m_owner;
    ::ScreenToClient(m_owner, &screenPoint);
    hit.pt = screenPoint;
    hit.ti.cbSize = TTTOOLINFOA_V2_SIZE;
    if (!::SendMessageA(m_hWnd, TTM_HITTESTA, 0, reinterpret_cast<LPARAM>(&hit)))
        return nullptr;
    return (hit.ti.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(hit.ti.uId) : nullptr;
}

int CToolTipCtrl::GetToolCount() const {
    return int(::SendMessageA(m_hWnd, TTM_GETTOOLCOUNT, 0, 0));
}
