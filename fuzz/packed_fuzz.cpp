// Packed library files over arbitrary bytes: the stream decoder and the header and container
// checks must stay inside their buffers whatever they are given, the decoder must read every
// stream as the plain one-bit-at-a-time decoder does, and whatever the packer makes must decode
// back to the bytes it was given.
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "Packer.h"
#include "common/ReferenceUnpack.h"
#include "sim/PackedFile.h"

namespace {

// Images larger than this are refused like a failed allocation, so a crafted size exercises the
// OutOfMemory path instead of exhausting the fuzzer's memory.
constexpr size_t kLargestImage = 1 << 20;

void* AllocateBounded(size_t size) {
    return size <= kLargestImage ? std::malloc(size) : nullptr;
}
void Release(void* block) {
    std::free(block);
}
constexpr ImageHeap kBoundedHeap = {&AllocateBounded, &Release};

// Same result as the plain decoder, and the same bytes when the stream is read. The outputs are
// exactly `capacity` long, so a write past it is an ASan report.
void ExpectAsPlainDecoder(const uint8_t* stream, size_t length, size_t capacity) {
    std::vector<uint8_t> fast(capacity), plain(capacity);
    const int64_t n = UnpackStream(stream, length, fast.data(), capacity);
    if (n != ReferenceUnpackStream(stream, length, plain.data(), capacity) ||
        (n >= 0 && fast != plain))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input as a stream, into an output that is sometimes too small for it.
    if (size)
        ExpectAsPlainDecoder(data, size, size_t(data[size - 1]) * 32);

    // The input as a whole packed file.
    size_t imageSize = 0;
    uint8_t* image = nullptr;
    const PackedFileStatus status = UnpackPackedImage(data, size, kBoundedHeap, &imageSize, &image);
    if (status == PackedFileStatus::Ok) {
        if (!image || imageSize < packed_file::kPlainHeaderSize)
            std::abort();
        Release(image);
    } else if (image) {
        std::abort();
    }

    // The input as a body: packing and unpacking gives it back byte for byte.
    packlib::PackOptions options;
    options.blockSize = size ? 1 + data[0] * 8u : 0;
    const std::vector<uint8_t> packed = packlib::PackStream(std::span(data, size), options);
    std::vector<uint8_t> back(size + 1);
    const int64_t produced = UnpackStream(packed.data(), packed.size(), back.data(), size);
    if (produced != int64_t(size) || std::memcmp(back.data(), data, size) != 0)
        std::abort();

    // The packer's stream, whose tokens are all sound, into a smaller output, cut short, and with
    // one bit flipped.
    if (size >= 3) {
        ExpectAsPlainDecoder(packed.data(), packed.size(), size - 1 - data[1] % size);
        ExpectAsPlainDecoder(packed.data(), 4 + (data[1] | data[2] << 8) % (packed.size() - 3),
                             size);
        std::vector<uint8_t> flipped = packed;
        const size_t bit = (data[2] | size_t(data[size - 2]) << 8) % ((packed.size() - 4) * 8);
        flipped[4 + bit / 8] ^= uint8_t(1 << bit % 8);
        ExpectAsPlainDecoder(flipped.data(), flipped.size(), size);
    }
    return 0;
}
