#include "placement/PlacementFile.h"

#include <cmath>
#include <cstdlib>

#include "common/AppStrings.h"
#include "common/LastError.h"
#include "common/Text.h"
#include "placement/Message.h"
#include "placement/OutputFile.h"
#include "resource.h"

namespace {

constexpr std::string_view kFileStart = ";;++";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// '#' in the pattern stands for one digit, every other character for itself.
bool FitsPattern(std::string_view text, std::string_view pattern) {
    if (text.size() != pattern.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (pattern[i] == '#' ? !IsDigit(text[i]) : text[i] != pattern[i])
            return false;
    }
    return true;
}

size_t SkipDigits(std::string_view text, size_t at) {
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at;
}

// The canonical coordinate less its closing quote: N047* 26' 59.0000. The degrees have at
// least three digits (the "%03d" they are written with).
bool IsCoordinate(std::string_view text, char positive, char negative) {
    if (text.empty() || (text[0] != positive && text[0] != negative))
        return false;
    size_t degreesEnd = SkipDigits(text, 1);
    return degreesEnd >= 4 && FitsPattern(text.substr(degreesEnd), "* ##' ##.####");
}

// A decimal number as the altitude box may hold it: a sign, digits with a point, an exponent.
bool IsNumber(std::string_view text) {
    size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    size_t digitsStart = at;
    at = SkipDigits(text, at);
    size_t digits = at - digitsStart;
    if (at < text.size() && text[at] == '.') {
        size_t fractionStart = ++at;
        at = SkipDigits(text, at);
        digits += at - fractionStart;
    }
    if (digits == 0)
        return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            ++at;
        size_t exponentStart = at;
        at = SkipDigits(text, at);
        if (at == exponentStart)
            return false;
    }
    return at == text.size();
}

// An angle as "%1.2f" writes it: a minus sign when negative, digits, two decimals.
bool IsAngle(std::string_view text) {
    size_t at = !text.empty() && text[0] == '-' ? 1 : 0;
    size_t point = SkipDigits(text, at);
    return point > at && FitsPattern(text.substr(point), ".##");
}

int DensityLevel(std::string_view text) {
    for (int level = 0; level < kSceneryDensityCount; ++level) {
        if (text == SceneryDensityName(SceneryDensity(level)))
            return level;
    }
    return -1;
}

// "0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Ch" in double quotes, as a library object
// missing from the known-object table is named.
bool IsQuotedIdentifier(std::string_view name) {
    constexpr std::string_view kShape = "\"0########h, 0########h, 0########h, 0########h\"";
    if (name.size() != kShape.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        bool hex = IsDigit(c) || (c >= 'A' && c <= 'F');
        if (kShape[i] == '#' ? !hex : c != kShape[i])
            return false;
    }
    return true;
}

// What follows the name field: latitude, longitude, altitude, pitch, bank, heading and density,
// none of which holds a comma, then the parameter block in double quotes up to the line's end.
bool ReadFieldsAfterName(std::string_view rest, Placement& placement) {
    std::string_view fields[7];
    size_t at = 0;
    for (std::string_view& field : fields) {
        size_t comma = rest.find(',', at);
        if (comma == std::string_view::npos)
            return false;
        field = rest.substr(at, comma - at);
        at = comma + 1;
    }
    std::string_view block = rest.substr(at);
    const auto& [latitude, longitude, altitude, pitch, bank, heading, density] = fields;
    if (!IsCoordinate(latitude, 'N', 'S') || !IsCoordinate(longitude, 'E', 'W'))
        return false;
    if (altitude != "AGL" && (altitude.size() > limits::kShortField || !IsNumber(altitude)))
        return false;
    if (!IsAngle(pitch) || !IsAngle(bank) || !IsAngle(heading))
        return false;
    // Effects offer the densities up to Dense only.
    int level = DensityLevel(density);
    int levels = placement.type == ObjectType::EFFECT ? kEffectDensityCount : kSceneryDensityCount;
    if (level < 0 || level >= levels)
        return false;
    if (block.size() < 2 || block.front() != '"' || block.back() != '"' ||
        block.size() - 2 > limits::kParameters)
        return false;

    placement.latitude = latitude;
    placement.longitude = longitude;
    placement.altitude = altitude;
    // The texts were checked above, so strtod reads each of them whole.
    placement.pitch = std::strtod(std::string(pitch).c_str(), nullptr);
    placement.bank = std::strtod(std::string(bank).c_str(), nullptr);
    placement.heading = std::strtod(std::string(heading).c_str(), nullptr);
    // Digits beyond the largest double read as infinity, which the program never writes.
    if (!std::isfinite(placement.pitch) || !std::isfinite(placement.bank) ||
        !std::isfinite(placement.heading))
        return false;
    placement.density = density;
    placement.parameters = block.substr(1, block.size() - 2);
    return true;
}

