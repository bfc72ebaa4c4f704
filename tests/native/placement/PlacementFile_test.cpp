// Reading placement files back: what the program writes reads back to the same placements and
// bytes; a hand-made file keeps its notes, blank lines and line ends through Remove, Add and
// Clear; everything else is refused with its line; and the Open command over the list.
#include "placement/PlacementFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cfloat>
#include <filesystem>
#include <span>
#include <tuple>

#include "common/FakeForm.h"
#include "common/MessageRecorder.h"
#include "native/sim/ScanFiles.h"
#include "resource.h"

namespace {

const std::string kHeader = OutputList().FileBytes();

std::vector<std::string> Texts(std::span<const FileLine> lines) {
    std::vector<std::string> texts;
    for (const FileLine& line : lines)
        texts.push_back(line.text);
    return texts;
}

OutputList Loaded(const std::string& bytes) {
    PlacementFileText text;
    int badLine = 0;
    EXPECT_EQ(ParsePlacementFile(bytes, text, badLine), PlacementFileStatus::Read) << badLine;
    OutputList list;
    list.LoadFile(std::move(text), "", FileStamp());
    return list;
}

auto Fields(const Placement& p) {
    return std::tuple(p.type, p.name, p.latitude, p.longitude, p.altitude, p.pitch, p.bank,
                      p.heading, p.density, p.parameters, p.writtenByIdentifier);
}

const std::string kWindsock =
    "WINDSOCK,,N047* 26' 59.0000,W122* 18' 32.0000,AGL,0.00,0.00,90.00,Normal,\"\"";
const std::string kLibrary =
    "LIBRARY,\"0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Ch\",N047* 26' 59.0000,"
    "W122* 18' 32.0000,AGL,0.00,0.00,0.00,Normal,\"\"";

}  // namespace

TEST(PlacementFile, EveryLineTheProgramWritesReadsBackToTheSamePlacementAndBytes) {
    LibraryObject tower, nameless;
    tower.name = "Tower";
    tower.libraryPath = nameless.libraryPath = "C:\\FS\\Scenery\\lib.bgl";
    const std::string longName = "fx,\"big\",N47" + std::string(247, 'x');
    std::string longBlock;
    while (longBlock.size() < 1023)
        longBlock += "A=\"1;2\",\";";
    longBlock.resize(1023);
    const char* north = "N047* 26' 59.0000";
    const char* west = "W122* 18' 32.0000";
    using enum ObjectType;
    const Placement placements[] = {
        {WINDSOCK, "", north, west, "AGL", 0, 0, 90, "Normal", "", nullptr, false},
        {BUILDING, "", "S000* 00' 00.0000", "E181* 01' 00.0000", "100000.00", -DBL_MAX, DBL_MAX,
         359.99, "Extremely Dense", longBlock, nullptr, false},
        {EFFECT, longName, "N058* 59' 60.0000", "W000* 00' 00.0000", "0.00", 0, 0, 0, "Dense",
         "RANDOM=1,2;\"a;b\";", nullptr, false},
        {LIBRARY, "Hangar_A", north, west, "123.5", 0, 0, -0.01, "Very Sparse", "SHADOW=1", nullptr,
         false},
        {LIBRARY, "", north, west, "AGL", 0, 0, 0, "Very Dense", "", nullptr, false},
        {LIBRARY, "\"0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Ch\"", north, west, "AGL", 0, 0, 1,
         "Sparse", "", &tower, true},
        {LIBRARY, "\"0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Ch\"", north, west, "AGL", 0, 0, 1,
         "Sparse", "", &nameless, true},
    };
    std::string bytes = kHeader;
    std::vector<std::vector<std::string>> written;
    for (const Placement& placement : placements) {
        written.push_back(FormatPlacementLine(placement));
        for (const std::string& line : written.back())
            bytes += line + "\r\n";
    }
    std::string unixBytes = bytes;
    std::erase(unixBytes, '\r');
    for (const std::string& file : {bytes, unixBytes}) {
        const OutputList list = Loaded(file);
        ASSERT_EQ(list.placementCount, 7);
        for (size_t i = 0; i < written.size(); ++i) {
            ASSERT_EQ(Texts(list.PlacementLines(int(i))), written[i]);
            Placement read;
            ASSERT_TRUE(ParsePlacementLine(written[i].back(), read)) << written[i].back();
            EXPECT_EQ(Fields(read), Fields(placements[i])) << written[i].back();
            EXPECT_EQ(FormatPlacementLine(read).back(), written[i].back());
        }
        EXPECT_EQ(list.FileBytes(), file);
    }
}

