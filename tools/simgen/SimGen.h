// Writes a realistic simulator install into a folder: Scenery.cfg with active, inactive and
// broken areas, each area's index file in its version's layout, library files (plain and
// packed, some of them corrupt or without a directory), the fixed library file of CFS1, and an
// Effects folder. It reports what the program should find there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace simgen {

struct Object {
    uint32_t guid[4] = {0, 0, 0, 0};
    std::string name;  // "" when the record holds none
    int32_t radius = 0;
    uint32_t scale = 0;
    std::string libraryPath;  // as the program composes it
    uint32_t record = 0;      // position of its qualifying index record
};

struct Options {
    int version = 5;        // 0 to 6, as the program numbers the simulator versions
    int libraryFiles = 12;  // library files named by qualifying index records
    int objectsPerFile = 6;
    int packedEvery = 3;      // every n-th library file is packed (0: none)
    size_t bodyBytes = 2048;  // scenery data behind each library directory
    int effects = 5;          // .fx files, every other one with a display name
    int filesPerArea = 4;
    int brokenEvery = 1;      // every n-th area also names hidden, damaged and missing files
    std::string addonFolder;  // an area outside the install folder, "" for none
    std::vector<Object> givenObjects;  // written first into the first library file, as given
    uint32_t seed = 1;
};

struct Effect {
    std::string fileName;
    std::string displayName;  // as the program should show it
};

struct Install {
    std::vector<Object> objects;  // in catalogue order
    std::vector<Effect> effects;  // sorted by file name (listing order is the file system's)
    uint32_t qualifyingRecords = 0;
};

// The folder text is used as the program will see the install folder (a Windows path under
// Wine, a native path otherwise). False with a reason on failure.
bool Generate(const std::string& folder, const Options& options, Install& install,
              std::string& error);

// The registry key and value under HKLM that mark a version's install.
const char* RegistryKey(int version);
const char* RegistryValue(int version);

}  // namespace simgen
