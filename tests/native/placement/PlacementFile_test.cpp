// Reading placement files back: what the program writes reads back to the same placements and
// bytes; everything else is refused with its line; and the Open command over the list.
#include "placement/PlacementFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cfloat>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/FakeForm.h"
#include "common/MessageRecorder.h"
#include "resource.h"

namespace {

Placement Make(ObjectType type, std::string name, const char* altitude, double heading,
               const char* density, std::string parameters) {
    Placement placement;
    placement.type = type;
    placement.name = std::move(name);
    placement.latitude = "N047* 26' 59.0000";
    placement.longitude = "W122* 18' 32.0000";
    placement.altitude = altitude;
    placement.heading = heading;
    placement.density = density;
    placement.parameters = std::move(parameters);
    return placement;
}

std::string Header() {
    std::string bytes;
    for (const char* line : kOutputHeader)
        bytes += std::string(line) + "\r\n";
    return bytes;
}

const char* const kWindsock =
    "WINDSOCK,,N047* 26' 59.0000,W122* 18' 32.0000,AGL,0.00,0.00,90.00,Normal,\"\"";

}  // namespace

TEST(PlacementFile, EveryLineTheProgramWritesReadsBackToTheSamePlacementAndBytes) {
    LibraryObject tower;
    tower.name = "Tower";
    tower.libraryPath = "C:\\FS\\Scenery\\lib.bgl";
    LibraryObject nameless;
    nameless.libraryPath = tower.libraryPath;
    std::string longName(259, 'x');
    longName.replace(0, 12, "fx,\"big\",N47");
    std::string longBlock;
    while (longBlock.size() < 1023)
        longBlock += "A=\"1;2\",\";";
    longBlock.resize(1023);

    std::vector<Placement> placements = {
        Make(ObjectType::WINDSOCK, "", "AGL", 90, "Normal", ""),
        Make(ObjectType::BUILDING, "", "100000.00", 359.99, "Extremely Dense", longBlock),
        Make(ObjectType::EFFECT, longName, "0.00", 0, "Dense", "RANDOM=1,2;\"a;b\";"),
        Make(ObjectType::LIBRARY, "Hangar_A", "123.5", -0.01, "Very Sparse",
             "SHADOW=1;SIGNAL=0;RADIUS=25;SCALE=000010000h"),
        Make(ObjectType::LIBRARY, "", "AGL", 0, "Very Dense", ""),
        Make(ObjectType::LIBRARY, "\"0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Ch\"", "AGL", 1,
             "Sparse", ""),
    };
    placements[1].pitch = -DBL_MAX;
    placements[1].bank = DBL_MAX;
    placements[1].latitude = "S000* 00' 00.0000";
    placements[1].longitude = "E181* 01' 00.0000";
    placements[2].latitude = "N058* 59' 60.0000";
    placements[2].longitude = "W000* 00' 00.0000";
    placements[5].writtenByIdentifier = true;
    placements[5].libraryObject = &tower;
    placements.push_back(placements[5]);
    placements.back().libraryObject = &nameless;

    std::string bytes = Header();
    std::vector<std::vector<std::string>> written;
    for (const Placement& placement : placements) {
        written.push_back(FormatPlacementLine(placement));
        for (const std::string& line : written.back())
            bytes += line + "\r\n";
    }
    std::string unixBytes;
    for (char c : bytes)
        if (c != '\r')
            unixBytes += c;

    for (const std::string& file : {bytes, unixBytes}) {
        PlacementFileContents contents;
        int badLine = -1;
        ASSERT_EQ(ParsePlacementFile(file, contents, badLine), PlacementFileStatus::Read);
        EXPECT_EQ(contents.header,
                  std::vector<std::string>(std::begin(kOutputHeader), std::end(kOutputHeader)));
        ASSERT_EQ(contents.placements, written);
        for (size_t i = 0; i < placements.size(); ++i) {
            Placement read;
            const std::string& line = written[i].back();
            ASSERT_TRUE(ParsePlacementLine(line, read)) << line;
            const Placement& wrote = placements[i];
            EXPECT_EQ(read.type, wrote.type);
            EXPECT_EQ(read.name, wrote.name);
            EXPECT_EQ(read.latitude, wrote.latitude);
            EXPECT_EQ(read.longitude, wrote.longitude);
            EXPECT_EQ(read.altitude, wrote.altitude);
            EXPECT_EQ(read.pitch, wrote.pitch);
            EXPECT_EQ(read.bank, wrote.bank);
            EXPECT_EQ(read.heading, wrote.heading);
            EXPECT_EQ(read.density, wrote.density);
            EXPECT_EQ(read.parameters, wrote.parameters);
            EXPECT_EQ(read.writtenByIdentifier, wrote.writtenByIdentifier);
            EXPECT_EQ(FormatPlacementLine(read).back(), line);
        }
        OutputList list;
        list.LoadPlacements(std::move(contents.header), std::move(contents.placements));
        EXPECT_EQ(list.placementCount, int(placements.size()));
        EXPECT_EQ(list.FileBytes(), bytes);
    }
}

