#include "placement/Placement.h"

#include "common/Text.h"
#include "parse/DecimalNumber.h"
#include "placement/Message.h"
#include "resource.h"
#include "sim/KnownObjects.h"

namespace {

struct TypeInfo {
    const char* keyword;
    const char* displayName;
    const char* parameterTemplate;
};

constexpr TypeInfo kTypes[kObjectTypeCount] = {
    {"EFFECT", "Effect",
     "RANDOM=??,??\r\nYEAR=????,????\r\nMOY=1,12\r\nDOM=1,31\r\nHOD=0,23\r\nMOH=0,59\r\n"
     "SOM=0,59\r\nDAWN=1\r\nDAY=1\r\nDUSK=1\r\nNIGHT=1"},
    {"LIBRARY", "Library", "SHADOW=%d\r\nSIGNAL=%d\r\nRADIUS=%d\r\nSCALE=0%08Xh"},
    {"WINDSOCK", "Windsock",
     "HEIGHT=10\r\nLENGTH=5\r\nPOLE_COLOR=FF0000\r\nSOCK_COLOR=00FF00\r\nLIGHTED=0"},
    {"BUILDING", "Building",
     "SIZE_X=??\r\nSIZE_Z=??\r\nBOT_SIZE_Y=??\r\nBOT_TEX=??\r\nBOT_TEX_X=?\r\nBOT_TEX_Z=?\r\n"
     "WIN_SIZE_Y=??\r\nWIN_TEX=??\r\nWIN_TEX_X=?\r\nWIN_TEX_Y=?\r\nWIN_TEX_Z=?\r\n"
     "TOP_SIZE_Y=??\r\nTOP_TEX=??\r\nTOP_TEX_X=?\r\nTOP_TEX_Z=?\r\nROOF_SIZE_Y=??\r\n"
     "ROOF_TEX=??\r\nROOF_TEX_X=?\r\nROOF_TEX_Y=?\r\nROOF_TEX_Z=?"},
};

constexpr const char* kDensityNames[kSceneryDensityCount] = {
    "Very Sparse", "Sparse", "Normal", "Dense", "Very Dense", "Extremely Dense"};

const TypeInfo& InfoOf(ObjectType type) {
    int value = static_cast<int>(type);
    return kTypes[(value >= 0 && value < kObjectTypeCount) ? value : 0];
}

// A position box, less the closing double quote mark of the canonical text; empty fails.
bool ReadPosition(const FormControls& form, int id, std::string& out) {
    out = form.GetText(id, limits::kShortField);
    if (out.empty())
        return false;
    if (out.back() == '"')
        out.pop_back();
    return true;
}

// Read as the angle fields' checks read it, so that no text they refuse (nan, inf, hexadecimal)
// can reach a line: leading blanks skipped, the longest number prefix taken, 0 when there is none.
double ReadAngle(const FormControls& form, int id) {
    std::string text = form.GetText(id, limits::kShortField);
    double value = 0.0;
    if (!ReadDecimalNumber(text.c_str(), true, &value))
        value = 0.0;
    return value;
}

// A row picked from the list stands for its effect file, which the compiler knows by the file's
// name; a typed or browsed name is such a name already.
std::string ReadEffectName(const FormControls& form, const EffectsCatalogue& effects) {
    const intptr_t position = form.GetRowData(IDC_NAME, form.GetSelectedRow(IDC_NAME));
    if (const EffectEntry* entry = position >= 0 ? effects.At(size_t(position)) : nullptr) {
        return CutText(FileNameOf(entry->filePath), limits::kPath);
    }
    return form.GetText(IDC_NAME, limits::kPath);
}

bool ReadLibraryName(const FormControls& form, const LibraryCatalogue& catalogue,
                     Placement& placement) {
    int row = form.GetSelectedRow(IDC_NAME);
    if (row < 0) {
        row = form.FindRowExact(IDC_NAME, form.GetText(IDC_NAME, limits::kPath));
        if (row < 0) {
            ReportMessage("GCS RETURNED CB_ERR", message_kind::kPlain);
            return false;
        }
    }
    const LibraryObject* object = catalogue.At(form.GetRowData(IDC_NAME, row));
    if (object == nullptr)
        return false;

    placement.libraryObject = object;
    placement.writtenByIdentifier = FindKnownObject(object->guid) < 0;
    if (placement.writtenByIdentifier) {
        // Quoted, so the commas between the identifier's words stay inside one field.
        placement.name = FormatText(limits::kPath, "\"%s\"", GuidAsmText(object->guid).c_str());
    } else {
        placement.name = CutText(object->name.value_or(std::string()), limits::kPath);
    }
    return true;
}

}  // namespace

