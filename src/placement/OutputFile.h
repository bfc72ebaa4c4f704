// The file system edge of the output file (Win32 on Windows, POSIX natively). Failures leave the
// system error number (Windows numbering) as the last error.
#pragma once

#include <string>
#include <string_view>

// The full path of a name as typed, relative to the current folder. False when it cannot be
// formed or would be longer than a path may be.
bool ResolveFullPath(const std::string& name, std::string& fullPath);

// True when a file or folder of exactly this name exists.
bool PathExists(const std::string& path);

// Writes bytes to a new file in the folder of path, flushes it, then puts it in place of path.
// On any failure the file at path is as it was and the new file is gone.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);
