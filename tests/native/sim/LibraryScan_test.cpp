// The library directory over files in memory (every bound, names), and the catalogue and effects
// scans over small installs on disk: what they list and what they return.
#include "sim/LibraryScan.h"

#include <gtest/gtest.h>

#include <functional>

#include "ScanFiles.h"
#include "sim/Effects.h"

using namespace scan_files;
using Names = std::vector<std::string>;

namespace {

Names NamesOf(const LibraryCatalogue& catalogue) {
    Names names;
    for (const LibraryObject& object : catalogue)
        names.push_back(object.name.value_or("(none)"));
    return names;
}

}  // namespace

// Without its bound, each damage makes the parser read past the end of the file, which
// AddressSanitizer reports.
TEST(ReadLibraryBytes, ListsWhatLiesInsideTheFileAndSkipsWhatDoesNot) {
    struct Case {
        const char* damage;
        std::function<void(Bytes&)> apply;
        Names names;
    };
    // The directory at 128 holds the records "abcd" (length 45) at 188 and "" (length 41) at
    // 233; the file ends at 274.
    const Case cases[] = {
        {"none", [](Bytes&) {}, {"abcd", "(none)"}},
        {"header cut before the directory offset", [](Bytes& b) { b.resize(64); }, {}},
        {"directory past the end", [](Bytes& b) { Put(b, 62, 300); }, {}},
        {"entry two bytes before the end",
         [](Bytes& b) {
             Put(b, 62, 252);
             Put(b, 252, 1000);  // its record lies past the end, so the next entry is read
         },
         {}},
        {"first entry 0", [](Bytes& b) { Put(b, 128, 0); }, {}},
        {"record past the end", [](Bytes& b) { Put(b, 128, 274); }, {"(none)"}},
        {"record header cut", [](Bytes& b) { Put(b, 148, 274 - 128 - 30); }, {"abcd"}},
        {"name past the end", [](Bytes& b) { Put(b, 188 + 17, 100); }, {"(none)"}},
        {"record length below 41", [](Bytes& b) { Put(b, 188 + 17, 20); }, {"(none)", "(none)"}},
    };
    for (const Case& c : cases) {
        Bytes damaged = LibraryBytes({"abcd", ""});
        c.apply(damaged);
        const Bytes file(damaged);  // exactly as long as its bytes
        LibraryCatalogue catalogue;
        EXPECT_TRUE(ReadLibraryBytes(file.data(), file.size(), "C:\\FS\\lib.bgl", catalogue));
        EXPECT_EQ(NamesOf(catalogue), c.names) << c.damage;
    }
    const Bytes file = LibraryBytes({std::string(300, 'n')});
    LibraryCatalogue catalogue;
    ASSERT_TRUE(ReadLibraryBytes(file.data(), file.size(), "C:\\FS\\lib.bgl", catalogue));
    EXPECT_EQ(catalogue.At(0)->name->size(), 259u);  // cut to the program's limit for names
    EXPECT_FALSE(ReadLibraryBytes(file.data(), 0, "C:\\FS\\lib.bgl", catalogue));
}

TEST(ScanLibraries, ListsEachNamedFileInOrderAndReturnsWhetherItCouldScan) {
    TempFolder install;
    install.Write("Scenery.cfg", std::string("[Area.000]\r\nLocal=World\r\n"));
    install.Write("World\\SCENERY.DAT",
                  IndexFile(k22, {{"World\\a"}, {"World\\b"}, {"World\\a"}, {"World\\gone"}}));
    install.Write("World\\a.bgl", LibraryBytes({"a1", "a2"}));
    install.Write("World\\b.bgl", LibraryBytes({"b1"}));
    LibraryCatalogue catalogue;
    ScanReport report;
    EXPECT_TRUE(ScanLibraries(catalogue, 5, install.path.c_str(), &report));
    EXPECT_EQ(NamesOf(catalogue), (Names{"a1", "a2", "b1", "a1", "a2"}));  // a named twice
    EXPECT_EQ(report.filesRead, 3u);
    ASSERT_EQ(report.skipped.size(), 1u);
    EXPECT_EQ(report.skipped[0].reason, "missing");

    // CFS1 reads its one library file, and fails without it.
    EXPECT_FALSE(ScanLibraries(catalogue, 2, install.path.c_str()));
    install.Write("Scenery\\LIBRARY.BGL", LibraryBytes({"c1"}));
    EXPECT_TRUE(ScanLibraries(catalogue, 2, install.path.c_str()));
    EXPECT_EQ(NamesOf(catalogue), Names{"c1"});
    // No version or an empty folder is no simulator; a folder without Scenery.cfg has no areas.
    EXPECT_FALSE(ScanLibraries(catalogue, -1, install.path.c_str()));
    EXPECT_FALSE(ScanLibraries(catalogue, 5, ""));
    EXPECT_TRUE(ScanLibraries(catalogue, 6, (install.path + "\\World").c_str()));
    EXPECT_TRUE(catalogue.Empty());

    EffectsCatalogue effects;
    EXPECT_FALSE(ScanEffects(effects, install.path.c_str()));  // no Effects folder
    install.Write("Effects\\smoke.fx", std::string("[Library Effect]\r\nDisplay Name=Smoke\r\n"));
    EXPECT_TRUE(ScanEffects(effects, install.path.c_str()));
    EXPECT_EQ(effects.Count(), 1u);
    EXPECT_FALSE(ScanEffects(effects, ""));
}
