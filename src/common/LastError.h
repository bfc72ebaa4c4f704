// The calling thread's last error code, as the Windows API keeps it. Lower-level routines return
// true, false or a status code and leave the reason here; on Windows it is the real
// GetLastError/SetLastError value, natively a thread-local with the same numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

namespace errors {
constexpr uint32_t kSuccess = 0;
constexpr uint32_t kFileNotFound = 2;
constexpr uint32_t kPathNotFound = 3;
constexpr uint32_t kNotEnoughMemory = 8;
constexpr uint32_t kInvalidData = 13;
constexpr uint32_t kOutOfMemory = 14;
constexpr uint32_t kInvalidParameter = 87;
constexpr uint32_t kInsufficientBuffer = 122;
constexpr uint32_t kFileNameTooLong = 206;
constexpr uint32_t kFileInvalid = 1006;  // a file of length 0, which cannot be mapped
constexpr uint32_t kCancelled = 1223;    // the user chose not to go on
}  // namespace errors

void SetLastErrorCode(uint32_t code);
uint32_t GetLastErrorCode();

// Gives a buffer its size; running short of memory, which a large file can in a crowded 32-bit
// address space, is a failure like any other: false, with kNotEnoughMemory as the last error.
template <typename Buffer>
bool ResizeBuffer(Buffer& buffer, size_t size) {
    try {
        buffer.resize(size);
        return true;
    } catch (const std::bad_alloc&) {
        SetLastErrorCode(errors::kNotEnoughMemory);
        return false;
    }
}
