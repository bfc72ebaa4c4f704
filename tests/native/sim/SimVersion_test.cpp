#include "sim/SimVersion.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/SimRegistry.h"

namespace {

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

TEST_F(SimDiscovery, InitialVersionPrefersStoredThenFs2002ThenCfs2ThenHighestOrNone) {
    struct Case {
        std::initializer_list<int> installed;
        int defaultSim;
        int expected;
    };
    const Case cases[] = {
        {{}, 5, kNoSimVersion}, {{0, 3, 5}, 3, 3}, {{5}, 6, 5}, {{4, 6}, 6, 6}, {{4, 6}, 2, 4},
        {{4, 6}, 7, 4},         {{6}, 0, 6},       {{6}, 5, 6}, {{0}, 5, 0},    {{0, 1, 2}, -1, 2},
        {{3, 5}, -4, 5},
    };
    for (const Case& c : cases) {
        sim_registry::ClearForTesting();
        sim_registry::AddKeyForTesting(table[1].registryKey);  // a key without its value
        Install(c.installed);
        EXPECT_EQ(DiscoverSimVersions(&table), c.installed.size() > 0);
        EXPECT_EQ(ChooseInitialVersion(table, c.defaultSim), c.expected)
            << "defaultSim " << c.defaultSim;
    }
}

}  // namespace
