#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/LastError.h"
#include "sim/MappedFile.h"
#include "sim/PosixPath.h"

bool MappedFile::Open(const char* path) {
    Close();
    int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetLastErrorCode(errors::kFileNotFound);
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size == 0) {
        close(fd);
        SetLastErrorCode(S_ISREG(info.st_mode) ? errors::kFileInvalid : errors::kInvalidData);
        return false;
    }
    void* bytes = mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);  // the mapping keeps the file
    if (bytes == MAP_FAILED) {
        SetLastErrorCode(errors::kNotEnoughMemory);
        return false;
    }
    view = static_cast<const uint8_t*>(bytes);
    size = static_cast<size_t>(info.st_size);
    return true;
}

void MappedFile::Close() {
    if (view)
        munmap(const_cast<uint8_t*>(view), size);
    view = nullptr;
    size = 0;
}
