// The file system edge of the output file (Win32 on Windows, POSIX natively). Failures leave the
// system error number (Windows numbering) as the last error.
#pragma once

#include <string>

// The full path of a name as typed, relative to the current folder. False when it cannot be
// formed or would be longer than a path may be.
bool ResolveFullPath(const std::string& name, std::string& fullPath);

// True when a file or folder of exactly this name exists.
bool PathExists(const std::string& path);
