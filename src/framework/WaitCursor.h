// CWaitCursor: shows the hourglass for as long as the object lives (long work on the GUI
// thread). Nested waits keep it until the outermost ends.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>

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

// The hourglass for work that says through a callback when it starts and stops being busy.
class CBusyCursor {
  public:
    std::function<void(bool busy)> Callback() {
        return [this](bool busy) {
            if (busy)
                m_wait.emplace();
            else
                m_wait.reset();
        };
    }

  private:
    std::optional<CWaitCursor> m_wait;
};
