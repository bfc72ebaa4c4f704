// The catalogue scans over generated simulator installs: what the generator wrote is what the
// scan lists, in order, for every index layout, with plain and packed libraries.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Packer.h"
#include "SimGen.h"
#include "sim/Effects.h"
#include "sim/KeptCatalogue.h"
#include "sim/LibraryScan.h"
#include "sim/SimFiles.h"

namespace {

class GeneratedInstall : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/swcatXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string folder;
};

}  // namespace

TEST_P(GeneratedInstall, ListsTheObjectsAndEffectsTheGeneratorWrote) {
    simgen::Options options;
    options.version = GetParam();
    simgen::Install install;
    std::string error;
    ASSERT_TRUE(simgen::Generate(folder, options, install, error)) << error;
    ASSERT_FALSE(install.objects.empty());

    LibraryCatalogue catalogue;
    ScanReport report;
    ScanLibraries(catalogue, options.version, folder.c_str(), &report);
    // Every file the area list names is either read or skipped with its reason.
    if (options.version != 2) {
        EXPECT_EQ(report.recordsTaken, install.qualifyingRecords);
        EXPECT_EQ(report.recordsRefused, 0u);
        EXPECT_EQ(report.filesRead + report.skipped.size(), report.recordsTaken);
        auto skippedFor = [&](const char* reason) {
            return std::count_if(
                report.skipped.begin(), report.skipped.end(),
                [&](const ScanReport::SkippedFile& s) { return s.reason == reason; });
        };
        EXPECT_GT(skippedFor("missing"), 0);
        EXPECT_GT(skippedFor("not a library"), 0);
        EXPECT_GT(skippedFor("UnsupportedLayout"), 0);
    }
    ASSERT_EQ(catalogue.Count(), install.objects.size());
    size_t i = 0;
    for (const LibraryObject& object : catalogue) {
        const simgen::Object& wrote = install.objects[i++];
        EXPECT_EQ(object.name.value_or(""), wrote.name) << i;
        EXPECT_EQ(object.radius, wrote.radius) << i;
        EXPECT_EQ(object.scale, wrote.scale) << i;
        EXPECT_EQ(object.libraryPath, wrote.libraryPath) << i;
        EXPECT_TRUE(
            std::equal(std::begin(wrote.guid), std::end(wrote.guid), std::begin(object.guid.words)))
            << i;
    }

    EffectsCatalogue effects;
    ScanEffects(effects, folder.c_str());
    ASSERT_EQ(effects.Count(), install.effects.size());
    for (const simgen::Effect& wrote : install.effects) {
        const auto found = std::find_if(effects.begin(), effects.end(), [&](const EffectEntry& e) {
            return e.filePath.ends_with("/" + wrote.fileName) ||
                   e.filePath.ends_with("\\" + wrote.fileName);
        });
        ASSERT_NE(found, effects.end()) << wrote.fileName;
        EXPECT_EQ(found->displayName, wrote.displayName);
    }

    // No simulator: an empty folder text or no version gives empty catalogues.
    ScanLibraries(catalogue, options.version, "");
    EXPECT_TRUE(catalogue.Empty());
    ScanLibraries(catalogue, -1, folder.c_str());
    EXPECT_TRUE(catalogue.Empty());
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, GeneratedInstall, ::testing::Values(0, 1, 2, 3, 4, 5, 6));

namespace {

void PutWord(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    if (bytes.size() < at + 4)
        bytes.resize(at + 4);
    for (int i = 0; i < 4; ++i)
        bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

// A library whose directory stands at `directory` and whose records stand at `records` onward
// (from the file's start), and a fourth entry whose record lies past the end of the file.
std::vector<uint8_t> FarLibrary(uint32_t directory, uint32_t records) {
    std::vector<uint8_t> bytes(128, 0);
    PutWord(bytes, 62, directory);
    for (uint32_t i = 0; i < 3; ++i) {
        const uint32_t at = records + 60 * i;
        PutWord(bytes, directory + 20 * i, at - directory);
        PutWord(bytes, at, 0x1000 + i);
        PutWord(bytes, at + 17, 41 + 5);
        PutWord(bytes, at + 25, 7 * i);
        bytes.resize(std::max<size_t>(bytes.size(), at + 46));
        std::memcpy(bytes.data() + at + 41, "far_0", 5);
        bytes[at + 45] = char('0' + i);
    }
    PutWord(bytes, directory + 60, records + 200 - directory);  // a record past the end: skipped
    bytes.resize(std::max<size_t>(bytes.size(), directory + 70));
    return bytes;
}

}  // namespace

// Plain files are read in part when their directory lies at the start; wherever it lies, and
// packed or not, a file lists what its bytes list.
TEST_F(GeneratedInstall, LibraryFileListsWhatItsBytesList) {
    const std::vector<std::vector<uint8_t>> libraries = {
        FarLibrary(200, 400), FarLibrary(100 * 1024, 100 * 1024 + 100), FarLibrary(200, 90 * 1024),
        FarLibrary(64 * 1024 - 30, 64 * 1024 + 500)};
    int n = 0;
    for (const std::vector<uint8_t>& plain : libraries) {
        LibraryCatalogue expected;
        ReadLibraryBytes(plain.data(), plain.size(), "lib", expected);
        ASSERT_EQ(expected.Count(), 3u);
        std::vector<uint8_t> packed;
        ASSERT_TRUE(packlib::PackLibraryFile(plain, packed, nullptr));
        for (const auto* bytes :
             std::initializer_list<const std::vector<uint8_t>*>{&plain, &packed}) {
            const std::string path = folder + "/lib" + std::to_string(n++);
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes->data()),
                       std::streamsize(bytes->size()));
            LibraryCatalogue read;
            std::string whyNot;
            EXPECT_TRUE(ReadLibraryFile(path.c_str(), read, &whyNot));
            EXPECT_EQ(whyNot, "");
            ASSERT_EQ(read.Count(), expected.Count()) << path;
            for (size_t i = 0; i < read.Count(); ++i) {
                EXPECT_EQ(read.At(intptr_t(i))->name, expected.At(intptr_t(i))->name);
                EXPECT_EQ(read.At(intptr_t(i))->radius, expected.At(intptr_t(i))->radius);
                EXPECT_EQ(read.At(intptr_t(i))->guid, expected.At(intptr_t(i))->guid);
            }
        }
    }
    LibraryCatalogue none;
    std::string whyNot;
    EXPECT_FALSE(ReadLibraryFile((folder + "/absent").c_str(), none, &whyNot));
    EXPECT_EQ(whyNot, "missing");
}

