#include "common/AppStrings.h"

#include <windows.h>

std::string LoadAppString(unsigned id) {
    // The longest string-table text is well under this; LoadStringA cuts anything longer.
    char text[1024];
    int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return length > 0 ? std::string(text, static_cast<size_t>(length)) : std::string();
}
