#include "PlacementChecker.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

namespace checker {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

int Number(std::string_view digits) {
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

const std::array<const char*, 6> kDensities = {"Very Sparse", "Sparse",     "Normal",
                                               "Dense",       "Very Dense", "Extremely Dense"};
// Effects are shown only up to "Dense".
constexpr size_t kEffectDensities = 4;

struct KindRules {
    const char* keyword;
    std::vector<const char*> keys;
};

const std::array<KindRules, 4>& Kinds() {
    static const std::array<KindRules, 4> kinds = {{
        {"EFFECT",
         {"RANDOM", "YEAR", "MOY", "DOM", "HOD", "MOH", "SOM", "DAWN", "DAY", "DUSK", "NIGHT"}},
        {"LIBRARY", {"SHADOW", "SIGNAL", "RADIUS", "SCALE"}},
        {"WINDSOCK", {"HEIGHT", "LENGTH", "POLE_COLOR", "SOCK_COLOR", "LIGHTED"}},
        {"BUILDING", {"SIZE_X",      "SIZE_Z",     "BOT_SIZE_Y", "BOT_TEX",    "BOT_TEX_X",
                      "BOT_TEX_Z",   "WIN_SIZE_Y", "WIN_TEX",    "WIN_TEX_X",  "WIN_TEX_Y",
                      "WIN_TEX_Z",   "TOP_SIZE_Y", "TOP_TEX",    "TOP_TEX_X",  "TOP_TEX_Z",
                      "ROOF_SIZE_Y", "ROOF_TEX",   "ROOF_TEX_X", "ROOF_TEX_Y", "ROOF_TEX_Z"}},
    }};
    return kinds;
}

// 0A1B2C3D4h: a leading 0, eight hexadecimal digits and "h", as the identifier words and the
// library scale are written.
bool IsAssemblerHex(std::string_view text) {
    return text.size() == 10 && text[0] == '0' && text[9] == 'h' &&
           std::all_of(text.begin() + 1, text.begin() + 9, IsHex);
}

bool IsIdentifierName(std::string_view name) {
    // "0XXXXXXXXh, 0XXXXXXXXh, 0XXXXXXXXh, 0XXXXXXXXh"
    if (name.size() < 2 || name.front() != '"' || name.back() != '"')
        return false;
    std::string_view inner = name.substr(1, name.size() - 2);
    for (int word = 0; word < 4; ++word) {
        if (!IsAssemblerHex(inner.substr(0, 10)))
            return false;
        inner.remove_prefix(std::min<size_t>(10, inner.size()));
        if (word < 3) {
            if (inner.substr(0, 2) != ", ")
                return false;
            inner.remove_prefix(2);
        }
    }
    return inner.empty();
}

bool IsSignedInteger(std::string_view text) {
    if (!text.empty() && text[0] == '-')
        text.remove_prefix(1);
    return AllDigits(text);
}

void CheckParameterValue(const std::string& kind, std::string_view key, std::string_view value,
                         std::vector<std::string>& problems) {
    std::string where = "parameter " + std::string(key);
    if (value.empty()) {
        problems.push_back(where + " has no value");
    } else if (value.find('?') != std::string_view::npos) {
        problems.push_back(where + " still holds the placeholder \"" + std::string(value) + "\"");
    } else if (key == "POLE_COLOR" || key == "SOCK_COLOR") {
        if (value.size() != 6 || !std::all_of(value.begin(), value.end(), IsHex))
            problems.push_back(where + " must be six hexadecimal digits RRGGBB");
    } else if (key == "SCALE") {
        if (!IsAssemblerHex(value))
            problems.push_back(where + " must look like 000010000h");
    } else if (key == "LIGHTED" || key == "SHADOW" || key == "SIGNAL" || key == "DAWN" ||
               key == "DAY" || key == "DUSK" || key == "NIGHT") {
        if (value != "0" && value != "1")
            problems.push_back(where + " must be 0 or 1");
    } else if (kind == "EFFECT" && key != "RANDOM") {
        // Ranges such as MOY=1,12.
        size_t comma = value.find(',');
        if (comma == std::string_view::npos || !AllDigits(value.substr(0, comma)) ||
            !AllDigits(value.substr(comma + 1)))
            problems.push_back(where + " must be a range FROM,TO");
    } else if (kind != "EFFECT" && key.find("TEX") == std::string_view::npos &&
               !IsSignedInteger(value)) {
        problems.push_back(where + " must be a whole number");
    }
}

void CheckParameters(const KindRules& kind, std::string_view field,
                     std::vector<std::string>& problems) {
    if (field.size() < 2 || field.front() != '"' || field.back() != '"') {
        problems.push_back("the parameters must stand in double quotes");
        return;
    }
    std::string_view block = field.substr(1, field.size() - 2);
    std::vector<std::string> seen;
    while (!block.empty()) {
        size_t end = block.find(';');
        std::string_view item = block.substr(0, end);
        block = end == std::string_view::npos ? std::string_view() : block.substr(end + 1);
        if (item.empty())
            continue;  // an empty line of the parameter box
        size_t equals = item.find('=');
        std::string key(item.substr(0, equals));
        if (equals == std::string_view::npos) {
            problems.push_back("parameter \"" + std::string(item) + "\" has no '='");
            continue;
        }
        if (std::find_if(kind.keys.begin(), kind.keys.end(),
                         [&](const char* k) { return key == k; }) == kind.keys.end()) {
            problems.push_back("unknown parameter " + key + " for " + kind.keyword);
            continue;
        }
        if (std::find(seen.begin(), seen.end(), key) != seen.end())
            problems.push_back("parameter " + key + " given twice");
        seen.push_back(key);
        CheckParameterValue(kind.keyword, key, item.substr(equals + 1), problems);
    }
}

}  // namespace

bool SplitFields(std::string_view line, std::vector<std::string>& fields, std::string& problem) {
    fields.clear();
    size_t at = 0;
    for (;;) {
        size_t end;
        if (at < line.size() && line[at] == '"') {
            size_t close = line.find('"', at + 1);
            if (close == std::string_view::npos) {
                problem = "a double quote mark is not closed";
                return false;
            }
            end = close + 1;
            if (end < line.size() && line[end] != ',') {
                problem = "text follows a closing double quote mark";
                return false;
            }
        } else {
            end = std::min(line.find(',', at), line.size());
        }
        fields.emplace_back(line.substr(at, end - at));
        if (end >= line.size())
            return true;
        at = end + 1;
    }
}

bool IsCanonicalCoordinate(std::string_view text, bool latitude) {
    // L DDD* MM' SS.SSSS: letter, three degree digits, '*', blank, minutes, "' ", seconds.
    if (text.size() != 17)
        return false;
    char letter = text[0];
    if (latitude ? (letter != 'N' && letter != 'S') : (letter != 'E' && letter != 'W'))
        return false;
    std::string_view degrees = text.substr(1, 3), minutes = text.substr(6, 2);
    std::string_view seconds = text.substr(10, 2), decimals = text.substr(13, 4);
    if (!AllDigits(degrees) || text.substr(4, 2) != "* " || !AllDigits(minutes) ||
        text.substr(8, 2) != "' " || !AllDigits(seconds) || text[12] != '.' || !AllDigits(decimals))
        return false;
    // A seconds remainder just below a carry is written as 60.0000, so 60 is accepted.
    int m = Number(minutes), s = Number(seconds);
    if (m > 59 || s > 60 || (s == 60 && decimals != "0000"))
        return false;
    double value = Number(degrees) + m / 60.0 + (s + Number(decimals) / 10000.0) / 3600.0;
    return value <= (latitude ? 90.0 : 180.0);
}

bool IsFixedTwoDecimals(std::string_view text) {
    if (!text.empty() && text[0] == '-')
        text.remove_prefix(1);
    size_t point = text.find('.');
    return point != std::string_view::npos && AllDigits(text.substr(0, point)) &&
           text.size() == point + 3 && AllDigits(text.substr(point + 1));
}

LineResult CheckLine(std::string_view line) {
    LineResult result;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.empty() || line.substr(0, 2) == ";;")
        return result;
    result.isPlacement = true;
    auto& problems = result.problems;

