#include "placement/Message.h"

#include <cstdio>

// The native build has no windows: the message goes to the error stream and the box's default
// button is taken as the answer.
int ShowMessageBox(void*, const char* text, const char* caption, unsigned kind) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    if ((kind & 0x0F) == 0x04) return (kind & 0x100) ? answer::kNo : answer::kYes;
    return answer::kOk;
}
