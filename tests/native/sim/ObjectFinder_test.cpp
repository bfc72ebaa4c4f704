// The finder against a small catalogue whose every answer is written out (words, case, file
// names, the identifier's forms, nameless objects, effects, order, sorting), and against a plain
// search of every row over a large generated catalogue, where it must find the same rows.
#include "sim/ObjectFinder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>

using Rows = std::vector<uint32_t>;

namespace {

LibraryObject Object(const char* name, const char* path, Guid128 guid, int radius = 10,
                     uint32_t scale = 0x10000) {
    LibraryObject object;
    if (name)
        object.name = name;
    object.libraryPath = path;
    object.guid = guid;
    object.guidText = GuidDisplayText(guid);
    object.guidAsmText = GuidAsmText(guid);
    object.radius = radius;
    object.scale = scale;
    return object;
}

// Positions 0 to 4; the Name list shows them as 4 ("{ 90B2..."), 0, 2, 3, 1.
LibraryCatalogue SmallCatalogue() {
    LibraryCatalogue catalogue;
    catalogue.Append(Object("Hangar_Large", "C:\\FS\\Addon\\scenery\\Hangars.bgl",
                            {{0x11111111, 0x22222222, 0x33333333, 0x44444444}}, 40, 0x8000));
    catalogue.Append(Object("tower_old", "C:\\FS\\scenery\\generic.bgl",
                            {{0xA1B2C3D4, 0x0000E5F6, 0x11D2F24A, 0x1000849C}}, -5));
    catalogue.Append(Object("Old_Hangar", "C:\\FS\\scenery\\generic.bgl",
                            {{0x55555555, 0x66666666, 0x77777777, 0x88888888}}, 40));
    catalogue.Append(Object("silo", "C:\\FS\\scenery\\generic.bgl",
                            {{0x99999999, 0xAAAAAAAA, 0xBBBBBBBB, 0xCCCCCCCC}}, 12, 0x4000));
    catalogue.Append(Object(nullptr, "C:\\FS\\scenery\\generic.bgl",
                            {{0x90B2BBE0, 0x11D2F24A, 0x1000849C, 0x2AE60C5A}}, 3));
    return catalogue;
}

const Rows kNameOrder = {4, 0, 2, 3, 1};

}  // namespace

TEST(ObjectFinder, FindsEveryWordInNameFileOrIdentifierInAnyCase) {
    const LibraryCatalogue catalogue = SmallCatalogue();
    ObjectFinder finder;
    finder.Build(catalogue, kNameOrder);
    Rows rows;
    auto find = [&](const char* text) {
        finder.Find(text, rows);
        return rows;
    };
    // Names beginning with the first word first, then the others, each in the Name list's order.
    EXPECT_EQ(find("hangar"), (Rows{0, 2}));
    EXPECT_EQ(find("OLD"), (Rows{2, 1}));
    EXPECT_EQ(find("old  HANGAR"), (Rows{2}));
    EXPECT_EQ(find("hangars.BGL"), (Rows{0}));
    EXPECT_EQ(find("generic tower"), (Rows{1}));
    EXPECT_EQ(find("hangar zeppelin"), Rows{});
    EXPECT_EQ(find(""), kNameOrder);
    EXPECT_EQ(find(" \t "), kNameOrder);

    // The identifier with or without braces, commas and blanks, in either form; the nameless
    // object is shown, and so found, by its display form too.
    for (const char* text :
         {"90B2BBE0", "{ 90B2BBE0, 11D2F24A", "{90b2bbe0,11d2f24a,1000849c,2ae60c5a}", "BBE011D2",
          "090B2BBE0h, 011D2F24Ah", "0h011d2f24ah0100", "2AE60C5A }", "e0h"}) {
        EXPECT_EQ(find(text), (Rows{4})) << text;
    }
    EXPECT_EQ(find("11D2F24A"), (Rows{4, 1}));
    EXPECT_EQ(find("{"), (Rows{4, 0, 2, 3, 1}));  // every identifier holds one
    EXPECT_EQ(find("0e5f6h, 011d2"), (Rows{1}));
    // Digits of the assembler form at the wrong place in their word, and an "h" alone.
    EXPECT_EQ(find("b2h"), Rows{});
    EXPECT_EQ(find("0bbe0h"), Rows{});
    EXPECT_EQ(find("h"), (Rows{0, 2}));

    finder.Build(catalogue, {0, 1, 1, 2, 3});  // no arrangement: catalogue order
    EXPECT_EQ(find("generic"), (Rows{1, 2, 3, 4}));

    // Accented letters of an ANSI name, in either case; the multiplication sign is no letter.
    LibraryCatalogue accented;
    accented.Append(
        Object("H\xC4USER_\x8A\xD7", "C:\\FS\\scenery\\d\xF6rfer.bgl", {{1, 2, 3, 4}}, 3));
    finder.Build(accented, {0});
    for (const char* text : {"h\xE4user_\x9A", "H\xC4USER", "D\xD6RFER", "\xD7"})
        EXPECT_EQ(find(text), (Rows{0})) << text;
    EXPECT_EQ(find("\xF7"), Rows{});
}

