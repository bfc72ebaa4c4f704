#include "parse/Coordinates.h"

#include <gtest/gtest.h>

#include <string>

#include "common/LastError.h"

namespace {

constexpr auto kLat = CoordinateAxis::Latitude;
constexpr auto kLon = CoordinateAxis::Longitude;

std::string Format(double value, CoordinateAxis axis) {
    char buffer[64];
    const char* text = FormatCoordinate(value, axis, buffer, sizeof(buffer));
    return text ? text : "(null)";
}

bool Parse(const std::string& text, CoordinateAxis axis, double* value) {
    return axis == kLat ? ParseLatitude(text.c_str(), value) : ParseLongitude(text.c_str(), value);
}

}  // namespace

TEST(ParseCoordinate, ReadsEveryNotationAndWritesItCanonically) {
    const struct {
        const char* typed;
        CoordinateAxis axis;
        double value;
        const char* canonical;
    } cases[] = {
        {"N 58* 35' 45", kLat, 58.595833333333, "N058* 35' 45.0000\""},
        {"-122.5", kLon, -122.5, "W122* 30' 00.0000\""},
        {"n 58:35:45", kLat, 58.595833333333, "N058* 35' 45.0000\""},
        {"58 35 45 S", kLat, -58.595833333333, "S058* 35' 45.0000\""},
        {"S 58 N", kLat, 58.0, "N058* 00' 00.0000\""},
        {"58d 35m 45s", kLat, -58.595833333333, "S058* 35' 45.0000\""},
        {"47 36.5", kLat, 47.608333333333, "N047* 36' 30.0000\""},
        {"58 60 60", kLat, 59.016666666667, "N059* 01' 00.0000\""},
        {"1e2", kLon, 1.033333333333, "E001* 02' 00.0000\""},
        {"+58 35 45 12", kLat, 58.595833333333, "N058* 35' 45.0000\""},
        {"  \t58,5 12ABC", kLat, 58.2, "N058* 12' 00.0000\""},
        {"S 77 51", kLat, -77.85, "S077* 51' 00.0000\""},  // beyond 60 degrees: a real place
        // A whole value at its bound, reached in parts too.
        {"N 90", kLat, 90.0, "N090* 00' 00.0000\""},
        {"S 90 00 00", kLat, -90.0, "S090* 00' 00.0000\""},
        {"N 89 59 60", kLat, 90.0, "N090* 00' 00.0000\""},
        {"W 180", kLon, -180.0, "W180* 00' 00.0000\""},
    };
    for (const auto& c : cases) {
        double value = 99.0, again = 0.0;
        ASSERT_TRUE(Parse(c.typed, c.axis, &value)) << c.typed;
        EXPECT_NEAR(value, c.value, 1e-9) << c.typed;
        EXPECT_EQ(Format(value, c.axis), c.canonical) << c.typed;
        ASSERT_TRUE(Parse(c.canonical, c.axis, &again)) << c.canonical;
        EXPECT_EQ(Format(again, c.axis), c.canonical);
    }
    double value = 5.0;
    EXPECT_TRUE(ParseLatitude("", &value));
    EXPECT_EQ(value, 0.0);
    EXPECT_TRUE(ParseLatitude("0x10", &value));  // the token begins with the number 0
    EXPECT_EQ(value, 0.0);
    // The weights are the exact doubles, applied in order.
    ASSERT_TRUE(ParseLongitude("1 2 3", &value));
    EXPECT_EQ(value, (3 * 0.0002777777777777778 + 2 * 0.016666666666666666) + 1);
}

TEST(ParseCoordinate, RefusesUnreadableAndOutOfRangeTextsLeavingZero) {
    const std::string beyondTheBuffer(400, '9');
    const struct {
        const char* text;
        CoordinateAxis axis;
        uint32_t reason;
    } cases[] = {
        {"   ", kLat, errors::kInvalidData},
        {"12 abc", kLat, errors::kInvalidData},
        {"nan", kLat, errors::kInvalidData},
        {"S -58", kLat, errors::kInvalidParameter},
        {"58 61", kLat, errors::kInvalidParameter},
        {"58 30 60.5", kLat, errors::kInvalidParameter},
        {"N 91", kLat, errors::kInvalidParameter},
        {"181", kLon, errors::kInvalidParameter},
        // Each part within its range, the whole beyond the bound.
        {"N 90 00 01", kLat, errors::kInvalidParameter},
        {"E 180 00 01", kLon, errors::kInvalidParameter},
        {beyondTheBuffer.c_str(), kLon, errors::kNotEnoughMemory},
    };
    for (const auto& c : cases) {
        double value = 7.0;
        SetLastErrorCode(0);
        EXPECT_FALSE(Parse(c.text, c.axis, &value)) << c.text;
        EXPECT_EQ(value, 0.0) << c.text;
        EXPECT_EQ(GetLastErrorCode(), c.reason) << c.text;
    }
}

TEST(FormatCoordinate, CarriesNamesZeroSouthOrWestAndNeedsRoomForTheWholeText) {
    EXPECT_EQ(Format(0.0, kLon), "W000* 00' 00.0000\"");
    EXPECT_EQ(Format(-0.5, kLat), "S000* 30' 00.0000\"");
    EXPECT_EQ(Format(10.999999999999, kLat), "N011* 00' 00.0000\"");
    EXPECT_EQ(Format(58.99999999, kLat), "N058* 59' 60.0000\"");
    // Read back, 60 seconds are a whole minute: the same position, written with the carry.
    double back = 0.0;
    ASSERT_TRUE(ParseLatitude("N058* 59' 60.0000\"", &back));
    EXPECT_NEAR(back, 58.99999999, 0.00005 / 3600);
    EXPECT_EQ(Format(back, kLat), "N059* 00' 00.0000\"");

    char buffer[64];
    for (size_t size : {0u, 18u}) {
        SetLastErrorCode(0);
        EXPECT_EQ(FormatCoordinate(58.5, kLat, buffer, size), nullptr) << size;
        EXPECT_EQ(GetLastErrorCode(), errors::kInsufficientBuffer);
    }
    EXPECT_EQ(FormatCoordinate(58.5, kLat, buffer, 19), buffer);
    EXPECT_EQ(FormatLongitude(1e300, buffer, sizeof(buffer)), nullptr);
}
