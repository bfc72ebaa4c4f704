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
    // Converted with the C locale's point whatever the process locale says: the text is copied
    // and read by strtod, which sees exactly the matched characters.
    const std::string number(start, p);
    const double read = std::strtod(number.c_str(), nullptr);
    if (!std::isfinite(read))
        return false;
    *value = read;
    return true;
}
