#include "sim/PackedFile.h"

#include <bit>
#include <cstring>

namespace {

using namespace packed_file;

uint32_t Load32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint64_t Load64(const uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little) {
        uint64_t v;
        std::memcpy(&v, p, 8);
        return v;
    } else {
        uint64_t v = 0;
        for (int i = 7; i >= 0; --i) {
            v = v << 8 | p[i];
        }
        return v;
    }
}

void Store64(uint8_t* p, uint64_t v) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(p, &v, 8);
    } else {
        for (int i = 0; i < 8; ++i) {
            p[i] = uint8_t(v >> (8 * i));
        }
    }
}

// Bits are taken from each byte lowest first, and a field's first bit is its lowest, so the
// stream reads as one little-endian bit string: a 64-bit buffer holds the next bits in its low
// end, `count` of them valid; the bits above are the next input bytes or 0.
//
// Refills without a branch: needs 8 readable bytes at `in` and a count below 64. Loads whole
// bytes above the valid bits and advances by the bytes that fully fit; the partly fitting byte
// is loaded again next time at the same place, so or-ing it in twice does no harm. Leaves 56 to
// 63 valid bits.
[[gnu::always_inline]] inline void RefillWide(const uint8_t*& in, uint64_t& bits, unsigned& count) {
    bits |= Load64(in) << count;
    in += (63 - count) >> 3;
    count |= 56;
}

// The exact path's reader: after Refill the buffer holds at least 57 bits unless the input is
// used up, in which case `count` is all that is left; a field longer than `count` therefore means
// the bits ran out.
struct BitReader {
    const uint8_t* in;
    const uint8_t* end;
    uint64_t bits = 0;
    unsigned count = 0;

    void Refill() {
        if (end - in >= 8) {
            RefillWide(in, bits, count);
        } else {
            while (count <= 56 && in < end) {
                bits |= uint64_t(*in++) << count;
                count += 8;
            }
        }
    }
    // The byte-wise refill can fill all 64 bits, so n may be 64: a plain shift by 64 is undefined.
    void Consume(unsigned n) {
        bits = n < 64 ? bits >> n : 0;
        count -= n;
    }
    uint64_t ValidBits() const { return count < 64 ? bits & ((uint64_t(1) << count) - 1) : bits; }
};

// A literal token by its first nine bits: its byte, with 0x100 added; 0 where the bits begin a
// copy or block mark (1, 0). The ninth bit is unused when the first is 0.
struct LiteralTable {
    uint16_t entry[512];
    constexpr LiteralTable() : entry() {
        for (unsigned bits = 0; bits < 512; ++bits) {
            if ((bits & 3) != 1) {
                entry[bits] =
                    uint16_t(0x100 | (bits & 1 ? 0x80 | (bits >> 2 & 0x7F) : bits >> 1 & 0x7F));
            }
        }
    }
};
constexpr LiteralTable kLiterals;

// A wide copy writes up to kCopySlack - 1 bytes past its end, and never fewer than kCopyMinimum.
constexpr size_t kCopySlack = 16;
constexpr size_t kCopyMinimum = 32;

// Appends `length` bytes each equal to the byte `distance` back, in wide stores. The caller has
// checked that the destination has room for kCopyMinimum bytes and for the copy with kCopySlack
// more, that the source lies inside the output, and, for a distance under 8, that 8 bytes stand
// before `out`. The result equals moving one byte at a time: a chunk reads only bytes already
// final, and a short distance is repeated from a register.
[[gnu::always_inline]] inline void WideCopy(uint8_t* out, uint32_t distance, size_t length) {
    const uint8_t* src = out - distance;
    if (distance >= 16) {
        std::memcpy(out, src, 16);
        std::memcpy(out + 16, src + 16, 16);
        for (size_t i = 32; i < length; i += 16) {
            std::memcpy(out + i, src + i, 16);
        }
    } else if (distance >= 8) {
        for (size_t i = 0; i < length; i += 8) {
            std::memcpy(out + i, src + i, 8);
        }
    } else {
        // The last `distance` bytes, doubled until they fill 8 bytes; stores advance by the largest
        // multiple of the distance that fits in 8, so each one starts at the run's first byte.
        const unsigned period = 8 * distance;
        uint64_t pattern = Load64(out - 8) >> (64 - period);
        pattern |= pattern << period;
        if (distance < 4) {
            pattern |= pattern << 2 * period;
        }
        if (distance < 2) {
            pattern |= pattern << 4 * period;
        }
        const size_t step = 8 - 8 % distance;
        for (size_t i = 0; i < length; i += step) {
            Store64(out + i, pattern);
        }
    }
}

