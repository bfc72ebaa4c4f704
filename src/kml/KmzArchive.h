// A KMZ file: a zip archive that holds a KML document. Its directory is read with every offset
// and size checked against the archive's bytes, and the first ".kml" entry is taken out, stored
// or deflated, up to a size limit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kmz {
constexpr size_t kMaxDocumentBytes = size_t(64) << 20;
}  // namespace kmz

enum class KmzStatus {
    Ok,
    Damaged,      // no directory, or offsets, sizes or data that do not fit
    NoKmlEntry,   // no entry whose name ends in ".kml"
    Unsupported,  // encrypted, split, zip64 or a compression other than store and deflate
    TooLarge,     // the document would be larger than the limit
    OutOfMemory,
};

// True when the bytes begin as a zip archive does.
bool LooksLikeZip(std::string_view bytes);

// The archive's first ".kml" entry, whole and checked against its CRC. On failure document is
// empty.
KmzStatus ExtractKmlDocument(std::string_view archive, std::string& document,
                             size_t maxBytes = kmz::kMaxDocumentBytes);
