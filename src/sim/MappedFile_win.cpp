#include <windows.h>

#include "common/LastError.h"
#include "sim/MappedFile.h"

bool MappedFile::Open(const char* path) {
    Close();
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file, &length) || length.QuadPart == 0 ||
        static_cast<unsigned long long>(length.QuadPart) > SIZE_MAX) {
        DWORD error = length.QuadPart == 0 ? errors::kFileInvalid : GetLastError();
        CloseHandle(file);
        SetLastError(error);
        return false;
    }
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping) {
        DWORD error = GetLastError();
        CloseHandle(file);
        SetLastError(error);
        return false;
    }
    void* bytes = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    if (!bytes) {
        DWORD error = GetLastError();
        CloseHandle(mapping);
        CloseHandle(file);
        SetLastError(error);
        return false;
    }
    fileHandle = file;
    mappingHandle = mapping;
    view = static_cast<const uint8_t*>(bytes);
    size = static_cast<size_t>(length.QuadPart);
    return true;
}

void MappedFile::Close() {
    if (view)
        UnmapViewOfFile(view);
    if (mappingHandle)
        CloseHandle(mappingHandle);
    if (fileHandle)
        CloseHandle(fileHandle);
    view = nullptr;
    size = 0;
    fileHandle = mappingHandle = nullptr;
}