namespace {

bool SameCatalogue(const LibraryCatalogue& a, const LibraryCatalogue& b) {
    if (a.Count() != b.Count())
        return false;
    for (size_t i = 0; i < a.Count(); ++i) {
        const LibraryObject &x = *a.At(intptr_t(i)), &y = *b.At(intptr_t(i));
        if (!(x.guid == y.guid) || x.flagsByte != y.flagsByte || x.recordLength != y.recordLength ||
            x.extra1 != y.extra1 || x.radius != y.radius || x.scale != y.scale ||
            x.extra2 != y.extra2 || x.extra3 != y.extra3 || x.name != y.name ||
            x.guidText != y.guidText || x.guidAsmText != y.guidAsmText ||
            x.libraryPath != y.libraryPath)
            return false;
    }
    return true;
}

}  // namespace

// The kept catalogue is the scanned one, and any change to a file the scan read or looked for,
// to the program, or another version, folder or program sends the next start back to scanning.
// Files written within the last moments, and a scan that met a failure that may pass, are not
// kept.
TEST_F(GeneratedInstall, KeptCatalogueServesOnlyAnUnchangedInstall) {
    simgen::Options options;
    options.version = 6;
    simgen::Install install;
    std::string error;
    ASSERT_TRUE(simgen::Generate(folder + "/sim", options, install, error)) << error;
    const std::string sim = folder + "/sim", keptFile = folder + "/kept.bin",
                      program = folder + "/Scenewright.exe";
    std::ofstream(program) << "build 1";
    auto settle = [&] {
        const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
            std::filesystem::last_write_time(entry.path(), old);
    };
    LibraryCatalogue scanned, kept;
    ScanLibraries(scanned, 6, sim.c_str());
    ASSERT_TRUE(ScanLibrariesKept(kept, 6, sim.c_str(), keptFile.c_str(), program.c_str()));
    EXPECT_TRUE(SameCatalogue(kept, scanned));
    // Just written: a change within the same tick of the file clock would keep the time.
    EXPECT_FALSE(std::filesystem::exists(keptFile));
    settle();
    ASSERT_TRUE(ScanLibrariesKept(kept, 6, sim.c_str(), keptFile.c_str(), program.c_str()));

    auto keptStillServes = [&](int version, const std::string& path, const char* by = nullptr) {
        std::vector<uint8_t> bytes;
        LibraryCatalogue taken;
        return ReadWholeFile(keptFile.c_str(), bytes) &&
               TakeKeptCatalogue(bytes, version, path.c_str(), by ? by : program.c_str(), taken) &&
               SameCatalogue(taken, scanned);
    };
    EXPECT_TRUE(keptStillServes(6, sim));
    EXPECT_FALSE(keptStillServes(5, sim));
    EXPECT_FALSE(keptStillServes(6, sim + "/"));
    EXPECT_FALSE(keptStillServes(6, sim, (sim + "/Scenery.cfg").c_str()));  // another program file

    std::string nativeLibrary = install.objects.front().libraryPath;
    std::replace(nativeLibrary.begin(), nativeLibrary.end(), '\\', '/');
    auto changed = [&](const std::function<void()>& change) {
        change();
        settle();
        bool serves = keptStillServes(6, sim);
        // Scans and keeps anew.
        ScanLibrariesKept(kept, 6, sim.c_str(), keptFile.c_str(), program.c_str());
        ScanLibraries(scanned, 6, sim.c_str());
        EXPECT_TRUE(SameCatalogue(kept, scanned));
        EXPECT_TRUE(keptStillServes(6, sim));
        return serves;
    };
    EXPECT_FALSE(changed([&] { std::ofstream(nativeLibrary, std::ios::app) << "x"; }));
    EXPECT_FALSE(changed([&] { std::filesystem::remove(nativeLibrary); }));
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
    ASSERT_NE(otherLibrary, nativeLibrary);
    EXPECT_FALSE(keptDespiteUnreadable(otherLibrary));
    EXPECT_FALSE(keptDespiteUnreadable(sim + "/Scenery.cfg"));
    EXPECT_FALSE(keptDespiteUnreadable(sim + "/Scenery/Area0/SCENERY.DAT"));

    // Readable again, the install is kept; a damaged kept file is not taken.
    settle();
    ScanLibrariesKept(kept, 6, sim.c_str(), keptFile.c_str(), program.c_str());
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(keptFile.c_str(), bytes));
    bytes.resize(bytes.size() - 3);
    EXPECT_FALSE(TakeKeptCatalogue(bytes, 6, sim.c_str(), program.c_str(), kept));
    EXPECT_TRUE(kept.Empty());
}
