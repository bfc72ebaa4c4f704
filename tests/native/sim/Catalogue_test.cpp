// The library directory over files in memory (every bound, names); the catalogue and effects scans
// over small installs on disk (what they list and return) and over a generated install (what the
// generator wrote, in order, with plain and packed libraries); and the kept catalogue that stands
// in for a scan of an unchanged install, and refused when damaged.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <tuple>

#include "Packer.h"
#include "ScanFiles.h"
#include "SimGen.h"
#include "sim/Effects.h"
#include "sim/KeptCatalogue.h"
#include "sim/LibraryScan.h"
#include "sim/SimFiles.h"

using namespace scan_files;
using Names = std::vector<std::string>;

namespace {

Names NamesOf(const LibraryCatalogue& catalogue) {
    Names names;
    for (const LibraryObject& object : catalogue)
        names.push_back(object.name.value_or("(none)"));
    return names;
}

// Every field, so that two catalogues compare equal only when they are the same to the last byte.
auto FieldsOf(const LibraryCatalogue& catalogue) {
    std::vector<
        std::tuple<Guid128, uint8_t, uint32_t, uint32_t, int32_t, uint32_t, uint32_t, uint32_t,
                   std::optional<std::string>, std::string, std::string, std::string>>
        fields;
    for (const LibraryObject& x : catalogue)
        fields.emplace_back(x.guid, x.flagsByte, x.recordLength, x.extra1, x.radius, x.scale,
                            x.extra2, x.extra3, x.name, x.guidText, x.guidAsmText, x.libraryPath);
    return fields;
}

// A library whose directory stands at `directory` and whose three records stand at `records`
// onward, and a fourth entry whose record lies past the end of the file.
Bytes FarLibrary(uint32_t directory, uint32_t records) {
    Bytes bytes(128, 0);
    Put(bytes, 62, directory);
    for (uint32_t i = 0; i < 3; ++i) {
        const uint32_t at = records + 60 * i;
        Put(bytes, directory + 20 * i, at - directory);
        Put(bytes, at, 0x1000 + i);
        Put(bytes, at + 17, 41 + 5);
        Put(bytes, at + 25, 7 * i);
        bytes.resize(std::max<size_t>(bytes.size(), at + 46));
        std::memcpy(bytes.data() + at + 41, "far_0", 5);
        bytes[at + 45] = uint8_t('0' + i);
    }
    Put(bytes, directory + 60, records + 200 - directory);
    bytes.resize(std::max<size_t>(bytes.size(), directory + 70));
    return bytes;
}

// Every file under the folder an hour old: settled, as a scan wants the files it keeps.
void SetTimesBack(const std::string& folder) {
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        std::filesystem::last_write_time(entry.path(), old);
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

// Plain files are read in part when their directory lies at the start; wherever it lies, and
// packed or not, a file lists what its bytes list.
TEST(ReadLibraryFile, ListsWhatItsBytesList) {
    TempFolder folder;
    int n = 0;
    for (const Bytes& plain :
         {FarLibrary(200, 400), FarLibrary(100 * 1024, 100 * 1024 + 100),
          FarLibrary(200, 90 * 1024), FarLibrary(64 * 1024 - 30, 65536 + 500)}) {
        Bytes packed;
        ASSERT_TRUE(packlib::PackLibraryFile(plain, packed, nullptr));
        for (const Bytes* bytes : std::initializer_list<const Bytes*>{&plain, &packed}) {
            const std::string path = folder.path + "/lib" + std::to_string(n++);
            folder.Write(path.substr(folder.path.size() + 1), *bytes);
            LibraryCatalogue expected, read;
            ReadLibraryBytes(plain.data(), plain.size(), path.c_str(), expected);
            ASSERT_EQ(expected.Count(), 3u);
            std::string whyNot;
            EXPECT_TRUE(ReadLibraryFile(path.c_str(), read, &whyNot));
            EXPECT_EQ(whyNot, "");
            EXPECT_EQ(FieldsOf(read), FieldsOf(expected)) << path;
        }
    }
    LibraryCatalogue none;
    std::string whyNot;
    EXPECT_FALSE(ReadLibraryFile((folder.path + "/absent").c_str(), none, &whyNot));
    EXPECT_EQ(whyNot, "missing");
}

// The scan lists what the generator wrote, plain and packed, and reports every file it skipped;
// the catalogue command does the same for each index format under Wine. The kept catalogue is
// the scanned one, and any change to a file the scan read or looked for, to the program, or another
// version, folder or program sends the next start back to scanning. Files written within the last
// moments, and a scan that met a failure that may pass, are not kept.
TEST(GeneratedInstall, ScanListsWhatWasWrittenAndTheKeptCatalogueServesOnlyAnUnchangedInstall) {
    TempFolder folder;
    simgen::Options options;
    options.version = 6;
    simgen::Install install;
    std::string error;
    const std::string sim = folder.path + "/sim", keptFile = folder.path + "/kept.bin",
                      program = folder.path + "/Scenewright.exe";
    ASSERT_TRUE(simgen::Generate(sim, options, install, error)) << error;
    std::ofstream(program) << "build 1";
    auto settle = [&] { SetTimesBack(folder.path); };
    LibraryCatalogue scanned, kept;
    ScanReport report;
    ScanLibraries(scanned, 6, sim.c_str(), &report);
    EXPECT_EQ(report.recordsTaken, install.qualifyingRecords);
    EXPECT_EQ(report.filesRead + report.skipped.size(), report.recordsTaken);
    for (const char* reason : {"missing", "not a library", "UnsupportedLayout"})
        EXPECT_TRUE(std::any_of(report.skipped.begin(), report.skipped.end(), [&](const auto& s) {
            return s.reason == reason;
        })) << reason;
    ASSERT_EQ(scanned.Count(), install.objects.size());
    for (size_t i = 0; i < install.objects.size(); ++i) {
        const simgen::Object& wrote = install.objects[i];
        const LibraryObject& object = *scanned.At(i);
        EXPECT_EQ(
            std::tuple(object.name.value_or(""), object.radius, object.scale, object.libraryPath,
                       std::vector(object.guid.words, object.guid.words + 4)),
            std::tuple(wrote.name, wrote.radius, wrote.scale, wrote.libraryPath,
                       std::vector(wrote.guid, wrote.guid + 4)))
            << i;
    }
    ASSERT_TRUE(ScanLibrariesKept(kept, 6, sim.c_str(), keptFile.c_str(), program.c_str()));
    EXPECT_EQ(FieldsOf(kept), FieldsOf(scanned));
    // Just written: a change within the same tick of the file clock would keep the time.
    EXPECT_FALSE(std::filesystem::exists(keptFile));
    settle();
    ASSERT_TRUE(ScanLibrariesKept(kept, 6, sim.c_str(), keptFile.c_str(), program.c_str()));

    auto keptStillServes = [&](int version, const std::string& path, const char* by = nullptr) {
        Bytes bytes;
        LibraryCatalogue taken;
        return ReadWholeFile(keptFile.c_str(), bytes) &&
               TakeKeptCatalogue(bytes, version, path.c_str(), by ? by : program.c_str(), taken) &&
               FieldsOf(taken) == FieldsOf(scanned);
    };
    EXPECT_TRUE(keptStillServes(6, sim));
    EXPECT_FALSE(keptStillServes(5, sim));
    EXPECT_FALSE(keptStillServes(6, sim + "/"));
    EXPECT_FALSE(keptStillServes(6, sim, (sim + "/Scenery.cfg").c_str()));  // another program file

    std::string library = install.objects.front().libraryPath;
    std::replace(library.begin(), library.end(), '\\', '/');
    auto changed = [&](const std::function<void()>& change) {
        change();
        settle();
        bool serves = keptStillServes(6, sim);
        // Scans and keeps anew.
        ScanLibrariesKept(kept, 6, sim.c_str(), keptFile.c_str(), program.c_str());
        ScanLibraries(scanned, 6, sim.c_str());
        EXPECT_EQ(FieldsOf(kept), FieldsOf(scanned));
        EXPECT_TRUE(keptStillServes(6, sim));
        return serves;
    };
    EXPECT_FALSE(changed([&] { std::ofstream(library, std::ios::app) << "x"; }));
    EXPECT_FALSE(changed([&] { std::filesystem::remove(library); }));
    EXPECT_FALSE(changed([&] { std::ofstream(sim + "/Scenery/Area0/scenery/gone.bgl") << "x"; }));
    EXPECT_FALSE(changed([&] { std::ofstream(sim + "/Scenery.cfg", std::ios::app) << "\r\n"; }));
    EXPECT_FALSE(changed([&] { std::ofstream(program) << "build 2.0"; }));  // an upgrade

    // A file that is there but cannot be read (held by another program, say) may be read next
    // time: what the scan missed is not kept.
    auto keptDespiteUnreadable = [&](const std::string& path) {
        std::filesystem::rename(path, path + ".away");
        std::filesystem::create_directory(path);
        std::filesystem::remove(keptFile);
        settle();
        ScanLibrariesKept(kept, 6, sim.c_str(), keptFile.c_str(), program.c_str());
        std::filesystem::remove(path);
        std::filesystem::rename(path + ".away", path);
        return std::filesystem::exists(keptFile);
    };
    std::string otherLibrary = install.objects.back().libraryPath;
    std::replace(otherLibrary.begin(), otherLibrary.end(), '\\', '/');
    ASSERT_NE(otherLibrary, library);
    EXPECT_FALSE(keptDespiteUnreadable(otherLibrary));
    EXPECT_FALSE(keptDespiteUnreadable(sim + "/Scenery.cfg"));
    EXPECT_FALSE(keptDespiteUnreadable(sim + "/Scenery/Area0/SCENERY.DAT"));

    // Readable again, the install is kept; a damaged kept file is not taken.
    settle();
    ScanLibrariesKept(kept, 6, sim.c_str(), keptFile.c_str(), program.c_str());
    Bytes bytes;
    ASSERT_TRUE(ReadWholeFile(keptFile.c_str(), bytes));
    bytes.resize(bytes.size() - 3);
    EXPECT_FALSE(TakeKeptCatalogue(bytes, 6, sim.c_str(), program.c_str(), kept));
    EXPECT_TRUE(kept.Empty());
}

// A kept file changed anywhere by one byte, cut short or lengthened is refused whole.
TEST(KeptCatalogue, IsRefusedWhenDamagedAnywhere) {
    TempFolder install;
    install.Write("Scenery.cfg", std::string("[Area.000]\r\nLocal=World\r\n"));
    install.Write("World\\SCENERY.DAT", IndexFile(k22, {{"World\\a"}, {"World\\gone"}}));
    install.Write("World\\a.bgl", LibraryBytes({"Hangar_a", "Tower"}));
    install.Write("Scenewright.exe", std::string("build 1"));
    SetTimesBack(install.path);
    const std::string sim = install.path, keptFile = sim + "/kept.bin",
                      program = sim + "/Scenewright.exe";
    LibraryCatalogue catalogue;
    ASSERT_TRUE(ScanLibrariesKept(catalogue, 5, sim.c_str(), keptFile.c_str(), program.c_str()));
    Bytes kept;
    ASSERT_TRUE(ReadWholeFile(keptFile.c_str(), kept));
    auto takes = [&](const Bytes& bytes) {
        LibraryCatalogue taken;
        const bool took = TakeKeptCatalogue(bytes, 5, sim.c_str(), program.c_str(), taken);
        EXPECT_TRUE(took || taken.Empty());
        return took;
    };
    ASSERT_TRUE(takes(kept));
    size_t damagedTaken = 0;
    for (size_t at = 0; at < kept.size(); ++at) {
        for (uint8_t change : {0x01, 0x20, 0x80, 0xFF}) {
            Bytes damaged = kept;
            damaged[at] ^= change;
            damagedTaken += takes(damaged);
        }
        damagedTaken += takes(Bytes(kept.begin(), kept.begin() + long(at)));
    }
    Bytes longer = kept;
    longer.push_back(0);
    EXPECT_EQ(damagedTaken + takes(longer), 0u);
}
