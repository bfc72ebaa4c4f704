#include <windows.h>

#include "common/Text.h"
#include "sim/SimFiles.h"

bool ReadOnlyFile::Open(const char* path) {
    Close();
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file, &length)) {
        DWORD error = GetLastError();
        CloseHandle(file);
        SetLastError(error);
        return false;
    }
    handle = reinterpret_cast<intptr_t>(file);
    size = static_cast<uint64_t>(length.QuadPart);
    return true;
}

void ReadOnlyFile::Close() {
    if (handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle));
    handle = -1;
    size = 0;
}

bool ReadOnlyFile::Read(uint64_t offset, void* destination, size_t count) {
    auto* into = static_cast<char*>(destination);
    while (count > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        const DWORD chunk = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
        DWORD read = 0;
        if (!ReadFile(reinterpret_cast<HANDLE>(handle), into, chunk, &read, &at))
            return false;
        if (read == 0) {
            SetLastError(ERROR_HANDLE_EOF);
            return false;
        }
        into += read;
        offset += read;
        count -= read;
    }
    return true;
}

FileStamp StampOf(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return {};
    return {
        true, uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow,
        uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime};
}

// FILETIME counts 100-nanosecond ticks, as the write times do.
const uint64_t kFileClockSecond = 10000000u;

uint64_t FileClockNow() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return uint64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

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
