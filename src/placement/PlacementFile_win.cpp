#include "placement/PlacementFile.h"

#include <windows.h>

#include "common/LastError.h"

FileReadStatus ReadFileBytes(const std::string& path, size_t maxBytes, std::string& bytes) {
    bytes.clear();
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FileReadStatus::Failed;
    FileReadStatus status = FileReadStatus::Failed;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file, &size)) {
        if (uint64_t(size.QuadPart) > maxBytes) {
            status = FileReadStatus::TooLarge;
        } else if (ResizeBuffer(bytes, size_t(size.QuadPart))) {
            size_t done = 0;
            bool failed = false;
            // A file that shrinks meanwhile ends early; one that grows is read as far as it was.
            while (done < bytes.size()) {
                DWORD got = 0;
                if (!::ReadFile(file, bytes.data() + done, DWORD(bytes.size() - done), &got,
                                nullptr)) {
                    failed = true;
                    break;
                }
                if (got == 0)
                    break;
                done += got;
            }
            if (!failed) {
                bytes.resize(done);
                status = FileReadStatus::Read;
            }
        }
    }
    DWORD error = ::GetLastError();
    ::CloseHandle(file);
    if (status == FileReadStatus::Failed) {
        bytes.clear();
        ::SetLastError(error);
    }
    return status;
}
