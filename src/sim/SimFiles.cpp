#include "sim/SimFiles.h"

#include <cstdarg>
#include <cstdio>

#include "common/LastError.h"
#include "common/Text.h"

std::optional<std::string> ComposePath(const char* format, ...) {
    char buffer[limits::kPath + 1];
    va_list args;
    va_start(args, format);
    int length = vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length < 0 || static_cast<size_t>(length) > limits::kPath) {
        SetLastErrorCode(errors::kFileNameTooLong);
        return std::nullopt;
    }
    return std::string(buffer, static_cast<size_t>(length));
}

bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes) {
    ReadOnlyFile file;
    if (!file.Open(path))
        return false;
    if (file.Size() > SIZE_MAX / 2) {
        SetLastErrorCode(errors::kNotEnoughMemory);
        return false;
    }
    if (!ResizeBuffer(bytes, static_cast<size_t>(file.Size())))
        return false;
    return bytes.empty() || file.Read(0, bytes.data(), bytes.size());
}

bool IsAbsolutePath(const char* path) {
    if (!path || !path[0])
        return false;
    if (path[0] == '\\')
        return true;
#if !defined(_WIN32)
    if (path[0] == '/')
        return true;
#endif
    char c = path[0];
    return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && path[1] == ':';
}
