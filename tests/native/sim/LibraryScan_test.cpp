// The library directory over files in memory (every bound, names and their lengths), and the
// catalogue and effects scans over small installs on disk: what they list and what they return.
#include "sim/LibraryScan.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ScanFiles.h"
#include "sim/Effects.h"

using namespace scan_files;

namespace {

// Each object's name, "-" for none.
std::vector<std::string> Names(const LibraryCatalogue& catalogue) {
    std::vector<std::string> names;
    for (const LibraryObject& object : catalogue)
        names.push_back(object.name.value_or("-"));
    return names;
}

}  // namespace

// Each damage would make the parser read past the end of the file without its bound (the tests
// run under AddressSanitizer).
TEST(ReadLibraryBytes, ListsWhatLiesInsideTheFileAndSkipsWhatDoesNot) {
    struct Case {
        const char* damage;
        std::function<void(Bytes&)> apply;
        std::vector<std::string> names;
    };
    // Directory at 128 with entries for records at 188 ("abcd", length 45) and 233 ("" : 41).
    const Case cases[] = {
        {"none", [](Bytes&) {}, {"abcd", "-"}},
        {"header cut before the directory offset", [](Bytes& b) { b.resize(64); }, {}},
        {"directory past the end", [](Bytes& b) { Put(b, 62, uint32_t(b.size() + 40)); }, {}},
        {"entry two bytes before the end",
         [](Bytes& b) {
             Put(b, 62, uint32_t(b.size() - 22));
             Put(b, b.size() - 22, 1000);  // a record past the end: the next entry is tried
         },
         {}},
        {"first entry 0", [](Bytes& b) { Put(b, 128, 0); }, {}},
        {"record past the end", [](Bytes& b) { Put(b, 128, uint32_t(b.size())); }, {"-"}},
        {"record header cut",
         [](Bytes& b) { Put(b, 148, uint32_t(b.size() - 128 - 30)); },
         {"abcd"}},
        {"name past the end", [](Bytes& b) { Put(b, 188 + 17, 100); }, {"-"}},
        {"record length below 41", [](Bytes& b) { Put(b, 188 + 17, 20); }, {"-", "-"}},
    };
    for (const Case& c : cases) {
        Bytes damaged = LibraryBytes({"abcd", ""});
        c.apply(damaged);
        const Bytes file(damaged);  // exactly as long as its bytes
        LibraryCatalogue catalogue;
        EXPECT_TRUE(ReadLibraryBytes(file.data(), file.size(), "C:\\FS\\lib.bgl", catalogue));
        EXPECT_EQ(Names(catalogue), c.names) << c.damage;
    }
    const Bytes file = LibraryBytes({"abcd", std::string(300, 'n')});
    LibraryCatalogue catalogue;
    ASSERT_TRUE(ReadLibraryBytes(file.data(), file.size(), "C:\\FS\\lib.bgl", catalogue));
    const LibraryObject& first = *catalogue.At(0);
    EXPECT_EQ(first.guidText, "{ 90B2BBE0, 00000000, 00000000, 00000000 }");
    EXPECT_EQ(first.radius, 10);
    EXPECT_EQ(first.libraryPath, "C:\\FS\\lib.bgl");
    EXPECT_EQ(catalogue.At(1)->name->size(), 259u);  // a name is cut to the program's limit
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
    EXPECT_TRUE(ScanLibraries(catalogue, 5, install.path.c_str(), nullptr, &report));
    // The same library named twice lists its objects twice.
    EXPECT_EQ(Names(catalogue), (std::vector<std::string>{"a1", "a2", "b1", "a1", "a2"}));
    EXPECT_EQ(report.areasRead, 1u);
    EXPECT_EQ(report.recordsTaken, 4u);
    EXPECT_EQ(report.filesRead, 3u);
    ASSERT_EQ(report.skipped.size(), 1u);
    EXPECT_EQ(report.skipped[0].reason, "missing");

    // CFS1 reads its one library file; without it the scan fails.
    EXPECT_FALSE(ScanLibraries(catalogue, 2, install.path.c_str(), nullptr, &report));
    EXPECT_TRUE(catalogue.Empty());
    install.Write("Scenery\\LIBRARY.BGL", LibraryBytes({"c1"}));
    EXPECT_TRUE(ScanLibraries(catalogue, 2, install.path.c_str()));
    EXPECT_EQ(Names(catalogue), std::vector<std::string>{"c1"});

    // No simulator: no version, or an empty folder.
    EXPECT_FALSE(ScanLibraries(catalogue, -1, install.path.c_str()));
    EXPECT_FALSE(ScanLibraries(catalogue, 5, ""));
    EXPECT_TRUE(catalogue.Empty());
    // A folder without Scenery.cfg has no areas, which is no failure.
    EXPECT_TRUE(ScanLibraries(catalogue, 6, (install.path + "\\World").c_str()));
    EXPECT_TRUE(catalogue.Empty());
}

TEST(ScanEffects, ReturnsWhetherTheEffectsFolderCouldBeListed) {
    TempFolder install;
    EffectsCatalogue effects;
    EXPECT_FALSE(ScanEffects(effects, install.path.c_str()));
    install.Write("Effects\\smoke.fx", std::string("[Library Effect]\r\nDisplay Name=Smoke\r\n"));
    std::filesystem::create_directories(install.path + "/Effects/extra.fx");
    EXPECT_TRUE(ScanEffects(effects, install.path.c_str()));
    ASSERT_EQ(effects.Count(), 1u);
    EXPECT_EQ(effects.At(0)->displayName, "Smoke");
    EXPECT_FALSE(ScanEffects(effects, ""));
    EXPECT_EQ(effects.Count(), 0u);
}