const char* ObjectTypeKeyword(ObjectType type) {
    return InfoOf(type).keyword;
}

const char* ObjectTypeDisplayName(ObjectType type) {
    return InfoOf(type).displayName;
}

const char* SceneryDensityName(SceneryDensity density) {
    int value = static_cast<int>(density);
    if (value < 0 || value >= kSceneryDensityCount)
        value = static_cast<int>(SceneryDensity::Normal);
    return kDensityNames[value];
}

const char* ParameterTemplate(ObjectType type) {
    return InfoOf(type).parameterTemplate;
}

std::string FillLibraryTemplate(const LibraryObject& object) {
    return FormatText(limits::kParameters, ParameterTemplate(ObjectType::LIBRARY), 1, 0,
                      object.radius, object.scale);
}

std::string JoinParameterLines(std::string_view text, ObjectType type) {
    // A block left as the program proposed it is not written.
    if (EqualsNoCase(text, ParameterTemplate(type)))
        return std::string();

    // A bare line feed or a lone carriage return (pasted from elsewhere) breaks a line as the
    // pair does: no break may reach the placement line, which is one line of the file.
    std::string result;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find_first_of("\r\n", start);
        std::string_view line = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (result.empty()) {
            result = line;
        } else {
            result += ';';
            result += line;
        }
        if (end == std::string_view::npos)
            break;
        start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    }
    return CutText(result, limits::kParameters);
}

std::optional<Placement> CollectPlacement(const FormControls& form,
                                          const LibraryCatalogue& libraries,
                                          const EffectsCatalogue& effects) {
    Placement placement;
    int typeRow = form.GetSelectedRow(IDC_TYPE);
    if (typeRow < 0 || typeRow >= kObjectTypeCount)
        return std::nullopt;
    placement.type = static_cast<ObjectType>(typeRow);

    switch (placement.type) {
        case ObjectType::EFFECT:
            placement.name = ReadEffectName(form, effects);
            if (placement.name.empty())
                return std::nullopt;
            break;
        case ObjectType::LIBRARY:
            if (!ReadLibraryName(form, libraries, placement))
                return std::nullopt;
            break;
        case ObjectType::WINDSOCK:
        case ObjectType::BUILDING:
            break;
    }

    if (!ReadPosition(form, IDC_LATITUDE, placement.latitude))
        return std::nullopt;
    if (!ReadPosition(form, IDC_LONGITUDE, placement.longitude))
        return std::nullopt;

    if (form.IsChecked(IDC_SNAP_TO_GROUND)) {
        placement.altitude = "AGL";
    } else {
        placement.altitude = form.GetText(IDC_ALTITUDE, limits::kShortField);
        if (placement.altitude.empty())
            return std::nullopt;
    }

    placement.pitch = ReadAngle(form, IDC_PITCH);
    placement.bank = ReadAngle(form, IDC_BANK);
    placement.heading = ReadAngle(form, IDC_HEADING);

    placement.density = form.GetText(IDC_DENSITY, limits::kShortField);
    if (placement.density.empty())
        placement.density = SceneryDensityName(SceneryDensity::Normal);

    // The box is read whole; only the field's own bound applies, not a per-line one, and it
    // applies to the joined field: a block of 1023 characters shows as more, one line per ";".
    placement.parameters =
        JoinParameterLines(form.GetText(IDC_PARAMETERS, limits::kParameterBox), placement.type);
    return placement;
}

std::vector<std::string> FormatPlacementLine(const Placement& placement) {
    std::vector<std::string> lines;
    if (placement.writtenByIdentifier) {
        const LibraryObject* object = placement.libraryObject;
        std::string path = object ? object->libraryPath : std::string();
        std::string name = object ? object->name.value_or(std::string()) : std::string();
        lines.push_back(";;++");
        lines.push_back(FormatText(limits::kLine, ";; %s/%s", path.c_str(), name.c_str()));
        lines.push_back(";;");
    }
    lines.push_back(FormatText(
        limits::kLine, "%s,%s,%s,%s,%s,%1.2f,%1.2f,%1.2f,%s,\"%s\"",
        ObjectTypeKeyword(placement.type), placement.name.c_str(), placement.latitude.c_str(),
        placement.longitude.c_str(), placement.altitude.c_str(), placement.pitch, placement.bank,
        placement.heading, placement.density.c_str(), placement.parameters.c_str()));
    return lines;
}
