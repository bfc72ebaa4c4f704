#include "sim/KeptCatalogue.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include <zlib.h>

#include "common/FileReplace.h"
#include "sim/LibraryScan.h"

namespace {

// Bumped whenever the layout below changes, so an older file is not taken. What a scan lists
// changes with the program, whose own file leads the stamped files.
constexpr char kMark[8] = {'S', 'W', 'C', 'A', 'T', '0', '0', '3'};

// The file ends in the CRC-32 of every byte before it. A byte changed on the disk would otherwise
// be taken as it reads: a wrong name or path, shown and written into placement lines.
constexpr size_t kCheckSize = 4;

uint32_t CheckValue(const uint8_t* bytes, size_t size) {
    return uint32_t(crc32_z(crc32_z(0, nullptr, 0), bytes, size));
}

class Writer {
  public:
    std::vector<uint8_t> bytes;
    void Number(uint64_t value, int width) {
        for (int i = 0; i < width; ++i)
            bytes.push_back(uint8_t(value >> (8 * i)));
    }
    void Text(std::string_view text) {
        Number(text.size(), 4);
        bytes.insert(bytes.end(), text.begin(), text.end());
    }
};

// Reads what Writer wrote; any read past the end marks the whole file as not usable.
class Reader {
  public:
    Reader(const uint8_t* from, size_t count) : bytes(from), size(count) {}
    bool ok = true;
    uint64_t Number(int width) {
        if (!Has(size_t(width)))
            return 0;
        uint64_t value = 0;
        for (int i = 0; i < width; ++i)
            value |= uint64_t(bytes[at + size_t(i)]) << (8 * i);
        at += size_t(width);
        return value;
    }
    std::string Text() {
        const size_t length = size_t(Number(4));
        if (!Has(length))
            return {};
        std::string text(reinterpret_cast<const char*>(bytes + at), length);
        at += length;
        return text;
    }
    bool AtEnd() const { return ok && at == size; }

  private:
    bool Has(size_t count) {
        ok = ok && count <= size - at;
        return ok;
    }
    const uint8_t* bytes;
    size_t size;
    size_t at = 0;
};

}  // namespace

std::vector<uint8_t> KeepCatalogue(const LibraryCatalogue& catalogue, int versionIndex,
                                   const char* installPath,
                                   const std::vector<StampedFile>& consulted) {
    Writer out;
    out.bytes.assign(std::begin(kMark), std::end(kMark));
    out.Number(uint32_t(versionIndex), 4);
    out.Text(installPath);
    out.Number(consulted.size(), 4);
    for (const StampedFile& file : consulted) {
        out.Text(file.path);
        out.Number(file.stamp.present, 1);
        out.Number(file.stamp.size, 8);
        out.Number(file.stamp.time, 8);
    }
    out.Number(catalogue.Count(), 4);
    for (const LibraryObject& object : catalogue) {
        for (uint32_t word : object.guid.words)
            out.Number(word, 4);
        out.Number(object.flagsByte, 1);
        for (uint32_t value : {object.recordLength, object.extra1, uint32_t(object.radius),
                               object.scale, object.extra2, object.extra3})
            out.Number(value, 4);
        out.Number(object.name.has_value(), 1);
        out.Text(object.name.value_or(""));
        out.Text(object.guidText);
        out.Text(object.guidAsmText);
        out.Text(object.libraryPath);
    }
    out.Number(CheckValue(out.bytes.data(), out.bytes.size()), kCheckSize);
    return out.bytes;
}

