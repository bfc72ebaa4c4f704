// The packed-file edge over POSIX calls, for the native tests and benchmarks.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "sim/PackedFile.h"
#include "sim/PosixPath.h"

namespace {
void* Allocate(size_t size) {
    return std::malloc(size == 0 ? 1 : size);
}
void Release(void* block) {
    std::free(block);
}
}  // namespace

const ImageHeap& SystemImageHeap() {
    static const ImageHeap heap{Allocate, Release};
    return heap;
}

uint32_t MapFileReadOnly(const char* path, const uint8_t** view, size_t* size) {
    constexpr uint32_t kFailed = uint32_t(PackedFileStatus::OpenFailed);
    if (path == nullptr || view == nullptr || size == nullptr) {
        return kFailed;
    }
    const int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return kFailed;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
        close(fd);
        return kFailed;
    }
    void* mapped = mmap(nullptr, size_t(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);  // the mapping keeps the file
    if (mapped == MAP_FAILED) {
        return kFailed;
    }
    posix_madvise(mapped, size_t(info.st_size), POSIX_MADV_SEQUENTIAL);
    *view = static_cast<const uint8_t*>(mapped);
    *size = size_t(info.st_size);
    return 0;
}

void UnmapFileView(const uint8_t* view, size_t size) {
    munmap(const_cast<uint8_t*>(view), size);
}

PackedFileStatus ReleasePackedImage(size_t, uint8_t* image) {
    if (image == nullptr) {
        return PackedFileStatus::BadArgument;
    }
    std::free(image);
    return PackedFileStatus::Ok;
}
