// Building the library catalogue: opening each library file (plain or packed), reading its
// library directory, and the scan over the files of a simulator version.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "sim/LibraryCatalogue.h"
#include "sim/MappedFile.h"

// An opened library file: a read-only mapping of a plain file, or the unpacked image of a packed
// one (then the mapping is closed).
struct LibraryFile {
    MappedFile mapping;
    bool packed = false;
    uint32_t packedSize = 0;
    uint8_t* packedImage = nullptr;
    std::string path;

    const uint8_t* Bytes() const { return packed ? packedImage : mapping.Bytes(); }
    size_t Size() const { return packed ? packedSize : mapping.Size(); }
};

// Null when the file cannot be opened, mapped or unpacked, or the path is too long.
LibraryFile* OpenLibraryFile(const char* path);
void CloseLibraryFile(LibraryFile* file);
// Appends the file's objects; false (87) when the file holds no bytes.
bool ReadLibraryDirectory(const LibraryFile* file, LibraryCatalogue& catalogue);

// The directory parser over bytes in memory, bounded by their size.
bool ReadLibraryBytes(const uint8_t* bytes, size_t size, std::string_view path,
                      LibraryCatalogue& catalogue);

// Rebuilds the catalogue for a version index (0 to 6) and its install folder; -1, a missing or
// an empty folder mean no simulator. showBusy(true) and showBusy(false) bracket the scan so the
// window can show its wait cursor.
bool ScanLibraries(LibraryCatalogue& catalogue, int versionIndex, const char* installPath,
                   const std::function<void(bool busy)>& showBusy = nullptr);
