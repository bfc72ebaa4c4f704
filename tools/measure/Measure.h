// What the tools that time the real program from outside share: the clock, the figures of the
// counted runs, and the search for one of the program's dialogs on the screen.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

// Seconds on the performance counter.
double Now();

struct Figures {
    std::vector<double> values;
    void Add(double value) { values.push_back(value); }
    // The least, median and greatest value times `scale`, in `unit`; nothing without values.
    void Print(const char* what, const char* unit = "s", double scale = 1.0) const;
};

// The first visible dialog of the process that `fits` takes; null when there is none.
HWND FindProcessDialog(DWORD process, const std::function<bool(HWND dialog)>& fits);