bool TakeKeptCatalogue(const std::vector<uint8_t>& bytes, int versionIndex, const char* installPath,
                       const char* programFile, LibraryCatalogue& catalogue) {
    catalogue.Clear();
    if (bytes.size() < sizeof kMark + kCheckSize ||
        std::memcmp(bytes.data(), kMark, sizeof kMark) != 0)
        return false;
    const size_t checked = bytes.size() - kCheckSize;
    if (Reader(bytes.data() + checked, kCheckSize).Number(kCheckSize) !=
        CheckValue(bytes.data(), checked))
        return false;
    Reader in(bytes.data(), checked);
    in.Number(sizeof kMark);
    if (in.Number(4) != uint32_t(versionIndex) || in.Text() != installPath)
        return false;
    const size_t files = size_t(in.Number(4));
    for (size_t i = 0; i < files && in.ok; ++i) {
        const std::string path = in.Text();
        if (i == 0 && path != programFile)
            return false;
        FileStamp kept;
        kept.present = in.Number(1) != 0;
        kept.size = in.Number(8);
        kept.time = in.Number(8);
        if (!in.ok || !(StampOf(path.c_str()) == kept))
            return false;
    }
    const size_t count = size_t(in.Number(4));
    if (!in.ok || files == 0 || count > checked / 41)
        return false;
    catalogue.Reserve(count);
    for (size_t i = 0; i < count && in.ok; ++i) {
        LibraryObject object;
        for (uint32_t& word : object.guid.words)
            word = uint32_t(in.Number(4));
        object.flagsByte = uint8_t(in.Number(1));
        object.recordLength = uint32_t(in.Number(4));
        object.extra1 = uint32_t(in.Number(4));
        object.radius = int32_t(uint32_t(in.Number(4)));
        object.scale = uint32_t(in.Number(4));
        object.extra2 = uint32_t(in.Number(4));
        object.extra3 = uint32_t(in.Number(4));
        const bool named = in.Number(1) != 0;
        std::string name = in.Text();
        if (named)
            object.name = std::move(name);
        object.guidText = in.Text();
        object.guidAsmText = in.Text();
        object.libraryPath = in.Text();
        catalogue.Append(std::move(object));
    }
    if (!in.AtEnd()) {
        catalogue.Clear();
        return false;
    }
    return true;
}

namespace {

// A file written within the same tick of the file system's clock as it was looked at (two
// seconds on FAT) could change again and keep its time and size: such a scan is not kept, and
// the next start, finding the files settled, keeps its own.
bool AllSettled(const std::vector<StampedFile>& files, uint64_t scanStart) {
    const uint64_t settled = 2 * kFileClockSecond;
    for (const StampedFile& file : files) {
        if (file.stamp.time > scanStart || scanStart - file.stamp.time < settled)
            return false;
    }
    return true;
}

}  // namespace

// The program's own file is stamped with the install's files: a new build may read a library
// that an older one refused, so it never takes an older build's catalogue. A kept file that a
// scan may not keep is left as it is; it is taken only while every file it names still matches
// it. A file replaced by another of the same size and time matches too: a scan asked for again
// removes the kept file it could not replace, so that the next start does not go back to it.
bool ScanLibrariesKept(LibraryCatalogue& catalogue, int versionIndex, const char* installPath,
                       const char* keptFile, const char* programFile, KeptCatalogueUse use) {
    const bool keeping = installPath && installPath[0] && keptFile && programFile;
    std::vector<uint8_t> kept;
    if (keeping && use == KeptCatalogueUse::TakeWhenCurrent && ReadWholeFile(keptFile, kept) &&
        TakeKeptCatalogue(kept, versionIndex, installPath, programFile, catalogue))
        return true;
    const uint64_t scanStart = FileClockNow();
    ScanBasis basis;
    const bool scanned = ScanLibrariesStamped(catalogue, versionIndex, installPath, basis);
    bool keptAnew = false;
    if (scanned && keeping && !basis.passingFailure) {
        basis.files.insert(basis.files.begin(), {programFile, StampOf(programFile)});
        if (AllSettled(basis.files, scanStart)) {
            const std::vector<uint8_t> bytes =
                KeepCatalogue(catalogue, versionIndex, installPath, basis.files);
            keptAnew = ReplaceFileContents(
                keptFile,
                std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        }
    }
    if (keeping && use == KeptCatalogueUse::ScanAgain && !keptAnew)
        std::remove(keptFile);
    return scanned;
}
