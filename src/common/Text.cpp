#include "common/Text.h"

#include <cstdarg>
#include <cstdio>

std::string FormatText(size_t maxChars, const char* format, ...) {
    std::string result(maxChars + 1, '\0');
    va_list args;
    va_start(args, format);
    int written = vsnprintf(result.data(), result.size(), format, args);
    va_end(args);
    if (written < 0)
        return std::string();
    result.resize(static_cast<size_t>(written) < maxChars ? static_cast<size_t>(written)
                                                          : maxChars);
    return result;
}

static char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

std::string CutText(std::string_view text, size_t maxChars) {
    return std::string(text.substr(0, maxChars));
}

std::string_view FileNameOf(std::string_view path) {
    size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}
