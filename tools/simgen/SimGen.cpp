#include "SimGen.h"

#include "Packer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace simgen {
namespace {

namespace fs = std::filesystem;

struct Random {
    uint64_t state;
    uint32_t Next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(state >> 33);
    }
};

void PutWord(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    if (bytes.size() < at + 4)
        bytes.resize(at + 4);
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// An add-on area's folder comes in its Windows form; off Windows that is Wine's Z: drive.
fs::path Native(const std::string& folder, const std::string& relative) {
    std::string base = folder;
#if !defined(_WIN32)
    if (base.size() >= 2 && (base[0] == 'Z' || base[0] == 'z') && base[1] == ':')
        base.erase(0, 2);
    std::replace(base.begin(), base.end(), '\\', '/');
#endif
    std::string text = relative;
    std::replace(text.begin(), text.end(), '\\', '/');
    return fs::path(base) / text;
}

bool WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes, std::string& error) {
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        error = "cannot write " + path.string();
    return static_cast<bool>(out);
}

bool WriteText(const fs::path& path, const std::string& text, std::string& error) {
    return WriteFile(path, std::vector<uint8_t>(text.begin(), text.end()), error);
}

const char* const kNames[] = {"hangar", "tower", "fuel_tank", "terminal", "tree_oak", "lamp",
                              "fence",  "barn",  "church",    "crane",    "silo",     "radar"};

// A plain library file: a 128-byte header, the directory, the object records (the given ones
// first), then filler standing for the rest of the scenery data.
std::vector<uint8_t> LibraryImage(Random& random, int randomObjects, size_t bodyBytes,
                                  const std::string& path, uint32_t record,
                                  std::vector<Object>* listed,
                                  const std::vector<Object>& given = {}) {
    std::vector<Object> objects = given;
    for (int i = 0; i < randomObjects; ++i) {
        Object object;
        for (uint32_t& w : object.guid)
            w = random.Next();
        // Every seventh record carries no name (length 41).
        if (i % 7 != 3) {
            object.name = kNames[random.Next() % 12];
            object.name += "_" + std::to_string(random.Next() % 1000);
        }
        object.radius = static_cast<int32_t>(5 + random.Next() % 200);
        object.scale = 0x00010000u >> (random.Next() % 3);
        objects.push_back(std::move(object));
    }
    std::vector<uint8_t> bytes(128, 0);
    PutWord(bytes, 0, 0x00000001);
    const size_t directory = 128;
    PutWord(bytes, 62, static_cast<uint32_t>(directory));
    size_t recordAt = directory + 20 * (objects.size() + 1);
    bytes.resize(recordAt, 0);
    for (size_t i = 0; i < objects.size(); ++i) {
        Object& object = objects[i];
        object.libraryPath = path;
        object.record = record;
        PutWord(bytes, directory + 20 * i, static_cast<uint32_t>(recordAt - directory));
        for (int w = 0; w < 4; ++w)
            PutWord(bytes, recordAt + 4 * w, object.guid[w]);
        bytes.resize(recordAt + 41 + object.name.size(), 0);
        bytes[recordAt + 16] = 0x01;
        PutWord(bytes, recordAt + 17, static_cast<uint32_t>(41 + object.name.size()));
        PutWord(bytes, recordAt + 25, static_cast<uint32_t>(object.radius));
        PutWord(bytes, recordAt + 29, object.scale);
        std::copy(object.name.begin(), object.name.end(), bytes.begin() + recordAt + 41);
        recordAt = bytes.size();
        if (listed)
            listed->push_back(object);
    }
    for (size_t i = 0; i < bodyBytes; ++i)
        bytes.push_back(static_cast<uint8_t>((i % 97) < 60 ? i % 13 : random.Next()));
    return bytes;
}

// The three index layouts: table offset, record flag offset and bit, name offset.
struct Layout {
    uint32_t tag, table, flagAt;
    uint8_t flagBit;
    uint32_t nameAt;
};

Layout LayoutOf(int version) {
    if (version == 5)
        return {22, 72, 8, 0x04, 76};
    if (version == 6)
        return {27, 88, 8, 0x04, 96};
    return {9, 68, 4, 0x10, 72};
}

struct IndexRecord {
    std::string name;
    bool qualifies;
};

