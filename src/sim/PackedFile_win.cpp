// The packed-file edge over the Win32 file, mapping and heap calls.
#include <windows.h>

#include "sim/PackedFile.h"

namespace {
void* Allocate(size_t size) {
    return HeapAlloc(GetProcessHeap(), 0, size == 0 ? 1 : size);
}
void Release(void* block) {
    HeapFree(GetProcessHeap(), 0, block);
}
}  // namespace

const ImageHeap& SystemImageHeap() {
    static const ImageHeap heap{Allocate, Release};
    return heap;
}

// No sharing: while another opener holds the file it cannot be read here, and while it is read
// here nobody can change it under the view.
uint32_t MapFileReadOnly(const char* path, const uint8_t** view, size_t* size) {
    constexpr uint32_t kFailed = uint32_t(PackedFileStatus::OpenFailed);
    if (path == nullptr || view == nullptr || size == nullptr) {
        return kFailed;
    }
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return kFailed;
    }
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    const uint64_t fileSize = uint64_t(high) << 32 | low;
    if ((low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) || fileSize == 0 ||
        fileSize > SIZE_MAX) {
        CloseHandle(file);
        return kFailed;
    }
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    CloseHandle(file);  // the mapping keeps the file
    if (mapping == nullptr) {
        return kFailed;
    }
    void* mapped = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    CloseHandle(mapping);  // the view keeps the mapping
    if (mapped == nullptr) {
        return kFailed;
    }
    *view = static_cast<const uint8_t*>(mapped);
    *size = size_t(fileSize);
    return 0;
}

void UnmapFileView(const uint8_t* view, size_t) {
    UnmapViewOfFile(view);
}

PackedFileStatus ReleasePackedImage(size_t size, uint8_t* image) {
    if (image == nullptr || IsBadReadPtr(image, size)) {
        return PackedFileStatus::BadArgument;
    }
    HeapFree(GetProcessHeap(), 0, image);
    return PackedFileStatus::Ok;
}
