// The scenery area list over index files in memory (each layout, the cap, every bound) and over
// Scenery.cfg on disk (the rules for an area's "Local" folder).
#include "sim/SceneryIndex.h"

#include <gtest/gtest.h>

#include <functional>
#include <type_traits>

#include "ScanFiles.h"
#include "common/LastError.h"
#include "sim/ProfileFile.h"

using namespace scan_files;
using Names = std::vector<std::string>;

namespace {

// The file goes in as a copy exactly as long as its bytes, so a read past its end is caught.
Names Add(SceneryIndexList& list, const Bytes& file, bool accepted = true) {
    const Bytes exact(file);
    EXPECT_EQ(list.AddIndexFile(exact.data(), exact.size()), accepted);
    Names names;
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
            Add(list, IndexFile(file, {{"W\\one"}, {"W\\two", false}, {"W\\three"}}));
            EXPECT_EQ(Add(list, IndexFile(file, {})), (Names{"W\\one", "W\\three"}));  // N = 0
            EXPECT_EQ(list.AreasRead(), 2u);
        }
    }
    // Format 27 is read only when its flags word is exactly 4; format 22 whatever it holds.
    SceneryIndexList list;
    ASSERT_TRUE(list.Reset(scenery_format::k22));
    Bytes flags6 = IndexFile(k27, {{"x"}}), flags3 = IndexFile(k22, {{"y"}}),
          tag23 = IndexFile(k22, {{"z"}});
    Put(flags6, 36, 6);
    Put(flags3, 36, 3);
    Put(tag23, 4, 23);
    Add(list, flags6, false);
    EXPECT_EQ(GetLastErrorCode(), errors::kFileNotFound);
    EXPECT_EQ(Add(list, tag23, false), Names{});
    EXPECT_EQ(GetLastErrorCode(), errors::kInvalidParameter);
    EXPECT_EQ(Add(list, flags3), Names{"y"});
}

TEST(SceneryIndexList, KeepsTheFirstThousandQualifyingRecordsAndCountsTheRefused) {
    std::vector<IndexRecord> first, second;
    for (int i = 0; i < 1200; ++i) {
        (i < 600 ? first : second).push_back({"r" + std::to_string(i)});
        if (i % 100 == 50)  // flag clear, before and after the cap: never a slot, never refused
            (i < 600 ? first : second).push_back({"clear", false});
    }
    Bytes late = IndexFile(k22, second);
    late.back() = 'x';  // the last name loses its terminator: never a record, so never refused
    SceneryIndexList list;
    ASSERT_TRUE(list.Reset(scenery_format::k22));
    EXPECT_EQ(Add(list, IndexFile(k22, first)).size(), 600u);
    const Names names = Add(list, late);
    ASSERT_EQ(names.size(), 1000u);
    EXPECT_EQ(names.back(), "r999");
    EXPECT_EQ(list.RefusedAtCapacity(), 199u);
    Add(list, IndexFile(k22, {{"r1200"}}));
    EXPECT_EQ(GetLastErrorCode(), errors::kOutOfMemory);
    EXPECT_EQ(list.RefusedAtCapacity(), 200u);
}

// Without its bound, each damage makes the parser read outside the file or a record's copy,
// which AddressSanitizer reports.
TEST(SceneryIndexList, StaysInsideDamagedFiles) {
    struct Case {
        const char* damage;
        std::function<void(Bytes&)> apply;
        bool accepted;
        Names names;
    };
    // Format 27: the records "bad" at 96 and "good" at 196; the file ends at 297.
    const Case cases[] = {
        {"tag cut short", [](Bytes& b) { b.resize(6); }, false, {}},
        {"flags word cut short", [](Bytes& b) { b.resize(38); }, false, {}},
        {"offset table cut short", [](Bytes& b) { Put(b, 32, 60); }, false, {}},
        {"record offset past the end", [](Bytes& b) { Put(b, 88, 295); }, true, {"good"}},
        {"record past the end", [](Bytes& b) { Put(b, 96, 300); }, true, {"good"}},
        {"record shorter than its name offset", [](Bytes& b) { Put(b, 96, 9); }, true, {"good"}},
        {"name without its terminator", [](Bytes& b) { b.back() = 'x'; }, true, {"bad"}},
    };
    for (const Case& c : cases) {
        Bytes file = IndexFile(k27, {{"bad"}, {"good"}});
        c.apply(file);
        SceneryIndexList list;
        ASSERT_TRUE(list.Reset(scenery_format::k27));
        EXPECT_EQ(Add(list, file, c.accepted), c.names) << c.damage;
    }
}

// Its keys are views into its own text: a copy or a move would look into the text it came from.
static_assert(!std::is_copy_constructible_v<ProfileFile> &&
              !std::is_move_constructible_v<ProfileFile> &&
              !std::is_copy_assignable_v<ProfileFile> && !std::is_move_assignable_v<ProfileFile>);

TEST(LoadSceneryIndex, TakesEachAreasLocalFolderByTheProfileRules) {
    TempFolder install, addon;
    std::string cfg;
    auto area = [&](const char* number, const std::string& local, const char* index) {
        cfg += std::string("[Area.") + number + "]\r\nLocal=" + local + "\r\n";
        install.Write(index, IndexFile(k22, {{number}}));
    };
    area("000", "Scenery\\World", "Scenery\\World\\SCENERY.DAT");
    area("001", "eRRor:2", "eRRor:2\\SCENERY.DAT");  // the missing value, in any letter case
    area("002", "", "SCENERY.DAT");
    area("004", "Addon\\Pack.CAB", "Addon\\SCENERY.DAT");
    area("005", "addon\\sub\\pack.cab", "addon\\sub\\SCENERY.DAT");
    area("007", "Flat.CAB", "Flat.CAB\\SCENERY.DAT");
    area("012", addon.path, "unused");  // absolute: outside the install folder
    addon.Write("SCENERY.DAT", IndexFile(k22, {{"012"}}));
    install.Write("Scenery.cfg", cfg);
    for (const std::string& folder : {install.path, install.path + "\\"}) {
        ASSERT_TRUE(LoadSceneryIndex(scenery_format::k22, folder.c_str(), "Scenery.cfg"));
        Names names;
        for (uint32_t i = 0; i < SceneryIndexCount(); ++i)
            names.push_back(SceneryFileName(i));
        EXPECT_EQ(names, (Names{"000", "004", "005", "007", "012"})) << folder;
    }
    ClearSceneryIndex();
}
