// The library catalogue kept between runs: a repeated start with an unchanged install takes the
// objects from one file instead of opening the thousands of files a scan opens, after checking
// the size and time of each of them (which costs no open).
#pragma once

#include <cstdint>
#include <vector>

#include "sim/LibraryCatalogue.h"
#include "sim/SimFiles.h"

enum class KeptCatalogueUse {
    TakeWhenCurrent,  // a start or a version change
    ScanAgain,        // the user asked for a scan: the kept file is not read, only replaced
};

// Rebuilds the catalogue as ScanLibraries does. When `keptFile` holds the catalogue of the same
// version and install folder, kept by the same `programFile`, and every file that scan read or
// looked for is still as it was, the catalogue comes from there; otherwise the install is scanned
// and its catalogue kept there, unless the scan may find more another time (a file that is there
// but could not be read, memory running short, a file written within the last two seconds). A
// kept file that cannot be written only means the next start scans again. Without a kept file or
// a program file the install is scanned. ScanAgain always scans; when its catalogue is not kept,
// the kept file is removed.
bool ScanLibrariesKept(LibraryCatalogue& catalogue, int versionIndex, const char* installPath,
                       const char* keptFile, const char* programFile,
                       KeptCatalogueUse use = KeptCatalogueUse::TakeWhenCurrent);

// The kept form and its reading, for the function above and its tests. `consulted` begins with
// the program's own file.
std::vector<uint8_t> KeepCatalogue(const LibraryCatalogue& catalogue, int versionIndex,
                                   const char* installPath,
                                   const std::vector<StampedFile>& consulted);
// True, with the catalogue, when the bytes are a kept catalogue, whole and unchanged since it was
// written (its check value says so), of this version and folder, kept by this program file, whose
// files all still look as they did. A damaged file gives false and an empty catalogue.
bool TakeKeptCatalogue(const std::vector<uint8_t>& bytes, int versionIndex, const char* installPath,
                       const char* programFile, LibraryCatalogue& catalogue);
