// Packed library files: a library file whose flags word (offset 122) has bit 31 set keeps its
// header and carries its body compressed behind a 20-byte container. OpenPackedFile turns such a
// file into an image laid out as the same file stored plain, so the catalogue parses both alike.
#pragma once

#include <cstddef>
#include <cstdint>

// One code per call; each failure has its own bit.
enum class PackedFileStatus : uint32_t {
    Ok = 0,
    BadArgument = 1,
    UnsupportedLayout = 2,
    OutOfMemory = 4,
    SizeMismatch = 8,
    CheckMismatch = 16,
    CorruptStream = 32,
    OpenFailed = 64,
};

// "Ok", "BadArgument", ... ; "Unknown" for any other value.
const char* PackedFileStatusName(PackedFileStatus status);

namespace packed_file {
constexpr uint32_t kPlainHeaderSize = 128;
constexpr uint32_t kExtendedHeaderSize = 168;
constexpr uint32_t kExtendedMarkOffset = 118;
constexpr uint32_t kExtendedMark = 0x87654321;
constexpr uint32_t kFlagsOffset = 122;
constexpr uint32_t kPackedFlag = 0x80000000;
constexpr uint32_t kContainerMark = 0xABCDEF01;
constexpr uint32_t kContainerSize = 20;
constexpr uint32_t kBlockMarkDistance = 4415;  // the 12-bit distance form with all bits set
constexpr uint32_t kWindowSize = 4414;         // farthest distance a copy may reach back
}  // namespace packed_file

// Decodes a packed stream (starting with its 4A 4D mark) into `destination`. Returns the number of
// bytes the stream produced when a block mark is met with at least `capacity` of them, else -1:
// the stream is shorter than 5 bytes, has the wrong mark, runs out of bits, or asks for a copy
// reaching before the start of the output or a length beyond 32 bits. Bytes beyond `capacity`
// are counted, never written; nothing outside the source is read.
int64_t UnpackStream(const uint8_t* source, size_t length, uint8_t* destination, size_t capacity);

// Where an image's bytes come from; the platform edge passes its heap, tests pass their own.
struct ImageHeap {
    void* (*allocate)(size_t size);
    void (*release)(void* block);
};

// Steps of OpenPackedFile after the file is mapped: checks the header and container of the
// `fileSize` bytes at `file`, allocates the image from `heap` and unpacks into it. On Ok the
// image (header with the flags word cleared, then the body) and its size are handed out; on any
// other status *image is null and nothing stays allocated. A file too short for the header fields
// or the container gives UnsupportedLayout; an image size that the address space cannot hold
// gives OutOfMemory before anything is allocated.
PackedFileStatus UnpackPackedImage(const uint8_t* file, size_t fileSize, const ImageHeap& heap,
                                   size_t* size, uint8_t** image);

// The platform edge (PackedFile_win.cpp, PackedFile_posix.cpp).

// Maps the whole file read-only, with no sharing. Returns 0, or 64 on any failure (a file of
// length 0 included); the view is given back with UnmapFileView.
uint32_t MapFileReadOnly(const char* path, const uint8_t** view, size_t* size);
void UnmapFileView(const uint8_t* view, size_t size);
// The heap images come from and go back to.
const ImageHeap& SystemImageHeap();

// Reads the packed library file at `path` into a new image of *size bytes; the caller hands it
// back to ReleasePackedImage.
PackedFileStatus OpenPackedFile(const char* path, size_t* size, uint8_t** image);
// BadArgument for a null (or, on Windows, unreadable) image, which is then left alone.
PackedFileStatus ReleasePackedImage(size_t size, uint8_t* image);
