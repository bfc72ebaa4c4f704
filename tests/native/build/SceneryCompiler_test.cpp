#include "build/SceneryCompiler.h"

#include <gtest/gtest.h>

#include <string>

TEST(SceneryCompilerCommandLine, KeepSwitchAndQuotingOfPathsWithBlanks) {
    EXPECT_EQ(SceneryCompilerCommandLine("C:\\Scenery\\objects.csv", true),
              "BGLC.EXE -keep C:\\Scenery\\objects.csv");
    EXPECT_EQ(SceneryCompilerCommandLine("C:\\Scenery\\objects.csv", false),
              "BGLC.EXE C:\\Scenery\\objects.csv");
    EXPECT_EQ(SceneryCompilerCommandLine("C:\\My Scenery\\a b.csv", true),
              "BGLC.EXE -keep \"C:\\My Scenery\\a b.csv\"");
}

TEST(BuildScenery, CompilerRunsOnlyAfterTheFileWasWritten) {
    BuildRequest request{"/nonexistent-folder/objects.csv", false, true};
    bool shown = false;
    EXPECT_FALSE(
        BuildScenery([] { return false; }, request, [&](const std::string&) { shown = true; }));
    EXPECT_FALSE(shown);
}
