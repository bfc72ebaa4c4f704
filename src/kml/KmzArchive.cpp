#include "kml/KmzArchive.h"

#include <zlib.h>

#include <cstdint>
#include <limits>

#include "common/LastError.h"
#include "common/Text.h"

namespace {

constexpr uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr uint32_t kDirectoryEntrySignature = 0x02014b50;
constexpr uint32_t kDirectoryEndSignature = 0x06054b50;
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kDirectoryEntrySize = 46;
constexpr size_t kDirectoryEndSize = 22;
constexpr size_t kMaxCommentSize = 0xFFFF;
constexpr uint16_t kStored = 0;
constexpr uint16_t kDeflated = 8;
constexpr uint16_t kEncryptedFlag = 0x0001;
constexpr uint32_t kZip64Marker = 0xFFFFFFFF;

// Little-endian fields read only where the caller has checked that they lie inside the bytes.
uint16_t Read16(std::string_view bytes, size_t at) {
    return uint16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
}
uint32_t Read32(std::string_view bytes, size_t at) {
    return uint32_t(Read16(bytes, at)) | uint32_t(Read16(bytes, at + 2)) << 16;
}

// True when [at, at + length) lies inside bytes of this size.
bool Fits(size_t size, uint64_t at, uint64_t length) {
    return at <= size && length <= size - at;
}

// The end record: searched backwards from the end, past a comment of up to 64 KB.
bool FindDirectoryEnd(std::string_view archive, size_t& at) {
    if (archive.size() < kDirectoryEndSize)
        return false;
    const size_t last = archive.size() - kDirectoryEndSize;
    const size_t first = last > kMaxCommentSize ? last - kMaxCommentSize : 0;
    for (size_t candidate = last + 1; candidate-- > first;) {
        // The comment must run exactly to the end, so that a signature inside it is not taken.
        if (Read32(archive, candidate) == kDirectoryEndSignature &&
            candidate + kDirectoryEndSize + Read16(archive, candidate + 20) == archive.size()) {
            at = candidate;
            return true;
        }
    }
    return false;
}

bool EndsWithKml(std::string_view name) {
    return name.size() > 4 && EqualsNoCase(name.substr(name.size() - 4), ".kml");
}

struct Entry {
    uint16_t flags = 0;
    uint16_t method = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t size = 0;
    uint32_t localHeader = 0;
};

KmzStatus FindKmlEntry(std::string_view archive, Entry& entry) {
    size_t end = 0;
    if (!FindDirectoryEnd(archive, end))
        return KmzStatus::Damaged;
    const uint16_t disk = Read16(archive, end + 4);
    const uint16_t directoryDisk = Read16(archive, end + 6);
    const uint16_t entries = Read16(archive, end + 10);
    const uint32_t directorySize = Read32(archive, end + 12);
    const uint32_t directoryOffset = Read32(archive, end + 16);
    if (disk != 0 || directoryDisk != 0)
        return KmzStatus::Unsupported;
    if (entries == 0xFFFF || directorySize == kZip64Marker || directoryOffset == kZip64Marker)
        return KmzStatus::Unsupported;
    if (!Fits(end, directoryOffset, directorySize))
        return KmzStatus::Damaged;

    size_t at = directoryOffset;
    const size_t directoryEnd = size_t(directoryOffset) + directorySize;
    for (uint16_t i = 0; i < entries; ++i) {
        if (!Fits(directoryEnd, at, kDirectoryEntrySize) ||
            Read32(archive, at) != kDirectoryEntrySignature)
            return KmzStatus::Damaged;
        const uint16_t nameLength = Read16(archive, at + 28);
        const size_t recordLength =
            kDirectoryEntrySize + nameLength + Read16(archive, at + 30) + Read16(archive, at + 32);
        if (!Fits(directoryEnd, at, recordLength))
            return KmzStatus::Damaged;
        const std::string_view name = archive.substr(at + kDirectoryEntrySize, nameLength);
        if (EndsWithKml(name)) {
            entry.flags = Read16(archive, at + 8);
            entry.method = Read16(archive, at + 10);
            entry.crc = Read32(archive, at + 16);
            entry.compressedSize = Read32(archive, at + 20);
            entry.size = Read32(archive, at + 24);
            entry.localHeader = Read32(archive, at + 42);
            return KmzStatus::Ok;
        }
        at += recordLength;
    }
    return KmzStatus::NoKmlEntry;
}

KmzStatus Inflate(std::string_view data, std::string& document) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return KmzStatus::OutOfMemory;
    // The sizes were checked against the archive and the limit, so they fit zlib's 32-bit ones.
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(document.data());
    stream.avail_out = uInt(document.size());
    const int result = inflate(&stream, Z_FINISH);
    const bool whole = result == Z_STREAM_END && stream.avail_out == 0;
    inflateEnd(&stream);
    if (result == Z_MEM_ERROR)
        return KmzStatus::OutOfMemory;
    return whole ? KmzStatus::Ok : KmzStatus::Damaged;
}

}  // namespace

bool LooksLikeZip(std::string_view bytes) {
    return bytes.size() >= 4 && bytes[0] == 'P' && bytes[1] == 'K' &&
           ((bytes[2] == 3 && bytes[3] == 4) || (bytes[2] == 5 && bytes[3] == 6));
}

KmzStatus ExtractKmlDocument(std::string_view archive, std::string& document, size_t maxBytes) {
    document.clear();
    Entry entry;
    const KmzStatus found = FindKmlEntry(archive, entry);
    if (found != KmzStatus::Ok)
        return found;
    if (entry.flags & kEncryptedFlag)
        return KmzStatus::Unsupported;
    if (entry.method != kStored && entry.method != kDeflated)
        return KmzStatus::Unsupported;
    // Each of these says its value stands in a zip64 extra field, which is not read.
    if (entry.size == kZip64Marker || entry.compressedSize == kZip64Marker ||
        entry.localHeader == kZip64Marker)
        return KmzStatus::Unsupported;
    if (entry.size > maxBytes)
        return KmzStatus::TooLarge;
    if (entry.method == kStored && entry.compressedSize != entry.size)
        return KmzStatus::Damaged;

    // The entry's data stands behind its local header, whose name and extra field may differ
    // in length from the directory's.
    if (!Fits(archive.size(), entry.localHeader, kLocalHeaderSize) ||
        Read32(archive, entry.localHeader) != kLocalHeaderSignature)
        return KmzStatus::Damaged;
    const uint64_t dataStart = uint64_t(entry.localHeader) + kLocalHeaderSize +
                               Read16(archive, entry.localHeader + 26) +
                               Read16(archive, entry.localHeader + 28);
    if (!Fits(archive.size(), dataStart, entry.compressedSize))
        return KmzStatus::Damaged;
    const std::string_view data = archive.substr(size_t(dataStart), entry.compressedSize);

    if (!ResizeBuffer(document, entry.size))
        return KmzStatus::OutOfMemory;
    KmzStatus status = KmzStatus::Ok;
    if (entry.method == kStored)
        document.assign(data);
    else
        status = Inflate(data, document);
    if (status == KmzStatus::Ok && crc32(0, reinterpret_cast<const Bytef*>(document.data()),
                                         uInt(document.size())) != entry.crc)
        status = KmzStatus::Damaged;
    if (status != KmzStatus::Ok)
        document.clear();
    return status;
}
