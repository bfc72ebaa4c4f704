// The main window's two Google Earth commands, past their file dialogs: Export writes the
// placement list as a KML document; Import adds one placement per usable point of a KML or KMZ
// file, each made from the window's fields exactly as Add makes one, at the point's position.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "kml/KmlFile.h"
#include "placement/FormControls.h"
#include "placement/OutputList.h"
#include "placement/Placement.h"
#include "sim/Effects.h"
#include "sim/LibraryCatalogue.h"

// False, with its message, when the list holds nothing to export.
bool CanExportKml(const OutputList& list);
// The name the export proposes: the placement file's, with the extension ".kml"; empty without
// a placement file.
std::string KmlPathFor(const std::string& placementPath);
// Writes the document to path (replacing a file there only once it is complete) and says how it
// went. busy(true) and busy(false) bracket the work.
bool ExportKmlFile(const OutputList& list, const std::string& path,
                   const LibraryCatalogue* catalogue,
                   const std::function<void(bool busy)>& busy = {});

// What the import takes from a point: its position in the program's notation, as the boxes show
// it (closing double quote mark included), and its icon's heading turned into 0 to 360 degrees.
struct ImportedPosition {
    std::string latitude;
    std::string longitude;
    std::optional<double> heading;
};
ImportedPosition ImportedPositionOf(const KmlPoint& point);

// The Import command's checks, run before a file is chosen: the altitude and angle fields' own
// checks and then Add's collecting of the form, each with its message on failure. Gives the
// placement every point is made from, its position still to be filled in.
std::optional<Placement> PlacementForImport(FormControls& form, const LibraryCatalogue& libraries,
                                            const EffectsCatalogue& effects);

// After the file was read: refuses it with its message, or asks before adding a placement per
// usable point and then says what was added and skipped. False when nothing was added.
// busy(true) and busy(false) bracket the adding.
bool ImportKmlPoints(OutputList& list, FormControls& form, const Placement& made,
                     const KmlReadResult& read, const std::string& path,
                     const std::function<void(bool busy)>& busy = {});
