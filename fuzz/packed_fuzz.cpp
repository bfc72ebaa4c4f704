// Packed library files over arbitrary bytes: the stream decoder and the header and container
// checks must stay inside their buffers whatever they are given, and whatever the packer makes
// must decode back to the bytes it was given.
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "Packer.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input as a stream, into an output that is sometimes too small for it.
    std::vector<uint8_t> out(4096);
    if (size) {
        const size_t capacity = size_t(data[size - 1]) * 32;
        UnpackStream(data, size, out.data(), capacity < out.size() ? capacity : out.size());
    }

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
    return 0;
}
