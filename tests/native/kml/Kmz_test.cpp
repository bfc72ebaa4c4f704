// KMZ archives: the first ".kml" entry of a zip comes out whole, stored or deflated; anything
// that does not fit the archive's bytes, its CRC or the size limit is refused.
#include "kml/KmzArchive.h"

#include <gtest/gtest.h>

#include "common/TestZip.h"

namespace {

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
        {"zip64 header offset", Zip({deflated}, Set(42, 0xFFFFFFFF, 4)), KmzStatus::Unsupported},
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
