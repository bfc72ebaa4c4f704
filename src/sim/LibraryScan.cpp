#include "sim/LibraryScan.h"

#include "sim/PackedFile.h"

#include <cstring>
#include <new>

#include "common/LastError.h"
#include "common/Text.h"
#include "sim/SceneryIndex.h"
#include "sim/SimFiles.h"

namespace {
constexpr int kCombatFlightSimulator1 = 2;
constexpr size_t kDirectoryEntry = 20;
constexpr size_t kRecordHeader = 41;

uint32_t ReadWord(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Keeps the window's wait cursor up on every way out of the scan.
class BusyScope {
  public:
    explicit BusyScope(const std::function<void(bool)>& showBusy) : show(showBusy) {
        if (show)
            show(true);
    }
    ~BusyScope() {
        if (show)
            show(false);
    }

  private:
    const std::function<void(bool)>& show;
};

// Opens, reads and closes one library file; false when it gave nothing. The report learns why.
bool ScanOneFile(const char* path, LibraryCatalogue& catalogue, ScanReport* report) {
    std::string whyNot;
    LibraryFile* file = OpenLibraryFile(path, report ? &whyNot : nullptr);
    if (file && !HasLibraryDirectory(file->Bytes(), file->Size()))
        whyNot = "not a library";
    if (file)
        ReadLibraryDirectory(file, catalogue);
    CloseLibraryFile(file);
    if (report) {
        if (whyNot.empty())
            ++report->filesRead;
        else
            report->skipped.push_back({path, std::move(whyNot)});
    }
    return file != nullptr;
}

// A word or two for a file that would not open or map.
std::string OpenFailureReason(uint32_t error) {
    switch (error) {
        case errors::kFileNotFound:
        case errors::kPathNotFound:
            return "missing";
        case errors::kFileInvalid:
            return "empty";
        default:
            return FormatText(limits::kShortField, "ERROR:%X", unsigned(error));
    }
}

uint32_t IndexFormatOf(int versionIndex) {
    if (versionIndex == 5)
        return scenery_format::k22;
    if (versionIndex == 6)
        return scenery_format::k27;
    return scenery_format::k9;
}
}  // namespace

LibraryFile* OpenLibraryFile(const char* path, std::string* whyNot) {
    if (!path || strlen(path) > limits::kPath) {
        SetLastErrorCode(errors::kInvalidParameter);
        if (whyNot)
            *whyNot = "path too long";
        return nullptr;
    }
    auto* file = new (std::nothrow) LibraryFile;
    if (!file) {
        SetLastErrorCode(errors::kNotEnoughMemory);
        if (whyNot)
            *whyNot = "out of memory";
        return nullptr;
    }
    file->path = path;
    if (!file->mapping.Open(path)) {
        const uint32_t error = GetLastErrorCode();
        if (whyNot)
            *whyNot = OpenFailureReason(error);
        delete file;
        SetLastErrorCode(error);
        return nullptr;
    }
    // A file too short for its flags word has no packed flag.
    bool packedFlag = file->mapping.Size() >= 126 && (ReadWord(file->mapping.Bytes() + 122) >> 31);
    if (!packedFlag)
        return file;
    // The packed reader opens the file itself, without sharing: give the mapping up first.
    file->mapping.Close();
    size_t size = 0;
    uint8_t* image = nullptr;
    PackedFileStatus status = OpenPackedFile(path, &size, &image);
    if (status == PackedFileStatus::Ok && size > UINT32_MAX) {
        ReleasePackedImage(size, image);
        status = PackedFileStatus::OutOfMemory;
    }
    if (status != PackedFileStatus::Ok) {
        if (whyNot)
            *whyNot = PackedFileStatusName(status);
        delete file;
        SetLastErrorCode(errors::kInvalidData);
        return nullptr;
    }
    file->packed = true;
    file->packedSize = uint32_t(size);
    file->packedImage = image;
    return file;
}

void CloseLibraryFile(LibraryFile* file) {
    if (file && file->packed)
        ReleasePackedImage(file->packedSize, file->packedImage);
    delete file;
}

bool ReadLibraryDirectory(const LibraryFile* file, LibraryCatalogue& catalogue) {
    if (!file || !file->Bytes()) {
        SetLastErrorCode(errors::kInvalidParameter);
        return false;
    }
    return ReadLibraryBytes(file->Bytes(), file->Size(), file->path, catalogue);
}

bool HasLibraryDirectory(const uint8_t* bytes, size_t size) {
    return bytes && size >= 66 && ReadWord(bytes + 62) != 0;
}

// Bounded by the real size: a directory entry that reaches past the end ends the directory
// (what follows it cannot be trusted to be entries); an object record or name that reaches past
// the end skips that one entry, and the next entry is read.
bool ReadLibraryBytes(const uint8_t* bytes, size_t size, std::string_view path,
                      LibraryCatalogue& catalogue) {
    if (!bytes || size == 0) {
        SetLastErrorCode(errors::kInvalidParameter);
        return false;
    }
    if (!HasLibraryDirectory(bytes, size))
        return true;
    const uint64_t directory = ReadWord(bytes + 62);
    std::string libraryPath = CutText(path, limits::kPath);
    for (uint64_t entry = directory; entry + kDirectoryEntry <= size; entry += kDirectoryEntry) {
        uint32_t recordOffset = ReadWord(bytes + entry);
        if (recordOffset == 0)
            break;
        uint64_t start = directory + recordOffset;
        if (start + kRecordHeader > size)
            continue;
        const uint8_t* record = bytes + start;
        LibraryObject object;
        for (int w = 0; w < 4; ++w)
            object.guid.words[w] = ReadWord(record + 4 * w);
        object.flagsByte = record[16];
        object.recordLength = ReadWord(record + 17);
        object.extra1 = ReadWord(record + 21);
        object.radius = static_cast<int32_t>(ReadWord(record + 25));
        object.scale = ReadWord(record + 29);
        object.extra2 = ReadWord(record + 33);
        object.extra3 = ReadWord(record + 37);
        if (object.recordLength > kRecordHeader) {
            if (start + object.recordLength > size)
                continue;
            // Names are cut to the program's path-and-name limit so every caption, tooltip and
            // line built from them stays within its bounds.
            size_t nameLength = object.recordLength - kRecordHeader;
            object.name = std::string(reinterpret_cast<const char*>(record + kRecordHeader),
                                      nameLength < limits::kPath ? nameLength : limits::kPath);
        }
        object.guidText = GuidDisplayText(object.guid);
        object.guidAsmText = GuidAsmText(object.guid);
        object.libraryPath = libraryPath;
        catalogue.Append(std::move(object));
    }
    return true;
}

bool ScanLibraries(LibraryCatalogue& catalogue, int versionIndex, const char* installPath,
                   const std::function<void(bool busy)>& showBusy, ScanReport* report) {
    BusyScope busy(showBusy);
    catalogue.Clear();
    if (report)
        *report = ScanReport();
    // An empty folder is no simulator: joining it would read from the root of the current drive.
    if (versionIndex < 0 || versionIndex > 6 || !installPath || !installPath[0]) {
        SetLastErrorCode(errors::kFileNotFound);
        return false;
    }
    if (versionIndex == kCombatFlightSimulator1) {
        auto path = ComposePath("%s\\Scenery\\LIBRARY.BGL", installPath);
        return path && ScanOneFile(path->c_str(), catalogue, report);
    }
    if (!LoadSceneryIndex(IndexFormatOf(versionIndex), installPath, "Scenery.cfg"))
        return false;
    if (report) {
        report->areasRead = TheSceneryIndex().AreasRead();
        report->recordsTaken = SceneryIndexCount();
        report->recordsRefused = TheSceneryIndex().RefusedAtCapacity();
    }
    for (uint32_t record = 0; record < SceneryIndexCount(); ++record) {
        const char* name = SceneryFileName(record);
        if (!name)
            break;
        // Names of add-on areas may be absolute; they stand as they are.
        auto path = IsAbsolutePath(name) ? ComposePath("%s.bgl", name)
                                         : ComposePath("%s\\%s.bgl", installPath, name);
        if (path)
            ScanOneFile(path->c_str(), catalogue, report);
        else if (report)
            report->skipped.push_back({std::string(installPath) + "\\" + name, "path too long"});
    }
    ClearSceneryIndex();
    return true;
}
