#include "common/TextEncoding.h"

#include <windows.h>

#include <climits>

std::string AnsiToUtf8(std::string_view text) {
    if (text.empty() || text.size() > size_t(INT_MAX) / 3)
        return std::string();
    const int length = int(text.size());
    std::wstring wide(text.size(), L'\0');
    const int wideLength =
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), length);
    if (wideLength <= 0)
        return std::string();
    // One UTF-16 unit of the ANSI code pages never takes more than three UTF-8 bytes.
    std::string utf8(size_t(wideLength) * 3, '\0');
    const int utf8Length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(),
                                                 int(utf8.size()), nullptr, nullptr);
    utf8.resize(utf8Length > 0 ? size_t(utf8Length) : 0);
    return utf8;
}
