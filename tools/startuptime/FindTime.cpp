#include "FindTime.h"

#include <commctrl.h>

#include <string_view>

#include "Measure.h"
#include "resource.h"

namespace {

// The find window: the dialog with the list of found rows.
HWND FindFindWindow(DWORD process) {
    return FindProcessDialog(
        process, [](HWND window) { return ::GetDlgItem(window, IDC_FIND_LIST) != nullptr; });
}

// Paints what is waiting to be painted, and returns once the window's own thread has done it.
void PaintNow(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace

bool MeasureFindWindow(HWND mainWindow, FindTimes& times) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(mainWindow, &process);
    HWND window = nullptr;
    // The window is modal: its command is posted, and the list watched until it is filled.
    const double start = Now();
    ::PostMessageA(mainWindow, WM_SYSCOMMAND, IDM_FIND, 0);
    HWND list = nullptr;
    while (Now() - start < 30) {
        window = FindFindWindow(process);
        list = window ? ::GetDlgItem(window, IDC_FIND_LIST) : nullptr;
        if (list && ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0)
            break;
        ::Sleep(1);
    }
    if (!list)
        return false;
    PaintNow(window);
    times.opened.push_back(Now() - start);
    times.rows = long(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));

    // A name typed letter by letter, then shortened again.
    HWND box = ::GetDlgItem(window, IDC_FIND_TEXT);
    for (const char key : std::string_view("hangar_1\b\b\b")) {
        const double typed = Now();
        ::SendMessageA(box, WM_CHAR, WPARAM(key), 1);
        PaintNow(list);
        times.keystrokes.push_back(Now() - typed);
    }
    ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    const double closing = Now();
    while (::IsWindow(window) && Now() - closing < 10)
        ::Sleep(1);
    return true;
}