TEST(PlacementFile, RefusesWhatIsNoPlacementFileOrLine) {
    auto swap = [](std::string text, std::string_view from, std::string_view to) {
        return text.replace(text.find(from), from.size(), to);
    };
    const std::string& line = kWindsock;
    const std::string notLines[] = {
        swap(line, "WINDSOCK,", "WINDSOCK,x"),
        swap(line, "WINDSOCK", "Windsock"),
        swap(line, "N047* 26' 59.0000", "N47 26 59"),
        swap(line, "N047", "E047"),
        swap(line, "W122", "S122"),
        swap(line, "AGL", "ground"),
        swap(line, "90.00", "90.0"),
        swap(line, "90.00", std::string(400, '9') + ".00"),
        swap(line, "Normal", "Thick"),
        swap(swap(line, "WINDSOCK,", "EFFECT,smoke.fx"), "Normal", "Very Dense"),
        swap(line, "WINDSOCK,", "EFFECT,"),
        line.substr(0, line.size() - 1),
        swap(line, ",0.00,0.00", ",0.00"),
        swap(line, "Normal", std::string_view("Nor\0mal", 7)),
        swap(line, "\"\"", "\"A=1\rB=2\""),
        " x",
        ";;" + std::string(4094, 'x'),
    };
    PlacementFileText contents;
    int badLine = 0;
    for (const std::string& bad : notLines) {
        EXPECT_EQ(ParsePlacementFile(kHeader + line + "\n" + bad + "\n", contents, badLine),
                  PlacementFileStatus::NotPlacementLine)
            << bad;
        EXPECT_EQ(badLine, 16) << bad;
    }
    const std::string notFiles[] = {"", kWindsock, ";;+\r\n"};
    for (const std::string& notFile : notFiles) {
        EXPECT_EQ(ParsePlacementFile(notFile, contents, badLine),
                  PlacementFileStatus::NotPlacementFile);
    }
}

