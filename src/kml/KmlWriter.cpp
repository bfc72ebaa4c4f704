#include "kml/KmlWriter.h"

#include <cstdlib>

#include "common/AppStrings.h"
#include "common/Text.h"
#include "common/TextEncoding.h"
#include "kml/KmlNumbers.h"
#include "parse/Coordinates.h"
#include "placement/Placement.h"
#include "placement/PlacementFile.h"
#include "resource.h"
#include "sim/KnownObjects.h"

namespace {

constexpr size_t kCoordinateBuffer = 64;
// The canonical text keeps a ten-thousandth of a second; the values between which one text
// stands are at least a hundred-millionth of a degree apart. Nudges of a billionth find a value
// inside when the plain reading falls just outside (a text with 60.0000 seconds, say).
constexpr double kNudge = 1e-9;
constexpr int kMaxNudges = 40;

struct KindStyle {
    const char* id;
    const char* color;  // aabbggrr
};
// In ObjectType order.
constexpr KindStyle kKindStyles[kObjectTypeCount] = {
    {"effect", "ff00aaff"},
    {"library", "ffff8800"},
    {"windsock", "ff0000ff"},
    {"building", "ff888888"},
};
constexpr const char* kIcon = "http://maps.google.com/mapfiles/kml/shapes/arrow.png";

// Markup characters as entities, and characters XML 1.0 cannot carry at all as '?'. Element
// text keeps its tabs and line breaks; HTML (a description's) also has its quote marks as
// entities and no control character at all.
void AppendEscaped(std::string& out, std::string_view utf8, bool html = false) {
    for (char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += html ? "&quot;" : "\"";
                break;
            case '\t':
            case '\n':
            case '\r':
                out += html ? '?' : c;
                break;
            default:
                out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
                break;
        }
    }
}

void AppendText(std::string& out, std::string_view ansi) {
    AppendEscaped(out, AnsiToUtf8(ansi));
}

// "0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Ch" in double quotes, as the line names an object
// written by its identifier, in the display form "{ A1B2C3D4, 0000E5F6, 11D2F24A, 1000849C }".
std::string IdentifierDisplayText(std::string_view quoted) {
    Guid128 guid;
    for (size_t word = 0; word < 4; ++word) {
        const size_t at = 2 + 12 * word;
        if (at + 8 > quoted.size())
            return std::string(quoted);
        guid.words[word] =
            uint32_t(std::strtoul(std::string(quoted.substr(at, 8)).c_str(), nullptr, 16));
    }
    return GuidDisplayText(guid);
}

struct PlacemarkText {
    std::string name;
    std::string libraryFile;
};

// What the placemark is called and, for a library object, which file holds it.
PlacemarkText NameAndLibrary(const Placement& placement, std::span<const FileLine> lines,
                             const LibraryCatalogue* catalogue) {
    PlacemarkText text;
    switch (placement.type) {
        case ObjectType::EFFECT:
            text.name = placement.name;
            break;
        case ObjectType::WINDSOCK:
        case ObjectType::BUILDING:
            text.name = ObjectTypeDisplayName(placement.type);
            break;
        case ObjectType::LIBRARY:
            if (placement.writtenByIdentifier) {
                IdentifierComment comment = IdentifierCommentOf(lines);
                text.libraryFile = std::move(comment.libraryFile);
                text.name = std::move(comment.name);
                if (text.name.empty())
                    text.name = IdentifierDisplayText(placement.name);
            } else {
                text.name = placement.name;
                if (catalogue == nullptr)
                    break;
                // Written by name, so it is a known object; the first of that name is taken.
                for (const LibraryObject& object : *catalogue) {
                    if (object.name && EqualsNoCase(*object.name, placement.name) &&
                        FindKnownObject(object.guid) >= 0) {
                        text.libraryFile = object.libraryPath;
                        break;
                    }
                }
            }
            break;
    }
    return text;
}

