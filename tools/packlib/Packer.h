// The packer for library files: the counterpart of the program's packed-file decoder. Scenery
// designers use it through the packlib command; fixtures, the demo install and the tests use it
// to make packed library files.
//
//   std::vector<uint8_t> packed;
//   std::string why;
//   if (!packlib::PackLibraryFile(plainBytes, packed, &why)) ...
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace packlib {

struct PackOptions {
    // A block mark is written after every this many output bytes (0: only the final one).
    uint32_t blockSize = 0x10000;
    // How many earlier positions with the same three leading bytes the match finder tries.
    int chainDepth = 64;
};

// The packed stream of `body`: the two mark bytes 4A 4D, the bytes 00 01, then the tokens,
// ending with a block mark once the whole body is out.
std::vector<uint8_t> PackStream(std::span<const uint8_t> body, const PackOptions& options = {});

// Turns a plain library file (header of 128 bytes, or 168 with the extended-header mark 0x87654321
// at offset 118, then the body) into its packed form: the same header with bit 31 of the flags
// word at offset 122 set, the 20-byte container (mark 0xABCDEF01, body size, check value 0, two
// zero words), then the packed stream of the body. Returns false, with the reason in `error`,
// for a file too short for its header, an extended header the reader would refuse, or a file
// already marked packed.
bool PackLibraryFile(std::span<const uint8_t> plain, std::vector<uint8_t>& packed,
                     std::string* error = nullptr, const PackOptions& options = {});

}  // namespace packlib
