#include "common/FileReplace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "common/LastError.h"
#include "common/Text.h"

namespace {

// errno in the Windows numbering that the rest of the program reports.
uint32_t SystemErrorOf(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return 3;  // path not found
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return 5;  // access denied
        case EEXIST:
            return 80;  // file exists
        case ENOSPC:
            return 112;  // disk full
        case ENAMETOOLONG:
            return 206;  // name too long
        default:
            return 31;  // general failure
    }
}

bool Fail() {
    SetLastErrorCode(SystemErrorOf(errno));
    return false;
}

std::string FolderOf(const std::string& path) {
    size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
    if (path.empty()) {
        SetLastErrorCode(3);
        return false;
    }
    std::string tempPath;
    int file = -1;
    unsigned seed = static_cast<unsigned>(getpid()) * 7919u;
    for (unsigned attempt = 0; attempt < 64 && file < 0; ++attempt) {
        tempPath = FolderOf(path) + FormatText(15, "~sw%04X.tmp", (seed + attempt) & 0xFFFF);
        file = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (file < 0 && errno != EEXIST)
            break;
    }
    if (file < 0)
        return Fail();

    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        ssize_t written = write(file, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            ok = false;
        } else {
            done += static_cast<size_t>(written);
        }
    }
    ok = ok && fsync(file) == 0;
    int savedErrno = errno;
    if (close(file) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && std::rename(tempPath.c_str(), path.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        unlink(tempPath.c_str());
        errno = savedErrno;
        return Fail();
    }
    return true;
}
