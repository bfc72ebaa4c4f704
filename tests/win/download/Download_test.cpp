// The download as a user meets it: unpacked into a folder of a fresh Windows (tests/download-run.sh
// unpacks it and names the folder in SCENEWRIGHT_UNPACKED), without this build's folders or any
// runtime library beside it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "SimGen.h"
#include "support/RunningProgram.h"
#include "support/TempFolder.h"

namespace {

std::string Unpacked() {
    const char* folder = std::getenv("SCENEWRIGHT_UNPACKED");
    return folder ? folder : "";
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

TEST(Download, HoldsTheProgramTheToolsAndTheTexts) {
    const std::vector<std::string> files = FilesIn(Unpacked());
    ASSERT_FALSE(files.empty()) << "nothing unpacked in \"" << Unpacked() << "\"";
    for (const char* name : {"Scenewright.exe", "sw-catalogue.exe", "sw-kml.exe", "packlib.exe",
                             "unpacklib.exe", "bglc-check.exe", "README.txt", "LICENSE.txt"})
        EXPECT_NE(std::find(files.begin(), files.end(), name), files.end()) << name;
    // Anything else is a tool; never a test program or a stand-in under the compiler's name.
    for (const std::string& name : files) {
        EXPECT_TRUE(EndsWith(name, ".exe") || EndsWith(name, ".txt")) << name;
        EXPECT_FALSE(EndsWith(name, "_test.exe") || _stricmp(name.c_str(), "BGLC.EXE") == 0)
            << name;
    }
}

// With a simulator installed, the window comes up and Quit ends the program, leaving its
// settings in the registry, where the README tells the user to remove them from.
TEST(Download, ProgramOpensAndQuitClosesIt) {
    TempFolder folder;
    simgen::Options options;
    options.version = 6;
    simgen::Install install;
    std::string error;
    ASSERT_TRUE(simgen::Generate(folder.File("FS9"), options, install, error)) << error;
    ASSERT_TRUE(RegisterSimInstall(6, folder.File("FS9")));

    RunningProgram program;
    ASSERT_TRUE(program.Start(Unpacked() + "\\Scenewright.exe"));
    program.Click(IDOK);
    EXPECT_EQ(program.AnswerMessage(), "");
    EXPECT_EQ(program.WaitForExit(), 0u);
    DWORD version = 0, size = sizeof version;
    EXPECT_EQ(::RegGetValueA(HKEY_CURRENT_USER, "Software\\Vandrel\\Scenewright", "DefaultSim",
                             RRF_RT_REG_DWORD, nullptr, &version, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(version, 6u);
    ForgetSimInstalls();
}

// Every tool starts from the folder alone (a missing runtime library would stop it before its
// first line) and answers a bare command line with a usage line or a report.
TEST(Download, EveryToolStartsOnItsOwn) {
    for (const std::string& name : FilesIn(Unpacked())) {
        if (!EndsWith(name, ".exe") || name == "Scenewright.exe")
            continue;
        std::string output, errors;
        const DWORD code = RunCommand("\"" + Unpacked() + "\\" + name + "\"", &output, &errors);
        EXPECT_LE(code, 2u) << name;
        EXPECT_FALSE(output.empty() && errors.empty()) << name;
    }
}
