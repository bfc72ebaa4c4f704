// Reading a latitude or longitude typed in any reasonable notation into signed decimal degrees,
// and writing degrees back in the one canonical notation the placement line carries:
// N058* 35' 45.0000" (hemisphere letter, degrees, minutes, seconds with four decimals).
// Failures return false, 0 or null and leave the reason as the thread's last error code.
#pragma once

#include <cstddef>

enum class CoordinateAxis { Latitude = 0, Longitude = 1 };

// [axis][0] for values above 0, [axis][1] for 0 and below.
extern const char* const HemisphereLetters[2][2];

namespace coordinates {
constexpr double kLatitudeBound = 90.0;
constexpr double kLongitudeBound = 180.0;
constexpr double kMinuteSecondBound = 60.0;
constexpr int kSecondsDecimals = 4;
constexpr double kCarryThreshold = 59.99999999;
constexpr size_t kWorkingBufferSize = 260;
// Smallest buffer FormatCoordinate accepts at all; the canonical text needs one more than its
// length, which is checked too.
constexpr size_t kMinimumFormatBuffer = 16;
}  // namespace coordinates

// Upper-cases the text, turns separators and hemisphere letters into single blanks and gives the
// sign (+1 or -1) the text asks for; 0 on failure (87, or 8 when the destination is too small).
int NormalizeCoordinateText(const char* source, char* destination, size_t destinationSize);

// Reads degrees [minutes [seconds]]; each part is range-checked (degrees up to degreeBound,
// minutes and seconds up to 60), and so is the whole value (up to degreeBound). *value is 0.0
// after any failure (13 or 87).
bool ParseCoordinate(const char* text, double degreeBound, double* value);
bool ParseLatitude(const char* text, double* value);
bool ParseLongitude(const char* text, double* value);

// Writes the canonical text; null (122) unless the whole text and its terminator fit.
char* FormatCoordinate(double value, CoordinateAxis axis, char* buffer, size_t bufferSize);
char* FormatLatitude(double value, char* buffer, size_t bufferSize);
char* FormatLongitude(double value, char* buffer, size_t bufferSize);