TEST(PlacementFile, NotesBlankLinesAndLineEndsStayWhereTheyStand) {
    // A hand-made file: a short header, a library object written by its identifier right below
    // it, a blank line, a note in CR LF among LF lines, a line of blanks, and a last note with no
    // line end.
    const std::string header = ";;++\n;; my places\n";
    const std::string library = ";;++\n;; C:\\lib.bgl/Tower\n;;\n" + kLibrary + "\n";
    const std::string notes = "\n;; the windsocks\r\n";
    const std::string first = kWindsock + "\n";
    std::string second = kWindsock + "\n";
    second.replace(second.find("90.00"), 5, "45.00");
    const std::string tail = " \t\n;; end";
    const std::string file = header + library + notes + first + second + tail;

    OutputList list = Loaded(file);
    ASSERT_EQ(list.placementCount, 3);
    EXPECT_EQ(Texts(list.PlacementLines(0)),
              (std::vector<std::string>{";;++", ";; C:\\lib.bgl/Tower", ";;", kLibrary}));
    EXPECT_EQ(list.FileBytes(), file);

    // Removing a placement takes its own lines only; its notes now stand before the next one.
    const std::string withoutOne[] = {header + notes + first + second + tail,
                                      header + library + notes + second + tail,
                                      header + library + notes + first + tail};
    FakeForm form;
    for (int k = 0; k < 3; ++k) {
        OutputList removed = Loaded(file);
        EXPECT_EQ(removed.RemovePlacements({k}, form), 1);
        EXPECT_EQ(removed.FileBytes(), withoutOne[k]) << k;
    }

    // Add goes after the last placement, before the notes that end the file, in the file's own
    // line ends; Clear leaves the header and every note.
    form[IDC_TYPE].selected = int(ObjectType::BUILDING);
    form[IDC_LATITUDE].text = form[IDC_LONGITUDE].text = form[IDC_ALTITUDE].text = "1";
    ASSERT_TRUE(list.AddPlacement(form, {}, {}));
    const std::string added = Texts(list.PlacementLines(3)).back();
    EXPECT_EQ(list.FileBytes(), header + library + notes + first + second + added + "\n" + tail);
    // Placements made elsewhere (an import) go where Add puts one.
    list.AppendPlacements({{kWindsock}}, form);
    EXPECT_EQ(list.FileBytes(),
              header + library + notes + first + second + added + "\n" + kWindsock + "\n" + tail);
    list.Clear(form);
    EXPECT_EQ(list.FileBytes(), header + notes + tail);
    EXPECT_EQ(list.placementCount, 0);

    // A placement that ended the file without a line end takes it with it when removed.
    OutputList last = Loaded(header + first + kWindsock);
    last.RemovePlacements({1}, form);
    EXPECT_EQ(last.FileBytes(), header + first);
}

TEST(OutputList, RemoveDropsPlacementsWithTheirCommentLines) {
    OutputList list = Loaded(";;++\n" + kWindsock + "\n;;++\n;; C:\\lib.bgl/Tower\n;;\n" +
                             kLibrary + "\n" + kWindsock + "\n");
    FakeForm form;
    EXPECT_EQ(list.RemovePlacements({1, 1, 7, -1}, form), 1);
    EXPECT_EQ(list.FileBytes(), ";;++\n" + kWindsock + "\n" + kWindsock + "\n");
    EXPECT_EQ(list.placementCount, 2);
    EXPECT_FALSE(list.savedFlag);
    EXPECT_EQ(form[IDC_CLEAR].tooltip, "Clear 2 items from the output file");
    EXPECT_TRUE(form[IDC_CLEAR].enabled && form[IDC_BUILD].enabled);

    // Add after Remove appends a placement of its own; removing the last ones is as Clear.
    form[IDC_TYPE].selected = int(ObjectType::BUILDING);
    form[IDC_LATITUDE].text = form[IDC_LONGITUDE].text = form[IDC_ALTITUDE].text = "1";
    ASSERT_TRUE(list.AddPlacement(form, {}, {}));
    EXPECT_EQ(list.PlacementLines(2)[0].text.substr(0, 12), "BUILDING,,1,");
    EXPECT_EQ(list.RemovePlacements({0, 1}, form), 2);
    EXPECT_EQ(list.PlacementLines(0)[0].text.substr(0, 12), "BUILDING,,1,");
    EXPECT_EQ(list.RemovePlacements({0}, form), 1);
    EXPECT_EQ(list.FileBytes(), ";;++\n");
    EXPECT_FALSE(form[IDC_CLEAR].enabled || form[IDC_BUILD].enabled);
    EXPECT_EQ(form[IDC_CLEAR].tooltip, "Clear 1 item from the output file");
}

