// unpacklib PACKED PLAIN: writes the plain form of a packed library file, read the way the
// program reads it; on failure prints the reader's status name.
#include <cstdio>

#include "FileBytes.h"
#include "sim/PackedFile.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: unpacklib PACKED.bgl PLAIN.bgl\n");
        return 2;
    }
    size_t size = 0;
    uint8_t* image = nullptr;
    const PackedFileStatus status = OpenPackedFile(argv[1], &size, &image);
    if (status != PackedFileStatus::Ok) {
        std::fprintf(stderr, "unpacklib: %s: %s\n", argv[1], PackedFileStatusName(status));
        return 1;
    }
    const bool wrote = WriteFileBytes(argv[2], image, size);
    ReleasePackedImage(size, image);
    if (!wrote) {
        std::fprintf(stderr, "unpacklib: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s: %zu bytes\n", argv[2], size);
    return 0;
}
