// Scenery files written from their documented layouts, for the parser tests, and a temporary
// folder for small installs.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace scan_files {

using Bytes = std::vector<uint8_t>;

inline void Put(Bytes& bytes, size_t at, uint32_t value) {
    bytes.resize(std::max(bytes.size(), at + 4));
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = uint8_t(value >> 8 * i);
}

// An index format: its tag, offset table, record flag (offset and bit) and record name offset.
struct Layout {
    uint32_t tag, table, flagAt;
    uint8_t flagBit;
    uint32_t nameAt;
};
constexpr Layout k9{9, 68, 4, 0x10, 72}, k22{22, 72, 8, 0x04, 76}, k27{27, 88, 8, 0x04, 96};

struct IndexRecord {
    std::string name;
    bool flag = true;  // when clear, every other bit of the flags byte is set
};

// Header, offset table, then each record just long enough for its terminated name.
inline Bytes IndexFile(const Layout& layout, const std::vector<IndexRecord>& records) {
    Bytes bytes(layout.table + 4 * records.size(), 0);
    Put(bytes, 4, layout.tag);
    Put(bytes, 32, uint32_t(records.size()));
    Put(bytes, 36, 4);
    for (size_t i = 0; i < records.size(); ++i) {
        const size_t at = bytes.size(), length = layout.nameAt + records[i].name.size() + 1;
        bytes.resize(at + length, 0);
        Put(bytes, layout.table + 4 * i, uint32_t(at));
        Put(bytes, at, uint32_t(length));
        bytes[at + layout.flagAt] = records[i].flag ? layout.flagBit : uint8_t(~layout.flagBit);
        std::copy(records[i].name.begin(), records[i].name.end(),
                  bytes.begin() + at + layout.nameAt);
    }
    return bytes;
}

// A library file: header, the directory at 128 (an entry per object, then a zero entry), then
// the object records (radius 10, 11, ...) with their names.
inline Bytes LibraryBytes(const std::vector<std::string>& names) {
    Bytes bytes(128 + 20 * (names.size() + 1), 0);
    Put(bytes, 62, 128);
    for (size_t i = 0; i < names.size(); ++i) {
        const size_t at = bytes.size();
        Put(bytes, 128 + 20 * i, uint32_t(at - 128));
        bytes.resize(at + 41 + names[i].size(), 0);
        Put(bytes, at + 17, uint32_t(41 + names[i].size()));
        Put(bytes, at + 25, uint32_t(10 + i));
        std::copy(names[i].begin(), names[i].end(), bytes.begin() + at + 41);
    }
    return bytes;
}

struct TempFolder {
    TempFolder() {
        char pattern[] = "/tmp/swscanXXXXXX";
        path = mkdtemp(pattern) ? pattern : "/nonexistent";
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    // A file named relative to the folder, with Windows separators.
    void Write(std::string relative, const Bytes& bytes) const {
        std::replace(relative.begin(), relative.end(), '\\', '/');
        const std::filesystem::path file = std::filesystem::path(path) / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    void Write(const std::string& relative, const std::string& text) const {
        Write(relative, Bytes(text.begin(), text.end()));
    }
    std::string path;
};

}  // namespace scan_files