std::vector<uint8_t> IndexFile(const Layout& layout, const std::vector<IndexRecord>& records) {
    std::vector<uint8_t> bytes(layout.table + 4 * records.size(), 0);
    PutWord(bytes, 0, 0x00000100);
    PutWord(bytes, 4, layout.tag);
    PutWord(bytes, 32, static_cast<uint32_t>(records.size()));
    PutWord(bytes, 36, layout.tag == 27 ? 4 : 0);
    for (size_t i = 0; i < records.size(); ++i) {
        size_t at = bytes.size();
        size_t length = (layout.nameAt + records[i].name.size() + 1 + 3) & ~size_t{3};
        bytes.resize(at + length, 0);
        PutWord(bytes, layout.table + 4 * i, static_cast<uint32_t>(at));
        PutWord(bytes, at, static_cast<uint32_t>(length));
        bytes[at + layout.flagAt] =
            records[i].qualifies ? 0xFF : static_cast<uint8_t>(~layout.flagBit);
        std::copy(records[i].name.begin(), records[i].name.end(),
                  bytes.begin() + at + layout.nameAt);
    }
    return bytes;
}

std::string Join(const std::string& folder, const std::string& relative) {
    return folder + "\\" + relative;
}

bool WriteEffects(const std::string& folder, const Options& options, Install& install,
                  std::string& error) {
    const char* const kinds[] = {"smoke", "fire", "steam", "beacon", "strobe", "dust"};
    for (int i = 0; i < options.effects; ++i) {
        Effect effect;
        effect.fileName = std::string("fx_") + kinds[i % 6] + std::to_string(i) + ".fx";
        std::string text = "[Library Effect]\r\n";
        if (i % 2 == 0) {
            effect.displayName = std::string("Effect ") + kinds[i % 6] + " " + std::to_string(i);
            text += "Display Name=" + effect.displayName + "\r\n";
        } else {
            effect.displayName = effect.fileName;
            text += "Lifetime=5\r\n";
        }
        text += "\r\n[Properties]\r\nType=2\r\n";
        if (!WriteText(Native(folder, "Effects\\" + effect.fileName), text, error))
            return false;
        install.effects.push_back(effect);
    }
    std::error_code ignored;
    fs::create_directories(Native(folder, "Effects\\extra.fx"), ignored);  // a folder, not listed
    if (!WriteText(Native(folder, "Effects\\readme.txt"), "not an effect\r\n", error))
        return false;
    std::sort(install.effects.begin(), install.effects.end(),
              [](const Effect& a, const Effect& b) { return a.fileName < b.fileName; });
    return true;
}

}  // namespace

