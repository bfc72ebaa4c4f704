// The profile-file and folder-listing edge of the simulator scans, and the bounded composition of
// the paths they open.
#pragma once

#include <functional>
#include <optional>
#include <string>

// A value of a profile (INI) file, at most 259 characters; the default when the file, section or
// key is missing.
std::string ReadProfileText(const char* path, const char* section, const char* key,
                            const char* defaultText);

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
