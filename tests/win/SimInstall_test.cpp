// A simulator's install read through the real registry, file, mapping, folder listing and profile
// calls: discovery of the installed versions, packed library files and the unpack command, the
// catalogue command as a child process on generated installs of each index format and of CFS1
// registered in this prefix (its lines are what the generator wrote), with its reasons and exit
// codes 1 and 2, the start-up measure's refusals, and the program's Rescan of a library that the
// kept catalogue cannot tell from the one it replaced.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "Packer.h"
#include "SimGen.h"
#include "common/Text.h"
#include "resource.h"
#include "sim/LibraryObject.h"
#include "sim/PackedFile.h"
#include "sim/SimVersion.h"
#include "support/RunningProgram.h"
#include "support/TempFolder.h"
#include "ui/Settings.h"

using Lines = std::vector<std::string>;

namespace {

PackedFileStatus Open(const std::string& path, std::string* image = nullptr) {
    size_t size = 0;
    uint8_t* bytes = nullptr;
    const PackedFileStatus status = OpenPackedFile(path.c_str(), &size, &bytes);
    if (status == PackedFileStatus::Ok && image)
        image->assign(reinterpret_cast<const char*>(bytes), size);
    if (status == PackedFileStatus::Ok)
        EXPECT_EQ(ReleasePackedImage(size, bytes), PackedFileStatus::Ok);
    else
        EXPECT_EQ(bytes, nullptr);
    return status;
}

DWORD Unpack(const std::string& from, const std::string& to) {
    return RunCommand("\"" + BuildPath("tools\\packlib\\unpacklib.exe") + "\" \"" + from + "\" \"" +
                      to + "\"");
}

struct CommandRun {
    Lines out, err;
    DWORD exitCode = 99;
};

// `output`, when given, is the command's standard output.
CommandRun Catalogue(const std::string& arguments, HANDLE output = nullptr) {
    std::string streams[2];
    CommandRun run;
    run.exitCode =
        RunCommand("\"" + BuildPath("tools\\catalogue\\sw-catalogue.exe") + "\" " + arguments,
                   &streams[0], &streams[1], output);
    for (int i = 0; i < 2; ++i) {
        for (size_t start = 0, end; (end = streams[i].find("\r\n", start)) != std::string::npos;
             start = end + 2)
            (i ? run.err : run.out).push_back(streams[i].substr(start, end - start));
    }
    return run;
}

class CatalogueCommand : public ::testing::TestWithParam<int> {
  protected:
    void TearDown() override {
        ForgetSimInstalls();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vandrel");
    }
    TempFolder scratch;
};

}  // namespace

TEST(SimDiscovery, ValuesAreStoredExactlyFromThe32BitView) {
    ASSERT_TRUE(RegisterSimInstall(0, "C:\\FS95\\", KEY_WOW64_32KEY, false));  // no terminator
    ASSERT_TRUE(RegisterSimInstall(3, ""));                                    // empty text
    ASSERT_TRUE(RegisterSimInstall(5, "D:\\Games\\FS2002"));           // trailing backslash absent
    ASSERT_TRUE(RegisterSimInstall(6, "E:\\FS9\\", KEY_WOW64_64KEY));  // wrong view
    SimVersionTable table;
    ASSERT_TRUE(DiscoverSimVersions(&table));
    EXPECT_STREQ(table.InstallPath(0), "C:\\FS95\\");
    EXPECT_STREQ(table.InstallPath(3), "");  // not null: gtest tells the two apart
    EXPECT_STREQ(table.InstallPath(5), "D:\\Games\\FS2002");
    // 32-bit Windows has one view, which the 64-bit one names too.
    BOOL wow64 = FALSE;
    const bool oneView =
        sizeof(void*) == 4 && ::IsWow64Process(::GetCurrentProcess(), &wow64) && !wow64;
    if (oneView)
        EXPECT_STREQ(table.InstallPath(6), "E:\\FS9\\");
    else
        EXPECT_EQ(table.InstallPath(6), nullptr);
    EXPECT_EQ(CountInstalledVersions(table), oneView ? 4 : 3);
    ForgetSimInstalls();  // the catalogue command's tests register their own
}

