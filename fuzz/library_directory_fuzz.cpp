// Library directories over arbitrary bytes: the parser stays inside the file, lists nothing for a
// file without a directory, and every object it lists came from a whole entry and record inside
// the file, with its name and texts within the program's limits.
#include <cstdlib>

#include "sim/LibraryScan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LibraryCatalogue catalogue;
    const bool read = ReadLibraryBytes(data, size, "C:\\FS\\Scenery\\fuzz.bgl", catalogue);
    if (read != (size != 0))
        std::abort();
    if (!HasLibraryDirectory(data, size) && !catalogue.Empty())
        std::abort();
    if (catalogue.Count() * 20 > size)
        std::abort();
    for (const LibraryObject& object : catalogue) {
        if (object.name && (object.recordLength <= 41 || object.name->size() > 259 ||
                            object.name->size() > object.recordLength - 41))
            std::abort();
        if (object.guidText.size() > 63 || object.guidAsmText.size() > 63 ||
            object.libraryPath != "C:\\FS\\Scenery\\fuzz.bgl")
            std::abort();
    }
    return 0;
}
