// Whole-file reading and writing for the two commands.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline bool ReadFileBytes(const char* path, std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path, "rb");
    if (f == nullptr) {
        return false;
    }
    bytes.clear();
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

inline bool WriteFileBytes(const char* path, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path, "wb");
    if (f == nullptr) {
        return false;
    }
    const bool wrote = size == 0 || std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && wrote;
}
