#include "placement/PlacementFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/LastError.h"

namespace {

// errno in the Windows numbering that the messages show.
uint32_t ReadErrorOf(int error) {
    switch (error) {
        case ENOENT:
            return 2;  // file not found
        case ENOTDIR:
            return 3;  // path not found
        case EACCES:
        case EPERM:
        case EISDIR:
            return 5;  // access denied
        default:
            return 30;  // read fault
    }
}

}  // namespace

FileReadStatus ReadFileBytes(const std::string& path, size_t maxBytes, std::string& bytes) {
    bytes.clear();
    int file = open(path.c_str(), O_RDONLY);
    if (file < 0) {
        SetLastErrorCode(ReadErrorOf(errno));
        return FileReadStatus::Failed;
    }
    FileReadStatus status = FileReadStatus::Failed;
    struct stat info;
    if (fstat(file, &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            errno = EISDIR;
        } else if (uint64_t(info.st_size) > maxBytes) {
            status = FileReadStatus::TooLarge;
        } else {
            bytes.resize(size_t(info.st_size));
            size_t done = 0;
            ssize_t got = 1;
            while (done < bytes.size() && got != 0) {
                got = read(file, bytes.data() + done, bytes.size() - done);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got < 0)
                    break;
                done += size_t(got);
            }
            if (got >= 0) {
                bytes.resize(done);
                status = FileReadStatus::Read;
            }
        }
    }
    int error = errno;
    close(file);
    if (status == FileReadStatus::Failed) {
        bytes.clear();
        SetLastErrorCode(ReadErrorOf(error));
    }
    return status;
}
