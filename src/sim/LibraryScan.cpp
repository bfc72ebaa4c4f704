#include "sim/LibraryScan.h"

#include <cstring>
#include <memory>

#include "common/LastError.h"
#include "common/Text.h"
#include "sim/PackedFile.h"
#include "sim/SceneryIndex.h"
#include "sim/SimFiles.h"

namespace {
constexpr int kCombatFlightSimulator1 = 2;
constexpr size_t kDirectoryEntry = 20;
constexpr size_t kRecordHeader = 41;
// The first read of a plain file: its header, directory and object records lie at the start in
// every file seen, so one read of this much usually holds all the catalogue needs.
constexpr size_t kFirstRead = 64 * 1024;

uint32_t ReadWord(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool IsMissingError(uint32_t error) {
    return error == errors::kFileNotFound || error == errors::kPathNotFound;
}

// A word or two for a file that would not open or read.
std::string OpenFailureReason(uint32_t error) {
    if (IsMissingError(error))
        return "missing";
    if (error == errors::kFileInvalid)
        return "empty";
    return FormatText(limits::kShortField, "ERROR:%X", unsigned(error));
}

uint32_t IndexFormatOf(int versionIndex) {
    if (versionIndex == 5)
        return scenery_format::k22;
    if (versionIndex == 6)
        return scenery_format::k27;
    return scenery_format::k9;
}
}  // namespace

bool HasLibraryDirectory(const uint8_t* bytes, size_t size) {
    return bytes && size >= 66 && ReadWord(bytes + 62) != 0;
}

namespace {

enum class Parse { Done, NeedsWholeFile };

// The directory parser over the first `available` bytes of a file of `fileSize` bytes. Bounded by
// the real size: a directory entry that reaches past the end ends the directory (what follows it
// cannot be trusted to be entries); an object record or name that reaches past the end skips that
// one entry, and the next entry is read. Anything inside the file but beyond the bytes at hand
// asks for the whole file.
Parse ParseDirectory(const uint8_t* bytes, size_t available, uint64_t fileSize,
                     std::string_view path, LibraryCatalogue& catalogue) {
    if (!HasLibraryDirectory(bytes, available))
        return Parse::Done;
    const uint64_t directory = ReadWord(bytes + 62);
    std::string libraryPath = CutText(path, limits::kPath);
    for (uint64_t entry = directory; entry + kDirectoryEntry <= fileSize;
         entry += kDirectoryEntry) {
        if (entry + kDirectoryEntry > available)
            return Parse::NeedsWholeFile;
        uint32_t recordOffset = ReadWord(bytes + entry);
        if (recordOffset == 0)
            break;
        uint64_t start = directory + recordOffset;
        if (start + kRecordHeader > fileSize)
            continue;
        if (start + kRecordHeader > available)
            return Parse::NeedsWholeFile;
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
            if (start + object.recordLength > fileSize)
                continue;
            if (start + object.recordLength > available)
                return Parse::NeedsWholeFile;
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
    return Parse::Done;
}

// A packed image handed back to the packed reader's heap on every way out.
struct ImageRelease {
    size_t size;
    void operator()(uint8_t* image) const { ReleasePackedImage(size, image); }
};

// One open and as few reads as the file needs: a plain file's first bytes (the whole file only
// when its directory reaches further), a packed file whole, unpacked from memory. Read with
// sharing, as every library file is, so a packed library that the simulator holds open is still
// listed. `passing` tells a failure that may not recur for the same bytes (memory running short,
// a read that failed) from one that will (an empty or damaged file).
bool ReadOpenedFile(ReadOnlyFile& file, const char* path, LibraryCatalogue& catalogue,
                    std::string& whyNot, bool& passing) {
    const uint64_t size = file.Size();
    if (size == 0) {
        whyNot = "empty";
        SetLastErrorCode(errors::kFileInvalid);
        return false;
    }
    passing = true;  // from here until the bytes are read, only memory or a read can fail
    if (size > SIZE_MAX / 2) {
        whyNot = "out of memory";
        SetLastErrorCode(errors::kNotEnoughMemory);
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!ResizeBuffer(bytes, size_t(size < kFirstRead ? size : kFirstRead))) {
        whyNot = "out of memory";
        return false;
    }
    auto readRest = [&] {
        const size_t have = bytes.size();
        return ResizeBuffer(bytes, size_t(size)) &&
               file.Read(have, bytes.data() + have, bytes.size() - have);
    };
    if (!file.Read(0, bytes.data(), bytes.size())) {
        whyNot = OpenFailureReason(GetLastErrorCode());
        return false;
    }
    // A file too short for its flags word has no packed flag.
    const bool packedFlag = size >= 126 && (ReadWord(bytes.data() + 122) >> 31);
    if (packedFlag) {
        if (!readRest()) {
            whyNot = OpenFailureReason(GetLastErrorCode());
            return false;
        }
        file.Close();
        size_t imageSize = 0;
        uint8_t* image = nullptr;
        PackedFileStatus status =
            UnpackPackedImage(bytes.data(), bytes.size(), SystemImageHeap(), &imageSize, &image);
        std::unique_ptr<uint8_t, ImageRelease> owned(image, ImageRelease{imageSize});
        if (status == PackedFileStatus::Ok && imageSize > UINT32_MAX)
            status = PackedFileStatus::OutOfMemory;
        passing = status == PackedFileStatus::OutOfMemory;
        if (status != PackedFileStatus::Ok) {
            whyNot = PackedFileStatusName(status);
            SetLastErrorCode(errors::kInvalidData);
            return false;
        }
        std::vector<uint8_t>().swap(bytes);  // the packed bytes are done with
        if (!HasLibraryDirectory(image, imageSize))
            whyNot = "not a library";
        ParseDirectory(image, imageSize, imageSize, path, catalogue);
        return true;
    }
    passing = false;
    if (!HasLibraryDirectory(bytes.data(), bytes.size()))
        whyNot = "not a library";
    const size_t before = catalogue.Count();
    if (ParseDirectory(bytes.data(), bytes.size(), size, path, catalogue) == Parse::Done)
        return true;
    catalogue.Truncate(before);
    if (!readRest()) {
        whyNot = OpenFailureReason(GetLastErrorCode());
        passing = true;
        return false;
    }
    ParseDirectory(bytes.data(), bytes.size(), size, path, catalogue);
    return true;
}

// ReadLibraryFile, which also tells whether a failure may pass: a file that is there but would
// not open (another program holds it) may open another time; a missing one stays missing.
bool ReadLibrary(const char* path, LibraryCatalogue& catalogue, std::string& whyNot,
                 bool& passing) {
    whyNot.clear();
    passing = false;
    if (!path || strlen(path) > limits::kPath) {
        SetLastErrorCode(errors::kInvalidParameter);
        whyNot = "path too long";
        return false;
    }
    ReadOnlyFile file;
    if (!file.Open(path)) {
        const uint32_t error = GetLastErrorCode();
        whyNot = OpenFailureReason(error);
        passing = !IsMissingError(error) && StampOf(path).present;
        SetLastErrorCode(error);
        return false;
    }
    return ReadOpenedFile(file, path, catalogue, whyNot, passing);
}

}  // namespace

bool ReadLibraryFile(const char* path, LibraryCatalogue& catalogue, std::string* whyNot) {
    std::string reason;
    bool passing = false;
    const bool read = ReadLibrary(path, catalogue, reason, passing);
    if (whyNot)
        *whyNot = std::move(reason);
    return read;
}

bool ReadLibraryBytes(const uint8_t* bytes, size_t size, std::string_view path,
                      LibraryCatalogue& catalogue) {
    if (!bytes || size == 0) {
        SetLastErrorCode(errors::kInvalidParameter);
        return false;
    }
    ParseDirectory(bytes, size, size, path, catalogue);
    return true;
}

namespace {

// Reads one named library file into the catalogue; the report and the scan's basis learn about
// it. Files are read one after the other on the calling thread: under Wine every open, read and
// close is a request to the one server process, which serves them one at a time, and threads
// handing files to each other only added requests and memory.
bool ScanOneFile(const std::string& path, bool pathFits, LibraryCatalogue& catalogue,
                 ScanReport* report, ScanBasis* basis) {
    std::string whyNot = "path too long";
    bool read = false;
    if (pathFits) {
        if (basis)
            basis->files.push_back({path, StampOf(path.c_str())});
        bool passing = false;
        read = ReadLibrary(path.c_str(), catalogue, whyNot, passing);
        if (basis && passing)
            basis->passingFailure = true;
    }
    if (report) {
        if (whyNot.empty())
            ++report->filesRead;
        else
            report->skipped.push_back({path, std::move(whyNot)});
    }
    return read;
}

// Why the area list gave no area to read, in a word or two; "" when it named one. Without it a
// designer sees only that no area was read.
std::string AreaListProblem(const SceneryIndexList& list) {
    const uint32_t error = list.AreaListError();
    if (error == errors::kFileNameTooLong)
        return "path too long";
    if (error != errors::kSuccess)
        return OpenFailureReason(error);
    return list.AreasNamed() == 0 ? "names no area" : "";
}

bool Scan(LibraryCatalogue& catalogue, int versionIndex, const char* installPath,
          ScanReport* report, ScanBasis* basis) {
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
        return path && ScanOneFile(*path, true, catalogue, report, basis);
    }
    if (!LoadSceneryIndex(IndexFormatOf(versionIndex), installPath, "Scenery.cfg", basis))
        return false;
    if (report) {
        report->areaList = {TheSceneryIndex().AreaListPath(), AreaListProblem(TheSceneryIndex())};
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
        ScanOneFile(path ? *path : std::string(installPath) + "\\" + name, path.has_value(),
                    catalogue, report, basis);
    }
    ClearSceneryIndex();
    return true;
}

}  // namespace

bool ScanLibraries(LibraryCatalogue& catalogue, int versionIndex, const char* installPath,
                   ScanReport* report) {
    return Scan(catalogue, versionIndex, installPath, report, nullptr);
}

bool ScanLibrariesStamped(LibraryCatalogue& catalogue, int versionIndex, const char* installPath,
                          ScanBasis& basis) {
    basis = ScanBasis();
    return Scan(catalogue, versionIndex, installPath, nullptr, &basis);
}
