#include "Packer.h"

#include <algorithm>
#include <bit>

#include "sim/PackedFile.h"

namespace packlib {
namespace {

using namespace packed_file;

constexpr uint32_t kMinMatch = 3;
constexpr uint32_t kMaxMatch = 1u << 24;  // well inside what a length code can say
constexpr uint32_t kHashBits = 15;
constexpr uint32_t kChainSize = 8192;  // a power of two above the window
static_assert(kChainSize > kWindowSize);

// Fields go out lowest bit first, bytes filled from their lowest bit, as the decoder reads them.
class BitWriter {
  public:
    explicit BitWriter(std::vector<uint8_t>& bytes) : out(bytes) {}
    void Put(uint32_t value, unsigned width) {  // width 0 to 32
        acc |= (uint64_t(value) & ((uint64_t(1) << width) - 1)) << used;
        used += width;
        while (used >= 8) {
            out.push_back(uint8_t(acc));
            acc >>= 8;
            used -= 8;
        }
    }
    void Flush() {
        if (used > 0) {
            out.push_back(uint8_t(acc));
        }
        acc = 0;
        used = 0;
    }

  private:
    std::vector<uint8_t>& out;
    uint64_t acc = 0;
    unsigned used = 0;
};

void PutLiteral(BitWriter& w, uint8_t v) {
    if (v < 128) {
        w.Put(0, 1);
        w.Put(v, 7);
    } else {
        w.Put(0b11, 2);
        w.Put(v - 128u, 7);
    }
}

void PutDistance(BitWriter& w, uint32_t d) {
    w.Put(0b01, 2);  // 1 then 0: a copy or a block mark
    if (d < 64) {
        w.Put(0, 1);
        w.Put(d, 6);
    } else if (d < 320) {
        w.Put(0b01, 2);
        w.Put(d - 64, 8);
    } else {
        w.Put(0b11, 2);
        w.Put(d - 320, 12);
    }
}

// k zero bits, a one bit, then the k low bits of L - 2, where k is the position of its top bit.
void PutLength(BitWriter& w, uint32_t length) {
    const uint32_t rest = length - 2;
    const unsigned k = unsigned(std::bit_width(rest)) - 1;
    w.Put(0, k);
    w.Put(1, 1);
    w.Put(rest, k);
}

uint32_t Hash3(const uint8_t* p) {
    const uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    return (v * 2654435761u) >> (32 - kHashBits);
}

struct Match {
    uint32_t length = 0;
    uint32_t distance = 0;
};

class MatchFinder {
  public:
    MatchFinder(std::span<const uint8_t> bytes, int depth)
        : data(bytes),
          chainDepth(std::max(depth, 1)),
          head(size_t(1) << kHashBits, kNone),
          prev(kChainSize, kNone) {}

    void Insert(size_t pos) {
        if (pos + kMinMatch > data.size()) {
            return;
        }
        const uint32_t h = Hash3(&data[pos]);
        prev[pos & (kChainSize - 1)] = head[h];
        head[h] = uint32_t(pos);
    }

    // Longest earlier match within the window; the nearer of equal lengths, being cheaper.
    Match Find(size_t pos) const {
        Match best;
        if (pos + kMinMatch > data.size()) {
            return best;
        }
        const size_t limit = std::min<size_t>(data.size() - pos, kMaxMatch);
        uint32_t candidate = head[Hash3(&data[pos])];
        for (int tries = chainDepth; tries > 0 && candidate != kNone; --tries) {
            const size_t distance = pos - candidate;
            if (distance == 0 || distance > kWindowSize) {
                break;
            }
            const uint8_t* a = &data[candidate];
            const uint8_t* b = &data[pos];
            // A candidate that differs at the byte past the best length cannot beat it.
            if (a[best.length] == b[best.length]) {
                size_t n = 0;
                while (n < limit && a[n] == b[n]) {
                    ++n;
                }
                if (n > best.length) {
                    best = {uint32_t(n), uint32_t(distance)};
                    if (n == limit) {
                        break;
                    }
                }
            }
            const uint32_t next = prev[candidate & (kChainSize - 1)];
            if (next == kNone || next >= candidate) {
                break;
            }
            candidate = next;
        }
        if (best.length < kMinMatch) {
            best = {};
        }
        return best;
    }

