// The find window's figures, measured from outside on the running program: the time from the
// command that Ctrl+F runs until the window shows its filled list, and the time from a keystroke
// in its search box until the list shows the new rows.
#pragma once
#include <windows.h>

#include <vector>

struct FindTimes {
    std::vector<double> opened;
    std::vector<double> keystrokes;
    long rows = 0;  // rows of the list when it opened
};

// Opens the find window over the main window, types into it, and closes it again; false when the
// window does not come up.
bool MeasureFindWindow(HWND mainWindow, FindTimes& times);
