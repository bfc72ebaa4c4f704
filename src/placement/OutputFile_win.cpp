#include "placement/OutputFile.h"

#include <windows.h>

bool ResolveFullPath(const std::string& name, std::string& fullPath) {
    char buffer[MAX_PATH];
    DWORD length = GetFullPathNameA(name.c_str(), MAX_PATH, buffer, nullptr);
    if (length == 0)
        return false;
    // MSDN: when the buffer is too small the result is the size needed, terminator included.
    if (length >= MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    fullPath.assign(buffer, length);
    return true;
}

bool PathExists(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}