  private:
    static constexpr uint32_t kNone = 0xFFFFFFFF;
    std::span<const uint8_t> data;
    int chainDepth;
    std::vector<uint32_t> head;
    std::vector<uint32_t> prev;
};

uint32_t Load32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void Append32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(uint8_t(v >> (8 * i)));
    }
}

}  // namespace

std::vector<uint8_t> PackStream(std::span<const uint8_t> body, const PackOptions& options) {
    std::vector<uint8_t> out = {0x4A, 0x4D, 0x00, 0x01};
    out.reserve(body.size() / 2 + 16);
    BitWriter w(out);
    MatchFinder finder(body, options.chainDepth);

    size_t pos = 0;
    size_t nextMark = options.blockSize ? options.blockSize : SIZE_MAX;
    while (pos < body.size()) {
        Match here = finder.Find(pos);
        finder.Insert(pos);
        if (here.length < kMinMatch) {
            PutLiteral(w, body[pos]);
            ++pos;
        } else {
            // One step of lazy matching: a longer match one byte on is worth a literal.
            const Match next = pos + 1 < body.size() ? finder.Find(pos + 1) : Match{};
            if (next.length > here.length + 1) {
                PutLiteral(w, body[pos]);
                ++pos;
                finder.Insert(pos);
                here = next;
            }
            PutDistance(w, here.distance);
            PutLength(w, here.length);
            for (size_t i = pos + 1; i < pos + here.length; ++i) {
                finder.Insert(i);
            }
            pos += here.length;
        }
        if (pos >= nextMark && pos < body.size()) {
            PutDistance(w, kBlockMarkDistance);
            nextMark = pos + options.blockSize;
        }
    }
    PutDistance(w, kBlockMarkDistance);
    w.Flush();
    return out;
}

bool PackLibraryFile(std::span<const uint8_t> plain, std::vector<uint8_t>& packed,
                     std::string* error, const PackOptions& options) {
    auto fail = [error](const char* why) {
        if (error != nullptr) {
            *error = why;
        }
        return false;
    };
    if (plain.size() < kPlainHeaderSize) {
        return fail("the file is shorter than a library file header");
    }
    uint32_t headerSize = kPlainHeaderSize;
    if (Load32(&plain[kExtendedMarkOffset]) == kExtendedMark) {
        headerSize = kExtendedHeaderSize;
        if (plain.size() < headerSize) {
            return fail("the file is shorter than its extended header");
        }
        if (Load32(&plain[54]) != 0 || Load32(&plain[156]) != 0 || Load32(&plain[160]) != 0 ||
            Load32(&plain[164]) != 0) {
            return fail("the extended header has values a packed file may not carry");
        }
    }
    if (Load32(&plain[kFlagsOffset]) & kPackedFlag) {
        return fail("the file is already marked packed");
    }
    const std::span<const uint8_t> body = plain.subspan(headerSize);
    if (body.size() > 0xFFFFFFFFu) {
        return fail("the body is larger than 4 GiB");
    }

    std::vector<uint8_t> stream = PackStream(body, options);
    packed.assign(plain.begin(), plain.begin() + headerSize);
    const uint32_t flags = Load32(&plain[kFlagsOffset]) | kPackedFlag;
    for (int i = 0; i < 4; ++i) {
        packed[kFlagsOffset + i] = uint8_t(flags >> (8 * i));
    }
    Append32(packed, kContainerMark);
    Append32(packed, uint32_t(body.size()));
    Append32(packed, 0);  // check value: always 0
    Append32(packed, 0);
    Append32(packed, 0);
    packed.insert(packed.end(), stream.begin(), stream.end());
    return true;
}

}  // namespace packlib
