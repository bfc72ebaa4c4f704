// Replacing a file's contents safely, for the placement file and the kept catalogue alike: the
// new bytes go to a file beside the old one, which takes its place only once they are all written.
// Failures leave the system error number (Windows numbering) as the last error.
#pragma once

#include <string>
#include <string_view>

// Writes bytes to a new file in the folder of path, flushes it, then puts it in place of path.
// On any failure the file at path is as it was and the new file is gone.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);
