#include "common/CommandLine.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Where a word that may stand in double quotes ends: after its closing quote, or at the first
// blank when it has none.
size_t WordEnd(std::string_view text) {
    if (!text.empty() && text[0] == '"') {
        size_t close = text.find('"', 1);
        return close == std::string_view::npos ? text.size() : close + 1;
    }
    size_t at = 0;
    while (at < text.size() && !IsBlank(text[at]))
        ++at;
    return at;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::string FileArgumentOf(std::string_view commandLine) {
    std::string_view rest = TrimBlanks(commandLine.substr(WordEnd(commandLine)));
    if (!rest.empty() && rest[0] == '"') {
        size_t end = WordEnd(rest);
        size_t length = end >= 2 && rest[end - 1] == '"' ? end - 2 : end - 1;
        return std::string(rest.substr(1, length));
    }
    return std::string(rest);
}
