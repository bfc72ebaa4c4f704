// A library object's 128-bit identifier and the record the catalogue keeps for each object.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Four 32-bit words in stored order (word 0 first, each little-endian in the file).
struct Guid128 {
    uint32_t words[4] = {0, 0, 0, 0};

    bool operator==(const Guid128&) const = default;
    bool IsZero() const { return (words[0] | words[1] | words[2] | words[3]) == 0; }
};

// "{ 90B2BBE0, 11D2F24A, 1000849C, 2AE60C5A }"
std::string GuidDisplayText(const Guid128& guid);
// "090B2BBE0h, 011D2F24Ah, 01000849Ch, 02AE60C5Ah", the form the compiler reads.
std::string GuidAsmText(const Guid128& guid);

struct LibraryObject {
    Guid128 guid;
    uint8_t flagsByte = 0;
    uint32_t recordLength = 0;
    uint32_t extra1 = 0;
    int32_t radius = 0;
    uint32_t scale = 0;  // 16.16 fixed point design units: 0x00010000 is 1 meter per unit
    uint32_t extra2 = 0;
    uint32_t extra3 = 0;
    std::optional<std::string> name;  // absent when the record holds none
    std::string guidText;             // GuidDisplayText(guid)
    std::string guidAsmText;          // GuidAsmText(guid)
    std::string libraryPath;          // full path of the library file, at most 259 characters
};