bool IsComment(std::string_view line) {
    return line.substr(0, 2) == ";;";
}

// Hand-edited files hold empty lines, or lines of blanks that look empty.
bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// The three lines that stand before a library object written by its identifier.
bool AreIdentifierComments(std::span<const FileLine> lines, size_t first) {
    return lines[first].text == kFileStart && lines[first + 1].text.substr(0, 3) == ";; " &&
           lines[first + 2].text == ";;";
}

}  // namespace

bool ParsePlacementLine(std::string_view line, Placement& placement) {
    placement = Placement();
    // No line the program writes holds a line break: a carriage return inside one (a lone one
    // is no line end here) would come back from the form as a break between parameter lines.
    if (line.size() > limits::kLine ||
        line.find_first_of(std::string_view("\0\r", 2)) != std::string_view::npos)
        return false;
    size_t keywordEnd = line.find(',');
    if (keywordEnd == std::string_view::npos)
        return false;
    std::string_view keyword = line.substr(0, keywordEnd);
    int type = 0;
    while (type < kObjectTypeCount && keyword != ObjectTypeKeyword(ObjectType(type)))
        ++type;
    if (type == kObjectTypeCount)
        return false;
    placement.type = ObjectType(type);
    const bool named =
        placement.type == ObjectType::EFFECT || placement.type == ObjectType::LIBRARY;

    // The name may hold commas (a typed effect name, a quoted identifier) and the parameter block
    // anything at all; the fixed shape of the fields between them tells where the name ends.
    // The first comma that gives that shape ends it.
    for (size_t nameEnd = line.find(',', keywordEnd + 1); nameEnd != std::string_view::npos;
         nameEnd = line.find(',', nameEnd + 1)) {
        if (ReadFieldsAfterName(line.substr(nameEnd + 1), placement)) {
            std::string_view name = line.substr(keywordEnd + 1, nameEnd - keywordEnd - 1);
            if (name.size() > limits::kPath)
                return false;
            // An effect always has a name, a windsock or a building never.
            if (placement.type == ObjectType::EFFECT ? name.empty() : !named && !name.empty())
                return false;
            placement.name = name;
            placement.writtenByIdentifier =
                placement.type == ObjectType::LIBRARY && IsQuotedIdentifier(name);
            return true;
        }
        if (!named)
            break;
    }
    return false;
}

PlacementFileStatus ParsePlacementFile(std::string_view bytes, PlacementFileText& contents,
                                       int& badLine) {
    contents = PlacementFileText();
    badLine = 0;
    std::vector<FileLine>& lines = contents.lines;
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t end = bytes.find('\n', at);
        FileLine line;
        if (end == std::string_view::npos) {
            line.text = bytes.substr(at);
            line.end = LineEnd::None;
            at = bytes.size();
        } else {
            std::string_view text = bytes.substr(at, end - at);
            line.end = !text.empty() && text.back() == '\r' ? LineEnd::CrLf : LineEnd::Lf;
            if (line.end == LineEnd::CrLf)
                text.remove_suffix(1);
            line.text = text;
            at = end + 1;
        }
        const int number = int(lines.size()) + 1;
        if (number == 1 && line.text != kFileStart)
            return PlacementFileStatus::NotPlacementFile;
        if (line.text.size() > limits::kLine) {
            badLine = number;
            return PlacementFileStatus::NotPlacementLine;
        }
        if (IsComment(line.text) || IsBlank(line.text)) {
            lines.push_back(std::move(line));
            continue;
        }

        Placement placement;
        if (!ParsePlacementLine(line.text, placement)) {
            badLine = number;
            return PlacementFileStatus::NotPlacementLine;
        }
        // The identifier comment is the three lines right above, wherever the header ends; the
        // first line stays the file's own, so that the file still begins as one.
        size_t first = lines.size();
        if (placement.writtenByIdentifier && first >= 4 && AreIdentifierComments(lines, first - 3))
            first -= 3;
        lines.push_back(std::move(line));
        contents.placements.push_back({first, lines.size() - 1});
    }
    if (lines.empty())
        return PlacementFileStatus::NotPlacementFile;
    return PlacementFileStatus::Read;
}

