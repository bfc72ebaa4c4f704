// KMZ archives: the first ".kml" entry of a zip comes out whole, stored or deflated; anything
// that does not fit the archive's bytes, its CRC or the size limit is refused.
#include "kml/KmzArchive.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>
#include <vector>

namespace {

struct ZipEntry {
    std::string name;
    std::string data;
    bool deflate = true;
};

void Put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += char(value >> (8 * i) & 0xFF);
}

// A zip as common tools write it; edit changes the bytes of the first entry's directory record
// (given its offset) before the end record is added.
std::string Zip(const std::vector<ZipEntry>& entries,
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

std::function<void(std::string&, size_t)> Set(size_t offset, uint32_t value, int bytes) {
    return [=](std::string& directory, size_t record) {
        std::string field;
        Put(field, value, bytes);
        directory.replace(record + offset, size_t(bytes), field);
    };
}

}  // namespace

TEST(KmzArchive, TheFirstKmlEntryComesOutWholeOrTheArchiveIsRefused) {
    const std::string kml = "<kml>" + std::string(100000, ' ') + "</kml>";
    const ZipEntry picture{"files/photo.png", std::string(5000, '\x89'), false};
    const ZipEntry deflated{"doc.KML", kml}, stored{"doc.kml", kml, false};
    const std::string good = Zip({picture, deflated, {"other.kml", "<x/>"}});
    std::string corrupted = good;
    corrupted[5100] ^= 0x55;
    const struct {
        const char* what;
        std::string archive;
        KmzStatus status;
    } rows[] = {
        {"deflated, behind a picture", good, KmzStatus::Ok},
        {"stored", Zip({stored}), KmzStatus::Ok},
        {"no kml", Zip({picture}), KmzStatus::NoKmlEntry},
        {"cut short", good.substr(0, good.size() - 40), KmzStatus::Damaged},
        {"not a zip", "PK\x03\x04 but nothing else", KmzStatus::Damaged},
        {"data corrupted", corrupted, KmzStatus::Damaged},
        {"wrong crc", Zip({deflated}, Set(16, 1234, 4)), KmzStatus::Damaged},
        {"larger than said", Zip({deflated}, Set(24, 100, 4)), KmzStatus::Damaged},
        {"data beyond the file", Zip({stored}, Set(20, 0x7FFFFFF0, 4)), KmzStatus::Damaged},
        {"header beyond the file", Zip({deflated}, Set(42, 0x7FFFFFF0, 4)), KmzStatus::Damaged},
        {"name beyond the directory", Zip({deflated}, Set(28, 60000, 2)), KmzStatus::Damaged},
        {"encrypted", Zip({deflated}, Set(8, 1, 2)), KmzStatus::Unsupported},
        {"bzip2", Zip({deflated}, Set(10, 12, 2)), KmzStatus::Unsupported},
        {"zip64", Zip({deflated}, Set(24, 0xFFFFFFFF, 4)), KmzStatus::Unsupported},
        {"over the limit", Zip({deflated}, Set(24, uint32_t(kmz::kMaxDocumentBytes + 1), 4)),
         KmzStatus::TooLarge},
    };
    for (const auto& row : rows) {
        std::string document = "left over";
        EXPECT_TRUE(LooksLikeZip(row.archive)) << row.what;
        EXPECT_EQ(ExtractKmlDocument(row.archive, document), row.status) << row.what;
        EXPECT_EQ(document, row.status == KmzStatus::Ok ? kml : "") << row.what;
    }
    EXPECT_FALSE(LooksLikeZip("<kml/>"));
}
