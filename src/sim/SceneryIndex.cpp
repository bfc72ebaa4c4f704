#include "sim/SceneryIndex.h"

#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "common/LastError.h"
#include "common/Text.h"
#include "sim/ProfileFile.h"
#include "sim/SimFiles.h"

namespace {
uint32_t ReadWord(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool KnownFormat(uint32_t format) {
    return format == scenery_format::k9 || format == scenery_format::k22 ||
           format == scenery_format::k27;
}

// Where each layout keeps its offset table, record flag and record name.
struct Layout {
    uint32_t tableOffset;
    uint32_t flagOffset;
    uint8_t flagBit;
    uint32_t nameOffset;
};

Layout LayoutOf(uint32_t tag) {
    if (tag == scenery_format::k9)
        return {68, 4, 0x10, 72};
    if (tag == scenery_format::k22)
        return {72, 8, 0x04, 76};
    return {88, 8, 0x04, 96};
}

bool EndsWithBackslash(const char* text) {
    size_t length = strlen(text);
    return length > 0 && text[length - 1] == '\\';
}

bool ContainsNoCase(const std::string& text, const char* part) {
    size_t n = strlen(part);
    for (size_t i = 0; i + n <= text.size(); ++i)
        if (EqualsNoCase(std::string_view(text).substr(i, n), part))
            return true;
    return false;
}
}  // namespace

bool SceneryIndexList::Reset(uint32_t expectedFormat) {
    Clear();
    format = expectedFormat;
    records.reset(new (std::nothrow) std::unique_ptr<SceneryIndexRecord>[kCapacity]);
    if (!records) {
        SetLastErrorCode(errors::kNotEnoughMemory);
        return false;
    }
    return true;
}

void SceneryIndexList::Clear() {
    records.reset();
    count = 0;
    format = scenery_format::k22;
    areasRead = 0;
    refusedAtCapacity = 0;
    areaListPath.clear();
    areaListError = 0;
    areasNamed = 0;
    shortOfMemory = false;
}

// Nothing here trusts the file: the header and the whole offset table must lie inside it (a
// corrupt file adds nothing), and a record that reaches past the end, is too short for its
// flags and name, or whose name is not terminated inside the record is skipped; the records
// after it are still tried.
bool SceneryIndexList::AddIndexFile(const uint8_t* bytes, size_t size) {
    if (!records || !KnownFormat(format) || !bytes) {
        SetLastErrorCode(errors::kInvalidParameter);
        return false;
    }
    if (size < 8) {
        SetLastErrorCode(errors::kInvalidData);
        return false;
    }
    uint32_t tag = ReadWord(bytes + 4);
    if (!KnownFormat(tag)) {
        SetLastErrorCode(errors::kInvalidParameter);
        return false;
    }
    if (size < 40) {
        SetLastErrorCode(errors::kInvalidData);
        return false;
    }
    if (tag == scenery_format::k27 && ReadWord(bytes + 36) != 4) {
        SetLastErrorCode(errors::kFileNotFound);
        return false;
    }
    const Layout layout = LayoutOf(tag);
    const uint32_t recordCount = ReadWord(bytes + 32);
    if (layout.tableOffset + 4ull * recordCount > size) {
        SetLastErrorCode(errors::kInvalidData);
        return false;
    }
    ++areasRead;
    for (uint32_t i = 0; i < recordCount; ++i) {
        uint64_t start = ReadWord(bytes + layout.tableOffset + 4ull * i);
        if (start + 4 > size)
            continue;
        const uint8_t* record = bytes + start;
        uint32_t length = ReadWord(record);
        if (start + length > size || length <= layout.nameOffset ||
            !memchr(record + layout.nameOffset, 0, length - layout.nameOffset))
            continue;
        if ((record[layout.flagOffset] & layout.flagBit) == 0) {
            SetLastErrorCode(errors::kFileNotFound);
            continue;
        }
        // Only a record that would have been taken counts as refused: one whose flag is clear or
        // that is damaged never takes a slot.
        if (count >= kCapacity) {
            SetLastErrorCode(errors::kOutOfMemory);
            ++refusedAtCapacity;
            continue;
        }
        auto copy = std::unique_ptr<SceneryIndexRecord>(new (std::nothrow) SceneryIndexRecord);
        if (!copy) {
            shortOfMemory = true;
            continue;
        }
        try {
            copy->bytes.assign(record, record + length);
        } catch (const std::bad_alloc&) {
            shortOfMemory = true;
            continue;
        }
        copy->nameOffset = layout.nameOffset;
        records[count++] = std::move(copy);
    }
    return true;
}

// The name stands where the record's own file keeps it: a list expecting one layout may still
// meet an area whose index file has another, and its names must not be read at the wrong place.
const char* SceneryIndexList::FileName(uint32_t record) const {
    if (!KnownFormat(format)) {
        SetLastErrorCode(errors::kFileNotFound);
        return nullptr;
    }
    if (record >= count) {
        SetLastErrorCode(errors::kInvalidParameter);
        return nullptr;
    }
    const SceneryIndexRecord& found = *records[record];
    return reinterpret_cast<const char*>(found.bytes.data() + found.nameOffset);
}

SceneryIndexList& TheSceneryIndex() {
    static SceneryIndexList list;
    return list;
}

namespace {

// The area folders that Scenery.cfg names, in area order: Area.000 to Area.999, each tried.
std::vector<std::string> AreaFolders(const ProfileFile& profile) {
    std::vector<std::string> folders;
    for (int area = 0; area <= 999; ++area) {
        char section[16];
        snprintf(section, sizeof section, "Area.%03d", area);
        std::string local = profile.Value(section, "Local", "ERROR:2");
        if (local.empty() || EqualsNoCase(local, "ERROR:2"))
            continue;
        if (ContainsNoCase(local, ".CAB")) {
            size_t backslash = local.rfind('\\');
            if (backslash != std::string::npos)
                local.resize(backslash + 1);
        }
        if (local.back() != '\\')
            local += '\\';
        folders.push_back(std::move(local));
    }
    return folders;
}

// An absolute area folder (add-on scenery kept outside the install folder) is used as it
// stands; joining it onto the install folder would name a file that does not exist.
std::optional<std::string> IndexFilePath(const char* installFolder, const char* areaFolder,
                                         uint32_t format) {
    const char* indexName = format == scenery_format::k9 ? "Scenery\\FILELIST.DAT" : "SCENERY.DAT";
    if (IsAbsolutePath(areaFolder))
        return ComposePath("%s%s", areaFolder, indexName);
    return ComposePath("%s%s%s%s", installFolder, EndsWithBackslash(installFolder) ? "" : "\\",
                       areaFolder, indexName);
}

}  // namespace

// Scenery.cfg is read once for its thousand questions (the system reader checks and searches the
// file for every one), and each area's index file with one open and one read. A file that is
// there but cannot be read (another program holds it) may be read another time; one that is not
// there is missed alike every time.
bool LoadSceneryIndex(uint32_t format, const char* installFolder, const char* profileName,
                      ScanBasis* basis) {
    if (!installFolder || !profileName) {
        SetLastErrorCode(errors::kInvalidParameter);
        return false;
    }
    SceneryIndexList& list = TheSceneryIndex();
    if (!list.Reset(format))
        return false;
    const char* separator = EndsWithBackslash(installFolder) ? "" : "\\";
    auto profilePath = ComposePath("%s%s%s", installFolder, separator, profileName);
    if (!profilePath) {
        list.NoteAreaList(std::string(installFolder) + separator + profileName, GetLastErrorCode(),
                          0);
        return true;  // no area can be named by a profile that cannot be opened
    }
    auto consult = [&](const std::string& path) {
        if (basis)
            basis->files.push_back({path, StampOf(path.c_str())});
    };
    auto failedWhilePresent = [&] {
        if (basis && basis->files.back().stamp.present)
            basis->passingFailure = true;
    };
    consult(*profilePath);
    ProfileFile profile;
    uint32_t profileError = errors::kSuccess;
    if (!profile.Load(profilePath->c_str())) {
        profileError = GetLastErrorCode();
        failedWhilePresent();
    }
    const std::vector<std::string> folders = AreaFolders(profile);
    list.NoteAreaList(*profilePath, profileError, uint32_t(folders.size()));
    if (!KnownFormat(format))
        return true;  // every area's index file is refused for its format alone
    std::vector<uint8_t> bytes;
    for (const std::string& folder : folders) {
        auto path = IndexFilePath(installFolder, folder.c_str(), format);
        if (!path)
            continue;
        consult(*path);
        if (!ReadWholeFile(path->c_str(), bytes))
            failedWhilePresent();
        else if (!bytes.empty())
            list.AddIndexFile(bytes.data(), bytes.size());
    }
    if (basis && list.ShortOfMemory())
        basis->passingFailure = true;
    return true;
}

uint32_t SceneryIndexCount() {
    return TheSceneryIndex().Count();
}

const char* SceneryFileName(uint32_t record) {
    return TheSceneryIndex().FileName(record);
}

void ClearSceneryIndex() {
    TheSceneryIndex().Clear();
}
