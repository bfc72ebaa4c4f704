#include "compiler/SceneryCompiler.h"

#include <gtest/gtest.h>

#include <string>

// (The command line is checked whole in the compiler run's Wine tests, and a path with blanks
// reaches the checker as one argument in the flows.)
TEST(BuildScenery, CompilerRunsOnlyAfterTheFileWasWritten) {
    BuildRequest request{"/nonexistent-folder/objects.csv", false, true};
    bool shown = false;
    EXPECT_FALSE(
        BuildScenery([] { return false; }, request, [&](const std::string&) { shown = true; }));
    EXPECT_FALSE(shown);
}
