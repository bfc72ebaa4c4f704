// The placement list as a Google Earth document (KML 2.2): one Placemark per placement, in list
// order, at the placement's position, with its icon turned to its heading.
#pragma once

#include <string>
#include <string_view>

#include "placement/OutputList.h"
#include "sim/LibraryCatalogue.h"

struct KmlExport {
    std::string bytes;  // the document, UTF-8
    int placemarks = 0;
    int withoutPosition = 0;  // placements whose position could not be read: no Point
};

// documentName is the document's name as Google Earth lists it. The catalogue, when given, names
// the library file of a library object written by its name (the placement file only names the
// file of one written by its identifier).
KmlExport ExportKml(const OutputList& list, std::string_view documentName,
                    const LibraryCatalogue* catalogue = nullptr);

// The decimal degrees that the program's notation of a position (as in a placement line, with
// or without its closing double quote mark) stands for: a value that writes back to that very
// text. False when the text is not a position of that axis.
bool PositionDegrees(std::string_view text, bool latitude, double& degrees);
