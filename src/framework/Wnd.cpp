#include "Wnd.h"

#include <algorithm>
#include <unordered_map>

namespace {
// The GUI thread's windows and their objects. The program has one GUI thread.
std::unordered_map<HWND, CWnd*>& PermanentMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}
}  // namespace

const MessageMap* CWnd::GetThisMessageMap() {
    static const MessageEntry entries[] = {{0, MessageMatch::kMessage, 0, 0, nullptr}};
    static const MessageMap map = {nullptr, entries};
    return &map;
}

CWnd::~CWnd() {
    if (m_hWnd) {
        if (m_previousProc)
            UnsubclassWindow();
        else
            Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
    auto& map = PermanentMap();
    auto found = map.find(window);
    return found == map.end() ? nullptr : found->second;
}

bool CWnd::Attach(HWND window) {
    if (!window || m_hWnd || FromHandlePermanent(window))
        return false;
    m_hWnd = window;
    PermanentMap()[window] = this;
    return true;
}

void CWnd::Detach() {
    if (m_hWnd)
        PermanentMap().erase(m_hWnd);
    m_hWnd = nullptr;
}

bool CWnd::SubclassWindow(HWND window) {
    if (!Attach(window))
        return false;
    m_previousProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StandardWindowProc)));
    PreSubclassWindow();
    return true;
}

bool CWnd::SubclassDlgItem(int id, CWnd* parent) {
    HWND control = ::GetDlgItem(parent->m_hWnd, id);
    return control && SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow() {
    HWND window = m_hWnd;
    if (window && m_previousProc)
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
    m_previousProc = nullptr;
    Detach();
    return window;
}

bool CWnd::PreTranslateMessage(MSG*) {
    return false;
}

std::string CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    std::string text(size_t(length < 0 ? 0 : length) + 1, '\0');
    int got = ::GetWindowTextA(m_hWnd, text.data(), int(text.size()));
    text.resize(size_t(got < 0 ? 0 : got));
    return text;
}

void CWnd::SetWindowText(std::string_view text) {
    ::SetWindowTextA(m_hWnd, std::string(text).c_str());
}

RECT CWnd::GetClientRect() const {
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    return rect;
}

RECT CWnd::GetWindowRect() const {
    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    return rect;
}

namespace {

RECT WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor && ::GetMonitorInfoA(monitor, &info))
        return info.rcWork;
    RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// The start of a span of `length` moved into [low, high): its low end wins when it does not fit.
LONG KeepWithin(LONG start, LONG length, LONG low, LONG high) {
    if (start + length > high)
        start = high - length;
    return start < low ? low : start;
}

}  // namespace

RECT KeepOnWorkArea(const RECT& window) {
    return FitOnWorkArea(window, {window.right - window.left, window.bottom - window.top});
}

RECT FitOnWorkArea(const RECT& window, SIZE smallest) {
    const RECT area = WorkAreaOf(::MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST));
    const LONG width =
        std::min(window.right - window.left, std::max(area.right - area.left, smallest.cx));
    const LONG height =
        std::min(window.bottom - window.top, std::max(area.bottom - area.top, smallest.cy));
    const LONG left = KeepWithin(window.left, width, area.left, area.right);
    const LONG top = KeepWithin(window.top, height, area.top, area.bottom);
    return {left, top, left + width, top + height};
}

void CWnd::CenterWindow(HWND over) {
    const RECT window = GetWindowRect();
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    RECT area{};
    if (over && ::IsWindowVisible(over) && !::IsIconic(over))
        ::GetWindowRect(over, &area);
    else
        area = WorkAreaOf(::MonitorFromWindow(over ? over : m_hWnd, MONITOR_DEFAULTTONEAREST));
    const LONG left = area.left + ((area.right - area.left) - width) / 2;
    const LONG top = area.top + ((area.bottom - area.top) - height) / 2;
    const RECT placed = KeepOnWorkArea({left, top, left + width, top + height});
    ::SetWindowPos(m_hWnd, nullptr, placed.left, placed.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CWnd::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    UINT code = 0;
    UINT id = 0;
    if (message == WM_COMMAND || message == kReflectedCommand) {
        code = HIWORD(wParam);
        id = LOWORD(wParam);
    } else if (message == WM_NOTIFY || message == kReflectedNotify) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        code = header->code;
        id = UINT(header->idFrom);
    }
    for (const MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const MessageEntry* entry = map->entries; entry->thunk; ++entry) {
            if (entry->message != message)
                continue;
            if (entry->match != MessageMatch::kMessage &&
                (entry->code != code || (entry->id != kAnyControl && entry->id != id)))
                continue;
            if (entry->thunk(this, wParam, lParam, result))
                return true;
        }
    }
    return false;
}

bool CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    UINT reflected = (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
                         ? kReflectedCtlColor
                         : kReflectBase + message;
    if (reflected == kReflectedCtlColor)
        lParam = LPARAM(message - WM_CTLCOLORMSGBOX);  // the CTLCOLOR_* kind
    return DispatchToMap(reflected, wParam, lParam, result);
}

bool CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    HWND child = nullptr;
    if (message == WM_COMMAND)
        child = reinterpret_cast<HWND>(lParam);
    else if (message == WM_NOTIFY)
        child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        child = reinterpret_cast<HWND>(lParam);
    CWnd* object = child && child != m_hWnd ? FromHandlePermanent(child) : nullptr;
    return object && object->OnChildNotify(message, wParam, lParam, result);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectToChild(message, wParam, lParam, &result))
        return result;
    if (DispatchToMap(message, wParam, lParam, &result))
        return result;
    return Default();
}

LRESULT CWnd::Default() {
    if (!m_previousProc)
        return ::DefWindowProcA(m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
    return ::CallWindowProcA(m_previousProc, m_hWnd, m_current.message, m_current.wParam,
                             m_current.lParam);
}

LRESULT CALLBACK CWnd::StandardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* object = FromHandlePermanent(window);
    if (!object)
        return ::DefWindowProcA(window, message, wParam, lParam);
    CurrentMessage saved = object->m_current;
    object->m_current = {message, wParam, lParam};
    LRESULT result = object->WindowProc(message, wParam, lParam);
    object->m_current = saved;
    if (message == WM_NCDESTROY) {
        // The window is gone: give the procedure back and let go of the handle.
        WNDPROC previous = object->m_previousProc;
        if (previous)
            ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        object->m_previousProc = nullptr;
        object->Detach();
        object->PostNcDestroy();
    }
    return result;
}
