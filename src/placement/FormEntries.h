// What the Use command puts into the main window's form for a placement read from the list: the
// same entries a user would type or choose, so that Add gives the same line again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "placement/Placement.h"
#include "sim/Effects.h"
#include "sim/LibraryCatalogue.h"

struct FormEntries {
    ObjectType type = ObjectType::EFFECT;
    // The Name row to select, by the catalogue position it stores; -1 when the placement names no
    // catalogue entry. Then name is typed in as it stands: a typed effect name that happens to
    // show in the list is still written as typed.
    intptr_t catalogueEntry = -1;
    std::string name;
    std::string latitude;  // as the box shows it, closing double quote mark included
    std::string longitude;
    bool snapToGround = false;
    std::string altitude;  // when not snapped to the ground
    std::string pitch;
    std::string bank;
    std::string heading;
    std::string density;
    std::string parameters;  // the parameter box's text
};

FormEntries FormEntriesFor(const Placement& placement, const LibraryCatalogue& libraries,
                           const EffectsCatalogue& effects);

// The parameter box's text that JoinParameterLines turns back into this field.
std::string ParameterBoxText(std::string_view field, ObjectType type);