TEST(PlacementFile, RefusesWhatIsNoPlacementFileOrLineAndDropsStrayComments) {
    const std::string line = kWindsock;
    auto replaced = [](std::string text, std::string_view from, std::string_view to) {
        return text.replace(text.find(from), from.size(), to);
    };
    struct Case {
        std::string body;
        PlacementFileStatus status;
        int badLine;
    };
    const Case cases[] = {
        {"", PlacementFileStatus::NotPlacementFile, 0},
        {line + "\r\n", PlacementFileStatus::NotPlacementFile, 0},
        {";;+\r\n", PlacementFileStatus::NotPlacementFile, 0},
        {Header() + "\r\n", PlacementFileStatus::NotPlacementLine, 15},
        {Header() + line + "\n" + replaced(line, "WINDSOCK,", "WINDSOCK,x"),
         PlacementFileStatus::NotPlacementLine, 16},
        {Header() + replaced(line, "WINDSOCK", "Windsock"), PlacementFileStatus::NotPlacementLine,
         15},
        {Header() + replaced(line, "N047* 26' 59.0000", "N47 26 59"),
         PlacementFileStatus::NotPlacementLine, 15},
        {Header() + replaced(line, "N047", "E047"), PlacementFileStatus::NotPlacementLine, 15},
        {Header() + replaced(line, "W122", "S122"), PlacementFileStatus::NotPlacementLine, 15},
        {Header() + replaced(line, "AGL", "ground"), PlacementFileStatus::NotPlacementLine, 15},
        {Header() + replaced(line, "90.00", "90.0"), PlacementFileStatus::NotPlacementLine, 15},
        {Header() + replaced(line, "90.00", std::string(400, '9') + ".00"),
         PlacementFileStatus::NotPlacementLine, 15},
        {Header() + replaced(line, "Normal", "Thick"), PlacementFileStatus::NotPlacementLine, 15},
        {Header() +
             replaced(replaced(line, "WINDSOCK,", "EFFECT,smoke.fx"), "Normal", "Very Dense"),
         PlacementFileStatus::NotPlacementLine, 15},
        {Header() + replaced(line, "WINDSOCK,", "EFFECT,"), PlacementFileStatus::NotPlacementLine,
         15},
        {Header() + line.substr(0, line.size() - 1), PlacementFileStatus::NotPlacementLine, 15},
        {Header() + replaced(line, ",0.00,0.00", ",0.00"), PlacementFileStatus::NotPlacementLine,
         15},
        {Header() + replaced(line, "Normal", std::string_view("Nor\0mal", 7)),
         PlacementFileStatus::NotPlacementLine, 15},
        {Header() + ";;" + std::string(4094, 'x'), PlacementFileStatus::NotPlacementLine, 15},
    };
    for (const Case& c : cases) {
        PlacementFileContents contents;
        int badLine = -1;
        EXPECT_EQ(ParsePlacementFile(c.body, contents, badLine), c.status) << c.body;
        EXPECT_EQ(badLine, c.badLine) << c.body;
    }

    // A shorter header ends at the first placement; comments that are not the three identifier
    // lines before a library object written by its identifier are dropped.
    PlacementFileContents contents;
    int badLine = 0;
    ASSERT_EQ(
        ParsePlacementFile(";;++\n;; mine\n" + line + "\n;;++\n;; C:\\lib.bgl/Tower\n;;\n" + line +
                               "\n;; note\n" + std::string(4095 - 2, 'y').insert(0, ";;"),
                           contents, badLine),
        PlacementFileStatus::Read);
    EXPECT_EQ(contents.header, (std::vector<std::string>{";;++", ";; mine"}));
    EXPECT_EQ(contents.placements, (std::vector<std::vector<std::string>>{{line}, {line}}));
}

