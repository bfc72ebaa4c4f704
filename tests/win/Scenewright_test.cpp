// The real program against generated simulator installs, one flow a user goes through per test:
// started fresh, driven with keys, clicks and list picks, its placement file read byte for byte
// and its settings read from the registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "SimGen.h"
#include "placement/OutputList.h"
#include "resource.h"
#include "sim/KnownObjects.h"
#include "support/GuiTest.h"
#include "support/RunningProgram.h"
#include "support/TempFolder.h"

namespace {

constexpr const char* kSettingsKey = "Software\\Vandrel\\Scenewright";
constexpr const char* kAdded = "The object was added successfully.";
constexpr const char* kQuitUnsaved = "Quit without saving file?";
// The position every flow types, as the line carries it once the fields have rewritten it.
const std::string kPlace = "N047* 26' 59.0000,W122* 18' 32.0000,AGL";

int RowOf(const std::vector<std::string>& rows, const std::string& text) {
    auto found = std::find(rows.begin(), rows.end(), text);
    return found == rows.end() ? -1 : int(found - rows.begin());
}

DWORD Setting(const char* name) {
    DWORD value = 0xFFFFFFFF;
    DWORD size = sizeof value;
    ::RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

class Scenewright : public ::testing::Test {
  protected:
    void SetUp() override {
        ForgetSimInstalls();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    }
    void TearDown() override { ForgetSimInstalls(); }

    // Generates an install of the version in a folder of its own and registers it.
    simgen::Install Install(int version, simgen::Options options = {}) {
        options.version = version;
        simgen::Install install;
        std::string error;
        std::string path = folder.File("FS" + std::to_string(version));
        EXPECT_TRUE(simgen::Generate(path, options, install, error)) << error;
        EXPECT_TRUE(RegisterSimInstall(version, path));
        return install;
    }

    void Enter(int id, const std::string& text) {
        program.Fill(id, text);
        program.PressKey(VK_TAB);
    }
    void EnterPosition() {
        Enter(IDC_LATITUDE, "N47 26 59");
        Enter(IDC_LONGITUDE, "W122 18 32");
    }
    void EnterFileAndPosition() {
        Enter(IDC_OUTPUT_FILE, output);
        EnterPosition();
    }
    std::string Add() {
        program.Click(IDC_ADD);
        return program.AnswerMessage();
    }
    // The placement file holding the header and these lines.
    static std::string FileWith(const std::vector<std::string>& lines) {
        std::string bytes = OutputList().FileBytes();
        for (const std::string& line : lines)
            bytes += line + "\r\n";
        return bytes;
    }

    TempFolder folder;
    const std::string output = folder.File("my places.csv");  // reaches the compiler as one word
    RunningProgram program;
};

TEST_F(Scenewright, LibraryObjectsArePickedOrTypedAndWrittenByNameOrIdentifier) {
    simgen::Options options;
    const uint32_t* baron = KnownObjectTable[0].guid.words;  // the compiler knows it by name
    const simgen::Object known{
        {baron[0], baron[1], baron[2], baron[3]}, KnownObjectTable[0].name, 25, 0x00010000, "", 0};
    const simgen::Object unknown{
        {0x5A5A0001, 0x0000E5F6, 0x11D2F24A, 0x1000849C}, "Zeppelin_a", 60, 0x00008000, "", 0};
    const simgen::Object other{{0x5A5A0002, 0, 0, 0}, "Zeppelin_b", 90, 0x00004000, "", 0};
    options.givenObjects = {known, unknown, other};
    const simgen::Install install = Install(6, options);
    const std::string knownTemplate = "SHADOW=1\r\nSIGNAL=0\r\nRADIUS=25\r\nSCALE=000010000h";
    const std::string unknownTemplate = "SHADOW=1\r\nSIGNAL=0\r\nRADIUS=60\r\nSCALE=000008000h";
    ASSERT_TRUE(program.Start(BuildPath("src\\app\\Scenewright.exe")));

    program.Focus(IDC_TYPE);
    program.Type("L");
    const std::vector<std::string> rows = program.Rows(IDC_NAME);
    ASSERT_EQ(rows.size(), install.objects.size());
    for (size_t row = 1; row < rows.size(); ++row)
        EXPECT_LE(lstrcmpiA(rows[row - 1].c_str(), rows[row].c_str()), 0) << rows[row];
    const int knownRow = RowOf(rows, known.name), unknownRow = RowOf(rows, unknown.name);
    ASSERT_TRUE(knownRow >= 0 && unknownRow >= 0);

    program.PickRow(IDC_NAME, knownRow);
    EXPECT_EQ(program.Text(IDC_PARAMETERS), knownTemplate);

    // Part of a name and Enter: the row it completes to, with its template; the focus moves on.
    program.Fill(IDC_NAME, "zepp");
    program.PressKey(VK_RETURN);
    EXPECT_EQ(program.Text(IDC_NAME), unknown.name);
    EXPECT_EQ(program.SelectedRow(IDC_NAME), unknownRow);
    EXPECT_EQ(program.Text(IDC_PARAMETERS), unknownTemplate);
    EXPECT_EQ(program.Focused(), program.Control(IDC_BROWSE_NAME));
    // Shortened to a bare prefix (no completion after Backspace): Enter picks the first row it
    // begins, with that row's template, not the one of the row typed before.
    program.Fill(IDC_NAME, "zeppelin_b");
    program.PressKey(VK_BACK);
    program.PressKey(VK_RETURN);
    EXPECT_EQ(program.SelectedRow(IDC_NAME), unknownRow);
    EXPECT_EQ(program.Text(IDC_PARAMETERS), unknownTemplate);

    // A whole name typed in other letters and left.
    Enter(IDC_NAME, "aso_BEECHCRAFTBARON");
    EXPECT_EQ(program.SelectedRow(IDC_NAME), knownRow);
    EXPECT_EQ(program.Text(IDC_PARAMETERS), knownTemplate);

    EnterFileAndPosition();
    EXPECT_EQ(Add(), kAdded);
    program.PickRow(IDC_NAME, unknownRow);
    EXPECT_EQ(Add(), kAdded);
    program.Click(IDOK);
    EXPECT_EQ(program.AnswerMessage(IDNO), kQuitUnsaved);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(
        ReadWholeFile(output),
        FileWith({"LIBRARY,ASO_beechcraftbaron," + kPlace +
                      ",0.00,0.00,0.00,Normal,\"SHADOW=1;SIGNAL=0;RADIUS=25;SCALE=000010000h\"",
                  ";;++", ";; " + install.objects[1].libraryPath + "/Zeppelin_a", ";;",
                  "LIBRARY,\"05A5A0001h, 00000E5F6h, 011D2F24Ah, 01000849Ch\"," + kPlace +
                      ",0.00,0.00,0.00,Normal,\"SHADOW=1;SIGNAL=0;RADIUS=60;SCALE=000008000h\""}));
}

TEST_F(Scenewright, EffectsAreListedByNameAndWrittenByTheirFile) {
    const simgen::Install install = Install(6);
    ASSERT_TRUE(program.Start(BuildPath("src\\app\\Scenewright.exe")));
    const std::vector<std::string> rows = program.Rows(IDC_NAME);
    EXPECT_EQ(rows.size(), install.effects.size());
    for (const simgen::Effect& effect : install.effects)
        EXPECT_GE(RowOf(rows, effect.displayName), 0) << effect.displayName;
    EnterFileAndPosition();

    program.PickRow(IDC_NAME, RowOf(rows, "Effect steam 2"));
    EXPECT_EQ(Add(), kAdded);

    // A browsed file is taken by its name; the row picked before is no longer selected.
    const std::string browsed = folder.File("glow.fx");
    ASSERT_TRUE(WriteWholeFile(browsed, "[Library Effect]\r\n"));
    program.Click(IDC_BROWSE_NAME);
    HWND open = program.WaitForWindow("Open");
    ASSERT_TRUE(open);
    gui_test::SetFileDialogName(open, browsed);
    program.Click(open, IDOK);
    EXPECT_EQ(program.Text(IDC_NAME), "glow.fx");
    EXPECT_EQ(program.SelectedRow(IDC_NAME), CB_ERR);
    EXPECT_EQ(Add(), kAdded);

    program.Click(IDOK);
    EXPECT_EQ(program.AnswerMessage(IDNO), kQuitUnsaved);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(ReadWholeFile(output),
              FileWith({"EFFECT,fx_steam2.fx," + kPlace + ",0.00,0.00,0.00,Normal,\"\"",
                        "EFFECT,glow.fx," + kPlace + ",0.00,0.00,0.00,Normal,\"\""}));
}

TEST_F(Scenewright, BuildShowsTheCompilersReport) {
    Install(6);
    ASSERT_TRUE(program.Start(BuildPath("src\\app\\Scenewright.exe")));
    program.Focus(IDC_TYPE);
    program.Type("W");
    EnterFileAndPosition();
    EXPECT_EQ(Add(), kAdded);

    program.Click(IDC_BUILD);
    HWND results = program.WaitForWindow("BGLC Assembly Results...");
    ASSERT_TRUE(results);
    EXPECT_EQ(RunningProgram::Text(::GetDlgItem(results, IDC_BUILD_OUTPUT)),
              "Checking " + output +
                  "\r\nOption -keep: the assembler listing is kept\r\nLine 15: WINDSOCK: ok\r\n"
                  "1 placement(s), 0 problem(s)\r\n");
    program.Click(results, IDOK);

    program.Click(IDOK);  // Build wrote the file: Quit asks nothing
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(ReadWholeFile(output),
              FileWith({"WINDSOCK,," + kPlace + ",0.00,0.00,0.00,Normal,\"\""}));
}

TEST_F(Scenewright, TwoInstalledVersionsAreSwitchedWithTheVersionButton) {
    simgen::Options small;
    small.effects = 3;
    small.libraryFiles = 2;
    const simgen::Install fs2002 = Install(5, small);
    const simgen::Install fs2004 = Install(6);
    ASSERT_TRUE(program.Start(BuildPath("src\\app\\Scenewright.exe")));
    EXPECT_EQ(program.Text(IDC_VERSION), "FS22");  // the default version at a first start
    EXPECT_EQ(program.Rows(IDC_NAME).size(), fs2002.effects.size());

    program.Focus(IDOK);
    program.PressKey(VK_TAB);
    ASSERT_EQ(program.Focused(), program.Control(IDC_VERSION));
    program.PressKey(VK_SPACE);
    HWND select = program.WaitForWindow("Select Flight Simulator");
    ASSERT_TRUE(select);
    // The installed versions in table order, the current one selected.
    HWND list = ::GetDlgItem(select, IDC_SIM_LIST);
    ASSERT_EQ(RunningProgram::Rows(list),
              (std::vector<std::string>{"Flight Simulator 2002", "Flight Simulator 2004"}));
    EXPECT_EQ(::SendMessageA(list, CB_GETCURSEL, 0, 0), 0);
    ::SendMessageA(list, CB_SETCURSEL, 1, 0);
    program.Click(select, IDOK);
    EXPECT_EQ(program.Text(IDC_VERSION), "FS24");
    EXPECT_EQ(program.Rows(IDC_NAME).size(), fs2004.effects.size());
    program.Focus(IDC_TYPE);
    program.Type("L");
    EXPECT_EQ(program.Rows(IDC_NAME).size(), fs2004.objects.size());

    // OK with no version chosen keeps the current one and its lists.
    program.Click(IDC_VERSION);
    select = program.WaitForWindow("Select Flight Simulator");
    ASSERT_TRUE(select);
    ::SendMessageA(::GetDlgItem(select, IDC_SIM_LIST), CB_SETCURSEL, WPARAM(-1), 0);
    program.Click(select, IDOK);
    EXPECT_EQ(program.Text(IDC_VERSION), "FS24");
    EXPECT_EQ(program.Rows(IDC_NAME).size(), fs2004.objects.size());

    program.Click(IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(Setting("DefaultSim"), 6u);
}

TEST_F(Scenewright, ClearReplaceAndQuitLeaveTheFileAndTheSettings) {
    Install(6);
    ASSERT_TRUE(WriteWholeFile(output, std::string(5000, 'x')));  // longer than what replaces it
    ASSERT_TRUE(program.Start(BuildPath("src\\app\\Scenewright.exe")));

    // With an effect name that names no row, which the look at the command state reports: a
    // refused name stops before it, an accepted one goes on to it.
    const std::string question = output + " already exists.\r\nDo you want to replace it?";
    Enter(IDC_NAME, "my_glow.fx");
    Enter(IDC_OUTPUT_FILE, output);
    EXPECT_EQ(program.AnswerMessage(IDNO), question);
    EXPECT_EQ(program.AnswerMessage(), "");
    EXPECT_EQ(program.Text(IDC_OUTPUT_FILE), "");
    EXPECT_EQ(program.Focused(), program.Control(IDC_OUTPUT_FILE));
    Enter(IDC_OUTPUT_FILE, output);
    EXPECT_EQ(program.AnswerMessage(IDYES), question);
    EXPECT_EQ(program.AnswerMessage(), "GCS RETURNED CB_ERR");
    program.Focus(IDC_TYPE);
    program.Type("W");
    EnterPosition();

    EXPECT_EQ(Add(), kAdded);
    EXPECT_EQ(Add(), kAdded);
    program.Click(IDC_CLEAR);
    EXPECT_FALSE(program.IsEnabled(IDC_CLEAR));
    EXPECT_FALSE(program.IsEnabled(IDC_BUILD));
    Enter(IDC_HEADING, "90");
    EXPECT_EQ(Add(), kAdded);

    program.Click(IDOK);
    EXPECT_EQ(program.AnswerMessage(IDNO), kQuitUnsaved);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(ReadWholeFile(output),
              FileWith({"WINDSOCK,," + kPlace + ",0.00,0.00,90.00,Normal,\"\""}));
    EXPECT_EQ(Setting("KeepAssembler"), 1u);
    EXPECT_EQ(Setting("ViewOutput"), 1u);
    EXPECT_EQ(Setting("DefaultSim"), 6u);
}

TEST_F(Scenewright, OpenedFilesKeepTheirNotesAndLineEndsAndAreWrittenOnlyWhenChanged) {
    // No simulator installed: the Name list of the starting kind has no row. A file given on the
    // command line shows no box but its own refusal.
    const std::string exe = BuildPath("src\\app\\Scenewright.exe");
    const std::string bad = folder.File("bad.csv");
    ASSERT_TRUE(WriteWholeFile(bad, ";;++\n;; mine\nWINDSOCK\n"));
    {
        RunningProgram refused;
        std::vector<std::string> boxes;
        bool started = refused.Start(exe, "\"" + bad + "\"", &boxes);
        ASSERT_TRUE(started);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].rfind("WARNING:2 Flight Simulator cannot be located", 0), 0u);
        EXPECT_EQ(refused.AnswerMessage(), "Line 3 of \"" + bad + "\" is not a placement line.");
        EXPECT_EQ(refused.AnswerMessage(), "");
        refused.PressKey(VK_ESCAPE);
        EXPECT_EQ(refused.WaitForExit(), 0u);
    }

    // A hand-made file: LF line ends, a short header, notes and a blank line, a library object
    // written by its identifier.
    const std::string library =
        ";;++\n;; C:\\lib.bgl/Zeppelin_a\n;;\nLIBRARY,\"05A5A0001h, "
        "00000E5F6h, 011D2F24Ah, 01000849Ch\"," +
        kPlace + ",0.00,0.00,0.00,Normal,\"\"\n";
    const std::string head = ";;++\n;; my places\n";
    const std::string notes = ";; the hangar\n\n";
    const std::string last = ";; end of my places\n";
    const std::string windsock = "WINDSOCK,," + kPlace + ",0.00,0.00,0.00,Normal,\"\"\n";
    const std::string places = head + windsock + notes + library + last;
    ASSERT_TRUE(WriteWholeFile(output, places));
    std::vector<std::string> boxes;
    ASSERT_TRUE(program.Start(exe, "\"" + output + "\"", &boxes));
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(program.AnswerMessage(), "");
    EXPECT_EQ(program.Text(IDC_OUTPUT_FILE), output);

    // Add goes before the notes that end the file; Build writes the file in its own line ends.
    program.Focus(IDC_TYPE);
    program.Type("W");
    EnterPosition();
    Enter(IDC_HEADING, "90");
    EXPECT_EQ(Add(), kAdded);
    program.Click(IDC_BUILD);
    HWND results = program.WaitForWindow("BGLC Assembly Results...");
    ASSERT_TRUE(results);
    program.Click(results, IDOK);
    const std::string built = head + windsock + notes + library + "WINDSOCK,," + kPlace +
                              ",0.00,0.00,90.00,Normal,\"\"\n" + last;
    EXPECT_EQ(ReadWholeFile(output), built);

    // Another program writes the file; Clear empties the list, which Quit then writes over it
    // only after asking.
    const std::string edited = built + ";; edited elsewhere\n";
    ASSERT_TRUE(WriteWholeFile(output, edited));
    program.Click(IDC_CLEAR);
    EXPECT_FALSE(program.IsEnabled(IDC_BUILD));
    const std::string changed =
        "\"" + output +
        "\" has been changed by another program since it was opened. Write over it?";
    program.Click(IDOK);
    EXPECT_EQ(program.AnswerMessage(IDNO), kQuitUnsaved);
    EXPECT_EQ(program.AnswerMessage(IDNO), changed);
    EXPECT_EQ(program.AnswerMessage(), "");
    EXPECT_EQ(ReadWholeFile(output), edited);
    program.Click(IDOK);
    EXPECT_EQ(program.AnswerMessage(IDNO), kQuitUnsaved);
    EXPECT_EQ(program.AnswerMessage(IDYES), changed);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(ReadWholeFile(output), head + notes + last);
}

}  // namespace
