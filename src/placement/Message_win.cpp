#include "placement/Message.h"

#include <windows.h>

int ShowMessageBox(void* ownerWindow, const char* text, const char* caption, unsigned kind) {
    return MessageBoxA(static_cast<HWND>(ownerWindow), text, caption, kind);
}
