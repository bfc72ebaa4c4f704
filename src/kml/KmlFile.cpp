#include "kml/KmlFile.h"

#include "common/AppStrings.h"
#include "common/Text.h"
#include "kml/KmzArchive.h"
#include "kml/XmlProlog.h"
#include "resource.h"

KmlReadStatus PrepareKmlDocument(std::string& bytes) {
    if (LooksLikeZip(bytes)) {
        std::string document;
        switch (ExtractKmlDocument(bytes, document)) {
            case KmzStatus::Ok:
                break;
            case KmzStatus::Damaged:
                return KmlReadStatus::KmzDamaged;
            case KmzStatus::NoKmlEntry:
                return KmlReadStatus::KmzNoKml;
            case KmzStatus::Unsupported:
                return KmlReadStatus::KmzUnsupported;
            case KmzStatus::TooLarge:
                return KmlReadStatus::KmzTooLarge;
            case KmzStatus::OutOfMemory:
                return KmlReadStatus::OutOfMemory;
        }
        bytes.swap(document);
    }
    switch (CheckXmlProlog(bytes)) {
        case XmlPrologStatus::Ok:
            return KmlReadStatus::Read;
        case XmlPrologStatus::NotXml:
            return KmlReadStatus::NotXml;
        case XmlPrologStatus::UnsupportedEncoding:
            return KmlReadStatus::UnsupportedEncoding;
        case XmlPrologStatus::DocumentType:
            return KmlReadStatus::DocumentType;
    }
    return KmlReadStatus::NotXml;
}

std::string KmlRefusalMessage(const KmlReadResult& read, const std::string& path) {
    const char* file = path.c_str();
    switch (read.status) {
        case KmlReadStatus::Read:
            if (!read.points.points.empty())
                return std::string();
            return FormatText(limits::kMessage, LoadAppString(IDS_KML_NO_USABLE_POINT).c_str(),
                              file, read.points.linesAndShapes, int(read.points.unusable.size()));
        case KmlReadStatus::CannotOpen:
        case KmlReadStatus::OutOfMemory:
            return FormatText(limits::kMessage, LoadAppString(IDS_CANNOT_READ_FILE).c_str(),
                              unsigned(read.error), file);
        case KmlReadStatus::TooLarge:
            return PathMessage(IDS_KML_TOO_LARGE, path);
        case KmlReadStatus::NotXml:
            return FormatText(limits::kMessage, LoadAppString(IDS_KML_NOT_XML).c_str(), file,
                              LoadAppString(IDS_KML_NOT_MARKUP).c_str());
        case KmlReadStatus::UnsupportedEncoding:
            return PathMessage(IDS_KML_ENCODING, path);
        case KmlReadStatus::DocumentType:
            return PathMessage(IDS_KML_DOCUMENT_TYPE, path);
        case KmlReadStatus::Unparsable: {
            const std::string reason =
                read.reason.empty() ? LoadAppString(IDS_KML_NOT_WELL_FORMED) : read.reason;
            if (read.line > 0)
                return FormatText(limits::kMessage, LoadAppString(IDS_KML_NOT_XML_AT_LINE).c_str(),
                                  file, read.line, reason.c_str());
            return FormatText(limits::kMessage, LoadAppString(IDS_KML_NOT_XML).c_str(), file,
                              reason.c_str());
        }
        case KmlReadStatus::KmzDamaged:
            return PathMessage(IDS_KMZ_DAMAGED, path);
        case KmlReadStatus::KmzNoKml:
            return PathMessage(IDS_KMZ_NO_KML, path);
        case KmlReadStatus::KmzUnsupported:
            return PathMessage(IDS_KMZ_UNSUPPORTED, path);
        case KmlReadStatus::KmzTooLarge:
            return PathMessage(IDS_KMZ_TOO_LARGE, path);
        case KmlReadStatus::ReaderUnavailable:
            return FormatText(limits::kMessage, LoadAppString(IDS_KML_READER_MISSING).c_str(),
                              unsigned(read.error), file);
    }
    return std::string();
}
