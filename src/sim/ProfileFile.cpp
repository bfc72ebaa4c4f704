#include "sim/ProfileFile.h"

#include <cstdint>

#include "common/Text.h"
#include "sim/SimFiles.h"

namespace {

// The profile reader's blanks: white space and the DOS end-of-file mark that old CD-ROM files
// carry (the no-break space is not one).
bool IsBlank(char c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D) || c == 0x1A;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Names and values end at a zero byte, as the system's strings do.
std::string_view UpToZero(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

bool HasByteOrderMark(std::string_view text) {
    auto starts = [&](std::string_view mark) { return text.substr(0, mark.size()) == mark; };
    return starts("\xEF\xBB\xBF") || starts("\xFF\xFE") || starts("\xFE\xFF");
}

// The answer as the system copies it into a buffer of 260: a value wrapped in a pair of equal
// quotes loses them (the closing one only when it fits), and at most 259 characters remain.
std::string Answer(std::string_view value) {
    value = UpToZero(value);
    bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                  value.back() == value.front();
    if (quoted)
        value.remove_prefix(1);
    std::string answer = CutText(value, limits::kPath);
    if (quoted && value.size() <= limits::kPath + 1)
        answer.pop_back();
    return answer;
}

}  // namespace

bool ProfileFile::Load(const char* path) {
    std::vector<uint8_t> bytes;
    const bool read = path && ReadWholeFile(path, bytes);
    if (!read)
        bytes.clear();
    std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    systemPath = HasByteOrderMark(content) ? path : "";
    Parse(systemPath.empty() ? content : std::string_view());
    return read;
}

// Lines end at a carriage return or a line feed, wherever it stands.
// A line that starts with "[" and holds a "]" opens a section named by what lies between the
// "[" and the last "]"; every other line is a key, with its value behind the
// first "=" (or none without one). Comment lines are keys no one asks for.
void ProfileFile::Parse(std::string_view content) {
    text.assign(content);
    sections.clear();
    firstSection.clear();
    sections.push_back({});  // keys before the first section: a section named ""
    firstSection.emplace("", 0);
    std::string_view rest = text;
    while (!rest.empty()) {
        size_t end = rest.find_first_of("\r\n");
        end = end == std::string_view::npos ? rest.size() : end + 1;
        std::string_view line = Trim(rest.substr(0, end));
        rest.remove_prefix(end);
        if (line.empty())
            continue;
        if (line.front() == '[') {
            size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                std::string_view name = UpToZero(Trim(line.substr(1, close - 1)));
                firstSection.emplace(LowerAscii(name), sections.size());
                sections.push_back({name, {}});
                continue;
            }
        }
        size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            sections.back().keys.push_back({UpToZero(line), {}, false});
            continue;
        }
        std::string_view name = line.substr(0, equals);
        while (name.size() > 1 && IsBlank(name.back()))
            name.remove_suffix(1);
        sections.back().keys.push_back({UpToZero(name), Trim(line.substr(equals + 1)), true});
    }
}

std::string ProfileFile::Value(std::string_view section, std::string_view key,
                               std::string_view defaultText) const {
    if (!systemPath.empty()) {
        return ReadProfileText(systemPath.c_str(), std::string(section).c_str(),
                               std::string(key).c_str(), std::string(defaultText).c_str());
    }
    // The system drops trailing spaces of the default before anything else.
    while (!defaultText.empty() && defaultText.back() == ' ')
        defaultText.remove_suffix(1);
    if (key.empty())
        return Answer(defaultText);
    section = Trim(section);
    key = Trim(key);
    auto found = firstSection.find(LowerAscii(section));
    if (found == firstSection.end())
        return Answer(defaultText);
    for (const Key& entry : sections[found->second].keys) {
        if (EqualsNoCase(entry.name, key))
            return Answer(entry.hasValue ? entry.value : defaultText);
    }
    return Answer(defaultText);
}
