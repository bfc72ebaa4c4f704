// The profile-file and folder-listing edge of the simulator scans, and the bounded composition of
// the paths they open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A value of a profile (INI) file, at most 259 characters; the default when the file, section or
// key is missing.
std::string ReadProfileText(const char* path, const char* section, const char* key,
                            const char* defaultText);

// A file opened for reading, others allowed to read it too, read by offset into memory of the
// caller's. One open and one read per small file: under Wine every open, map and close is a trip
// to the server, so a scan of a thousand areas is paid per call, not per byte.
class ReadOnlyFile {
  public:
    ReadOnlyFile() = default;
    ~ReadOnlyFile() { Close(); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // False with the system's last error when the file cannot be opened or sized.
    bool Open(const char* path);
    void Close();
    uint64_t Size() const { return size; }
    // Reads `count` bytes at `offset`; false unless all of them could be read.
    bool Read(uint64_t offset, void* destination, size_t count);

  private:
    uint64_t size = 0;
    intptr_t handle = -1;  // the system's handle or descriptor
};

// The whole file in `bytes`; false with the system's last error when it cannot be read.
bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes);

// What a file looked like: whether it is there, its size and its last write time, read without
// opening it (under Wine that costs no trip to the server).
struct FileStamp {
    bool present = false;
    uint64_t size = 0;
    uint64_t time = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const char* path);

// A file that a scan read or looked for, as it was just before.
struct StampedFile {
    std::string path;
    FileStamp stamp;
};

// What a scan's result rests on: every file it read or looked for, in order, and whether a read
// failed for a reason that may pass (a file that is there but would not open or read, memory
// running short), so that the same files may give more another time.
struct ScanBasis {
    std::vector<StampedFile> files;
    bool passingFailure = false;
};

// The clock of FileStamp::time: now, and its ticks in a second.
uint64_t FileClockNow();
extern const uint64_t kFileClockSecond;

// Calls item for every entry matching a wildcard pattern such as "C:\FS\Effects\*.fx", in listing
// order. False when the folder is missing or nothing matches.
bool ListFolder(const char* pattern,
                const std::function<void(const char* name, bool directory)>& item);

// printf-style composition of a path; nothing when the result would exceed 259 characters, so a
// long path is refused rather than cut into another, valid one (last error 206).
std::optional<std::string> ComposePath(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// A drive letter and colon, or a leading backslash (natively also a slash).
bool IsAbsolutePath(const char* path);
