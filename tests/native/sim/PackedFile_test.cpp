#include "sim/PackedFile.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "Packer.h"
#include "ScanFiles.h"
#include "common/ReferenceUnpack.h"

using namespace scan_files;

namespace {

// Builds streams token by token, written down from the format rather than from the packer.
struct StreamBits {
    Bytes bytes = {0x4A, 0x4D, 0x00, 0x01};
    uint32_t acc = 0, used = 0;
    StreamBits& Put(uint64_t value, unsigned width) {
        for (unsigned i = 0; i < width; ++i) {
            acc |= uint32_t(value >> i & 1) << used;
            if (++used == 8) {
                bytes.push_back(uint8_t(acc));
                acc = used = 0;
            }
        }
        return *this;
    }
    StreamBits& Literal(uint8_t v) { return v < 128 ? Put(0, 1).Put(v, 7) : Put(3, 2).Put(v, 7); }
    StreamBits& Distance(uint32_t d) {
        Put(1, 2);
        return d < 64    ? Put(0, 1).Put(d, 6)
               : d < 320 ? Put(1, 2).Put(d - 64, 8)
                         : Put(3, 2).Put(d - 320, 12);
    }
    StreamBits& Mark() { return Distance(4415); }
    StreamBits& Copy(uint32_t d, unsigned k, uint32_t field) {
        return Distance(d).Put(0, k).Put(1, 1).Put(field, k);
    }
    Bytes Done() {
        Bytes out = bytes;
        if (used)
            out.push_back(uint8_t(acc));
        return out;
    }
};

// A packed file by hand: header of `h` bytes, container, stream.
Bytes PackedFile(uint32_t h, uint32_t bodySize, const Bytes& stream, uint32_t check = 0) {
    Bytes f(h + 20, 0);
    Put(f, 118, h == 168 ? 0x87654321 : 0);
    Put(f, 122, 0x80000000);
    Put(f, h, 0xABCDEF01);
    Put(f, h + 4, bodySize);
    Put(f, h + 8, check);
    f.insert(f.end(), stream.begin(), stream.end());
    return f;
}

PackedFileStatus Open(const Bytes& file, Bytes* image = nullptr) {
    size_t size = 0;
    uint8_t* block = nullptr;
    const PackedFileStatus s =
        UnpackPackedImage(file.data(), file.size(), SystemImageHeap(), &size, &block);
    if (s == PackedFileStatus::Ok && image)
        image->assign(block, block + size);
    if (s == PackedFileStatus::Ok)
        ReleasePackedImage(size, block);
    EXPECT_EQ(s == PackedFileStatus::Ok, block != nullptr);
    return s;
}

// Decodes the first `length` bytes of a stream into exactly `capacity` bytes (so that ASan sees
// any write past them) with the program's decoder and the plain one; both must give the same
// result and bytes. The result, and the bytes in `out`.
int64_t Decode(const Bytes& stream, size_t capacity, Bytes* out = nullptr,
               size_t length = SIZE_MAX) {
    length = std::min(length, stream.size());
    Bytes fast(capacity), plain(capacity);
    const int64_t n = UnpackStream(stream.data(), length, fast.data(), capacity);
    EXPECT_EQ(n, ReferenceUnpackStream(stream.data(), length, plain.data(), capacity))
        << length << " of " << stream.size() << " bytes into " << capacity;
    EXPECT_TRUE(n < 0 || fast == plain)
        << length << " of " << stream.size() << " into " << capacity;
    if (out)
        *out = fast;
    return n;
}

}  // namespace