// Takes the token at the bottom of `bits` into `byte` if it is a literal: 8 bits when its first
// bit is 0, else 9. The byte is stored either way; the fast loop has room for it, and the next
// token overwrites it.
[[gnu::always_inline]] inline bool TakeLiteral(uint64_t& bits, unsigned& count, uint8_t& byte) {
    const unsigned entry = kLiterals.entry[bits & 511];
    byte = uint8_t(entry);
    if (entry == 0) {
        return false;
    }
    const unsigned high = unsigned(bits & 1);
    bits = bits >> 8 >> high;
    count -= 8 + high;
    return true;
}

// Up to 18 literals, with a refill before each six. Returns how many. Unrolled, so that each
// exit returns a constant and each literal's branch has a place of its own for the predictor.
[[gnu::always_inline]] inline unsigned TakeLiterals(uint64_t& bits, unsigned& count, uint8_t* out,
                                                    const uint8_t*& in) {
#pragma GCC unroll 18
    for (unsigned i = 0; i < 18; ++i) {
        if (i == 6 || i == 12) {
            RefillWide(in, bits, count);
        }
        if (!TakeLiteral(bits, count, out[i])) {
            return i;
        }
    }
    return 18;
}

// The bulk of a stream, decoded while the refills of a turn (four at most) and the widest write
// of a token stay inside the buffers, so that nothing is checked per byte. Its speed is bounded by
// two chains. Each literal's start depends on the previous literal's first bit: literals are taken
// in runs of up to 18 with a refill before each six, the shift waits on that first bit alone, and a
// table gives the byte off that chain. Each copy adds a chain of its own, and often a mispredicted
// branch at the end of the literals before it: the common 12-bit distance form is decoded without
// working out the form's width, and the bytes move in wide chunks. Whatever it does not take (a
// copy that does not fit or reaches outside the output, a length code of more than 12 zero bits) it
// leaves unread, returning at that token boundary for the exact path to decide. It starts once 8
// bytes are out, so that a copy of a short distance always has 8 bytes behind it to repeat.
void DecodeFast(BitReader& r, uint8_t*& outRef, uint8_t* const begin, uint8_t* const end) {
    if (r.end - r.in < 32 || end - outRef < 64 || outRef - begin < 8) {
        return;
    }
    const uint8_t* const inLimit = r.end - 32;
    uint8_t* const outLimit = end - 64;
    const uint8_t* in = r.in;
    uint64_t bits = r.bits;
    unsigned count = r.count;
    uint8_t* out = outRef;
    while (in <= inLimit && out <= outLimit) {
        RefillWide(in, bits, count);
        const unsigned taken = TakeLiterals(bits, count, out, in);
        out += taken;
        if (taken == 18) {
            continue;
        }
        if (count < 41) {
            RefillWide(in, bits, count);  // a copy of up to 12 length bits takes 16 + 25 bits
        }
        // 1, 0, then the distance: 0 and 6 bits, 1, 0 and 8 bits, or 1, 1 and 12 bits.
        uint32_t distance;
        unsigned used;
        if ((bits & 12) == 12) {
            distance = 320 + (uint32_t(bits >> 4) & 0xFFF);
            used = 16;
        } else {
            const uint32_t nearForm = uint32_t(bits >> 3) & 0x3F;
            const uint32_t middleForm = 64 + (uint32_t(bits >> 4) & 0xFF);
            distance = (bits & 4) ? middleForm : nearForm;
            used = (bits & 4) ? 12 : 9;
        }
        if (distance == kBlockMarkDistance) {
            // The output is not full here, so the mark is skipped.
            bits >>= used;
            count -= used;
            continue;
        }
        // The length code lies within the 25 bits that are surely there: k zero bits, a one,
        // k field bits.
        const uint64_t rest = bits >> used;
        const auto k = unsigned(std::countr_zero(rest | uint64_t(1) << 25));
        if (k > 12 || size_t(distance) - 1 >= size_t(out - begin)) {
            break;
        }
        const size_t mask = (size_t(1) << k) - 1;
        const size_t length = (size_t(rest >> (k + 1)) & mask) + mask + 3;
        if (length > size_t(end - out) - kCopySlack) {
            break;
        }
        bits = rest >> (2 * k + 1);
        count -= used + 2 * k + 1;
        WideCopy(out, distance, length);
        out += length;
    }
    r.in = in;
    r.bits = bits;
    r.count = count;
    outRef = out;
}

