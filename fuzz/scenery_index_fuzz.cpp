// Scenery index files over arbitrary bytes, read by a list that expects each of the three formats:
// the parser stays inside the file, every record it takes has its name terminated inside its own
// copy, the same file offers the same records each time it is read, and the cap of 1000 holds.
// The first byte chooses: modulo 3 the expected format (9, 22, 27); then how many times the
// rest, the file, is read (1 to 3); then whether the list is nearly full before, so that the
// file's own records meet the cap.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "sim/SceneryIndex.h"

namespace {

// A format 22 file whose 990 offsets all name one qualifying record.
std::vector<uint8_t> NearlyFull() {
    constexpr uint32_t kRecords = 990, kTable = 72, kRecord = kTable + 4 * kRecords;
    std::vector<uint8_t> bytes(kRecord + 77, 0);
    auto put = [&](size_t at, uint32_t value) { std::memcpy(&bytes[at], &value, 4); };
    put(4, scenery_format::k22);
    put(32, kRecords);
    for (uint32_t i = 0; i < kRecords; ++i)
        put(kTable + 4 * i, kRecord);
    put(kRecord, 77);
    bytes[kRecord + 8] = 0x04;
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static constexpr uint32_t kFormats[] = {scenery_format::k9, scenery_format::k22,
                                            scenery_format::k27};
    static const std::vector<uint8_t> nearlyFull = NearlyFull();
    const uint8_t* file = data + 1;  // ends where the fuzzer's own buffer ends
    const size_t fileSize = size - 1;
    SceneryIndexList list;
    if (!list.Reset(kFormats[data[0] % 3]))
        return 0;
    if (data[0] / 9 % 2 && !list.AddIndexFile(nearlyFull.data(), nearlyFull.size()))
        std::abort();
    uint32_t offeredFirst = 0;
    for (int read = 0; read < 1 + data[0] / 3 % 3; ++read) {
        const uint32_t before = list.Count() + list.RefusedAtCapacity();
        const bool accepted = list.AddIndexFile(file, fileSize);
        const uint32_t offered = list.Count() + list.RefusedAtCapacity() - before;
        if (!accepted && offered != 0)
            std::abort();
        if (read == 0)
            offeredFirst = offered;
        else if (offered != offeredFirst)
            std::abort();
        if (list.Count() > SceneryIndexList::kCapacity ||
            (list.RefusedAtCapacity() != 0 && list.Count() != SceneryIndexList::kCapacity))
            std::abort();
    }
    for (uint32_t i = 0; i < list.Count(); ++i) {
        const char* name = list.FileName(i);
        if (!name || std::strlen(name) > fileSize)
            std::abort();
    }
    if (list.FileName(list.Count()))
        std::abort();
    return 0;
}