TEST(ObjectFinder, FindsEffectsByDisplayNameAndFileOnly) {
    EffectsCatalogue effects;
    effects.Append({"C:\\FS\\Effects\\fx_smoke.fx", "Chimney Smoke"});
    effects.Append({"C:\\FS\\Effects\\fx_beacon.fx", "fx_beacon.fx"});
    effects.Append({"C:\\FS\\Effects\\a0.fx", "Smoke {Large}"});
    ObjectFinder finder;
    finder.Build(effects, {0, 2, 1});
    Rows rows;
    finder.Find("smoke", rows);
    EXPECT_EQ(rows, (Rows{2, 0}));
    finder.Find("FX_", rows);
    EXPECT_EQ(rows, (Rows{1, 0}));
    finder.Find("{", rows);
    EXPECT_EQ(rows, (Rows{2}));
    finder.Find("a0h", rows);
    EXPECT_EQ(rows, Rows{});
}

TEST(ObjectFinder, SortsByAColumnAndReversesWithTiesInNameOrder) {
    const LibraryCatalogue catalogue = SmallCatalogue();
    ObjectFinder finder;
    finder.Build(catalogue, kNameOrder);
    const struct {
        FoundColumn column;
        bool descending;
        Rows rows;
    } cases[] = {
        {FoundColumn::Radius, false, {1, 4, 3, 0, 2}},
        {FoundColumn::Radius, true, {2, 0, 3, 4, 1}},
        {FoundColumn::Scale, false, {3, 0, 4, 2, 1}},
        {FoundColumn::File, false, {4, 2, 3, 1, 0}},
        {FoundColumn::Identifier, true, {1, 3, 4, 2, 0}},
        {FoundColumn::Name, false, kNameOrder},
    };
    for (const auto& c : cases) {
        Rows rows = {0, 1, 2, 3, 4};
        finder.Sort(rows, c.column, c.descending, &catalogue);
        EXPECT_EQ(rows, c.rows) << int(c.column) << c.descending;
    }
}