TEST(PackedStream, TokenFormsBlockMarksAndRefusals) {
    using S = StreamBits;
    Bytes out;
    // Both literal forms, then distance 1 length 10 (k = 3, field 0); the mark after a full
    // output ends the stream, one before it is skipped.
    const Bytes copy = S().Literal(0x7F).Literal(0x80).Literal(0x41).Copy(1, 3, 0).Mark().Done();
    EXPECT_EQ(Decode(copy, 13, &out), 13);
    EXPECT_EQ(
        out, (Bytes{0x7F, 0x80, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41}));
    EXPECT_EQ(Decode(S().Mark().Literal(1).Mark().Literal(2).Mark().Literal(3).Done(), 2, &out), 2);
    EXPECT_EQ(out, (Bytes{1, 2}));
    EXPECT_EQ(Decode(S().Literal(1).Literal(2).Copy(1, 2, 3).Mark().Done(), 2), 11);  // counted
    EXPECT_EQ(UnpackStream(S().Mark().Done().data(), 6, nullptr, 0), 0);
    const Bytes refused[] = {
        copy,                                          // output never full at a mark
        S().Literal(1).Literal(2).Done(),              // full, but no mark follows
        {0x4A, 0x4D, 0, 1},                            // exactly 4 bytes
        {0x4D, 0x4A, 0, 1, 0},                         // wrong mark bytes
        S().Literal(1).Copy(0, 0, 0).Mark().Done(),    // distance 0
        S().Literal(1).Copy(2, 0, 0).Mark().Done(),    // before the start
        S().Literal(1).Copy(1, 32, 0).Mark().Done(),   // length beyond 32 bits
        S().Literal(1).Distance(1).Put(0, 40).Done(),  // the length's unary code runs out
    };
    for (const Bytes& stream : refused)
        EXPECT_EQ(Decode(stream, 600), -1);
    // Length codes: a single 1 bit is 3; k = 1 gives 4 or 5; k = 8 gives 258 to 513.
    for (auto [k, field, length] :
         {std::tuple{0u, 0u, 3u}, {1u, 0u, 4u}, {1u, 1u, 5u}, {8u, 0u, 258u}, {8u, 255u, 513u}}) {
        EXPECT_EQ(
            Decode(S().Literal(1).Literal(2).Copy(2, k, field).Mark().Done(), 2 + length, &out),
            int64_t(2 + length));
        EXPECT_EQ(out[length], out[length % 2]);
    }
    // The three distance forms, each reaching exactly back to the first byte.
    for (uint32_t d : {63u, 64u, 319u, 320u, 4414u}) {
        S s;
        for (uint32_t i = 0; i < d; ++i)
            s.Literal(uint8_t(i * 7));
        EXPECT_EQ(Decode(s.Copy(d, 0, 0).Mark().Done(), d + 3, &out), int64_t(d + 3)) << d;
        EXPECT_EQ(Bytes(out.end() - 3, out.end()), Bytes(out.begin(), out.begin() + 3)) << d;
    }
    // Zero bits up to the end, at every bit alignment (literals above 127 take 9 bits): the
    // last byte-wise refill may fill all 64 bits of the buffer.
    for (int wide = 0; wide < 8; ++wide) {
        S zeros;
        for (int i = 0; i < wide; ++i)
            zeros.Literal(200);
        zeros.Literal(1).Distance(1).Put(0, 40);
        for (int extra = 0; extra < 12; ++extra)
            EXPECT_EQ(Decode(zeros.Put(0, 8).Done(), 64), -1);
    }
}

TEST(PackedFileImage, HeaderContainerAndStatuses) {
    const Bytes stream = StreamBits().Literal('A').Copy(1, 1, 1).Mark().Done();
    Bytes image;
    for (uint32_t h : {128u, 168u}) {
        Bytes file = PackedFile(h, 6, stream);
        Put(file, 122, 0xFFFFFFFF);  // other flag bits go too
        file[10] = 0x33;
        ASSERT_EQ(Open(file, &image), PackedFileStatus::Ok);
        EXPECT_EQ(image.size(), h + 6);
        EXPECT_EQ(Bytes(image.begin() + 122, image.begin() + 126), Bytes(4, 0));
        EXPECT_EQ(image[10], 0x33);
        EXPECT_EQ(Bytes(image.begin() + h, image.end()), Bytes(6, 'A'));
    }
    for (size_t at : {54u, 156u, 160u, 164u}) {
        Bytes file = PackedFile(168, 6, stream);
        Put(file, at, 1);
        EXPECT_EQ(Open(file), PackedFileStatus::UnsupportedLayout) << at;
    }
    Bytes noMark = PackedFile(128, 6, stream);
    Put(noMark, 128, 0);
    EXPECT_EQ(Open(noMark), PackedFileStatus::UnsupportedLayout);
    EXPECT_EQ(Open(PackedFile(128, 6, stream, 1)), PackedFileStatus::CheckMismatch);
    EXPECT_EQ(Open(PackedFile(128, 5, stream)), PackedFileStatus::SizeMismatch);
    EXPECT_EQ(Open(PackedFile(128, 7, stream)), PackedFileStatus::CorruptStream);
    EXPECT_EQ(Open(PackedFile(128, 6, Bytes{0x4A, 0x4D, 0, 1})), PackedFileStatus::CorruptStream);
    // U = 0 and a lone block mark: just the header.
    ASSERT_EQ(Open(PackedFile(128, 0, StreamBits().Mark().Done()), &image), PackedFileStatus::Ok);
    EXPECT_EQ(image.size(), 128u);
    // Files too short for the fields read.
    const Bytes full = PackedFile(168, 6, stream);
    for (size_t length : {0u, 100u, 121u, 150u, 187u})
        EXPECT_EQ(Open(Bytes(full.begin(), full.begin() + length)),
                  PackedFileStatus::UnsupportedLayout)
            << length;
}

TEST(PackedFileImage, HugeBodySizeDoesNotWrap) {
    // 128 + 0xFFFFFFF0 wraps to 0x70 in 32 bits; the image size must not. A 64-bit build asks
    // the heap for it; a 32-bit one, where no block is that large, refuses it without asking.
    const Bytes file = PackedFile(128, 0xFFFFFFF0u, StreamBits().Literal(1).Mark().Done());
    static size_t requested = 0;
    const ImageHeap refusing{[](size_t size) -> void* { return requested = size, nullptr; },
                             [](void*) { ADD_FAILURE() << "nothing was allocated"; }};
    size_t size = 0;
    uint8_t* image = reinterpret_cast<uint8_t*>(&size);
    EXPECT_EQ(UnpackPackedImage(file.data(), file.size(), refusing, &size, &image),
              PackedFileStatus::OutOfMemory);
    EXPECT_EQ(image, nullptr);
    const uint64_t total = 128 + uint64_t(0xFFFFFFF0u);
    EXPECT_EQ(uint64_t(requested), total <= uint64_t(PTRDIFF_MAX) ? total : 0);
}

