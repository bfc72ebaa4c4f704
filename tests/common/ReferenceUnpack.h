// The packed stream read the plain way, one bit at a time as the format describes it, for tests
// and fuzzers to hold the program's decoder against. Its contract is UnpackStream's: the count
// of bytes produced at the first block mark that finds at least `capacity` of them, or -1 when
// the bits run out, a copy reaches before the output's start or a length exceeds 32 bits; bytes
// beyond `capacity` are counted and not written.
#pragma once

#include <cstddef>
#include <cstdint>

inline int64_t ReferenceUnpackStream(const uint8_t* source, size_t length, uint8_t* destination,
                                     size_t capacity) {
    if (length <= 4 || source[0] != 0x4A || source[1] != 0x4D)
        return -1;
    const uint8_t* in = source + 4;
    const uint8_t* const end = source + length;
    unsigned buffer = 0, count = 0;  // unread bits of the last byte fetched, lowest first
    bool ranOut = false;
    auto bit = [&]() -> uint64_t {
        if (count == 0) {
            if (in == end) {
                ranOut = true;
                return 0;
            }
            buffer = *in++;
            count = 8;
        }
        const unsigned b = buffer & 1;
        buffer >>= 1;
        --count;
        return b;
    };
    auto field = [&](unsigned width) {
        uint64_t value = 0;
        for (unsigned i = 0; i < width; ++i)
            value |= bit() << i;
        return value;
    };

    uint64_t produced = 0;
    for (;;) {
        const uint64_t first = bit();
        if (!ranOut && (first == 0 || bit() == 1)) {
            const uint64_t value = field(7) | first << 7;
            if (ranOut)
                return -1;
            if (produced < capacity)
                destination[produced] = uint8_t(value);
            ++produced;
            continue;
        }
        uint64_t distance;
        if (bit() == 0)
            distance = field(6);
        else if (bit() == 0)
            distance = 64 + field(8);
        else
            distance = 320 + field(12);
        if (ranOut)
            return -1;
        if (distance == 4415) {
            if (produced >= capacity)
                return int64_t(produced);
            continue;
        }
        unsigned k = 0;
        while (bit() == 0 && !ranOut && k <= 32)
            ++k;
        if (ranOut || k > 32)
            return -1;
        const uint64_t copyLength = field(k) + (uint64_t(1) << k) + 2;
        if (ranOut || copyLength > 0xFFFFFFFFu || distance == 0 || distance > produced)
            return -1;
        const uint64_t stop = produced + copyLength;
        for (; produced < stop && produced < capacity; ++produced)
            destination[produced] = destination[produced - distance];
        produced = stop;
    }
}