IdentifierComment IdentifierCommentOf(std::span<const FileLine> lines) {
    IdentifierComment found;
    if (lines.size() < 4 || !AreIdentifierComments(lines, lines.size() - 4))
        return found;
    std::string_view comment = lines[lines.size() - 3].text;
    comment.remove_prefix(3);
    const size_t slash = comment.rfind('/');
    if (slash != std::string_view::npos) {
        found.libraryFile = comment.substr(0, slash);
        found.name = comment.substr(slash + 1);
    }
    return found;
}

bool ReadPlacementFile(const std::string& fullPath, PlacementFileText& text, FileStamp& stamp,
                       PlacementFileRefusal& refusal) {
    std::string bytes;
    int badLine = 0;
    // Taken before the bytes: a change made while they are read then shows as one.
    stamp = StampOf(fullPath.c_str());
    switch (ReadFileBytes(fullPath, kMaxPlacementFileBytes, bytes)) {
        case FileReadStatus::Read:
            break;
        case FileReadStatus::Failed: {
            // Taken before loading the text, which may set the last error itself.
            const unsigned error = unsigned(GetLastErrorCode());
            refusal = {FormatText(limits::kMessage, LoadAppString(IDS_CANNOT_READ_FILE).c_str(),
                                  error, fullPath.c_str()),
                       message_kind::kPlain};
            return false;
        }
        case FileReadStatus::TooLarge:
            refusal = {PathMessage(IDS_PLACEMENT_FILE_TOO_LARGE, fullPath), message_kind::kStop};
            return false;
    }
    switch (ParsePlacementFile(bytes, text, badLine)) {
        case PlacementFileStatus::Read:
            return true;
        case PlacementFileStatus::NotPlacementFile:
            refusal = {PathMessage(IDS_NOT_PLACEMENT_FILE, fullPath), message_kind::kStop};
            return false;
        case PlacementFileStatus::NotPlacementLine:
            refusal = {FormatText(limits::kMessage, LoadAppString(IDS_NOT_PLACEMENT_LINE).c_str(),
                                  badLine, fullPath.c_str()),
                       message_kind::kStop};
            return false;
    }
    return false;
}

bool OpenPlacementFile(OutputList& list, FormControls& form, const std::string& path,
                       const std::function<void(bool busy)>& busy) {
    std::string fullPath;
    if (!ResolveFullPath(path, fullPath)) {
        const unsigned error = unsigned(GetLastErrorCode());
        ReportMessage(FormatText(limits::kMessage, LoadAppString(IDS_CANNOT_READ_FILE).c_str(),
                                 error, path.c_str()),
                      message_kind::kPlain);
        return false;
    }
    if (list.HasUnsavedChanges()) {
        // The same Yes/No box, No by default, as the question before quitting unsaved. An opened
        // file's changes may have left no placement at all (Clear, Remove of every one), so they
        // are not counted, unless the file's name was taken out of the output box.
        std::string question =
            list.OpenedFromFile() && !list.outputPath.empty()
                ? FormatText(limits::kMessage, LoadAppString(IDS_OPEN_CHANGED).c_str(),
                             list.outputPath.c_str(), fullPath.c_str())
                : FormatText(limits::kMessage, LoadAppString(IDS_OPEN_UNSAVED).c_str(),
                             list.placementCount, fullPath.c_str());
        if (ReportMessage(question, message_kind::kQuitQuestion) != answer::kYes)
            return false;
    }

    PlacementFileText contents;
    FileStamp stamp;
    PlacementFileRefusal refusal;
    if (busy)
        busy(true);
    const bool read = ReadPlacementFile(fullPath, contents, stamp, refusal);
    if (busy)
        busy(false);
    if (!read) {
        ReportMessage(refusal.text, refusal.kind);
        return false;
    }

    list.LoadFile(std::move(contents), fullPath, stamp);
    form.SetText(IDC_OUTPUT_FILE, fullPath);
    list.ShowCount(form);
    return true;
}
