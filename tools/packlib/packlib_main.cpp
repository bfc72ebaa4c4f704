// packlib PLAIN PACKED: writes the packed form of a plain library file.
#include <cstdio>
#include <string>

#include "FileBytes.h"
#include "Packer.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: packlib PLAIN.bgl PACKED.bgl\n");
        return 2;
    }
    std::vector<uint8_t> plain;
    if (!ReadFileBytes(argv[1], plain)) {
        std::fprintf(stderr, "packlib: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<uint8_t> packed;
    std::string why;
    if (!packlib::PackLibraryFile(plain, packed, &why)) {
        std::fprintf(stderr, "packlib: %s: %s\n", argv[1], why.c_str());
        return 1;
    }
    if (!WriteFileBytes(argv[2], packed.data(), packed.size())) {
        std::fprintf(stderr, "packlib: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s: %zu bytes -> %zu bytes\n", argv[1], plain.size(), packed.size());
    return 0;
}
