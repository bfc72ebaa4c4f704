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

TEST(AppendCompilerOutput, PieceIsKeptUpToItsFirstZeroByte) {
    std::string output = "a\r\n";
    AppendCompilerOutput(output, std::string_view("bc\0de", 5));
    AppendCompilerOutput(output, std::string_view());
    AppendCompilerOutput(output, std::string_view("\0x", 2));
    AppendCompilerOutput(output, "\xE9t\xE9\n");
    EXPECT_EQ(output, "a\r\nbc\xE9t\xE9\n");
}

TEST(BuildScenery, CompilerRunsOnlyAfterTheFileWasWritten) {
    BuildRequest request{"/nonexistent-folder/objects.csv", false, true};
    bool shown = false;
    EXPECT_FALSE(
        BuildScenery([] { return false; }, request, [&](const std::string&) { shown = true; }));
    EXPECT_FALSE(shown);
}