// Every answer compared with a search that lower-cases each row's texts and looks for each word
// in them, over random pieces of names, file names and both identifier forms.
TEST(ObjectFinder, FindsWhatAPlainSearchOfEveryRowFindsInLittleMemory) {
    std::mt19937 engine(7);
    auto random = [&] { return uint32_t(engine()); };
    const char* kinds[] = {"hangar", "Tower", "fuel_tank", "LAMP", "fence"};
    LibraryCatalogue catalogue;
    for (int i = 0; i < 3000; ++i) {
        Guid128 guid{{random(), random(), random() % 4 ? random() : 0x11D2F24A, random()}};
        std::string name = kinds[random() % 5] + std::string("_") + std::to_string(random() % 500);
        std::string path = "C:\\FS\\Scenery\\Area" + std::to_string(i / 40) + "\\lib" +
                           std::to_string(i / 30) + ".bgl";
        catalogue.Append(Object(i % 7 == 3 ? nullptr : name.c_str(), path.c_str(), guid));
    }
    ObjectFinder finder;
    finder.Build(catalogue, {});
    auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(), ::tolower);
        return text;
    };
    auto without = [](std::string text, const char* drop) {
        std::erase_if(text, [&](char c) { return std::strchr(drop, c) != nullptr; });
        return text;
    };
    // A piece of the assembler form counts when it holds a digit of the identifier, not only
    // the "0" and "h" around them.
    auto inAsm = [](const std::string& form, const std::string& word) {
        for (size_t at = form.find(word); at != std::string::npos; at = form.find(word, at + 1)) {
            for (size_t i = at; i < at + word.size(); ++i) {
                if (i % 10 != 0 && i % 10 != 9)
                    return true;
            }
        }
        return false;
    };
    auto plain = [&](const std::vector<std::string>& words) {
        std::set<uint32_t> found;
        for (uint32_t row = 0; row < catalogue.Count(); ++row) {
            const LibraryObject& o = *catalogue.At(row);
            const std::string name = lower(o.name.value_or(o.guidText));
            const std::string file = lower(o.libraryPath.substr(o.libraryPath.rfind('\\') + 1));
            const std::string digits = lower(without(o.guidText, "{}, "));
            const std::string assembler = lower(without(o.guidAsmText, ", "));
            const bool all = std::all_of(words.begin(), words.end(), [&](const std::string& w) {
                const std::string typed = lower(w), bare = without(typed, "{},");
                return name.find(typed) != std::string::npos ||
                       file.find(typed) != std::string::npos || bare.empty() ||
                       digits.find(bare) != std::string::npos || inAsm(assembler, bare);
            });
            if (all)
                found.insert(row);
        }
        return found;
    };
    Rows rows;
    for (int query = 0; query < 200; ++query) {
        std::vector<std::string> words;
        std::string text;
        for (int n = int(random() % 3); n >= 0; --n) {
            const LibraryObject& o = *catalogue.At(random() % catalogue.Count());
            const std::string sources[] = {o.name.value_or("x"), o.libraryPath, o.guidText,
                                           o.guidAsmText, without(o.guidAsmText, " ")};
            const std::string& source = sources[random() % 5];
            const size_t at = random() % source.size();
            words.push_back(without(source.substr(at, 1 + random() % 12), " "));
            if (words.back().empty())
                words.back() = "_";
            text += words.back() + " ";
        }
        finder.Find(text, rows);
        EXPECT_EQ(std::set<uint32_t>(rows.begin(), rows.end()), plain(words)) << text;
        EXPECT_EQ(std::set<uint32_t>(rows.begin(), rows.end()).size(), rows.size()) << text;
    }
    EXPECT_LE(finder.DataBytes(), 2 * finder.CoveredTextBytes());
}

TEST(FoundRowTexts, GroupThousandsAndShowScaleInMetresPerUnit) {
    EXPECT_EQ(GroupedCount(0), "0");
    EXPECT_EQ(GroupedCount(999), "999");
    EXPECT_EQ(GroupedCount(29100), "29,100");
    EXPECT_EQ(GroupedCount(1234567), "1,234,567");
    EXPECT_EQ(MetresPerUnitText(0x10000), "1");
    EXPECT_EQ(MetresPerUnitText(0x8000), "0.5");
    EXPECT_EQ(MetresPerUnitText(0x28000), "2.5");
    EXPECT_EQ(MetresPerUnitText(1), "0.000015");
    EXPECT_EQ(MetresPerUnitText(0), "0");
}
