#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include "common/LastError.h"
#include "common/Text.h"
#include "sim/PosixPath.h"
#include "sim/ProfileFile.h"
#include "sim/SimFiles.h"

bool ReadOnlyFile::Open(const char* path) {
    Close();
    int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetLastErrorCode(errors::kFileNotFound);
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        SetLastErrorCode(errors::kInvalidData);
        return false;
    }
    handle = fd;
    size = static_cast<uint64_t>(info.st_size);
    return true;
}

void ReadOnlyFile::Close() {
    if (handle != -1)
        close(static_cast<int>(handle));
    handle = -1;
    size = 0;
}

bool ReadOnlyFile::Read(uint64_t offset, void* destination, size_t count) {
    auto* into = static_cast<char*>(destination);
    while (count > 0) {
        ssize_t read = pread(static_cast<int>(handle), into, count, static_cast<off_t>(offset));
        if (read <= 0) {
            SetLastErrorCode(errors::kInvalidData);
            return false;
        }
        into += read;
        offset += static_cast<uint64_t>(read);
        count -= static_cast<size_t>(read);
    }
    return true;
}

FileStamp StampOf(const char* path) {
    struct stat info {};
    if (stat(NativePath(path).c_str(), &info) != 0)
        return {};
    return {true, uint64_t(info.st_size),
            uint64_t(info.st_mtim.tv_sec) * 1000000000u + uint64_t(info.st_mtim.tv_nsec)};
}

const uint64_t kFileClockSecond = 1000000000u;

uint64_t FileClockNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return uint64_t(now.tv_sec) * kFileClockSecond + uint64_t(now.tv_nsec);
}

// The same reader as the program's one-read profile file, so both builds answer alike.
std::string ReadProfileText(const char* path, const char* section, const char* key,
                            const char* defaultText) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes))
        bytes.clear();
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    ProfileFile profile;
    profile.Parse(text);
    return profile.Value(section, key, defaultText ? defaultText : "");
}

bool ListFolder(const char* pattern,
                const std::function<void(const char* name, bool directory)>& item) {
    std::string native = NativePath(pattern);
    size_t slash = native.rfind('/');
    std::string folder = slash == std::string::npos ? "." : native.substr(0, slash);
    std::string wildcard = slash == std::string::npos ? native : native.substr(slash + 1);
    DIR* listing = opendir(folder.c_str());
    if (!listing)
        return false;
    bool any = false;
    while (dirent* entry = readdir(listing)) {
        // Windows matches extensions without regard to letter case.
        if (fnmatch(wildcard.c_str(), entry->d_name, FNM_CASEFOLD) != 0)
            continue;
        struct stat info {};
        std::string full = folder + "/" + entry->d_name;
        bool directory = stat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        any = true;
        item(entry->d_name, directory);
    }
    closedir(listing);
    return any;
}