// A copy on the exact path: wide where the destination has the room, else one byte at a time.
void CopyMatch(uint8_t* out, uint32_t distance, size_t length, size_t written, size_t room) {
    if (room >= length + kCopySlack && room >= kCopyMinimum && (distance >= 8 || written >= 8)) {
        WideCopy(out, distance, length);
        return;
    }
    const uint8_t* src = out - distance;
    for (size_t i = 0; i < length; ++i) {
        out[i] = src[i];
    }
}

}  // namespace

const char* PackedFileStatusName(PackedFileStatus status) {
    switch (status) {
        case PackedFileStatus::Ok:
            return "Ok";
        case PackedFileStatus::BadArgument:
            return "BadArgument";
        case PackedFileStatus::UnsupportedLayout:
            return "UnsupportedLayout";
        case PackedFileStatus::OutOfMemory:
            return "OutOfMemory";
        case PackedFileStatus::SizeMismatch:
            return "SizeMismatch";
        case PackedFileStatus::CheckMismatch:
            return "CheckMismatch";
        case PackedFileStatus::CorruptStream:
            return "CorruptStream";
        case PackedFileStatus::OpenFailed:
            return "OpenFailed";
    }
    return "Unknown";
}

// The decoder's state is local to the call, so decodes never share anything.
// Bytes the stream produces beyond the capacity are counted but not written, so a stream longer
// than its stated size ends at its block mark with a larger count (a SizeMismatch for the file).
// A copy reaching before the start of the output (distance 0 included) or a length beyond 32
// bits cannot be decoded at all and rejects the stream, as running out of bits does.
int64_t UnpackStream(const uint8_t* source, size_t length, uint8_t* destination, size_t capacity) {
    if (source == nullptr || length <= 4 || source[0] != 0x4A || source[1] != 0x4D) {
        return -1;
    }
    if (destination == nullptr && capacity != 0) {
        return -1;
    }
    BitReader r{source + 4, source + length};
    uint8_t* out = destination;
    uint8_t* const outEnd = destination + capacity;
    uint64_t dropped = 0;  // bytes the stream produced beyond the capacity

    for (;;) {
        DecodeFast(r, out, destination, outEnd);

        // One token, exactly, with every read and write checked.
        r.Refill();
        const uint64_t b = r.bits;
        if (const unsigned entry = kLiterals.entry[b & 511]; entry != 0) {
            const unsigned bits = 8 + unsigned(b & 1);
            if (r.count < bits) {
                return -1;
            }
            if (out != outEnd) {
                *out++ = uint8_t(entry);
            } else {
                ++dropped;
            }
            r.Consume(bits);
            continue;
        }
        if (r.count < 3) {
            return -1;
        }
        uint32_t distance;
        if ((b & 4) == 0) {
            if (r.count < 9) {
                return -1;
            }
            distance = uint32_t(b >> 3 & 0x3F);
            r.Consume(9);
        } else if (r.count < 4) {
            return -1;
        } else if ((b & 8) == 0) {
            if (r.count < 12) {
                return -1;
            }
            distance = 64 + uint32_t(b >> 4 & 0xFF);
            r.Consume(12);
        } else {
            if (r.count < 16) {
                return -1;
            }
            distance = 320 + uint32_t(b >> 4 & 0xFFF);
            r.Consume(16);
        }
        const uint64_t written = uint64_t(out - destination) + dropped;
        if (distance == kBlockMarkDistance) {
            if (written >= capacity) {
                return int64_t(written);
            }
            continue;
        }

        // Length code: k zero bits, a one bit, then a k-bit field.
        r.Refill();
        unsigned k = 0;
        for (;;) {
            const uint64_t valid = r.ValidBits();
            if (valid != 0) {
                const unsigned zeros = unsigned(std::countr_zero(valid));
                k += zeros;
                r.Consume(zeros + 1);
                break;
            }
            k += r.count;
            r.Consume(r.count);
            if (k > 32 || r.in == r.end) {
                return -1;
            }
            r.Refill();
        }
        if (k > 31) {
            return -1;
        }
        uint64_t copyLength = 3;
        if (k > 0) {
            r.Refill();
            if (r.count < k) {
                return -1;
            }
            copyLength = (r.bits & ((uint64_t(1) << k) - 1)) + (uint64_t(1) << k) + 2;
            r.Consume(k);
        }
        if (copyLength > 0xFFFFFFFFu || distance == 0 || distance > written) {
            return -1;
        }
        const size_t room = size_t(outEnd - out);
        const size_t kept = copyLength < room ? size_t(copyLength) : room;
        if (kept > 0) {
            CopyMatch(out, distance, kept, size_t(written), room);
            out += kept;
        }
        dropped += copyLength - kept;
    }
}

