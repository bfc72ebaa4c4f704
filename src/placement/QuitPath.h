// What the main window does when the user leaves: the Quit button (saves the settings, asks
// about an unsaved placement file, writes it) and Escape or the close box (asks, saves nothing).
// A list opened from a file and not changed since it was read or written is neither asked about
// nor written.
// Each gives true when the window should close; the window does the closing itself.
#pragma once

#include <functional>

#include "placement/FormControls.h"
#include "placement/OutputList.h"

bool ConfirmQuit(OutputList& output, FormControls& form, const std::function<void()>& saveSettings);
bool ConfirmCancel(const OutputList& output);
