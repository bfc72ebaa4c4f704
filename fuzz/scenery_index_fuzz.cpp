// Scenery index files over arbitrary bytes, read by a list that expects each of the three formats:
// the parser stays inside the file, every record it takes has its name terminated inside its own
// copy, the same file offers the same records each time it is read, and the cap of 1000 holds.
// The first byte picks the expected format (its value modulo 3: 9, 22, 27) and how many times
// the rest, the file, is read (1 to 3: offset tables may repeat a record, so the cap is reached).
#include <cstdlib>
#include <cstring>

#include "sim/SceneryIndex.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static constexpr uint32_t kFormats[] = {scenery_format::k9, scenery_format::k22,
                                            scenery_format::k27};
    const uint8_t* file = data + 1;  // ends where the fuzzer's own buffer ends
    const size_t fileSize = size - 1;
    SceneryIndexList list;
    if (!list.Reset(kFormats[data[0] % 3]))
        return 0;
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
        if (!name || std::strlen(name) >= fileSize)
            std::abort();
    }
    if (list.FileName(list.Count()))
        std::abort();
    return 0;
}
