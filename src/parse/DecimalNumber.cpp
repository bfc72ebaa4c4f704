#include "parse/DecimalNumber.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
}  // namespace

bool ReadDecimalNumber(const char* text, bool allowExponent, double* value) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    const char* start = p;
    if (*p == '+' || *p == '-')
        ++p;
    int digits = 0;
    while (IsDigit(*p)) {
        ++p;
        ++digits;
    }
    if (*p == '.') {
        ++p;
        while (IsDigit(*p)) {
            ++p;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (allowExponent && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (*q == '+' || *q == '-')
            ++q;
        if (IsDigit(*q)) {
            while (IsDigit(*q))
                ++q;
            p = q;
        }
    }
    // strtod sees only the matched characters, so it cannot read further than the rules above
    // allow; the program never changes the C locale, so its decimal mark is the point.
    const std::string number(start, p);
    const double read = std::strtod(number.c_str(), nullptr);
    if (!std::isfinite(read))
        return false;
    *value = read;
    return true;
}
