#include "sim/KeptCatalogue.h"

#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "sim/LibraryScan.h"

namespace {

// Bumped whenever the layout below or what a scan lists changes, so an older file is not taken.
constexpr char kMark[8] = {'S', 'W', 'C', 'A', 'T', '0', '0', '1'};

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
    explicit Reader(const std::vector<uint8_t>& from) : bytes(from) {}
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
        std::string text(reinterpret_cast<const char*>(bytes.data() + at), length);
        at += length;
        return text;
    }
    bool AtEnd() const { return ok && at == bytes.size(); }

  private:
    bool Has(size_t count) {
        ok = ok && count <= bytes.size() - at;
        return ok;
    }
    const std::vector<uint8_t>& bytes;
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
    return out.bytes;
}

bool TakeKeptCatalogue(const std::vector<uint8_t>& bytes, int versionIndex, const char* installPath,
                       LibraryCatalogue& catalogue) {
    catalogue.Clear();
    if (bytes.size() < sizeof kMark || std::memcmp(bytes.data(), kMark, sizeof kMark) != 0)
        return false;
    Reader in(bytes);
    in.Number(sizeof kMark);
    if (in.Number(4) != uint32_t(versionIndex) || in.Text() != installPath)
        return false;
    for (size_t files = size_t(in.Number(4)); files > 0 && in.ok; --files) {
        const std::string path = in.Text();
        FileStamp kept;
        kept.present = in.Number(1) != 0;
        kept.size = in.Number(8);
        kept.time = in.Number(8);
        if (!in.ok || !(StampOf(path.c_str()) == kept))
            return false;
    }
    const size_t count = size_t(in.Number(4));
    if (!in.ok || count > bytes.size() / 41)
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

bool ScanLibrariesKept(LibraryCatalogue& catalogue, int versionIndex, const char* installPath,
                       const char* keptFile) {
    std::vector<uint8_t> kept;
    bool scanned = false;
    if (installPath && installPath[0] && keptFile && ReadWholeFile(keptFile, kept) &&
        TakeKeptCatalogue(kept, versionIndex, installPath, catalogue)) {
        scanned = true;
    } else {
        std::vector<StampedFile> consulted;
        scanned = ScanLibrariesStamped(catalogue, versionIndex, installPath, consulted);
        if (scanned && keptFile)
            WriteWholeFile(keptFile,
                           KeepCatalogue(catalogue, versionIndex, installPath, consulted));
    }
    return scanned;
}
