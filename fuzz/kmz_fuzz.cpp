// Google Earth files over arbitrary bytes. The zip directory reader and the inflater must stay
// inside the archive and the size limit whatever they are given, give a document only whole, and
// the prolog check must take whatever comes out. The same bytes are also the untrusted text of a
// document: a Point's coordinates, an icon's heading, and a run of reader events. A point taken
// is inside the world, its numbers read back exactly from the text the export writes, and the
// position the import writes in the program's notation reads back to within its last digit.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "kml/KmlCommands.h"
#include "kml/KmlNumbers.h"
#include "kml/KmzArchive.h"
#include "kml/PlacemarkCollector.h"
#include "kml/XmlProlog.h"
#include "parse/Coordinates.h"

namespace {

// A crafted size asks for no more than this, so the fuzzer's memory is not the limit tried.
constexpr size_t kLimit = size_t(1) << 20;
// Four decimals of seconds: the notation moves a position by at most half their last digit.
constexpr double kNotationStep = 0.00005 / 3600 + 1e-12;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

// The text the import writes for the axis reads back within the notation's step, and written
// again it settles: the same text, or after one round when a value too small to show became
// zero (which is written with S or W).
void CheckNotation(const std::string& text, double value, CoordinateAxis axis) {
    const auto parse = axis == CoordinateAxis::Latitude ? ParseLatitude : ParseLongitude;
    std::string written = text;
    if (!written.empty() && written.back() == '"')
        written.pop_back();
    for (int round = 0; round < 2; ++round) {
        double back = 0.0;
        Require(parse(written.c_str(), &back));
        Require(std::fabs(back - value) <= kNotationStep);
        char again[64];
        Require(FormatCoordinate(back, axis, again, sizeof again) != nullptr);
        std::string rewritten = again;
        if (!rewritten.empty() && rewritten.back() == '"')
            rewritten.pop_back();
        if (rewritten == written)
            return;
        written = rewritten;
        value = back;
    }
    std::abort();
}

void CheckTakenPoint(const KmlPoint& point) {
    const KmlPosition& position = point.position;
    Require(std::isfinite(position.latitude) && std::isfinite(position.longitude));
    Require(std::fabs(position.latitude) <= kml::kLatitudeLimit &&
            std::fabs(position.longitude) <= kml::kLongitudeLimit);
    KmlPosition back;
    Require(ReadPointCoordinates(
                KmlNumberText(position.longitude) + "," + KmlNumberText(position.latitude), back) ==
            PointStatus::Usable);
    Require(back.longitude == position.longitude && back.latitude == position.latitude);

    const ImportedPosition imported = ImportedPositionOf(point);
    CheckNotation(imported.latitude, position.latitude, CoordinateAxis::Latitude);
    CheckNotation(imported.longitude, position.longitude, CoordinateAxis::Longitude);
    Require(imported.heading.has_value() == point.heading.has_value());
    if (imported.heading)
        Require(!std::signbit(*imported.heading) && *imported.heading <= 360.0);
}

// The bytes as the text of a coordinates element, given in two pieces as a reader may give it:
// the collector takes what the plain reading takes.
void CollectCoordinates(std::string_view text) {
    KmlPosition direct;
    const PointStatus status = ReadPointCoordinates(text, direct);
    if (status != PointStatus::Usable)
        Require(direct.longitude == 0.0 && direct.latitude == 0.0);

    PlacemarkCollector collector;
    collector.StartElement(KmlElement::Placemark);
    collector.StartElement(KmlElement::Point);
    collector.StartElement(KmlElement::Coordinates);
    Require(collector.WantsText());
    const size_t cut = text.empty() ? 0 : uint8_t(text[0]) % text.size();
    collector.Text(text.substr(0, cut));
    collector.Text(text.substr(cut));
    collector.EndElement();
    collector.EndElement();
    collector.EndElement();
    const KmlPoints found = collector.Finish();
    Require(found.points.size() + found.unusable.size() == 1);
    if (status == PointStatus::Usable) {
        Require(found.points.size() == 1);
        Require(found.points[0].position.longitude == direct.longitude &&
                found.points[0].position.latitude == direct.latitude);
        CheckTakenPoint(found.points[0]);
    } else {
        Require(found.unusable.size() == 1 && found.unusable[0].status == status);
    }
}

// The bytes as a number (an icon's heading, say): one read is finite and its text reads back.
void ReadNumber(std::string_view text) {
    double value = 1.0;
    if (!ReadKmlNumber(text, value)) {
        Require(value == 0.0);
        return;
    }
    Require(std::isfinite(value));
    double back = 0.0;
    Require(ReadKmlNumber(KmlNumberText(value), back) && back == value);
    KmlPoint point;
    point.heading = value;
    CheckTakenPoint(point);
}

// The bytes as reader events: each byte opens an element of a kind, closes one, or is followed
// by a short text; ids come from the text before. Whatever the nesting, style references and
// their loops included, every point taken holds.
void CollectEvents(std::string_view bytes) {
    constexpr int kKinds = int(KmlElement::Heading) + 1;
    PlacemarkCollector collector;
    std::string_view lastText;
    int open = 0;
    for (size_t at = 0; at < bytes.size(); ++at) {
        const uint8_t op = uint8_t(bytes[at]);
        if (op < 0x80) {
            const auto element = KmlElement(op % kKinds);
            collector.StartElement(element, PlacemarkCollector::NeedsId(element) ? lastText : "");
            ++open;
        } else if (op < 0xC0) {
            collector.EndElement();
            open -= open > 0;
        } else {
            const size_t length = std::min<size_t>(op - 0xC0, bytes.size() - at - 1);
            lastText = bytes.substr(at + 1, length);
            collector.Text(lastText);
            at += length;
        }
    }
    while (open-- > 0)
        collector.EndElement();
    const KmlPoints found = collector.Finish();
    for (const KmlPoint& point : found.points) {
        Require(point.placemark >= 1 && point.placemark <= found.placemarks);
        CheckTakenPoint(point);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string document = "not cleared";
    const KmzStatus status = ExtractKmlDocument(bytes, document, kLimit);
    if (status == KmzStatus::Ok ? document.size() > kLimit : !document.empty())
        std::abort();
    CheckXmlProlog(document);
    CheckXmlProlog(bytes);

    CollectCoordinates(bytes);
    ReadNumber(bytes);
    CollectEvents(bytes);
    return 0;
}
