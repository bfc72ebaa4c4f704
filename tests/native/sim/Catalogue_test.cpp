// The catalogue scans over generated simulator installs: what the generator wrote is what the
// scan lists, in order, for every index layout, with plain and packed libraries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "SimGen.h"
#include "sim/Effects.h"
#include "sim/LibraryScan.h"

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
    int busy = 0;
    ScanReport report;
    ScanLibraries(
        catalogue, options.version, folder.c_str(), [&](bool on) { busy += on ? 1 : 10; }, &report);
    EXPECT_EQ(busy, 11);  // the wait cursor went on and off once
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
