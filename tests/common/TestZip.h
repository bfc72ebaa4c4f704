// Zip archives for tests, as common tools write them: entries stored or deflated, the
// directory, and an end record with a comment.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct ZipEntry {
    std::string name;
    std::string data;
    bool deflate = true;
};

inline void Put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += char(value >> (8 * i) & 0xFF);
}

// A zip as common tools write it; edit changes the bytes of the first entry's directory record
// (given its offset) before the end record is added.
inline std::string Zip(const std::vector<ZipEntry>& entries,
                       const std::function<void(std::string&, size_t)>& edit = {}) {
    std::string archive, directory;
    for (const ZipEntry& entry : entries) {
        std::string data = entry.data;
        if (entry.deflate) {
            z_stream stream{};
            deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
            data.resize(deflateBound(&stream, uLong(entry.data.size())));
            stream.next_in = (Bytef*)entry.data.data();
            stream.avail_in = uInt(entry.data.size());
            stream.next_out = (Bytef*)data.data();
            stream.avail_out = uInt(data.size());
            deflate(&stream, Z_FINISH);
            data.resize(stream.total_out);
            deflateEnd(&stream);
        }
        const uint32_t crc = crc32(0, (const Bytef*)entry.data.data(), uInt(entry.data.size()));
        auto fields = [&](std::string& out) {
            Put(out, 20, 2), Put(out, 0, 2), Put(out, entry.deflate ? 8 : 0, 2), Put(out, 0, 4);
            Put(out, crc, 4), Put(out, uint32_t(data.size()), 4);
            Put(out, uint32_t(entry.data.size()), 4), Put(out, uint32_t(entry.name.size()), 2);
        };
        Put(directory, 0x02014b50, 4), Put(directory, 20, 2), fields(directory);
        Put(directory, 0, 2), Put(directory, 0, 2), Put(directory, 0, 2), Put(directory, 0, 2);
        Put(directory, 0, 4), Put(directory, uint32_t(archive.size()), 4);
        directory += entry.name;
        Put(archive, 0x04034b50, 4), fields(archive), Put(archive, 0, 2);
        archive += entry.name + data;
    }
    if (edit)
        edit(directory, 0);
    const size_t directoryOffset = archive.size();
    archive += directory;
    Put(archive, 0x06054b50, 4), Put(archive, 0, 4), Put(archive, uint32_t(entries.size()), 2);
    Put(archive, uint32_t(entries.size()), 2), Put(archive, uint32_t(directory.size()), 4);
    Put(archive, uint32_t(directoryOffset), 4), Put(archive, 7, 2);
    return archive + "comment";
}
