// The native build reads installs written with Windows separators: backslashes become slashes,
// and Wine's Z: drive (the Linux root) is dropped, so a path the program composed names the
// same file here as under Wine.
#pragma once

#include <string>

inline std::string NativePath(const char* path) {
    std::string text = path;
    if (text.size() >= 2 && (text[0] == 'Z' || text[0] == 'z') && text[1] == ':')
        text.erase(0, 2);
    for (char& c : text)
        if (c == '\\')
            c = '/';
    return text;
}
