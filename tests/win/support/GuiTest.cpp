#include "GuiTest.h"

#include <commctrl.h>

#include <memory>
#include <utility>

#include "framework/WindowPicture.h"

namespace gui_test {

void PumpMessages(DWORD milliseconds) {
    DWORD start = ::GetTickCount();
    do {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        if (milliseconds)
            ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
}

namespace {

std::function<void(HWND)> pendingScript;
HWND scriptOver = nullptr;
UINT_PTR scriptTimer = 0;

bool IsShown(HWND window, const char* className) {
    char name[32] = {};
    ::GetClassNameA(window, name, sizeof(name));
    return window != scriptOver && ::IsWindowVisible(window) && std::string(name) == className;
}

// The first shown window of this thread of a class, other than the script's `over`.
HWND FindShown(const char* className) {
    for (HWND window : ShownWindows(::GetCurrentThreadId()))
        if (IsShown(window, className))
            return window;
    return nullptr;
}

BOOL CALLBACK CollectShown(HWND window, LPARAM list) {
    if (::IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

void CALLBACK ScriptTimer(HWND, UINT, UINT_PTR, DWORD) {
    // The active window first: a dialog opened over another is active, the one beneath is not.
    HWND dialog = ::GetActiveWindow();
    if (!IsShown(dialog, "#32770"))
        dialog = FindShown("#32770");
    if (!dialog)
        return;
    ::KillTimer(nullptr, scriptTimer);
    scriptTimer = 0;
    auto script = std::move(pendingScript);
    pendingScript = nullptr;
    script(dialog);
}

}  // namespace

void WhenDialogOpens(std::function<void(HWND dialog)> script, HWND over) {
    pendingScript = std::move(script);
    scriptOver = over;
    scriptTimer = ::SetTimer(nullptr, 0, 20, &ScriptTimer);
}

void RunSteps(std::vector<std::function<void(HWND)>> steps) {
    auto index = std::make_shared<size_t>(0);
    auto all = std::make_shared<std::vector<std::function<void(HWND)>>>(std::move(steps));
    auto runner = std::make_shared<std::function<void(HWND)>>();
    *runner = [index, all, runner](HWND window) {
        (*all)[(*index)++](window);
        // Re-armed only while steps remain: a pending script would outlive the dialog.
        if (*index < all->size())
            WhenDialogOpens(*runner);
        else
            ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    };
    WhenDialogOpens(*runner);
}

void PressKey(UINT virtualKey, HWND target) {
    HWND focus = target ? target : ::GetFocus();
    UINT scan = ::MapVirtualKeyA(virtualKey, 0);
    ::PostMessageA(focus, WM_KEYDOWN, virtualKey, LPARAM(1 | (scan << 16)));
    ::PostMessageA(focus, WM_KEYUP, virtualKey, LPARAM(1 | (scan << 16) | (3u << 30)));
}

void TypeText(const std::string& text, HWND target) {
    for (unsigned char c : text)
        ::PostMessageA(target ? target : ::GetFocus(), WM_CHAR, c, 1);
}

void MovePointerTo(HWND window, POINT clientPoint) {
    POINT screen = clientPoint;
    ::ClientToScreen(window, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(clientPoint.x, clientPoint.y));
}

void MovePointerAway() {
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    PumpMessages();
}

POINT CentreOf(HWND dialog, int id) {
    RECT rect;
    ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::ScreenToClient(dialog, &centre);
    return centre;
}

std::string WaitForToolTip(HWND control) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 5000) {
        PumpMessages();
        HWND tip = FindShown(TOOLTIPS_CLASSA);
        TTTOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        if (tip && ::SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, LPARAM(&tool)) &&
            (tool.uFlags & TTF_IDISHWND) && HWND(tool.uId) == control) {
            char text[1024] = {};
            tool.lpszText = text;
            ::SendMessageA(tip, TTM_GETTEXTA, sizeof(text), LPARAM(&tool));
            return text;
        }
        ::Sleep(10);
    }
    return "";
}

std::vector<HWND> ShownWindows(DWORD thread) {
    std::vector<HWND> windows;
    ::EnumThreadWindows(thread, &CollectShown, LPARAM(&windows));
    return windows;
}

void SetFileDialogName(HWND dialog, const std::string& path) {
    ::SetDlgItemTextA(dialog, 0x047c, path.c_str());
    ::SetDlgItemTextA(dialog, 0x0480, path.c_str());
}

void FocusControl(HWND dialog, int id) {
    ::SendMessageA(dialog, WM_NEXTDLGCTL, WPARAM(::GetDlgItem(dialog, id)), TRUE);
    PumpMessages();
}

std::string Text(HWND window) {
    std::string text(size_t(::GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(size_t(::GetWindowTextA(window, text.data(), int(text.size()))));
    return text;
}

std::string CellText(HWND list, int row, int column) {
    char buffer[1100] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    ::SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(row), LPARAM(&item));
    return buffer;
}

COLORREF PixelAt(HWND window, int x, int y) {
    ::UpdateWindow(window);
    HDC dc = ::GetDC(window);
    COLORREF colour = ::GetPixel(dc, x, y);
    ::ReleaseDC(window, dc);
    return colour;
}

bool SaveWindowPng(HWND window, const std::string& path) {
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages(50);
    return SaveWindowPicture(window, path);
}

std::string ScreenshotPath(const std::string& name) {
    const std::string folder = std::string(SCENEWRIGHT_BINARY_DIR) + "/screenshots";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "/" + name + ".png";
}

}  // namespace gui_test
