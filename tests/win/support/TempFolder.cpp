#include "support/TempFolder.h"

#include <windows.h>

#include <filesystem>
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
TempFolder::~TempFolder() {
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, error))
        ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(path, error);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    return bool(file.write(bytes.data(), std::streamsize(bytes.size())).flush());
}
