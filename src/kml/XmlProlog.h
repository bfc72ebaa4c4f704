// What stands before an XML document's first element, looked at before any parser sees the
// bytes: a document type declaration is refused there (it is where entities and external files
// are declared), and so is an encoding in which that look could be fooled.
#pragma once

#include <string_view>

enum class XmlPrologStatus {
    Ok,                   // no document type; the parser may judge the rest
    NotXml,               // something other than markup before the first element
    UnsupportedEncoding,  // UTF-32, EBCDIC, UTF-7 and the like, declared or detected
    DocumentType,         // <!DOCTYPE
};

XmlPrologStatus CheckXmlProlog(std::string_view bytes);

// How the document's characters are stored, as far as its first bytes tell: 8-bit units
// (UTF-8 and the single-byte code pages) or 16-bit units of either byte order; and where they
// begin, behind a byte-order mark.
struct XmlUnits {
    int width = 1;
    bool bigEndian = false;
    size_t start = 0;
};
XmlUnits DetectXmlUnits(std::string_view bytes);
