#include "sim/SimVersion.h"

#include <gtest/gtest.h>

#include <string>

#include "common/LastError.h"
#include "sim/SimRegistry.h"

namespace {

const char* const kFs2002Key = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0";

class SimDiscovery : public ::testing::Test {
  protected:
    void SetUp() override { sim_registry::ClearForTesting(); }
    void TearDown() override {
        EXPECT_EQ(sim_registry::OpenKeyCountForTesting(), 0) << "a key was left open";
        sim_registry::ClearForTesting();
    }
    // Registers the versions whose indexes are given, each with a folder named after it.
    void Install(std::initializer_list<int> indexes) {
        SimVersionTable rows;
        for (int index : indexes)
            sim_registry::SetValueForTesting(rows[index].registryKey, rows[index].valueName,
                                             std::string("C:\\Sim") + std::to_string(index) + '\0');
    }
    SimVersionTable table;
};

TEST_F(SimDiscovery, NothingInstalledFailsWithFileNotFoundAndChoosesNone) {
    sim_registry::AddKeyForTesting(kFs2002Key);  // key without its value
    SetLastErrorCode(0);
    EXPECT_FALSE(DiscoverSimVersions(&table));
    EXPECT_EQ(GetLastErrorCode(), errors::kFileNotFound);
    EXPECT_EQ(CountInstalledVersions(table), 0);
    for (int i = 0; i < kSimVersionCount; ++i)
        EXPECT_EQ(table.InstallPath(i), nullptr);
    EXPECT_EQ(ChooseInitialVersion(table, 5), kNoSimVersion);

    EXPECT_FALSE(DiscoverSimVersions(nullptr));
    EXPECT_EQ(GetLastErrorCode(), errors::kInvalidParameter);
}

TEST_F(SimDiscovery, StoresValuesExactlyAndTerminatesUnterminatedOnes) {
    sim_registry::SetValueForTesting(kFs2002Key, "exe path", "D:\\FS2002\\");  // no terminator
    sim_registry::SetValueForTesting("software\\microsoft\\microsoft games\\flight simulator\\6.0",
                                     "PATH", "");
    sim_registry::SetValueForTesting("SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0",
                                     "PATH", "wrong value");
    ASSERT_TRUE(DiscoverSimVersions(&table));
    EXPECT_STREQ(table.InstallPath(5), "D:\\FS2002\\");
    ASSERT_NE(table.InstallPath(0), nullptr);
    EXPECT_STREQ(table.InstallPath(0), "");
    EXPECT_EQ(table.InstallPath(6), nullptr);
    EXPECT_EQ(CountInstalledVersions(table), 2);

    // A second discovery starts over from a reset table.
    sim_registry::ClearForTesting();
    Install({3});
    ASSERT_TRUE(DiscoverSimVersions(&table));
    EXPECT_EQ(table.InstallPath(5), nullptr);
    EXPECT_STREQ(table.InstallPath(3), "C:\\Sim3");
    EXPECT_EQ(table.InstallPath(-1), nullptr);
    EXPECT_EQ(table.InstallPath(7), nullptr);
}

TEST_F(SimDiscovery, InitialVersionPrefersStoredThenFs2002ThenCfs2ThenHighest) {
    struct Case {
        std::initializer_list<int> installed;
        int defaultSim;
        int expected;
    };
    const Case cases[] = {
        {{0, 3, 5}, 3, 3}, {{5}, 6, 5}, {{4, 6}, 6, 6}, {{4, 6}, 2, 4},     {{4, 6}, 7, 4},
        {{6}, 0, 6},       {{6}, 5, 6}, {{0}, 5, 0},    {{0, 1, 2}, -1, 2}, {{3, 5}, -4, 5},
    };
    for (const Case& c : cases) {
        sim_registry::ClearForTesting();
        Install(c.installed);
        ASSERT_TRUE(DiscoverSimVersions(&table));
        EXPECT_EQ(ChooseInitialVersion(table, c.defaultSim), c.expected)
            << "defaultSim " << c.defaultSim;
    }
}

}  // namespace
