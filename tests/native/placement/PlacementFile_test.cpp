// Reading placement files back: what the program writes reads back to the same placements and
// bytes; everything else is refused with its line; Remove; and the Open command over the list.
#include "placement/PlacementFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cfloat>
#include <filesystem>
#include <tuple>

#include "common/FakeForm.h"
#include "common/MessageRecorder.h"
#include "native/sim/ScanFiles.h"
#include "resource.h"

namespace {

const std::string kHeader = OutputList().FileBytes();

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
        PlacementFileContents contents;
        int badLine = -1;
        ASSERT_EQ(ParsePlacementFile(file, contents, badLine), PlacementFileStatus::Read);
        EXPECT_EQ(contents.header, OutputList().Lines());
        ASSERT_EQ(contents.placements, written);
        for (size_t i = 0; i < written.size(); ++i) {
            Placement read;
            ASSERT_TRUE(ParsePlacementLine(written[i].back(), read)) << written[i].back();
            EXPECT_EQ(Fields(read), Fields(placements[i])) << written[i].back();
            EXPECT_EQ(FormatPlacementLine(read).back(), written[i].back());
        }
        OutputList list;
        list.LoadPlacements(std::move(contents.header), std::move(contents.placements));
        EXPECT_EQ(list.placementCount, 7);
        EXPECT_EQ(list.FileBytes(), bytes);
    }
}

TEST(PlacementFile, RefusesWhatIsNoPlacementFileOrLineAndDropsStrayComments) {
    auto swap = [](std::string text, std::string_view from, std::string_view to) {
        return text.replace(text.find(from), from.size(), to);
    };
    const std::string& line = kWindsock;
    const std::string notLines[] = {
        "",
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
        ";;" + std::string(4094, 'x'),
    };
    PlacementFileContents contents;
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

    // A shorter header ends at the first placement; comments that are not the three lines before
    // a library object written by its identifier are dropped.
    ASSERT_EQ(
        ParsePlacementFile(";;++\n;; mine\n" + line + "\n;;++\n;; C:\\lib.bgl/Tower\n;;\n" + line +
                               "\n;;\n;; x/y\n;;\n" + kLibrary + "\n;;" + std::string(4093, 'y'),
                           contents, badLine),
        PlacementFileStatus::Read);
    EXPECT_EQ(contents.header, (std::vector<std::string>{";;++", ";; mine"}));
    EXPECT_EQ(contents.placements,
              (std::vector<std::vector<std::string>>{{line}, {line}, {kLibrary}}));
    EXPECT_EQ(contents.droppedComments, 7);
    // Only the last three comment lines can stand for the identifier.
    ASSERT_EQ(ParsePlacementFile(
                  ";;++\n" + line + "\n;; note\n;;++\n;; C:\\lib.bgl/Tower\n;;\n" + kLibrary,
                  contents, badLine),
              PlacementFileStatus::Read);
    EXPECT_EQ(contents.placements.back(),
              (std::vector<std::string>{";;++", ";; C:\\lib.bgl/Tower", ";;", kLibrary}));
    EXPECT_EQ(contents.droppedComments, 1);
}

TEST(OutputList, RemoveDropsPlacementsWithTheirCommentLines) {
    OutputList list;
    list.LoadPlacements(
        {";;++"}, {{kWindsock}, {";;++", ";; C:\\lib.bgl/Tower", ";;", kLibrary}, {kWindsock}});
    list.savedFlag = true;
    FakeForm form;
    EXPECT_EQ(list.RemovePlacements({1, 1, 7, -1}, form), 1);
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{";;++", kWindsock, kWindsock}));
    EXPECT_EQ(list.placementCount, 2);
    EXPECT_FALSE(list.savedFlag);
    EXPECT_EQ(form[IDC_CLEAR].tooltip, "Clear 2 items from the output file");
    EXPECT_TRUE(form[IDC_CLEAR].enabled && form[IDC_BUILD].enabled);

    // Add after Remove appends a placement of its own; removing the last ones is as Clear.
    form[IDC_TYPE].selected = int(ObjectType::BUILDING);
    form[IDC_LATITUDE].text = form[IDC_LONGITUDE].text = form[IDC_ALTITUDE].text = "1";
    ASSERT_TRUE(list.AddPlacement(form, {}, {}));
    EXPECT_EQ(list.PlacementLines(2)[0].substr(0, 12), "BUILDING,,1,");
    EXPECT_EQ(list.RemovePlacements({0, 1}, form), 2);
    EXPECT_EQ(list.PlacementLines(0)[0].substr(0, 12), "BUILDING,,1,");
    EXPECT_EQ(list.RemovePlacements({0}, form), 1);
    EXPECT_EQ(list.Lines(), std::vector<std::string>{";;++"});
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
        EXPECT_EQ(list.Lines().size(), kOutputHeaderLineCount);
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
    // A file with notes the list cannot keep stays unsaved, so that Quit asks before writing
    // over them.
    EXPECT_TRUE(
        OpenPlacementFile(list, form, write("notes.csv", kHeader + ";; mine\r\n" + kWindsock)));
    EXPECT_TRUE(list.placementCount == 1 && !list.savedFlag);
}
