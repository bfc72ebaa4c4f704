#include "support/TempFolder.h"

#include <windows.h>

#include <fstream>
#include <iterator>

TempFolder::TempFolder() {
    static unsigned counter = 0;
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    path = std::string(base) + "sw" + std::to_string(::GetCurrentProcessId()) + "_" +
           std::to_string(++counter);
    ::CreateDirectoryA(path.c_str(), nullptr);
}

// Read-only files too: a test may have made one.
static void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileA(search, &found)) {
        const std::string name = found.cFileName, full = folder + "\\" + name;
        if (name == "." || name == "..")
            continue;
        ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveTree(full);
        else
            ::DeleteFileA(full.c_str());
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    ::RemoveDirectoryA(folder.c_str());
}

TempFolder::~TempFolder() {
    RemoveTree(path);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    return bool(file.write(bytes.data(), std::streamsize(bytes.size())).flush());
}
