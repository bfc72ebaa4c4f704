// Coordinates over arbitrary text: reading never leaves its buffers, a value read is finite,
// within the axis's bound and zero after a failure, and the canonical text settles: it reads
// back, and written, read and written again, it stays the same text after at most one round (a
// 60.0000 seconds field carries, and a value too small to show reads back as 0, which is
// written with S or W).
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "parse/Coordinates.h"

namespace {

std::string Format(double value, CoordinateAxis axis) {
    char buffer[64];
    const char* text = FormatCoordinate(value, axis, buffer, sizeof(buffer));
    if (text == nullptr)
        std::abort();
    return text;
}

void Check(const std::string& text, CoordinateAxis axis) {
    const bool latitude = axis == CoordinateAxis::Latitude;
    double value = 1.0;
    const bool read =
        latitude ? ParseLatitude(text.c_str(), &value) : ParseLongitude(text.c_str(), &value);
    if (!read) {
        if (value != 0.0)
            std::abort();
        return;
    }
    const double bound = latitude ? coordinates::kLatitudeBound : coordinates::kLongitudeBound;
    if (!std::isfinite(value) || std::fabs(value) > bound)
        std::abort();
    std::string canonical = Format(value, axis);
    for (int round = 0; round < 2; ++round) {
        double again = 0.0;
        if (!(latitude ? ParseLatitude(canonical.c_str(), &again)
                       : ParseLongitude(canonical.c_str(), &again)))
            std::abort();  // the field would refuse its own rewrite
        // Four decimals of seconds: the position moves by less than half of their last digit.
        if (std::fabs(std::fabs(again) - std::fabs(value)) > 0.00005 / 3600 + 1e-9)
            std::abort();
        const std::string next = Format(again, axis);
        if (next == canonical)
            return;
        if (round == 1)
            std::abort();
        canonical = next;
        value = again;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data),
                           strnlen(reinterpret_cast<const char*>(data), size));
    Check(text, CoordinateAxis::Latitude);
    Check(text, CoordinateAxis::Longitude);
    char small[20];
    NormalizeCoordinateText(text.c_str(), small, sizeof(small));
    return 0;
}
