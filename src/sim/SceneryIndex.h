// The scenery area list: the records of every area's index file, in the order they were met,
// from which the library catalogue learns which scenery files to open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace scenery_format {
constexpr uint32_t k9 = 9;    // Scenery\FILELIST.DAT of FS95, FS98, FS2000, CFS2
constexpr uint32_t k22 = 22;  // SCENERY.DAT of FS2002
constexpr uint32_t k27 = 27;  // SCENERY.DAT of FS2004
}  // namespace scenery_format

// One record copied byte for byte, and where its name starts (set by its own file's layout).
struct SceneryIndexRecord {
    std::vector<uint8_t> bytes;
    uint32_t nameOffset = 0;
};

class SceneryIndexList {
  public:
    static constexpr uint32_t kCapacity = 1000;

    // Empties the list and expects the given format. False when the slots cannot be had.
    bool Reset(uint32_t expectedFormat);
    void Clear();

    // Adds the records of one index file held in memory; true when its format tag was accepted.
    bool AddIndexFile(const uint8_t* bytes, size_t size);

    uint32_t Count() const { return count; }
    uint32_t Format() const { return format; }
    // Since the last reset: index files whose format tag was accepted, and qualifying records
    // refused because the list was full.
    uint32_t AreasRead() const { return areasRead; }
    uint32_t RefusedAtCapacity() const { return refusedAtCapacity; }
    // True when a record was lost because its copy could not be had.
    bool ShortOfMemory() const { return shortOfMemory; }
    // Since the last reset: the area list (Scenery.cfg) that was looked for, the system's error
    // when it could not be read (0 when it was), and the areas it named.
    const std::string& AreaListPath() const { return areaListPath; }
    uint32_t AreaListError() const { return areaListError; }
    uint32_t AreasNamed() const { return areasNamed; }
    void NoteAreaList(std::string path, uint32_t error, uint32_t named) {
        areaListPath = std::move(path);
        areaListError = error;
        areasNamed = named;
    }
    // The zero-terminated scenery file name of a record, or null (last error 2 or 87).
    const char* FileName(uint32_t record) const;

  private:
    uint32_t count = 0;
    uint32_t format = scenery_format::k22;
    uint32_t areasRead = 0;
    uint32_t refusedAtCapacity = 0;
    std::string areaListPath;
    uint32_t areaListError = 0;
    uint32_t areasNamed = 0;
    bool shortOfMemory = false;
    std::unique_ptr<std::unique_ptr<SceneryIndexRecord>[]> records;
};

// The program's one list, used by one scan at a time on the GUI thread.
SceneryIndexList& TheSceneryIndex();

struct ScanBasis;
// `basis`, when given, learns every file the load read or looked for, in order, each as it was
// just before it was read, and whether a read failed for a reason that may pass.
bool LoadSceneryIndex(uint32_t format, const char* installFolder, const char* profileName,
                      ScanBasis* basis = nullptr);
uint32_t SceneryIndexCount();
const char* SceneryFileName(uint32_t record);
void ClearSceneryIndex();
