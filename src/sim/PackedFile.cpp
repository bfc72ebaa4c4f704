#include "sim/PackedFile.h"

#include <bit>
#include <cstddef>
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

// `s` plus bit `s` of `w`. A bit test and an add of its carry: the compiler's own choice, a
// shift, a mask and an add, would make the chain from one literal to the next a step longer.
// Other processors take that plain form, and so does an x86-64 build with
// SCENEWRIGHT_PLAIN_ADD_BIT defined, for its tests.
[[gnu::always_inline]] inline unsigned AddBit(uint64_t w, unsigned s) {
#if defined(__x86_64__) && defined(__GNUC__) && !defined(SCENEWRIGHT_PLAIN_ADD_BIT)
    asm("btq %q[s], %[w]\n\tadcl $0, %[s]" : [s] "+r"(s) : [w] "r"(w) : "cc");
    return s;
#else
    return s + unsigned(w >> s & 1);
#endif
}

// The fast loop reads the input by position: a byte address and a bit offset `s` from it. A
// literal is 8 bits plus its first bit, so the literal j places after a given one starts at
// bit s of the word at its address + j, s having grown by the 9-bit literals between: the words
// load without waiting for the literals before, and the chain from one literal to the next is
// only the bit test and the add of AddBit. Literals are taken in stretches of kStretch, after
// each of which the address moves on by the stretch and by the whole bytes of s.
constexpr unsigned kStretch = 20;
constexpr unsigned kRun = 2 * kStretch;

// Up to kRun literals from bit `s` of the byte at `base` on; s is at most 36. Returns how many,
// with `base` and `s` at the token after them: s is at most 55 before a copy or block mark, and
// at most 27 after kRun literals. Unrolled, so that each literal's branch has a place of its own
// for the predictor: a run of up to kRun literals ends at a branch that has seen it end before.
[[gnu::always_inline]] inline unsigned TakeLiterals(const uint8_t*& base, unsigned& s,
                                                    uint8_t* out) {
    const uint8_t* at = base;
    unsigned whole = s >> 3;
#pragma GCC unroll 40
    for (unsigned j = 0; j < kRun; ++j) {
        const unsigned i = j % kStretch;
        const uint64_t w = Load64(at + i);
        // 1, 0 begins a copy or a block mark: the bits minus 1 end in two zeros.
        if (((unsigned(w >> s) - 1) & 3) == 0) {
            base = at + i;
            return j;
        }
        s = AddBit(w, s);
        // From the literal's last bit of length on: that bit, which is its first bit for a
        // literal of 8 bits and 1 for one of 9, then its 7 value bits; rotated by one, its byte.
        const auto bits = uint8_t(w >> s);
        out[j] = uint8_t(bits >> 1 | bits << 7);
        if (i == kStretch - 1) {
            at += kStretch + whole;
            s -= 8 * whole;
            whole = s >> 3;
        }
    }
    base = at;
    return kRun;
}

// Where the fast loop stands: the position in the input and the end of the output.
struct FastState {
    const uint8_t* base;
    unsigned s;
    uint8_t* out;
};

// Takes the copy at the position, whose distance takes `used` of `bits`, the 64 bits from the
// position on, if it fits the loop: a length code of at most 12 zero bits, a copy that stays
// inside the output with kCopySlack to spare, and, while the output is shorter than the window
// (`kYoung`), a distance inside it. Returns false, with nothing taken, otherwise.
template <bool kYoung>
[[gnu::always_inline]] inline bool TakeCopy(FastState& f, uint64_t bits, uint32_t distance,
                                            unsigned used, const uint8_t* begin,
                                            const uint8_t* copyEnd) {
    // The length code: k zero bits, a one, k field bits, within the 48 bits after the distance.
    const uint64_t rest = bits >> used;
    const auto k = unsigned(std::countr_zero(rest | uint64_t(1) << 25));
    if (k > 12 || (kYoung && size_t(distance) - 1 >= size_t(f.out - begin))) {
        return false;
    }
    const size_t mask = (size_t(1) << k) - 1;
    const size_t length = (size_t(rest >> (k + 1)) & mask) + mask + 3;
    if (length > size_t(copyEnd - f.out)) {
        return false;
    }
    // The whole bytes of the distance move into the address, with those of s: the literals
    // after the copy can load before its length is known.
    f.base += (f.s >> 3) + (used >> 3);
    f.s = (f.s & 7) + (used & 7) + 2 * k + 1;
    WideCopy(f.out, distance, length);
    f.out += length;
    return true;
}

