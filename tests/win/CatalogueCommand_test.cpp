// The catalogue command as a child process, on generated installs of each index format and of
// CFS1 registered in this prefix: its lines are what the generator wrote, read through the real
// registry, profile, folder listing and mapping calls. And its exit codes 1 and 2.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "SimGen.h"
#include "common/Text.h"
#include "sim/LibraryObject.h"
#include "sim/SimVersion.h"
#include "support/TempFolder.h"

using Lines = std::vector<std::string>;

namespace {

// A stream given to the child, read back through the same handle: the child may still be
// closing its copy when its exit is seen, and a new opener would have to share with it.
Lines ReadBack(HANDLE stream) {
    std::string text(::GetFileSize(stream, nullptr), '\0');
    DWORD got = 0;
    ::SetFilePointer(stream, 0, nullptr, FILE_BEGIN);
    ::ReadFile(stream, text.data(), DWORD(text.size()), &got, nullptr);
    ::CloseHandle(stream);
    Lines lines;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

struct CommandRun {
    Lines out, err;
    DWORD exitCode = 99;
};

CommandRun Catalogue(const TempFolder& scratch, const std::string& arguments) {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = "\"" + std::string(self).substr(0, strrchr(self, '\\') - self) +
                          "\\..\\..\\tools\\catalogue\\sw-catalogue.exe\" " + arguments;
    SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
    HANDLE streams[2];
    for (int i = 0; i < 2; ++i)
        streams[i] = ::CreateFileA(scratch.File(i ? "err" : "out").c_str(),
                                   GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inherited, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = streams[0];
    startup.hStdError = streams[1];
    PROCESS_INFORMATION process{};
    CommandRun run;
    if (::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                         nullptr, &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::GetExitCodeProcess(process.hProcess, &run.exitCode);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    run.out = ReadBack(streams[0]);
    run.err = ReadBack(streams[1]);
    return run;
}

// Where the simulators' installers put their folders: HKLM, the 32-bit view.
void Register(int version, const std::string& folder) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, simgen::RegistryKey(version), 0, nullptr, 0,
                                KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(key, simgen::RegistryValue(version), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(folder.c_str()), DWORD(folder.size() + 1));
    ::RegCloseKey(key);
}

class CatalogueCommand : public ::testing::TestWithParam<int> {
  protected:
    void TearDown() override {
        for (int version = 0; version < kSimVersionCount; ++version)
            ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, simgen::RegistryKey(version), KEY_WOW64_32KEY, 0);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vandrel");
    }
    TempFolder scratch;
};

}  // namespace

TEST_P(CatalogueCommand, ListsWhatTheGeneratorWroteWithTheSkippedFilesAndTheCounts) {
    const int version = GetParam();
    TempFolder install, addon, other;
    simgen::Options options;
    options.version = version;
    options.libraryFiles = 6;  // two areas: four files in the install, two in the add-on folder
    options.addonFolder = addon.Path();
    simgen::Install wrote;
    std::string error;
    ASSERT_TRUE(simgen::Generate(install.Path(), options, wrote, error)) << error;
    // The program's own DefaultSim chooses this version over FS2002 or FS2004, installed too.
    Register(version, install.Path());
    Register(version == 5 ? 6 : 5, other.Path());
    const DWORD defaultSim = DWORD(version);
    ::RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Vandrel\\Scenewright", "DefaultSim", REG_DWORD,
                      &defaultSim, sizeof(defaultSim));

    Lines objects, effects;
    for (const simgen::Object& object : wrote.objects) {
        Guid128 guid;
        std::copy(std::begin(object.guid), std::end(object.guid), guid.words);
        objects.push_back(FormatText(limits::kMessage, "%s\t%s\t%d\t%08X\t%s",
                                     GuidDisplayText(guid).c_str(), object.name.c_str(),
                                     int(object.radius), unsigned(object.scale),
                                     object.libraryPath.c_str()));
    }
    for (const simgen::Effect& effect : wrote.effects)
        effects.push_back(install.File("Effects\\" + effect.fileName) + "\t" + effect.displayName);
    std::sort(effects.begin(), effects.end());  // the listing's order is the file system's
    const bool cfs1 = version == 2;
    const unsigned skipped = cfs1 ? 0 : wrote.qualifyingRecords - 6;
    const std::string counts = FormatText(
        limits::kMessage,
        "sw-catalogue: %s in %s: areas read %d, index records taken %u and refused at the cap 0, "
        "library files read %d and skipped %u, objects %u, effects %u",
        SimVersionTable()[version].displayName, install.Path().c_str(), cfs1 ? 0 : 2,
        cfs1 ? 0 : wrote.qualifyingRecords, cfs1 ? 1 : 6, skipped, unsigned(objects.size()),
        unsigned(effects.size()));
    const std::string missing =
        "sw-catalogue: " + install.File("Scenery\\Area0\\scenery\\gone.bgl: missing");

    const std::string number = std::to_string(version);
    for (const std::string& arguments :
         {std::string(), number, number + " \"" + install.Path() + "\""}) {
        SCOPED_TRACE("arguments: " + arguments);
        const CommandRun run = Catalogue(scratch, arguments);
        EXPECT_EQ(run.exitCode, 0u);
        ASSERT_EQ(run.out.size(), objects.size() + effects.size());
        EXPECT_EQ(Lines(run.out.begin(), run.out.begin() + long(objects.size())), objects);
        Lines listed(run.out.begin() + long(objects.size()), run.out.end());
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(listed, effects);
        ASSERT_EQ(run.err.size(), skipped + 1);
        EXPECT_EQ(run.err.back(), counts);
        EXPECT_TRUE(cfs1 || std::find(run.err.begin(), run.err.end(), missing) != run.err.end());
    }
}

INSTANTIATE_TEST_SUITE_P(EachIndexFormatAndCfs1, CatalogueCommand, ::testing::Values(1, 5, 6, 2));

TEST_F(CatalogueCommand, ExitsWithOneWithoutASimulatorAndTwoForAWrongCommandLine) {
    const CommandRun none = Catalogue(scratch, "");
    EXPECT_EQ(none.exitCode, 1u);
    EXPECT_EQ(none.err, Lines{"sw-catalogue: no simulator found"});
    EXPECT_EQ(Catalogue(scratch, "6").exitCode, 1u);  // not installed
    Register(6, scratch.File("gone"));
    EXPECT_EQ(Catalogue(scratch, "").exitCode, 1u);  // registered, but the folder is not there
    EXPECT_EQ(Catalogue(scratch, "5 \"" + scratch.File("gone") + "\"").exitCode, 1u);
    // A readable CFS1 folder without its one library file is listed, with that file missing.
    const CommandRun noLibrary = Catalogue(scratch, "2 \"" + scratch.Path() + "\"");
    EXPECT_EQ(noLibrary.exitCode, 0u);
    ASSERT_EQ(noLibrary.err.size(), 2u);
    EXPECT_EQ(noLibrary.err[0], "sw-catalogue: " + scratch.File("Scenery\\LIBRARY.BGL: missing"));

    for (const char* wrong : {"7", "-1", "x", "05", "5 \"C:\\FS\" extra"}) {
        const CommandRun run = Catalogue(scratch, wrong);
        EXPECT_EQ(run.exitCode, 2u) << wrong;
        ASSERT_EQ(run.err.size(), 1u) << wrong;
        EXPECT_EQ(run.err[0].rfind("usage: sw-catalogue [VERSION [FOLDER]]", 0), 0u) << wrong;
    }
}
