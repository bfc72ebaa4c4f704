#include "FindTime.h"

#include <commctrl.h>

#include <cstring>
#include <string_view>

#include "resource.h"

namespace {

double Now() {
    LARGE_INTEGER frequency, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

struct FindDialog {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindFindWindow(HWND window, LPARAM data) {
    auto* find = reinterpret_cast<FindDialog*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char className[32] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (owner == find->process && std::strcmp(className, "#32770") == 0 &&
        ::GetDlgItem(window, IDC_FIND_LIST) && ::IsWindowVisible(window)) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

// Paints what is waiting to be painted, and returns once the window's own thread has done it.
void PaintNow(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace

bool MeasureFindWindow(HWND mainWindow, FindTimes& times) {
    FindDialog find{0, nullptr};
    ::GetWindowThreadProcessId(mainWindow, &find.process);
    // The window is modal: its command is posted, and the list watched until it is filled.
    const double start = Now();
    ::PostMessageA(mainWindow, WM_SYSCOMMAND, IDM_FIND, 0);
    HWND list = nullptr;
    while (Now() - start < 30) {
        find.found = nullptr;
        ::EnumWindows(FindFindWindow, LPARAM(&find));
        list = find.found ? ::GetDlgItem(find.found, IDC_FIND_LIST) : nullptr;
        if (list && ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0)
            break;
        ::Sleep(1);
    }
    if (!list)
        return false;
    PaintNow(find.found);
    times.opened.push_back(Now() - start);
    times.rows = long(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));

    // A name typed letter by letter, then shortened again.
    HWND box = ::GetDlgItem(find.found, IDC_FIND_TEXT);
    for (const char key : std::string_view("hangar_1\b\b\b")) {
        const double typed = Now();
        ::SendMessageA(box, WM_CHAR, WPARAM(key), 1);
        PaintNow(list);
        times.keystrokes.push_back(Now() - typed);
    }
    ::PostMessageA(find.found, WM_COMMAND, IDCANCEL, 0);
    const double closing = Now();
    while (::IsWindow(find.found) && Now() - closing < 10)
        ::Sleep(1);
    return true;
}