// The bulk of a stream, decoded while the reads of a turn (64 bytes at most) and its widest write
// stay inside the buffers, so that nothing is checked per byte. Whatever it does not take it
// leaves unread, returning at that token boundary for the exact path to decide. A young output,
// shorter than the window, gets its own loop, where each distance is checked against it; past
// it only the distance 0 can reach outside.
template <bool kYoung>
void DecodeRuns(FastState& f, uint8_t* begin, uint8_t* end, const uint8_t* inLimit) {
    uint8_t* const outLimit =
        kYoung && size_t(end - begin) > kWindowSize + 128 ? begin + kWindowSize : end - 128;
    const uint8_t* const copyEnd = end - kCopySlack;
    while (f.base <= inLimit && f.out <= outLimit) {
        const unsigned taken = TakeLiterals(f.base, f.s, f.out);
        f.out += taken;
        if (taken == kRun) {
            continue;
        }
        // 64 bits from the position on, from the word there and the one after it.
        const uint64_t bits = Load64(f.base) >> f.s | Load64(f.base + 8) << 1 << (63 - f.s);
        // 1, 0, then the distance: 0 and 6 bits, 1, 0 and 8 bits, or 1, 1 and 12 bits. The
        // 12-bit form is the common one and has a path of its own.
        if ((bits & 12) == 12) {
            const uint32_t distance = 320 + (uint32_t(bits >> 4) & 0xFFF);
            if (distance == kBlockMarkDistance) {
                // The output is not full here, so the mark is skipped.
                f.base += (f.s >> 3) + 2;
                f.s &= 7;
                continue;
            }
            if (!TakeCopy<kYoung>(f, bits, distance, 16, begin, copyEnd)) {
                break;
            }
        } else {
            const uint32_t nearForm = uint32_t(bits >> 3) & 0x3F;
            const uint32_t middleForm = 64 + (uint32_t(bits >> 4) & 0xFF);
            const uint32_t distance = (bits & 4) ? middleForm : nearForm;
            const unsigned used = (bits & 4) ? 12 : 9;
            if ((!kYoung && distance == 0) ||
                !TakeCopy<kYoung>(f, bits, distance, used, begin, copyEnd)) {
                break;
            }
        }
    }
}

// Runs the fast loops from the exact path's reader and hands the position back to it. They
// start once 8 bytes are out, so that a copy of a short distance always has 8 bytes behind it to
// repeat.
void DecodeFast(BitReader& r, uint8_t*& out, uint8_t* const begin, uint8_t* const end) {
    if (r.end - r.in < 72 || end - out < 128 || out - begin < 8 || r.count > 64) {
        return;
    }
    // The reader's valid bits end at `in`: the position is that many bits before it.
    const unsigned back = (r.count + 7) >> 3;
    FastState f{r.in - back, 8 * back - r.count, out};
    const uint8_t* const inLimit = r.end - 72;
    if (size_t(f.out - begin) < kWindowSize) {
        DecodeRuns<true>(f, begin, end, inLimit);
    }
    if (size_t(f.out - begin) >= kWindowSize) {
        DecodeRuns<false>(f, begin, end, inLimit);
    }
    const uint8_t* const at = f.base + (f.s >> 3);
    r.in = at + 1;
    r.bits = *at >> (f.s & 7);
    r.count = 8 - (f.s & 7);
    out = f.out;
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
