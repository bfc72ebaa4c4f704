// Numbers and positions as KML writes them: xsd:double text for degrees, metres and headings,
// and a Point's coordinates "lon,lat[,alt]" with optional blanks around the commas.
#pragma once

#include <string>
#include <string_view>

namespace kml {
constexpr double kLatitudeLimit = 90.0;
constexpr double kLongitudeLimit = 180.0;
}  // namespace kml

// A decimal number, the whole text: an optional sign, digits with an optional point (at least
// one digit) and an optional exponent. No blanks, no "inf" or "nan", nothing too large for a
// double.
bool ReadKmlNumber(std::string_view text, double& value);

// The shortest text without an exponent that reads back as exactly this value ("47.5",
// "-122.30899999999999", "0.000000001").
std::string KmlNumberText(double value);

enum class PointStatus { Usable, Empty, Unreadable, OutsideWorld };

struct KmlPosition {
    double longitude = 0.0;
    double latitude = 0.0;
};

// A Point's coordinates text: exactly one "lon,lat" or "lon,lat,alt" between optional white
// space. Empty, unreadable, or outside the world's ±90 and ±180 degrees otherwise.
PointStatus ReadPointCoordinates(std::string_view text, KmlPosition& position);

// XML white space: blank, tab, carriage return, line feed.
bool IsXmlSpace(char c);
std::string_view TrimXmlSpace(std::string_view text);