bool Generate(const std::string& folder, const Options& options, Install& install,
              std::string& error) {
    install = Install{};
    Random random{options.seed * 0x9E3779B97F4A7C15ull + 7};
    if (options.version < 0 || options.version > 6) {
        error = "version must be 0 to 6";
        return false;
    }
    if (!WriteEffects(folder, options, install, error))
        return false;

    if (options.version == 2) {
        std::string path = Join(folder, "Scenery\\LIBRARY.BGL");
        auto bytes =
            LibraryImage(random, std::max(1, options.objectsPerFile * options.libraryFiles),
                         options.bodyBytes, path, 0, &install.objects, options.givenObjects);
        return WriteFile(Native(folder, "Scenery\\LIBRARY.BGL"), bytes, error);
    }

    const Layout layout = LayoutOf(options.version);
    const char* indexName = layout.tag == 9 ? "Scenery\\FILELIST.DAT" : "SCENERY.DAT";
    std::string cfg = "[General]\r\nTitle=Generated scenery\r\nClean_on_Exit=TRUE\r\n\r\n";
    auto section = [&cfg](int area, const std::string& title, const std::string& local,
                          bool active) {
        char name[16];
        snprintf(name, sizeof name, "Area.%03d", area);
        cfg += std::string("[") + name + "]\r\nTitle=" + title + "\r\nLocal=" + local +
               "\r\nActive=" + (active ? "TRUE" : "FALSE") +
               "\r\nLayer=" + std::to_string(area + 1) + "\r\n\r\n";
    };
    // Broken areas: a missing folder, the profile's own missing-value text, an empty value.
    section(2, "Missing", "Scenery\\Missing", true);
    section(3, "Broken", "error:2", true);
    section(4, "Empty", "", true);

    int written = 0, areaIndex = 0;
    uint32_t record = 0;
    while (written < options.libraryFiles || areaIndex == 0) {
        // Areas 0, 1, then 10 upward (a gap the loop must cross); area 1 is inactive but read.
        int area = areaIndex == 0 ? 0 : areaIndex == 1 ? 1 : 8 + areaIndex;
        bool addon = areaIndex == 1 && !options.addonFolder.empty();
        std::string local, areaFolder;
        if (addon) {
            areaFolder = options.addonFolder;
            local = areaFolder;
        } else if (areaIndex == 2) {
            local = "Addon Scenery\\Pack.CAB";  // cut after its last backslash
            areaFolder = "Addon Scenery";
        } else {
            areaFolder = "Scenery\\Area" + std::to_string(area);
            local = areaFolder;
        }
        section(area, "Area " + std::to_string(area), local, areaIndex != 1);
        auto nameOf = [&](const std::string& file) { return areaFolder + "\\" + file; };
        auto pathOf = [&](const std::string& file) {
            return addon ? nameOf(file) + ".bgl" : Join(folder, nameOf(file)) + ".bgl";
        };
        auto nativeOf = [&](const std::string& relative) {
            return addon ? Native(areaFolder, relative)
                         : Native(folder, areaFolder + "\\" + relative);
        };
        const bool broken = options.brokenEvery > 0 && areaIndex % options.brokenEvery == 0;
        std::vector<IndexRecord> records;
        int inArea = std::min(options.filesPerArea, options.libraryFiles - written);
        for (int i = 0; i < inArea; ++i, ++written) {
            std::string file = "scenery\\lib" + std::to_string(written);
            records.push_back({nameOf(file), true});
            auto bytes = LibraryImage(random, options.objectsPerFile, options.bodyBytes,
                                      pathOf(file), record++, &install.objects,
                                      written == 0 ? options.givenObjects : std::vector<Object>{});
            // Every n-th library goes out packed; the program must list it just the same.
            if (options.packedEvery > 0 &&
                written % options.packedEvery == options.packedEvery - 1) {
                std::vector<uint8_t> packed;
                std::string why;
                if (!packlib::PackLibraryFile(bytes, packed, &why)) {
                    error = "cannot pack " + file + ": " + why;
                    return false;
                }
                bytes = std::move(packed);
            }
            if (!WriteFile(nativeOf(file + ".bgl"), bytes, error))
                return false;
            if (i == 0 && broken) {
                // A record whose flag is clear names a real file that must not be listed.
                std::string hidden = "scenery\\hidden" + std::to_string(area);
                records.push_back({nameOf(hidden), false});
                auto image = LibraryImage(random, 2, 64, "", 0, nullptr);
                if (!WriteFile(nativeOf(hidden + ".bgl"), image, error))
                    return false;
                // A packed file whose container is damaged: skipped, the scan goes on.
                std::string corrupt = "scenery\\damaged" + std::to_string(area);
                records.push_back({nameOf(corrupt), true});
                ++record;
                image = LibraryImage(random, 3, 256, "", 0, nullptr);
                PutWord(image, 122, 0x80000000u);
                PutWord(image, 128, 0x12345678u);
                if (!WriteFile(nativeOf(corrupt + ".bgl"), image, error))
                    return false;
            }
        }
        // A qualifying record for a file that does not exist, and one for a file without a
        // library directory: both are counted, neither lists anything.
        if (!addon && broken) {
            records.push_back({areaFolder + "\\scenery\\gone", true});
            records.push_back({areaFolder + "\\scenery\\terrain", true});
            std::vector<uint8_t> terrain(600, 0x33);
            PutWord(terrain, 62, 0);
            PutWord(terrain, 122, 0);
            if (!WriteFile(nativeOf("scenery\\terrain.bgl"), terrain, error))
                return false;
            record += 2;
        }
        auto index = IndexFile(layout, records);
        if (!WriteFile(nativeOf(indexName), index, error))
            return false;
        ++areaIndex;
    }
    install.qualifyingRecords = record;
    return WriteText(Native(folder, "Scenery.cfg"), cfg, error);
}

const char* RegistryKey(int version) {
    static const char* const keys[] = {
        "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\6.0",
        "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\6.1",
        "SOFTWARE\\Microsoft\\Microsoft Games\\Combat Flight Simulator\\1.00",
        "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\7.0",
        "SOFTWARE\\Microsoft\\Microsoft Games\\Combat Flight Simulator\\2.0",
        "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0",
        "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0"};
    return version >= 0 && version <= 6 ? keys[version] : nullptr;
}

const char* RegistryValue(int version) {
    return version >= 4 ? "EXE PATH" : "PATH";
}

}  // namespace simgen
