#include "Measure.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

double Now() {
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart)
        ::QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

void Figures::Print(const char* what, const char* unit, double scale) const {
    if (values.empty())
        return;
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    std::printf("%-34s min %.3f  median %.3f  max %.3f %s  (%zu runs)\n", what,
                sorted.front() * scale, sorted[sorted.size() / 2] * scale, sorted.back() * scale,
                unit, sorted.size());
}

namespace {

struct DialogSearch {
    DWORD process;
    const std::function<bool(HWND)>& fits;
    HWND found = nullptr;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char className[32] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (owner == search->process && std::strcmp(className, "#32770") == 0 &&
        ::IsWindowVisible(window) && search->fits(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindProcessDialog(DWORD process, const std::function<bool(HWND dialog)>& fits) {
    DialogSearch search{process, fits};
    ::EnumWindows(VisitWindow, LPARAM(&search));
    return search.found;
}
