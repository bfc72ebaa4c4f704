// CWaitCursor: shows the hourglass for as long as the object lives (long work on the GUI
// thread). Nested waits keep it until the outermost ends.
#pragma once
#include <windows.h>

class CWaitCursor {
  public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    // Shows the hourglass again (after a message box put the arrow back).
    static void Restore();
    static bool Active();
};