TEST(PackedFileRoundTrip, PackerOutputReadsBack) {
    std::mt19937 rng(5);
    Bytes random(70000);
    for (auto& b : random)
        b = uint8_t(rng());
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text +=
            "OBJECT " + std::to_string(i % 97) + " name=Hangar_" + std::to_string(i % 13) + "\n";
    Bytes mixed(text.begin(), text.end());
    mixed.insert(mixed.end(), random.begin(), random.begin() + 5000);
    mixed.insert(mixed.end(), 300000, 0);  // one distance-1 run: long length codes
    for (int i = 0; i < 5000; ++i)
        mixed.push_back(uint8_t(i % 3 + i / 1000));  // short periods
    const struct {
        Bytes body;
        uint32_t header;
        packlib::PackOptions options;
    } cases[] = {{{}, 128, {}},
                 {{42}, 128, {}},
                 {random, 128, {}},
                 {mixed, 168, {}},
                 {mixed, 128, {0, 1}},                  // final mark only, shallow search
                 {Bytes(1 << 20, 0x41), 128, {0, 8}}};  // one copy of over 2^20 bytes
    for (const auto& c : cases) {
        Bytes plain(c.header, 0x5A);
        Put(plain, 118, c.header == 168 ? 0x87654321 : 0);
        Put(plain, 122, 0);
        if (c.header == 168)
            for (size_t at : {54u, 156u, 160u, 164u})
                Put(plain, at, 0);
        plain.insert(plain.end(), c.body.begin(), c.body.end());
        Bytes packed, image;
        ASSERT_TRUE(packlib::PackLibraryFile(plain, packed, nullptr, c.options));
        ASSERT_EQ(Open(packed, &image), PackedFileStatus::Ok);
        EXPECT_TRUE(image == plain) << "body of " << c.body.size() << " bytes differs";
    }
    EXPECT_LT(packlib::PackStream(Bytes(text.begin(), text.end())).size(), text.size() / 4);
}

// The fast loop hands over to the exact path near the ends of the input and the output and for
// tokens it leaves alone; both must read every stream as the format does. Streams of random
// tokens of every form (both literal forms, each distance form, distances under 8, 8 to 15 and
// above, lengths of up to 13 length bits, block marks, now and then a distance reaching too
// far), cut at every length and decoded into capacities around their output and the loop's
// thresholds.
TEST(PackedStream, AgreesWithPlainDecoder) {
    std::mt19937 rng(18);
    const uint32_t distances[] = {1,  2,  3,  4,  5,  6,   7,   8,   9,    15,
                                  16, 17, 31, 63, 64, 300, 319, 320, 1261, 4414};
    for (int round = 0; round < 200; ++round) {
        StreamBits s;
        uint64_t produced = 0;
        for (int t = int(rng() % 60); t > 0; --t) {
            const unsigned kind = rng() % 16;
            if (kind < 8 || produced == 0) {
                s.Literal(uint8_t(rng()));
                ++produced;
            } else if (kind == 8) {
                s.Mark();
            } else {
                uint32_t d = distances[rng() % std::size(distances)];
                if (d > produced)
                    d = rng() % 50 ? 1 + uint32_t(rng() % produced) : uint32_t(produced + 1);
                const unsigned k = rng() % 8 ? rng() % 7 : rng() % 14;
                const uint32_t field = rng() & ((1u << k) - 1);
                s.Copy(rng() % 200 ? d : 0, k, field);
                produced += field + (uint64_t(1) << k) + 2;
            }
        }
        const Bytes stream = s.Mark().Done();
        const size_t size = size_t(produced);
        for (size_t capacity :
             {size_t(0), size_t(1), size_t(63), size_t(64), size_t(65), size / 2, size - 1 + !size,
              size, size + 1, size + 64, size_t(rng() % (size + 1))})
            Decode(stream, capacity);
        for (size_t length = 5; length < stream.size(); ++length)
            Decode(stream, size, nullptr, length);
    }
    // Packer output of bodies whose ends fall around the thresholds, and flipped bits in it.
    for (size_t n = 0; n < 300; n += 1 + n / 16) {
        Bytes body(n);
        for (size_t i = 0; i < n; ++i)
            body[i] = uint8_t(i % 7 < 4 ? i % 5 : rng());
        Bytes stream = packlib::PackStream(body, {uint32_t(1 + rng() % 64), 8});
        for (size_t capacity : {n - 1 + !n, n, n + 1})
            Decode(stream, capacity);
        for (int flip = 0; flip < 20 && stream.size() > 4; ++flip) {
            Bytes bad = stream;
            bad[4 + rng() % (bad.size() - 4)] ^= uint8_t(1 << rng() % 8);
            Decode(bad, n);
        }
    }
}