    std::vector<std::string> fields;
    std::string problem;
    if (!SplitFields(line, fields, problem)) {
        problems.push_back(problem);
        return result;
    }
    if (fields.size() != 10) {
        problems.push_back("expected 10 fields, found " + std::to_string(fields.size()));
        return result;
    }
    auto kind = std::find_if(Kinds().begin(), Kinds().end(),
                             [&](const KindRules& k) { return fields[0] == k.keyword; });
    if (kind == Kinds().end()) {
        problems.push_back("unknown kind \"" + fields[0] +
                           "\" (EFFECT, LIBRARY, WINDSOCK or BUILDING)");
        return result;
    }
    result.kind = kind->keyword;
    result.name = fields[1];

    const std::string& name = fields[1];
    if (result.kind == "WINDSOCK" || result.kind == "BUILDING") {
        if (!name.empty())
            problems.push_back("a " + result.kind + " has no name");
    } else if (name.empty()) {
        problems.push_back("the name is missing");
    } else if (name.front() == '"' && !IsIdentifierName(name)) {
        problems.push_back("the object identifier is not four words like 0A1B2C3D4h");
    } else if (result.kind == "EFFECT" && name.front() == '"') {
        problems.push_back("an effect is named by its file, not by an identifier");
    }
    if (!IsCanonicalCoordinate(fields[2], true))
        problems.push_back("latitude \"" + fields[2] + "\" is not like N047* 26' 59.0000");
    if (!IsCanonicalCoordinate(fields[3], false))
        problems.push_back("longitude \"" + fields[3] + "\" is not like W122* 18' 32.0000");
    if (fields[4] != "AGL") {
        char* end = nullptr;
        std::strtod(fields[4].c_str(), &end);
        if (fields[4].empty() || *end != '\0')
            problems.push_back("altitude \"" + fields[4] + "\" is neither a number nor AGL");
    }
    const char* angles[] = {"pitch", "bank", "heading"};
    for (int i = 0; i < 3; ++i) {
        if (!IsFixedTwoDecimals(fields[5 + i]))
            problems.push_back(std::string(angles[i]) + " \"" + fields[5 + i] +
                               "\" is not a number with two decimals");
    }
    size_t densities = result.kind == "EFFECT" ? kEffectDensities : kDensities.size();
    if (std::find_if(kDensities.begin(), kDensities.begin() + densities, [&](const char* d) {
            return fields[8] == d;
        }) == kDensities.begin() + densities) {
        problems.push_back(
            "density \"" + fields[8] + "\" is not one of " +
            (result.kind == "EFFECT" ? "Very Sparse to Dense" : "Very Sparse to Extremely Dense"));
    }
    CheckParameters(*kind, fields[9], problems);
    return result;
}

FileResult CheckFile(std::string_view bytes) {
    FileResult result;
    int number = 0;
    bool inHeader = true;
    while (!bytes.empty()) {
        size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        ++number;
        if (number == 1 && line.substr(0, 4) != ";;++")
            result.problems.push_back({1, "the file does not begin with the ;;++ header"});
        if (inHeader && line.substr(0, 2) == ";;") {
            result.lines.push_back({});
            continue;
        }
        inHeader = false;
        LineResult checked = CheckLine(line);
        if (checked.isPlacement)
            ++result.placements;
        for (const std::string& text : checked.problems)
            result.problems.push_back({number, text});
        result.lines.push_back(std::move(checked));
    }
    if (number == 0)
        result.problems.push_back({1, "the file is empty"});
    return result;
}

}  // namespace checker