TEST(OutputList, RemoveDropsPlacementsWithTheirCommentLines) {
    PlacementFileContents contents;
    int badLine = 0;
    const std::string library =
        "LIBRARY,\"0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Ch\",N047* 26' 59.0000,"
        "W122* 18' 32.0000,AGL,0.00,0.00,0.00,Normal,\"\"";
    ASSERT_EQ(
        ParsePlacementFile(Header() + kWindsock + "\r\n;;++\r\n;; C:\\lib.bgl/Tower\r\n;;\r\n" +
                               library + "\r\n" + kWindsock + "\r\n",
                           contents, badLine),
        PlacementFileStatus::Read);
    OutputList list;
    list.LoadPlacements(contents.header, contents.placements);
    list.savedFlag = true;
    ASSERT_EQ(list.PlacementLines(1).size(), 4u);
    EXPECT_EQ(list.PlacementLines(1).back(), library);

    FakeForm form;
    EXPECT_EQ(list.RemovePlacements({1, 1, 7, -1}, form), 1);
    EXPECT_EQ(list.Lines().size(), kOutputHeaderLineCount + 2);
    EXPECT_EQ(list.Lines().back(), kWindsock);
    EXPECT_EQ(list.placementCount, 2);
    EXPECT_FALSE(list.savedFlag);
    EXPECT_EQ(form[IDC_CLEAR].tooltip, "Clear 2 items from the output file");
    EXPECT_TRUE(form[IDC_CLEAR].enabled && form[IDC_BUILD].enabled);

    // Add after Remove appends a placement of its own.
    form[IDC_TYPE].selected = int(ObjectType::WINDSOCK);
    form[IDC_LATITUDE].text = "N001* 00' 00.0000\"";
    form[IDC_LONGITUDE].text = "E001* 00' 00.0000\"";
    form[IDC_SNAP_TO_GROUND].checked = true;
    ASSERT_TRUE(list.AddPlacement(form, {}));
    EXPECT_EQ(list.PlacementLines(2).size(), 1u);
    EXPECT_EQ(list.PlacementLines(2)[0].substr(0, 28), "WINDSOCK,,N001* 00' 00.0000,");

    EXPECT_EQ(list.RemovePlacements({0, 1}, form), 2);
    EXPECT_EQ(form[IDC_CLEAR].tooltip, "Clear 1 item from the output file");
    EXPECT_EQ(list.RemovePlacements({0}, form), 1);
    EXPECT_EQ(list.Lines().size(), kOutputHeaderLineCount);
    EXPECT_FALSE(form[IDC_CLEAR].enabled || form[IDC_BUILD].enabled);
    EXPECT_EQ(form[IDC_CLEAR].tooltip, "Clear 1 item from the output file");  // as after Clear
    EXPECT_TRUE(list.PlacementLines(0).empty());
}

TEST(PlacementFile, OpenAsksBeforeDroppingUnsavedPlacementsAndRefusesBadFilesUnchanged) {
    char pattern[] = "/tmp/swopenXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
        return folder + "/" + name;
    };
    const std::string good = write("good.csv", Header() + kWindsock + "\r\n" + kWindsock + "\r\n");

    MessageRecorder messages;
    FakeForm form;
    OutputList list;
    list.placementCount = 1;  // one unsaved Add
    messages.answers = {answer::kNo};
    EXPECT_FALSE(OpenPlacementFile(list, form, good));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "1 placements have not been saved. Open \"" + good + "\" anyway?");
    EXPECT_EQ(messages.messages[0].kind, 0x124u);
    EXPECT_EQ(list.Lines().size(), kOutputHeaderLineCount);

    struct Refusal {
        std::string path;
        std::string text;
        unsigned kind;
    };
    const std::string big = folder + "/big.csv";
    write("big.csv", "");
    ASSERT_EQ(truncate(big.c_str(), off_t(kMaxPlacementFileBytes) + 1), 0);
    const Refusal refusals[] = {
        {folder + "/missing.csv", "ERROR:2 Cannot read file \"" + folder + "/missing.csv\"", 0},
        {folder, "ERROR:5 Cannot read file \"" + folder + "\"", 0},
        {big, "\"" + big + "\" is too large for a placement file.", 0x10},
        {write("notes.txt", "hello\n"), "\"" + folder + "/notes.txt\" is not a placement file.",
         0x10},
        {write("bad.csv", Header() + kWindsock + "\r\nWINDSOCK\r\n"),
         "Line 16 of \"" + folder + "/bad.csv\" is not a placement line.", 0x10},
    };
    list.savedFlag = true;
    for (const Refusal& refusal : refusals) {
        messages.messages.clear();
        EXPECT_FALSE(OpenPlacementFile(list, form, refusal.path));
        ASSERT_EQ(messages.messages.size(), 1u) << refusal.path;
        EXPECT_EQ(messages.messages[0].text, refusal.text);
        EXPECT_EQ(messages.messages[0].kind, refusal.kind);
        EXPECT_EQ(list.Lines().size(), kOutputHeaderLineCount);
    }

    messages.messages.clear();
    list.savedFlag = false;
    messages.answers = {answer::kYes};
    std::vector<bool> busy;
    EXPECT_TRUE(OpenPlacementFile(list, form, good, [&](bool on) { busy.push_back(on); }));
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(messages.messages.size(), 1u);  // the question only
    EXPECT_EQ(list.FileBytes(), Header() + kWindsock + "\r\n" + kWindsock + "\r\n");
    EXPECT_EQ(list.placementCount, 2);
    EXPECT_TRUE(list.savedFlag);
    EXPECT_EQ(list.outputPath, good);
    EXPECT_EQ(form[IDC_OUTPUT_FILE].text, good);
    EXPECT_EQ(form[IDC_CLEAR].tooltip, "Clear 2 items from the output file");
    EXPECT_TRUE(form[IDC_CLEAR].enabled && form[IDC_BUILD].enabled);

    // A relative name is opened, and kept, as its full path; a header alone holds nothing.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    write("empty.csv", Header());
    EXPECT_TRUE(OpenPlacementFile(list, form, "empty.csv"));
    std::filesystem::current_path(before);
    EXPECT_EQ(list.outputPath, folder + "/empty.csv");
    EXPECT_EQ(list.placementCount, 0);
    EXPECT_FALSE(form[IDC_CLEAR].enabled || form[IDC_BUILD].enabled);
    std::filesystem::remove_all(folder);
}
