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

// Bits are taken from each byte lowest first, and a field's first bit is its lowest, so the
// stream reads as one little-endian bit string: a 64-bit buffer holds the next bits in its low
// end. After Refill the buffer holds at least 57 bits unless the input is used up, in which case
// `count` is all that is left; a field longer than `count` therefore means the bits ran out.
struct BitReader {
    const uint8_t* in;
    const uint8_t* end;
    uint64_t bits = 0;
    unsigned count = 0;  // valid low bits of `bits`; bits above it are the next input bytes or 0

    void Refill() {
        if (end - in >= 8) {
            // Loads whole bytes above the valid bits and advances by the bytes that fully fit;
            // the partly fitting byte is loaded again next time at the same place.
            bits |= Load64(in) << count;
            in += (63 - count) >> 3;
            count |= 56;
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

// Appends `length` bytes each equal to the byte `distance` back. The caller has checked that the
// source lies inside the output and the length fits. Where the destination has slack for a
// whole last chunk the bytes move in chunks no wider than the distance, which gives the same
// bytes as one at a time: every chunk reads only bytes already final.
void CopyMatch(uint8_t* out, uint32_t distance, size_t length, const uint8_t* outEnd) {
    const uint8_t* src = out - distance;
    if (size_t(outEnd - out) < length + 16) {
        for (size_t i = 0; i < length; ++i) {
            out[i] = src[i];
        }
        return;
    }
    if (distance >= 16) {
        for (size_t i = 0; i < length; i += 16) {
            std::memcpy(out + i, src + i, 16);
        }
        return;
    }
    if (distance == 1) {
        std::memset(out, *src, length);
        return;
    }
    // A run of period d also repeats at any multiple of d: copy one period by bytes until a
    // multiple of at least 8 exists behind the write position, then move 8 bytes at a time.
    uint32_t wide = distance >= 8 ? distance : distance * ((8 + distance - 1) / distance);
    size_t head = wide - distance < length ? wide - distance : length;
    for (size_t i = 0; i < head; ++i) {
        out[i] = src[i];
    }
    for (size_t i = head; i < length; i += 8) {
        std::memcpy(out + i, out + i - wide, 8);
    }
}

// The next nine bits decide a literal: its byte value, with its bit count (8 or 9) above; 0
// where the bits begin a copy or block mark.
struct LiteralTable {
    uint16_t entries[512];
    constexpr LiteralTable() : entries() {
        for (unsigned bits = 0; bits < 512; ++bits) {
            if ((bits & 1) == 0) {
                entries[bits] = uint16_t(8 << 8 | (bits >> 1 & 0x7F));
            } else if (bits & 2) {
                entries[bits] = uint16_t(9 << 8 | 0x80 | (bits >> 2 & 0x7F));
            }
        }
    }
};
constexpr LiteralTable kLiteralTable;

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
        r.Refill();
        // Runs of literals dominate poorly compressible data: while the buffer holds six
        // literals' worth of bits and the output has room for them, decode them from the table.
        if (r.count >= 54 && size_t(outEnd - out) >= 6) {
            int i = 0;
            for (; i < 6; ++i) {
                const uint16_t e = kLiteralTable.entries[r.bits & 511];
                if (e == 0) {
                    break;
                }
                *out++ = uint8_t(e);
                r.Consume(e >> 8);
            }
            if (i == 6) {
                continue;
            }
            r.Refill();
        }
        const uint64_t b = r.bits;
        if ((b & 1) == 0) {
            if (r.count < 8) {
                return -1;
            }
            if (out != outEnd) {
                *out++ = uint8_t(b >> 1 & 0x7F);
            } else {
                ++dropped;
            }
            r.Consume(8);
            continue;
        }
        if (r.count < 2) {
            return -1;
        }
        if (b & 2) {
            if (r.count < 9) {
                return -1;
            }
            if (out != outEnd) {
                *out++ = uint8_t(0x80 | (b >> 2 & 0x7F));
            } else {
                ++dropped;
            }
            r.Consume(9);
            continue;
        }

        uint32_t distance;
        if (r.count < 3) {
            return -1;
        }
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
            CopyMatch(out, distance, kept, outEnd);
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
