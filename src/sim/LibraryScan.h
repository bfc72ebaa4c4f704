// Building the library catalogue: opening each library file (plain or packed), reading its
// library directory, and the scan over the files of a simulator version.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/LibraryCatalogue.h"

// What one scan met: why files gave no objects, and the counts behind the catalogue. The
// catalogue command prints it so a designer can see why an add-on's objects are missing.
struct ScanReport {
    struct SkippedFile {
        std::string path;
        std::string reason;  // "missing", "not a library", "empty", a packed status name, ...
    };
    uint32_t areasRead = 0;       // areas whose index file was read
    uint32_t recordsTaken = 0;    // qualifying index records in the area list
    uint32_t recordsRefused = 0;  // qualifying records refused because the list was full
    uint32_t filesRead = 0;       // library files whose directory was read
    std::vector<SkippedFile> skipped;
    // The area list (Scenery.cfg) when it named no area to read: "missing", "names no area", an
    // error number; the reason is empty when it named one, and for CFS1, which has no such list.
    SkippedFile areaList;
};

// Appends the objects of one library file, plain or packed. False when the file cannot be
// opened, read or unpacked, or the path is too long; then *whyNot, when given, says why in a word
// or two ("missing", a packed status name, ...). A file that was read but holds no library
// directory adds nothing, gives true and "not a library".
bool ReadLibraryFile(const char* path, LibraryCatalogue& catalogue, std::string* whyNot = nullptr);

// True when the bytes carry a library directory (a file without one holds no objects).
bool HasLibraryDirectory(const uint8_t* bytes, size_t size);

// The directory parser over bytes in memory, bounded by their size.
bool ReadLibraryBytes(const uint8_t* bytes, size_t size, std::string_view path,
                      LibraryCatalogue& catalogue);

// Rebuilds the catalogue for a version index (0 to 6) and its install folder; -1, a missing or
// an empty folder mean no simulator. A report, when given, is filled afresh.
bool ScanLibraries(LibraryCatalogue& catalogue, int versionIndex, const char* installPath,
                   ScanReport* report = nullptr);

// The same scan, which also lists every file it read or looked for (Scenery.cfg, the index
// files, the library files), in order, each as it was just before it was read, and tells whether
// a read failed for a reason that may pass. The basis is filled afresh.
struct ScanBasis;
bool ScanLibrariesStamped(LibraryCatalogue& catalogue, int versionIndex, const char* installPath,
                          ScanBasis& basis);
