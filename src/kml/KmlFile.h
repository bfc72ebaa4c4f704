// Reading a Google Earth file, KML or KMZ, into the points an import takes. The file's bytes are
// looked at before an XML parser sees them (size, zip archive, prolog); the parser is the one
// Windows ships (MSXML 6, SAX), fed the bytes from memory.
#pragma once

#include <cstdint>
#include <string>

#include "kml/PlacemarkCollector.h"

namespace kml {
constexpr size_t kMaxFileBytes = size_t(64) << 20;
}  // namespace kml

enum class KmlReadStatus {
    Read,
    CannotOpen,  // error: the system's
    OutOfMemory,
    TooLarge,  // the file is over the limit
    NotXml,    // no markup where the document should begin
    UnsupportedEncoding,
    DocumentType,  // <!DOCTYPE: refused before parsing
    Unparsable,    // the parser refused it: line (0 when unknown) and reason
    KmzDamaged,
    KmzNoKml,
    KmzUnsupported,
    KmzTooLarge,        // the KML inside is over the limit
    ReaderUnavailable,  // error: the HRESULT of starting COM or the reader
};

struct KmlReadResult {
    KmlReadStatus status = KmlReadStatus::Read;
    uint32_t error = 0;
    int line = 0;
    std::string reason;  // the parser's own words, in the program's 8-bit text
    KmlPoints points;    // only when Read
};

// A file's bytes made ready for the parser: a KMZ archive becomes its KML document, and the
// document's prolog is checked. Read when the parser may have it.
KmlReadStatus PrepareKmlDocument(std::string& bytes);

// The message that refuses a file (naming it by path), or empty when it was read and holds at
// least one usable point.
std::string KmlRefusalMessage(const KmlReadResult& read, const std::string& path);

// Platform part (Windows): reads the file at path. COM is started on the calling thread for the
// time of the call.
KmlReadResult ReadKmlFile(const std::string& path);
