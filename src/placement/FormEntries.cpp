#include "placement/FormEntries.h"

#include "common/Text.h"
#include "sim/KnownObjects.h"

namespace {

intptr_t CatalogueEntryOf(const Placement& placement, const LibraryCatalogue& libraries,
                          const EffectsCatalogue& effects) {
    intptr_t position = 0;
    if (placement.type == ObjectType::LIBRARY && placement.writtenByIdentifier) {
        // The name is the identifier in double quotes.
        std::string_view identifier = placement.name;
        identifier = identifier.substr(1, identifier.size() - 2);
        for (const LibraryObject& object : libraries) {
            if (EqualsNoCase(object.guidAsmText, identifier))
                return position;
            ++position;
        }
    } else if (placement.type == ObjectType::LIBRARY) {
        // Written by name, so the object is a known one; an unknown object of the same name
        // would be written by its identifier instead.
        for (const LibraryObject& object : libraries) {
            if (object.name && EqualsNoCase(*object.name, placement.name) &&
                FindKnownObject(object.guid) >= 0)
                return position;
            ++position;
        }
    } else if (placement.type == ObjectType::EFFECT) {
        // Effect files are named without regard to letter case, as the file system does.
        for (const EffectEntry& entry : effects) {
            if (EqualsNoCase(FileNameOf(entry.filePath), placement.name))
                return position;
            ++position;
        }
    }
    return -1;
}

}  // namespace

std::string ParameterBoxText(std::string_view field, ObjectType type) {
    // An empty field is what the kind's unchanged template gives; a library block is written
    // whenever it holds anything, so an empty library field was an empty box.
    if (field.empty())
        return type == ObjectType::LIBRARY ? std::string() : ParameterTemplate(type);
    std::string lines;
    for (char c : field) {
        if (c == ';')
            lines += "\r\n";
        else
            lines += c;
    }
    // A line of the box may itself hold a semicolon, and joining drops a leading empty line;
    // where splitting would not give the field back, the box holds it as one line.
    if (JoinParameterLines(lines, type) != field)
        return std::string(field);
    return lines;
}

FormEntries FormEntriesFor(const Placement& placement, const LibraryCatalogue& libraries,
                           const EffectsCatalogue& effects) {
    FormEntries entries;
    entries.type = placement.type;
    entries.catalogueEntry = CatalogueEntryOf(placement, libraries, effects);
    entries.name = placement.name;
    entries.latitude = placement.latitude + '"';
    entries.longitude = placement.longitude + '"';
    entries.snapToGround = placement.altitude == "AGL";
    if (!entries.snapToGround)
        entries.altitude = placement.altitude;
    // As the line carries them; the largest doubles run to some 300 digits.
    entries.pitch = FormatText(limits::kLine, "%1.2f", placement.pitch);
    entries.bank = FormatText(limits::kLine, "%1.2f", placement.bank);
    entries.heading = FormatText(limits::kLine, "%1.2f", placement.heading);
    entries.density = placement.density;
    entries.parameters = ParameterBoxText(placement.parameters, placement.type);
    return entries;
}
