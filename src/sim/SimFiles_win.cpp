#include <windows.h>

#include "common/Text.h"
#include "sim/SimFiles.h"

std::string ReadProfileText(const char* path, const char* section, const char* key,
                            const char* defaultText) {
    char value[limits::kPath + 1] = {};
    DWORD length = GetPrivateProfileStringA(section, key, defaultText, value, sizeof value, path);
    return std::string(value, length);
}

bool ListFolder(const char* pattern,
                const std::function<void(const char* name, bool directory)>& item) {
    WIN32_FIND_DATAA found{};
    HANDLE listing = FindFirstFileA(pattern, &found);
    if (listing == INVALID_HANDLE_VALUE)
        return false;
    do {
        item(found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
    return true;
}
