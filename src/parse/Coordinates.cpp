#include "parse/Coordinates.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/LastError.h"
#include "parse/DecimalNumber.h"

const char* const HemisphereLetters[2][2] = {{"N", "S"}, {"E", "W"}};

namespace {

bool IsWhite(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

char Upper(char c) {
    return char(std::toupper(static_cast<unsigned char>(c)));
}

bool Fail(uint32_t reason) {
    SetLastErrorCode(reason);
    return false;
}

}  // namespace

int NormalizeCoordinateText(const char* source, char* destination, size_t destinationSize) {
    if (source == nullptr || destination == nullptr || destinationSize == 0) {
        SetLastErrorCode(errors::kInvalidParameter);
        return 0;
    }
    const size_t length = std::strlen(source);
    if (destinationSize < length + 1) {
        SetLastErrorCode(errors::kNotEnoughMemory);
        return 0;
    }
    std::memset(destination, 0, destinationSize);
    int sign = 1;
    const char* in = source;
    while (IsWhite(*in))
        ++in;
    const char first = Upper(*in);
    if (first == '-' || first == 'S' || first == 'W') {
        sign = -1;
        ++in;
    } else if (first == 'N' || first == 'E') {
        ++in;
    }
    while (IsWhite(*in))
        ++in;

    char* out = destination;
    for (; *in; ++in) {
        char c = Upper(*in);
        if (c == ':' || c == '*' || c == '\'' || c == '"' || IsWhite(c)) {
            c = ' ';
        } else if (c == 'N' || c == 'E') {
            c = ' ';
            sign = 1;
        } else if (c == 'S' || c == 'W') {
            c = ' ';
            sign = -1;
        }
        if (c == ' ' && out > destination && out[-1] == ' ')
            continue;
        *out++ = c;
    }
    while (out > destination + 1 && IsWhite(out[-1]))
        *--out = '\0';
    return sign;
}

bool ParseCoordinate(const char* text, double degreeBound, double* value) {
    if (value == nullptr)
        return Fail(errors::kInvalidParameter);
    *value = 0.0;
    if (text == nullptr || *text == '\0')
        return true;
    char work[coordinates::kWorkingBufferSize];
    const int sign = NormalizeCoordinateText(text, work, sizeof(work));
    if (sign == 0)
        return false;

    double parts[3] = {0.0, 0.0, 0.0};  // degrees, minutes, seconds
    int count = 0;
    // Tokens are the runs between blanks; the normalised text may begin with one.
    for (char* p = work; *p && count < 3;) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        char* end = std::strchr(p, ' ');
        if (end)
            *end = '\0';
        if (!ReadDecimalNumber(p, false, &parts[count]))
            return Fail(errors::kInvalidData);
        ++count;
        if (!end)
            break;
        p = end + 1;
    }
    if (count == 0)
        return Fail(errors::kInvalidData);
    const double bounds[3] = {degreeBound, coordinates::kMinuteSecondBound,
                              coordinates::kMinuteSecondBound};
    for (int i = 0; i < 3; ++i) {
        // Written so that a value that is not a number fails too.
        if (!(parts[i] >= 0.0 && parts[i] <= bounds[i]))
            return Fail(errors::kInvalidParameter);
    }
    const double magnitude =
        parts[2] * 0.0002777777777777778 + parts[1] * 0.016666666666666666 + parts[0];
    // Each part may stand at its own bound, but not the place they add up to: N 90 60 60 would
    // be written back as N091*, which no field accepts.
    if (magnitude > degreeBound)
        return Fail(errors::kInvalidParameter);
    *value = magnitude * sign;
    return true;
}

bool ParseLatitude(const char* text, double* value) {
    return ParseCoordinate(text, coordinates::kLatitudeBound, value);
}

bool ParseLongitude(const char* text, double* value) {
    return ParseCoordinate(text, coordinates::kLongitudeBound, value);
}

char* FormatCoordinate(double value, CoordinateAxis axis, char* buffer, size_t bufferSize) {
    if (buffer == nullptr || bufferSize < coordinates::kMinimumFormatBuffer) {
        SetLastErrorCode(errors::kInsufficientBuffer);
        return nullptr;
    }
    if (!std::isfinite(value)) {
        SetLastErrorCode(errors::kInvalidParameter);
        return nullptr;
    }
    const double a = std::fabs(value);
    double d = std::floor(a);
    const double minutesExact = (a - d) * 60;
    double m = std::floor(minutesExact);
    double s = (minutesExact - m) * 60;
    if (s >= coordinates::kCarryThreshold) {
        m += 1;
        s = std::fabs(s - 60);
    }
    if (m >= coordinates::kCarryThreshold) {
        d += 1;
        m = std::fabs(m - 60);
    }
    if (d > 2147483647.0) {  // no whole-number degree field for it
        SetLastErrorCode(errors::kInvalidParameter);
        return nullptr;
    }
    const char* letter = HemisphereLetters[int(axis)][value > 0 ? 0 : 1];
    const int width = coordinates::kSecondsDecimals + 3;
    // A cut text would be a different position: it must fit whole, terminator included.
    const int needed = std::snprintf(nullptr, 0, "%s%03d%c %02d' %0*.*f\"", letter, int(d), '*',
                                     int(m), width, coordinates::kSecondsDecimals, s);
    if (needed < 0 || size_t(needed) + 1 > bufferSize) {
        SetLastErrorCode(errors::kInsufficientBuffer);
        return nullptr;
    }
    std::snprintf(buffer, bufferSize, "%s%03d%c %02d' %0*.*f\"", letter, int(d), '*', int(m), width,
                  coordinates::kSecondsDecimals, s);
    return buffer;
}

char* FormatLatitude(double value, char* buffer, size_t bufferSize) {
    return FormatCoordinate(value, CoordinateAxis::Latitude, buffer, bufferSize);
}

char* FormatLongitude(double value, char* buffer, size_t bufferSize) {
    return FormatCoordinate(value, CoordinateAxis::Longitude, buffer, bufferSize);
}