// A file too short for a field that is read reads as UnsupportedLayout: it lacks the layout of
// a packed file, and its stream was never looked at.
PackedFileStatus UnpackPackedImage(const uint8_t* file, size_t fileSize, const ImageHeap& heap,
                                   size_t* size, uint8_t** image) {
    if (size == nullptr || image == nullptr) {
        return PackedFileStatus::BadArgument;
    }
    *image = nullptr;
    if (file == nullptr || fileSize < kExtendedMarkOffset + 4) {
        return PackedFileStatus::UnsupportedLayout;
    }
    uint32_t headerSize = kPlainHeaderSize;
    if (Load32(file + kExtendedMarkOffset) == kExtendedMark) {
        if (fileSize < kExtendedHeaderSize) {
            return PackedFileStatus::UnsupportedLayout;
        }
        if (Load32(file + 54) != 0 || Load32(file + 156) != 0 || Load32(file + 160) != 0 ||
            Load32(file + 164) != 0) {
            return PackedFileStatus::UnsupportedLayout;
        }
        headerSize = kExtendedHeaderSize;
    }
    if (fileSize < size_t(headerSize) + kContainerSize) {
        return PackedFileStatus::UnsupportedLayout;
    }
    const uint8_t* container = file + headerSize;
    if (Load32(container) != kContainerMark) {
        return PackedFileStatus::UnsupportedLayout;
    }
    const uint32_t bodySize = Load32(container + 4);
    const uint32_t storedCheck = Load32(container + 8);

    // The sum is taken in 64 bits: in a 32-bit size it wraps for a body near 4 GiB, and the
    // decoder, bounded by the body size, would then write far past a small block.
    const uint64_t total = uint64_t(headerSize) + bodySize;
    if (total > uint64_t(PTRDIFF_MAX)) {
        return PackedFileStatus::OutOfMemory;
    }
    auto* block = static_cast<uint8_t*>(heap.allocate(size_t(total)));
    if (block == nullptr) {
        return PackedFileStatus::OutOfMemory;
    }
    std::memcpy(block, file, headerSize);
    std::memset(block + kFlagsOffset, 0, 4);

    const int64_t written =
        UnpackStream(container + kContainerSize, fileSize - headerSize - kContainerSize,
                     block + headerSize, bodySize);
    PackedFileStatus status = PackedFileStatus::Ok;
    if (written < 0) {
        status = PackedFileStatus::CorruptStream;
    } else if (uint64_t(written) != bodySize) {
        status = PackedFileStatus::SizeMismatch;
    } else if (storedCheck != 0) {
        // The check value of every body is 0; no checksum is computed.
        status = PackedFileStatus::CheckMismatch;
    }
    if (status != PackedFileStatus::Ok) {
        heap.release(block);
        return status;
    }
    *size = size_t(total);
    *image = block;
    return PackedFileStatus::Ok;
}

PackedFileStatus OpenPackedFile(const char* path, size_t* size, uint8_t** image) {
    if (size == nullptr || image == nullptr) {
        return PackedFileStatus::BadArgument;
    }
    *image = nullptr;
    const uint8_t* view = nullptr;
    size_t fileSize = 0;
    if (path == nullptr || MapFileReadOnly(path, &view, &fileSize) != 0) {
        return PackedFileStatus::OpenFailed;
    }
    const PackedFileStatus status =
        UnpackPackedImage(view, fileSize, SystemImageHeap(), size, image);
    UnmapFileView(view, fileSize);
    return status;
}
