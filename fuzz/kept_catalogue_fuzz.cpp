// The kept catalogue over arbitrary bytes: reading never crashes, and no catalogue comes from
// bytes that are not, to the last byte, a file the program kept. The bytes are read three ways:
// as they are; with a right check value put at their end, so that the layout behind the check is
// read too; and as the source of a catalogue that is kept, read back whole, and then refused
// with one byte changed, cut short and lengthened. Seeds: kept files of small catalogues, kept by
// the program file below (which is not there, so its stamp always matches).
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sim/KeptCatalogue.h"
#include "sim/SimFiles.h"

namespace {

constexpr int kVersion = 6;
constexpr const char* kInstall = "C:\\FS";
constexpr const char* kProgram = "/nonexistent/Scenewright.exe";

using Bytes = std::vector<uint8_t>;

// Taken or not; a refusal leaves no object behind.
bool Takes(const Bytes& bytes, LibraryCatalogue& taken) {
    const bool took = TakeKeptCatalogue(bytes, kVersion, kInstall, kProgram, taken);
    if (!took && !taken.Empty())
        std::abort();
    return took;
}

// A kept file changed at `at` by `change` (not 0), cut short there or lengthened by a byte is
// refused.
void DamagedAreRefused(const Bytes& kept, size_t at, uint8_t change) {
    LibraryCatalogue taken;
    Bytes damaged = kept;
    damaged[at] ^= change;
    if (Takes(damaged, taken) || Takes(Bytes(kept.begin(), kept.begin() + long(at)), taken))
        std::abort();
    damaged = kept;
    damaged.insert(damaged.begin() + long(at), change);
    if (Takes(damaged, taken))
        std::abort();
}

// Up to 256 objects cut from the bytes: a control byte (the name's length, whether there is one),
// then the name's bytes.
LibraryCatalogue CatalogueFrom(const uint8_t* data, size_t size) {
    LibraryCatalogue made;
    for (size_t at = 0; at < size && made.Count() < 256;) {
        const uint8_t control = data[at++];
        const size_t length = std::min<size_t>(control & 0x3F, size - at);
        const std::string text(reinterpret_cast<const char*>(data + at), length);
        at += length;
        LibraryObject object;
        object.guid.words[0] = uint32_t(at) * 0x9E3779B9u;
        object.guid.words[3] = control;
        object.flagsByte = control;
        object.recordLength = uint32_t(41 + length);
        object.radius = int32_t(uint32_t(control) * 0x01010101u);
        object.scale = uint32_t(length) << 16;
        if (!(control & 0x40))
            object.name = text;
        object.guidText = GuidDisplayText(object.guid);
        object.guidAsmText = GuidAsmText(object.guid);
        object.libraryPath = std::string(kInstall) + "\\Scenery\\" + text + ".bgl";
        made.Append(std::move(object));
    }
    return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const size_t mix = size + (size ? data[0] : 0) * 131u + (size ? data[size - 1] : 0);
    const uint8_t change = size && data[size / 2] ? data[size / 2] : 0x80;

    Bytes bytes(data, data + size);
    Bytes sealed = bytes;
    if (sealed.size() >= 4) {
        const size_t body = sealed.size() - 4;
        const uint32_t check = uint32_t(crc32_z(crc32_z(0, nullptr, 0), sealed.data(), body));
        for (int i = 0; i < 4; ++i)
            sealed[body + size_t(i)] = uint8_t(check >> (8 * i));
    }
    for (const Bytes* given : {&bytes, &sealed}) {
        LibraryCatalogue taken;
        if (Takes(*given, taken))
            DamagedAreRefused(*given, mix % given->size(), change);
    }

    const LibraryCatalogue made = CatalogueFrom(data, size);
    const std::vector<StampedFile> consulted = {{kProgram, StampOf(kProgram)}};
    const Bytes kept = KeepCatalogue(made, kVersion, kInstall, consulted);
    LibraryCatalogue taken;
    if (!Takes(kept, taken) || KeepCatalogue(taken, kVersion, kInstall, consulted) != kept)
        std::abort();
    DamagedAreRefused(kept, mix % kept.size(), change);
    return 0;
}