TEST(PlacementFile, OpenAsksBeforeDroppingUnsavedPlacementsAndRefusesBadFilesUnchanged) {
    const scan_files::TempFolder temp;
    const std::string& folder = temp.path;
    auto write = [&](const char* name, const std::string& bytes) {
        temp.Write(name, bytes);
        return folder + "/" + name;
    };
    const std::string good = write("good.csv", kHeader + kWindsock + "\r\n" + kWindsock + "\r\n");
    const std::string big = write("big.csv", "");
    ASSERT_EQ(truncate(big.c_str(), off_t(kMaxPlacementFileBytes) + 1), 0);

    MessageRecorder messages;
    FakeForm form;
    OutputList list;
    list.placementCount = 1;  // one unsaved Add
    struct Refusal {
        std::string path, text;
        unsigned kind;
    };
    const Refusal refusals[] = {
        {good, "1 placements have not been saved. Open \"" + good + "\" anyway?", 0x124},
        {folder + "/missing.csv", "ERROR:2 Cannot read file \"" + folder + "/missing.csv\"", 0},
        {folder, "ERROR:5 Cannot read file \"" + folder + "\"", 0},
        {big, "\"" + big + "\" is too large for a placement file.", 0x10},
        {write("notes.txt", "hello\n"), "\"" + folder + "/notes.txt\" is not a placement file.",
         0x10},
        {write("bad.csv", kHeader + "WINDSOCK\r\n"),
         "Line 15 of \"" + folder + "/bad.csv\" is not a placement line.", 0x10},
    };
    for (const Refusal& refusal : refusals) {
        messages.messages.clear();
        EXPECT_FALSE(OpenPlacementFile(list, form, refusal.path));  // No to the question
        ASSERT_EQ(messages.messages.size(), 1u) << refusal.path;
        EXPECT_EQ(messages.messages[0].text, refusal.text);
        EXPECT_EQ(messages.messages[0].kind, refusal.kind);
        EXPECT_EQ(list.FileBytes(), kHeader);
        list.savedFlag = true;
    }

    messages.messages.clear();
    list.savedFlag = false;
    messages.answers = {answer::kYes};
    std::vector<bool> busy;
    EXPECT_TRUE(OpenPlacementFile(list, form, good, [&](bool on) { busy.push_back(on); }));
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(messages.messages.size(), 1u);  // the question only
    EXPECT_EQ(list.FileBytes(), kHeader + kWindsock + "\r\n" + kWindsock + "\r\n");
    EXPECT_TRUE(list.placementCount == 2 && list.savedFlag && list.outputPath == good);
    EXPECT_EQ(form[IDC_OUTPUT_FILE].text, good);
    EXPECT_EQ(form[IDC_CLEAR].tooltip, "Clear 2 items from the output file");
    EXPECT_TRUE(form[IDC_CLEAR].enabled && form[IDC_BUILD].enabled);
    // A relative name is opened, and kept, as its full path; a header alone holds nothing.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    write("empty.csv", kHeader);
    EXPECT_TRUE(OpenPlacementFile(list, form, "empty.csv"));
    std::filesystem::current_path(before);
    EXPECT_TRUE(list.outputPath == folder + "/empty.csv" && list.placementCount == 0);
    EXPECT_FALSE(form[IDC_CLEAR].enabled || form[IDC_BUILD].enabled);
    // A file with notes opens saved, like any other.
    EXPECT_TRUE(
        OpenPlacementFile(list, form, write("notes.csv", kHeader + ";; mine\r\n" + kWindsock)));
    EXPECT_TRUE(list.placementCount == 1 && list.savedFlag);
    // Emptied, an opened file's list still holds a change the file has not seen.
    list.Clear(form);
    messages.messages.clear();
    EXPECT_FALSE(OpenPlacementFile(list, form, good));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "The changes to \"" + folder +
                                             "/notes.csv\" have not been saved. Open \"" + good +
                                             "\" anyway?");
    EXPECT_EQ(list.FileBytes(), kHeader + ";; mine\r\n");
    // The file's name taken out of the output box: the question names no empty file.
    list.SetOutputPath("");
    messages.messages.clear();
    EXPECT_FALSE(OpenPlacementFile(list, form, good));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "0 placements have not been saved. Open \"" + good + "\" anyway?");
}
