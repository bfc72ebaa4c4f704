#include "kml/KmlNumbers.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t SkipDigits(std::string_view text, size_t at) {
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at;
}

// The longest number at the start of text, by the grammar of ReadKmlNumber; 0 when none.
size_t NumberLength(std::string_view text) {
    size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    const size_t integerStart = at;
    at = SkipDigits(text, at);
    size_t digits = at - integerStart;
    if (at < text.size() && text[at] == '.') {
        const size_t fractionStart = ++at;
        at = SkipDigits(text, at);
        digits += at - fractionStart;
    }
    if (digits == 0)
        return 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        const size_t exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd > exponent)
            at = exponentEnd;
    }
    return at;
}

size_t SkipSpace(std::string_view text, size_t at) {
    while (at < text.size() && IsXmlSpace(text[at]))
        ++at;
    return at;
}

}  // namespace

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view TrimXmlSpace(std::string_view text) {
    size_t begin = SkipSpace(text, 0);
    size_t end = text.size();
    while (end > begin && IsXmlSpace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool ReadKmlNumber(std::string_view text, double& value) {
    value = 0.0;
    if (text.empty() || NumberLength(text) != text.size())
        return false;
    // from_chars takes no plus sign; it reads the rest exactly, without the locale.
    if (text[0] == '+')
        text.remove_prefix(1);
    double read = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(read))
        return false;
    value = read;
    return true;
}

std::string KmlNumberText(double value) {
    // Without an exponent, which not every reader of KML takes; a double's longest such text
    // has 309 digits before the point.
    char buffer[400];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

PointStatus ReadPointCoordinates(std::string_view text, KmlPosition& position) {
    position = KmlPosition();
    size_t at = SkipSpace(text, 0);
    if (at == text.size())
        return PointStatus::Empty;
    double values[3] = {};
    int count = 0;
    for (;;) {
        const size_t length = NumberLength(text.substr(at));
        if (length == 0 || !ReadKmlNumber(text.substr(at, length), values[count]))
            return PointStatus::Unreadable;
        ++count;
        at = SkipSpace(text, at + length);
        if (at == text.size() || text[at] != ',' || count == 3)
            break;
        at = SkipSpace(text, at + 1);
    }
    // What is left is a second position or something else: a Point has one position.
    if (count < 2 || at != text.size())
        return PointStatus::Unreadable;
    if (std::fabs(values[1]) > kml::kLatitudeLimit || std::fabs(values[0]) > kml::kLongitudeLimit)
        return PointStatus::OutsideWorld;
    position.longitude = values[0];
    position.latitude = values[1];
    return PointStatus::Usable;
}
