// Helpers for tests that drive real windows of this process: pumping messages, running a script
// inside a modal loop, posting keys and mouse moves through the queue, and reading back what was
// shown.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace gui_test {

// Dispatches queued messages for about the given time (0: only what is queued now).
void PumpMessages(DWORD milliseconds = 0);

// Runs script(dialog) as soon as a dialog window of this thread other than `over` is shown, inside
// the loop of whatever DoModal is running then. The script usually ends by closing the dialog.
// Give `over` for a window opened from within another script: the window beneath is shown too.
void WhenDialogOpens(std::function<void(HWND dialog)> script, HWND over = nullptr);

// Runs steps inside the loop of the dialog that opens next (call its DoModal afterwards): each
// step runs from a timer once the loop has dispatched what the step before posted. After the
// last step the dialog is cancelled.
void RunSteps(std::vector<std::function<void(HWND dialog)>> steps);

// Keys and characters posted to the focused control through the queue, so that the modal
// loop's PreTranslateMessage sees them. Not pumped here: pumping would dispatch them past that
// loop; outside a modal loop, call PumpMessages afterwards.
// A target other than the focused control serves where another program may have taken the focus
// (a program the test started through the shell).
void PressKey(UINT virtualKey, HWND target = nullptr);
void TypeText(const std::string& text, HWND target = nullptr);

// Moves the pointer to a point of a window's client area (real cursor position and a posted
// WM_MOUSEMOVE, not pumped, as keys are), or away from every window of the test.
void MovePointerTo(HWND window, POINT clientPoint);
void MovePointerAway();
// The centre of a control in its dialog's client coordinates, where a disabled control's mouse
// messages go.
POINT CentreOf(HWND dialog, int id);

// Pumps messages until a tooltip of this thread shows the tip of the control, and gives the
// text it shows; "" when none does within a few seconds. Run it after the pointer was moved
// over the control and the window's loop has seen the move.
std::string WaitForToolTip(HWND control);

// Focus changes the way a user makes them (WM_NEXTDLGCTL inside a dialog).
void FocusControl(HWND dialog, int id);
// A window's or a control's text, whether a control is enabled, and a click on a button.
std::string Text(HWND window);
inline std::string Text(HWND dialog, int id) {
    return Text(::GetDlgItem(dialog, id));
}
inline bool IsEnabled(HWND dialog, int id) {
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}
inline void Click(HWND dialog, int id) {
    ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}
// The text of a report list's cell, as the list gives it to a reader (up to 1,099 characters).
std::string CellText(HWND list, int row, int column);

// The shown top-level windows of a thread.
std::vector<HWND> ShownWindows(DWORD thread);
// Types a name into a file dialog's name field: a combo box's edit in the explorer-style
// dialog, an edit otherwise.
void SetFileDialogName(HWND dialog, const std::string& path);

// The colour at a point of a window's client area as it is on the screen now.
COLORREF PixelAt(HWND window, int x, int y);

// Saves what a window shows (caption and frame included) as a PNG file; false on failure.
bool SaveWindowPng(HWND window, const std::string& path);
// Where tests put their screenshots: <binary dir>/screenshots/<name>.png (folder made).
std::string ScreenshotPath(const std::string& name);

}  // namespace gui_test
