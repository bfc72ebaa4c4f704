#include "common/FileReplace.h"

#include <windows.h>

#include "common/Text.h"

namespace {

// The folder part of a path with its final separator ("C:\out\" of "C:\out\a.csv"); empty for a
// bare name, which lives in the current folder.
std::string FolderOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

class FileHandle {
  public:
    explicit FileHandle(HANDLE h) : handle(h) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle; }
    bool Close() {
        bool ok = true;
        if (Valid())
            ok = CloseHandle(handle) != 0;
        handle = INVALID_HANDLE_VALUE;
        return ok;
    }

  private:
    HANDLE handle;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk =
            static_cast<DWORD>(bytes.size() - done > 0x100000 ? 0x100000 : bytes.size() - done);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
            return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        done += written;
    }
    return true;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
    if (path.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    // A read-only file or a folder of that name is not ours to replace. Opening it for writing
    // would be refused, but a rename over it is not refused everywhere (Wine allows it).
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    // The new file goes beside the target so that the final move is a rename on one volume.
    std::string folder = FolderOf(path);
    std::string tempPath;
    HANDLE created = INVALID_HANDLE_VALUE;
    DWORD seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (DWORD attempt = 0; attempt < 64 && created == INVALID_HANDLE_VALUE; ++attempt) {
        tempPath = folder + FormatText(15, "~sw%04X.tmp",
                                       static_cast<unsigned>((seed + attempt * 7919) & 0xFFFF));
        created = CreateFileA(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    FileHandle file(created);
    if (!file.Valid())
        return false;

    bool ok = WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get()) && file.Close() &&
              MoveFileExA(tempPath.c_str(), path.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        DWORD error = GetLastError();
        file.Close();
        DeleteFileA(tempPath.c_str());
        SetLastError(error);
    }
    return ok;
}
