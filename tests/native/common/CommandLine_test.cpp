// The command line's file argument, as Windows passes a file dropped on the program's icon.
#include "common/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, TheFileArgumentIsTheFirstAfterTheProgram) {
    EXPECT_EQ(FileArgumentOf("Scenewright.exe"), "");
    EXPECT_EQ(FileArgumentOf("\"C:\\Program Files\\Scenewright.exe\"  "), "");
    EXPECT_EQ(FileArgumentOf("\"C:\\a b\\Scenewright.exe\" \"C:\\my files\\p.csv\""),
              "C:\\my files\\p.csv");
    EXPECT_EQ(FileArgumentOf("Scenewright.exe C:\\my files\\p.csv "), "C:\\my files\\p.csv");
    EXPECT_EQ(FileArgumentOf("Scenewright.exe \"a.csv\" \"b.csv\""), "a.csv");
    EXPECT_EQ(FileArgumentOf("Scenewright.exe \"unclosed.csv"), "unclosed.csv");
}