TEST(OpenPackedFile, ReadsThePackerOutputAsThePlainFileAndRefusesWhatItCannotRead) {
    TempFolder folder;
    std::string plain(128, '\0');
    plain[10] = 'H';
    for (int i = 0; i < 300; ++i)
        plain += "Hangar_" + std::to_string(i % 17) + " radius 25.0\n";
    std::vector<uint8_t> packedBytes;
    ASSERT_TRUE(packlib::PackLibraryFile(
        std::span(reinterpret_cast<const uint8_t*>(plain.data()), plain.size()), packedBytes));
    const std::string packed(packedBytes.begin(), packedBytes.end());
    const std::string path = folder.File("packed.bgl");
    ASSERT_TRUE(WriteWholeFile(path, packed));
    std::string image;
    ASSERT_EQ(Open(path, &image), PackedFileStatus::Ok);
    EXPECT_EQ(image, plain);
    // The command gives the same bytes through the same reader.
    ASSERT_EQ(Unpack(path, folder.File("plain.bgl")), 0u);
    EXPECT_EQ(ReadWholeFile(folder.File("plain.bgl")), plain);

    HANDLE holder = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open(path), PackedFileStatus::OpenFailed);  // no sharing while another holds it
    ::CloseHandle(holder);
    ASSERT_TRUE(WriteWholeFile(folder.File("empty.bgl"), ""));
    EXPECT_EQ(Open(folder.File("empty.bgl")), PackedFileStatus::OpenFailed);
    EXPECT_EQ(Open(folder.File("missing.bgl")), PackedFileStatus::OpenFailed);

    // A file cut short (the reader's statuses over bytes are tested natively), which the command
    // refuses without writing anything.
    ASSERT_TRUE(WriteWholeFile(folder.File("short.bgl"), packed.substr(0, 100)));
    EXPECT_EQ(Open(folder.File("short.bgl")), PackedFileStatus::UnsupportedLayout);
    EXPECT_EQ(Unpack(folder.File("short.bgl"), folder.File("out.bgl")), 1u);
    EXPECT_EQ(::GetFileAttributesA(folder.File("out.bgl").c_str()), INVALID_FILE_ATTRIBUTES);
}

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
    RegisterSimInstall(version, install.Path());
    RegisterSimInstall(version == 5 ? 6 : 5, other.Path());
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
        const CommandRun run = Catalogue(arguments);
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
    const CommandRun none = Catalogue("");
    EXPECT_EQ(none.exitCode, 1u);
    EXPECT_EQ(none.err, Lines{"sw-catalogue: no simulator found"});
    EXPECT_EQ(Catalogue("6").exitCode, 1u);  // not installed
    RegisterSimInstall(6, scratch.File("gone"));
    EXPECT_EQ(Catalogue("").exitCode, 1u);  // registered, but the folder is not there
    EXPECT_EQ(Catalogue("5 \"" + scratch.File("gone") + "\"").exitCode, 1u);
    // A readable CFS1 folder without its one library file is listed, with that file missing.
    const CommandRun noLibrary = Catalogue("2 \"" + scratch.Path() + "\"");
    EXPECT_EQ(noLibrary.exitCode, 0u);
    ASSERT_EQ(noLibrary.err.size(), 2u);
    EXPECT_EQ(noLibrary.err[0], "sw-catalogue: " + scratch.File("Scenery\\LIBRARY.BGL: missing"));

    for (const char* wrong : {"7", "-1", "x", "05", "5 \"C:\\FS\" extra"}) {
        const CommandRun run = Catalogue(wrong);
        EXPECT_EQ(run.exitCode, 2u) << wrong;
        ASSERT_EQ(run.err.size(), 1u) << wrong;
        EXPECT_EQ(run.err[0].rfind("usage: sw-catalogue [VERSION [FOLDER]]", 0), 0u) << wrong;
    }
}

