// The start-up measure script refuses a number of runs that is not one, or out of range, with its
// usage line, before it builds or runs anything: a stand-in cmake tells if it went on.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

TEST(MeasureStartupScript, RefusesARunCountThatIsNotANumberOrOutOfRange) {
    for (const char* runs : {"-1", "x", "0", "1001", "2x", ""}) {
        const std::string command =
            std::string("cd '" SCENEWRIGHT_SOURCE_DIR
                        "' && bash -c 'cmake() { exit 99; }; "
                        "export -f cmake; scripts/measure-startup.sh --runs ") +
            runs + "' 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string output;
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        const int status = pclose(pipe);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << runs;
        EXPECT_EQ(output.rfind("usage: scripts/measure-startup.sh", 0), 0u)
            << runs << ": " << output;
    }
}
