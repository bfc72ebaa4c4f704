// The scenery area list over index files in memory (each layout, the cap, every bound) and over
// Scenery.cfg files on disk (the rules for an area's "Local" folder).
#include "sim/SceneryIndex.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ScanFiles.h"
#include "common/LastError.h"

using namespace scan_files;

namespace {

// The file goes in as a copy exactly as long as its bytes, so a read past its end is caught.
bool Add(SceneryIndexList& list, const Bytes& file) {
    const Bytes exact(file);
    return list.AddIndexFile(exact.data(), exact.size());
}

std::vector<std::string> Names(const SceneryIndexList& list) {
    std::vector<std::string> names;
    for (uint32_t i = 0; i < list.Count(); ++i)
        names.push_back(list.FileName(i));
    return names;
}

}  // namespace

TEST(SceneryIndexList, ReadsEachLayoutWhateverFormatTheListExpects) {
    for (const Layout& file : {k9, k22, k27}) {
        for (const Layout& expected : {k9, k22, k27}) {
            SceneryIndexList list;
            ASSERT_TRUE(list.Reset(expected.tag));
            EXPECT_TRUE(Add(list, IndexFile(file, {{"W\\one"}, {"W\\two", false}, {"W\\three"}})));
            EXPECT_TRUE(Add(list, IndexFile(file, {})));  // N = 0
            EXPECT_EQ(Names(list), (std::vector<std::string>{"W\\one", "W\\three"}))
                << file.tag << " read as " << expected.tag;
            EXPECT_EQ(list.AreasRead(), 2u);
        }
    }
    // The flags word: format 27 is read only when it is exactly 4, format 22 whatever it is.
    SceneryIndexList list;
    ASSERT_TRUE(list.Reset(scenery_format::k22));
    Bytes flags6 = IndexFile(k27, {{"x"}});
    Put(flags6, 36, 6);
    EXPECT_FALSE(Add(list, flags6));
    EXPECT_EQ(GetLastErrorCode(), errors::kFileNotFound);
    Bytes flags3 = IndexFile(k22, {{"y"}});
    Put(flags3, 36, 3);
    EXPECT_TRUE(Add(list, flags3));
    Bytes tag23 = IndexFile(k22, {{"z"}});
    Put(tag23, 4, 23);
    EXPECT_FALSE(Add(list, tag23));
    EXPECT_EQ(GetLastErrorCode(), errors::kInvalidParameter);
    EXPECT_EQ(Names(list), std::vector<std::string>{"y"});
}

TEST(SceneryIndexList, KeepsTheFirstThousandQualifyingRecordsAndCountsTheRefused) {
    std::vector<IndexRecord> first, second;
    for (int i = 0; i < 1200; ++i) {
        (i < 600 ? first : second).push_back({"r" + std::to_string(i)});
        if (i % 100 == 50)  // flag clear, before and after the cap: never a slot, never refused
            (i < 600 ? first : second).push_back({"clear", false});
    }
    Bytes late = IndexFile(k22, second);
    late.back() = 'x';  // the last record's name loses its terminator: no record, not refused
    SceneryIndexList list;
    ASSERT_TRUE(list.Reset(scenery_format::k22));
    EXPECT_TRUE(Add(list, IndexFile(k22, first)));
    EXPECT_EQ(list.Count(), 600u);
    EXPECT_TRUE(Add(list, late));
    EXPECT_EQ(list.Count(), 1000u);
    EXPECT_EQ(list.RefusedAtCapacity(), 199u);
    EXPECT_STREQ(list.FileName(0), "r0");
    EXPECT_STREQ(list.FileName(999), "r999");
    EXPECT_EQ(list.FileName(1000), nullptr);
    // A qualifying record offered to a full list is refused with code 14.
    EXPECT_TRUE(Add(list, IndexFile(k22, {{"r1200"}})));
    EXPECT_EQ(GetLastErrorCode(), errors::kOutOfMemory);
    EXPECT_EQ(list.RefusedAtCapacity(), 200u);
}

// Each damage would make the parser read outside the file (or outside a copied record) without
// its bound; the tests run under AddressSanitizer.
TEST(SceneryIndexList, StaysInsideDamagedFiles) {
    struct Case {
        const char* damage;
        std::function<void(Bytes&)> apply;
        bool read;
        std::vector<std::string> names;
    };
    // Format 27, records "bad" at 96 and "good" at 196; the file ends at 297.
    const Case cases[] = {
        {"tag cut short", [](Bytes& b) { b.resize(6); }, false, {}},
        {"flags word cut short", [](Bytes& b) { b.resize(38); }, false, {}},
        {"offset table cut short", [](Bytes& b) { Put(b, 32, 60); }, false, {}},
        {"record offset past the end",
         [](Bytes& b) { Put(b, 88, uint32_t(b.size() - 2)); },
         true,
         {"good"}},
        {"record past the end", [](Bytes& b) { Put(b, 96, 300); }, true, {"good"}},
        {"record shorter than its name offset", [](Bytes& b) { Put(b, 96, 9); }, true, {"good"}},
        {"name without its terminator", [](Bytes& b) { b.back() = 'x'; }, true, {"bad"}},
    };
    for (const Case& c : cases) {
        Bytes file = IndexFile(k27, {{"bad"}, {"good"}});
        c.apply(file);
        SceneryIndexList list;
        ASSERT_TRUE(list.Reset(scenery_format::k27));
        EXPECT_EQ(Add(list, file), c.read) << c.damage;
        EXPECT_EQ(Names(list), c.names) << c.damage;
    }
}

TEST(LoadSceneryIndex, TakesEachAreasLocalFolderByTheProfileRules) {
    TempFolder install, addon;
    std::string cfg;
    auto area = [&](int n, const std::string& local, const char* file, const char* name) {
        cfg += "[Area." + std::string(n < 10 ? "00" : "0") + std::to_string(n) +
               "]\r\nLocal=" + local + "\r\nActive=FALSE\r\n";
        if (file)
            install.Write(file, IndexFile(k22, {{name}}));
    };
    area(0, "Scenery\\World", "Scenery\\World\\SCENERY.DAT", "world");
    area(1, "Error:2", "Error:2\\SCENERY.DAT", "error area");
    area(2, "", "SCENERY.DAT", "empty value");
    area(4, "Addon\\Pack.CAB", "Addon\\SCENERY.DAT", "addon");
    area(5, "addon\\sub\\pack.cab", "addon\\sub\\SCENERY.DAT", "lower-case cab");
    area(7, "Flat.CAB", "Flat.CAB\\SCENERY.DAT", "cab without a folder");
    area(12, addon.path, nullptr, nullptr);  // absolute: not under the install folder
    addon.Write("SCENERY.DAT", IndexFile(k22, {{"absolute"}}));
    install.Write("Scenery.cfg", cfg);

    const std::vector<std::string> expected = {"world", "addon", "lower-case cab",
                                               "cab without a folder", "absolute"};
    for (const std::string& folder : {install.path, install.path + "\\"}) {
        ASSERT_TRUE(LoadSceneryIndex(scenery_format::k22, folder.c_str(), "Scenery.cfg"));
        EXPECT_EQ(Names(TheSceneryIndex()), expected) << folder;
    }
    ASSERT_TRUE(LoadSceneryIndex(scenery_format::k22, addon.path.c_str(), "Scenery.cfg"));
    EXPECT_EQ(SceneryIndexCount(), 0u);  // no Scenery.cfg: every area missing, still a success
    ClearSceneryIndex();
}