// The line as Google Earth's balloon shows it: the description is HTML, so its own markup
// characters are written as entities, and the library file goes on a line of its own.
std::string Description(std::string_view line, const std::string& libraryFile) {
    auto html = [](std::string_view ansi) {
        std::string escaped;
        AppendEscaped(escaped, AnsiToUtf8(ansi), true);
        return escaped;
    };
    std::string text = html(line);
    if (!libraryFile.empty()) {
        text += "<br>";
        text += html(FormatText(limits::kMessage, LoadAppString(IDS_KML_LIBRARY_FILE).c_str(),
                                libraryFile.c_str()));
    }
    // With its markup characters escaped, the text cannot hold the section's end "]]>".
    return "<![CDATA[" + text + "]]>";
}

void AppendPlacemark(std::string& out, const Placement& placement, std::span<const FileLine> lines,
                     const LibraryCatalogue* catalogue, bool& positioned) {
    const PlacemarkText text = NameAndLibrary(placement, lines, catalogue);
    out += "    <Placemark>\r\n      <name>";
    AppendText(out, text.name);
    out += "</name>\r\n      <description>";
    out += Description(lines.back().text, text.libraryFile);
    out += "</description>\r\n      <styleUrl>#";
    out += kKindStyles[static_cast<int>(placement.type)].id;
    out += "</styleUrl>\r\n      <Style><IconStyle><heading>";
    out += KmlNumberText(placement.heading);
    out += "</heading></IconStyle></Style>\r\n";

    double latitude = 0.0, longitude = 0.0;
    positioned = PositionDegrees(placement.latitude, true, latitude) &&
                 PositionDegrees(placement.longitude, false, longitude);
    if (positioned) {
        double altitude = 0.0;
        const bool onGround =
            placement.altitude == "AGL" || !ReadKmlNumber(placement.altitude, altitude);
        out += "      <Point><altitudeMode>";
        out += onGround ? "clampToGround" : "absolute";
        out += "</altitudeMode><coordinates>";
        out += KmlNumberText(longitude) + "," + KmlNumberText(latitude) + "," +
               KmlNumberText(onGround ? 0.0 : altitude);
        out += "</coordinates></Point>\r\n";
    }
    out += "    </Placemark>\r\n";
}

}  // namespace

bool PositionDegrees(std::string_view text, bool latitude, double& degrees) {
    std::string canonical(text);
    if (!canonical.empty() && canonical.back() != '"')
        canonical += '"';
    const auto parse = latitude ? ParseLatitude : ParseLongitude;
    const auto format = latitude ? FormatLatitude : FormatLongitude;
    double value = 0.0;
    if (!parse(canonical.c_str(), &value))
        return false;
    degrees = value;
    char written[kCoordinateBuffer];
    for (int step = 0; step <= kMaxNudges; ++step) {
        for (double candidate : {value - step * kNudge, value + step * kNudge}) {
            if (format(candidate, written, sizeof written) && canonical == written) {
                degrees = candidate;
                return true;
            }
        }
    }
    // Not the program's notation (61 seconds, say): the value read is the nearest there is.
    return true;
}

KmlExport ExportKml(const OutputList& list, std::string_view documentName,
                    const LibraryCatalogue* catalogue) {
    KmlExport result;
    std::string& out = result.bytes;
    out +=
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\r\n  <Document>\r\n    <name>";
    AppendText(out, documentName);
    out += "</name>\r\n";
    for (const KindStyle& style : kKindStyles) {
        out += "    <Style id=\"";
        out += style.id;
        out += "\"><IconStyle><color>";
        out += style.color;
        out += "</color><Icon><href>";
        out += kIcon;
        out += "</href></Icon></IconStyle></Style>\r\n";
    }
    for (int position = 0; position < list.placementCount; ++position) {
        const std::span<const FileLine> lines = list.PlacementLines(position);
        Placement placement;
        if (lines.empty() || !ParsePlacementLine(lines.back().text, placement)) {
            // Not a line the program reads back: shown by its text, without a place on the map.
            out += "    <Placemark>\r\n      <name>";
            AppendText(out, lines.empty() ? std::string_view() : lines.back().text);
            out += "</name>\r\n    </Placemark>\r\n";
            ++result.withoutPosition;
        } else {
            bool positioned = false;
            AppendPlacemark(out, placement, lines, catalogue, positioned);
            result.withoutPosition += positioned ? 0 : 1;
        }
        ++result.placemarks;
    }
    out += "  </Document>\r\n</kml>\r\n";
    return result;
}