// Scenery.cfg missing, held by another program, or naming no area: its line says so, and the
// folder is still listed. A list that cannot be written fails the command, with its reason.
TEST_F(CatalogueCommand, SaysWhyNoAreaWasReadAndFailsWhenTheListCannotBeWritten) {
    const std::string arguments = "6 \"" + scratch.Path() + "\"";
    const std::string areaList = scratch.File("Scenery.cfg");
    auto areaListLine = [&] {
        const CommandRun run = Catalogue(arguments);
        EXPECT_EQ(run.exitCode, 0u);
        return run.err.size() == 2 ? run.err[0] : "(" + std::to_string(run.err.size()) + " lines)";
    };
    EXPECT_EQ(areaListLine(), "sw-catalogue: " + areaList + ": missing");
    ASSERT_TRUE(WriteWholeFile(areaList, "[General]\r\nTitle=Nothing here\r\n"));
    EXPECT_EQ(areaListLine(), "sw-catalogue: " + areaList + ": names no area");
    HANDLE holder =
        ::CreateFileA(areaList.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(areaListLine(), "sw-catalogue: " + areaList + ": ERROR:20");  // sharing violation
    ::CloseHandle(holder);

    ASSERT_TRUE(::CreateDirectoryA(scratch.File("Effects").c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(scratch.File("Effects\\smoke.fx"), "[Library Effect]\r\n"));
    // A handle that takes no write, as a full disk takes none.
    ASSERT_TRUE(WriteWholeFile(scratch.File("out.txt"), ""));
    SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
    HANDLE output = ::CreateFileA(scratch.File("out.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  &inherited, OPEN_EXISTING, 0, nullptr);
    const CommandRun unwritten = Catalogue(arguments, output);
    ::CloseHandle(output);
    EXPECT_EQ(unwritten.exitCode, 1u);
    ASSERT_FALSE(unwritten.err.empty());
    EXPECT_EQ(unwritten.err.back(),
              "sw-catalogue: cannot write the list to standard output (ERROR:5)");
}

TEST(StartupTime, RefusesANumberThatIsNotOneOrOutOfRange) {
    const std::string timer = "\"" + BuildPath("tools\\startuptime\\startuptime.exe") + "\" ";
    for (const char* wrong :
         {"run none.exe --runs -1", "run none.exe --runs x", "run none.exe --changes 2x",
          "phases C:\\FS --version x", "phases C:\\FS --version 42", "phases C:\\FS --version"}) {
        std::string errors;
        EXPECT_EQ(RunCommand(timer + wrong, nullptr, &errors), 2u) << wrong;
        EXPECT_EQ(errors.rfind("usage: startuptime", 0), 0u) << wrong;
    }
}

namespace {

// Every file under the folder an hour old, as files long installed are: a scan of them is kept.
void SetTimesBack(const std::string& folder) {
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            std::filesystem::last_write_time(entry.path(), old);
    }
}

// Writes other bytes of the same length over a library file and gives it back its time.
void ReplaceKeepingSizeAndTime(const std::string& path, const std::string& from,
                               const std::string& to) {
    std::string bytes = ReadWholeFile(path);
    bytes.replace(bytes.find(from), from.size(), to);
    const auto time = std::filesystem::last_write_time(path);
    ASSERT_TRUE(WriteWholeFile(path, bytes));
    std::filesystem::last_write_time(path, time);
}

bool Lists(const RunningProgram& program, const std::string& name) {
    const Lines rows = program.Rows(IDC_NAME);
    return std::find(rows.begin(), rows.end(), name) != rows.end();
}

}  // namespace

// A library replaced by another of the same size and time looks unchanged to the kept catalogue:
// the old objects show until F5 or the system menu's Rescan scans again; the object chosen stays
// chosen under its new name, with the parameters the user wrote. A Rescan that cannot keep what
// it scanned (a library held by another program) removes the kept file: the next start scans.
TEST(Rescan, PicksUpALibraryReplacedWithTheSameSizeAndTime) {
    ForgetSimInstalls();
    TempFolder folder;
    simgen::Options options;
    options.version = 6;
    options.libraryFiles = 2;
    options.packedEvery = 0;
    options.givenObjects = {
        {{0x5A5A0001, 0x0000E5F6, 0x11D2F24A, 0x1000849C}, "Zeppelin_a", 60, 0x00008000, "", 0}};
    simgen::Install install;
    std::string error;
    const std::string sim = folder.File("FS9"), exe = folder.File("Scenewright.exe");
    ASSERT_TRUE(simgen::Generate(sim, options, install, error)) << error;
    ASSERT_TRUE(RegisterSimInstall(6, sim));
    // A copy of the program, as long installed as the simulator: the kept catalogue is tied to it.
    ASSERT_TRUE(::CopyFileA(BuildPath("src\\app\\Scenewright.exe").c_str(), exe.c_str(), FALSE));
    SetTimesBack(folder.Path());
    const std::string library = install.objects.front().libraryPath;
    const std::string kept = KeptCatalogueFile();
    ::DeleteFileA(kept.c_str());
    {
        RunningProgram first;
        ASSERT_TRUE(first.Start(exe));
        first.PressKey(VK_ESCAPE);
        EXPECT_EQ(first.WaitForExit(), 0u);
    }
    ASSERT_NE(::GetFileAttributesA(kept.c_str()), INVALID_FILE_ATTRIBUTES);

    ReplaceKeepingSizeAndTime(library, "Zeppelin_a", "Zeppelin_b");
    RunningProgram program;
    ASSERT_TRUE(program.Start(exe));
    program.PickRow(IDC_TYPE, 1);
    EXPECT_TRUE(Lists(program, "Zeppelin_a"));
    const Lines rows = program.Rows(IDC_NAME);
    program.PickRow(IDC_NAME,
                    int(std::find(rows.begin(), rows.end(), "Zeppelin_a") - rows.begin()));
    // Edited parameters stay whole, however long the box's lines make them.
    std::string typed = "SHADOW=0", parameters = typed;
    while (parameters.size() < 1500)
        typed += "\rSIGNAL=1", parameters += "\r\nSIGNAL=1";
    program.Fill(IDC_PARAMETERS, typed);
    program.PressKey(VK_F5);
    EXPECT_EQ(program.Text(IDC_TYPE), "Library");
    EXPECT_FALSE(Lists(program, "Zeppelin_a"));
    EXPECT_EQ(program.Text(IDC_NAME), "Zeppelin_b");
    EXPECT_EQ(program.Text(IDC_PARAMETERS), parameters);

    ReplaceKeepingSizeAndTime(library, "Zeppelin_b", "Zeppelin_c");
    HANDLE holder = ::CreateFileA(install.objects.back().libraryPath.c_str(), GENERIC_READ, 0,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ::PostMessageA(program.Window(), WM_SYSCOMMAND, IDM_RESCAN, 0);
    program.Settle();
    ::CloseHandle(holder);
    EXPECT_EQ(program.Text(IDC_NAME), "Zeppelin_c");
    EXPECT_EQ(::GetFileAttributesA(kept.c_str()), INVALID_FILE_ATTRIBUTES);
    program.PressKey(VK_ESCAPE);
    ForgetSimInstalls();
}
