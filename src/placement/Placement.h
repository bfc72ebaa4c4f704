// A placement: one scenery object as the form describes it, and the text lines it adds to the
// placement file. Nothing here needs a window; the form is read through FormControls.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "placement/FormControls.h"
#include "sim/Effects.h"
#include "sim/LibraryCatalogue.h"
#include "sim/LibraryObject.h"

// The object kinds; the value is also the row of the Type list.
enum class ObjectType : int { EFFECT = 0, LIBRARY = 1, WINDSOCK = 2, BUILDING = 3 };
constexpr int kObjectTypeCount = 4;

// "EFFECT", "LIBRARY", ... as the line carries it; "Effect", "Library", ... as the list shows it.
const char* ObjectTypeKeyword(ObjectType type);
const char* ObjectTypeDisplayName(ObjectType type);

// The scenery density levels; the line carries the display name. Effects offer only the first
// four (up to Dense).
enum class SceneryDensity : int { VerySparse, Sparse, Normal, Dense, VeryDense, ExtremelyDense };
constexpr int kSceneryDensityCount = 6;
constexpr int kEffectDensityCount = 4;
const char* SceneryDensityName(SceneryDensity density);

struct Placement {
    ObjectType type = ObjectType::EFFECT;
    std::string name;       // empty for windsocks and buildings
    std::string latitude;   // as the box shows it, less a final double quote mark
    std::string longitude;  // likewise
    std::string altitude;   // meters above mean sea level, or "AGL"
    double pitch = 0.0;
    double bank = 0.0;
    double heading = 0.0;
    std::string density;     // display name of the level
    std::string parameters;  // the parameter block's lines joined by ";", or empty
    const LibraryObject* libraryObject = nullptr;  // LIBRARY only; owned by the catalogue
    bool writtenByIdentifier = false;              // the object is not in the known-object table
};

// The parameter block the program proposes for a kind; for LIBRARY the format that
// FillLibraryTemplate fills. Lines are separated by "\r\n", with none after the last.
const char* ParameterTemplate(ObjectType type);

// The library template filled from the object: shadow on, no signal, its radius and scale.
std::string FillLibraryTemplate(const LibraryObject& object);

// The parameter field made from the parameter box's text: empty when the text is still the
// kind's template (in any letter case), otherwise its lines joined by ";". CR LF, a bare LF and a
// lone CR each end a line.
std::string JoinParameterLines(std::string_view text, ObjectType type);

// Reads the form's controls (resource.h ids) into a placement; nothing on failure. An unmatched
// library name shows its own message first. The Name list's rows point into the catalogues.
std::optional<Placement> CollectPlacement(const FormControls& form,
                                          const LibraryCatalogue& libraries,
                                          const EffectsCatalogue& effects);

// The lines the placement adds to the placement file: the three identifier comment lines when
// it is written by identifier, then the placement line.
std::vector<std::string> FormatPlacementLine(const Placement& placement);
