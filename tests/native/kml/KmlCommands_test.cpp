// The Google Earth commands over the placement list: the exported document's placemarks read back
// to the very positions of the lines, and the import adds what Add would, or nothing.
#include "kml/KmlCommands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "common/FakeForm.h"
#include "common/MessageRecorder.h"
#include "kml/KmlWriter.h"
#include "parse/Coordinates.h"
#include "resource.h"

namespace {

const std::string kIdentifier = "\"0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Ch\"";

std::vector<std::string> Between(const std::string& text, const std::string& open,
                                 const std::string& close) {
    std::vector<std::string> found;
    for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at)) {
        at += open.size();
        found.push_back(text.substr(at, text.find(close, at) - at));
    }
    return found;
}

}  // namespace

TEST(KmlExport, EveryPlacementBecomesAPlacemarkThatReadsBackToItsPosition) {
    const char* positions[][2] = {
        {"N090* 00' 00.0000", "E180* 00' 00.0000"}, {"S090* 00' 00.0000", "W180* 00' 00.0000"},
        {"N047* 26' 59.1234", "W122* 18' 32.9999"}, {"N058* 59' 60.0000", "W000* 00' 00.0000"},
        {"N000* 00' 00.0000", "E000* 00' 00.0001"}, {"S000* 00' 00.0001", "E179* 59' 59.9999"},
    };
    const std::string rest[] = {
        "AGL,0.00,0.00,90.00,Normal,\"\"", "120.50,5.00,3.25,359.99,Very Dense,\"Z=<30>&\"",
        "AGL,0.00,0.00,0.00,Dense,\"\"",   "15.00,0.00,0.00,45.50,Normal,\"\"",
        "AGL,0.00,0.00,0.00,Normal,\"\"",  "AGL,0.00,0.00,0.00,Sparse,\"\""};
    const std::string kinds[] = {"WINDSOCK,",
                                 "BUILDING,",
                                 "EFFECT,smoke.fx",
                                 "LIBRARY,Hangar_A",
                                 "LIBRARY," + kIdentifier,
                                 "LIBRARY," + kIdentifier};
    std::vector<std::vector<std::string>> placements;
    for (int i = 0; i < 6; ++i) {
        placements.push_back(
            {kinds[i] + "," + positions[i][0] + "," + positions[i][1] + "," + rest[i]});
    }
    placements[4].insert(placements[4].begin(), {";;++", ";; C:\\FS\\lib.bgl/Zeppelin", ";;"});
    placements.push_back(
        {"WINDSOCK,,N047* 61' 00.0000,W122* 18' 32.0000,AGL,0.00,0.00,0.00,"
         "Normal,\"\""});  // 61 minutes: no position
    OutputList list;
    FakeForm form;
    list.AppendPlacements(placements, form);
    LibraryCatalogue catalogue;
    LibraryObject hangar;
    hangar.name = "Hangar_A";
    hangar.guid = {{0x90B2BBE0, 0x11D2F24A, 0x1000849C, 0x2AE60C5A}};  // a known object
    hangar.libraryPath = "C:\\FS\\hangars.bgl";
    catalogue.Append(hangar);

    const KmlExport kml = ExportKml(list, "places.csv", &catalogue);
    EXPECT_EQ(kml.placemarks, 7);
    EXPECT_EQ(kml.withoutPosition, 1);
    EXPECT_EQ(Between(kml.bytes, "<name>", "</name>"),
              (std::vector<std::string>{"places.csv", "Windsock", "Building", "smoke.fx",
                                        "Hangar_A", "Zeppelin",
                                        "{ A1B2C3D4, 0000E5F6, 11D2F24A, 1000849C }", "Windsock"}));
    EXPECT_EQ(Between(kml.bytes, "<heading>", "<"),
              (std::vector<std::string>{"90", "359.99", "0", "45.5", "0", "0", "0"}));
    EXPECT_EQ(Between(kml.bytes, "<altitudeMode>", "<")[1], "absolute");
    EXPECT_NE(kml.bytes.find("Z=&lt;30&gt;&amp;&quot;"), std::string::npos);
    EXPECT_NE(kml.bytes.find("<br>Library file: C:\\FS\\hangars.bgl]]>"), std::string::npos);
    EXPECT_NE(kml.bytes.find("<br>Library file: C:\\FS\\lib.bgl]]>"), std::string::npos);
    const std::vector<std::string> coordinates =
        Between(kml.bytes, "<coordinates>", "</coordinates>");
    ASSERT_EQ(coordinates.size(), 6u);
    for (size_t i = 0; i < coordinates.size(); ++i) {
        KmlPosition position;
        ASSERT_EQ(ReadPointCoordinates(coordinates[i], position), PointStatus::Usable);
        char latitude[64], longitude[64];
        FormatLatitude(position.latitude, latitude, sizeof latitude);
        FormatLongitude(position.longitude, longitude, sizeof longitude);
        EXPECT_EQ(latitude, std::string(positions[i][0]) + "\"") << coordinates[i];
        EXPECT_EQ(longitude, std::string(positions[i][1]) + "\"") << coordinates[i];
    }

    MessageRecorder messages;
    char folder[] = "/tmp/kmlexportXXXXXX";
    ASSERT_TRUE(mkdtemp(folder));
    const std::string path = std::string(folder) + "/places.kml";
    EXPECT_TRUE(ExportKmlFile(list, path, nullptr));
    EXPECT_FALSE(ExportKmlFile(list, std::string(folder) + "/missing/places.kml", nullptr));
    EXPECT_FALSE(CanExportKml(OutputList()));
    ASSERT_EQ(messages.messages.size(), 3u);
    EXPECT_EQ(messages.messages[0].text, "7 placements were written to \"" + path +
                                             "\"; 1 of them have no position that can be shown "
                                             "on the map.");
    EXPECT_EQ(messages.messages[1].text.substr(0, 30), "ERROR:3 Cannot create file \"/t");
    EXPECT_EQ(messages.messages[2].text, "The list holds no placements to export.");
    unlink(path.c_str());
    rmdir(folder);
    EXPECT_EQ(KmlPathFor("C:\\a.b\\places.csv"), "C:\\a.b\\places.kml");
    EXPECT_EQ(KmlPathFor("C:\\a.b\\places"), "C:\\a.b\\places.kml");
    EXPECT_EQ(KmlPathFor(""), "");
}

TEST(KmlImport, AddsWhatAddWouldAtEachPointAndRefusalsLeaveTheListAsItWas) {
    MessageRecorder messages;
    FakeForm form;
    form[IDC_TYPE].selected = int(ObjectType::BUILDING);
    form[IDC_ALTITUDE].text = "20";
    form[IDC_HEADING].text = "12.5";
    form[IDC_DENSITY].text = "Dense";
    form[IDC_PARAMETERS].text = "SIZE_X=20\r\nSIZE_Z=30";
    const std::optional<Placement> made = PlacementForImport(form, {}, {});
    ASSERT_TRUE(made.has_value());
    EXPECT_EQ(form[IDC_ALTITUDE].text, "20.00");  // checked as leaving the box checks it

    KmlReadResult read;
    read.points.points = {{1, "a", {8.5, 47.25}, -90.0},
                          {2, "b", {-122.3089, 47.4497}, {}},
                          {3, "c", {12.5, 41.9}, -360.0}};
    read.points.linesAndShapes = 3;
    read.points.unusable.resize(1);
    OutputList list;
    messages.answers = {answer::kNo};
    EXPECT_FALSE(ImportKmlPoints(list, form, *made, read, "C:\\a.kml"));
    EXPECT_EQ(list.placementCount, 0);
    EXPECT_TRUE(ImportKmlPoints(list, form, *made, read, "C:\\a.kml"));

    // The same lines as typing the positions and headings and pressing Add.
    OutputList added;
    for (const auto& [latitude, longitude, heading] :
         {std::tuple("N047* 15' 00.0000\"", "E008* 30' 00.0000\"", "270"),
          std::tuple("N047* 26' 58.9200\"", "W122* 18' 32.0400\"", "12.5"),
          std::tuple("N041* 54' 00.0000\"", "E012* 30' 00.0000\"", "0")}) {
        form[IDC_LATITUDE].text = latitude, form[IDC_LONGITUDE].text = longitude;
        form[IDC_HEADING].text = heading;
        ASSERT_TRUE(added.AddPlacement(form, {}, {}));
    }
    EXPECT_EQ(list.Lines(), added.Lines());
    EXPECT_EQ(form[IDC_CLEAR].tooltip, "Clear 3 items from the output file");
    ASSERT_EQ(messages.messages.size(), 3u);
    EXPECT_EQ(messages.messages[0].text, "Add 3 placements from \"C:\\a.kml\"?");
    EXPECT_EQ(messages.messages[0].kind, message_kind::kAddQuestion);
    EXPECT_EQ(messages.messages[2].text,
              "3 placements were added; 3 lines and shapes and 1 unusable points were skipped.");

    const std::vector<FileLine> before = list.Lines();
    messages.messages.clear();
    read.points.points.clear();
    EXPECT_FALSE(ImportKmlPoints(list, form, *made, read, "C:\\a.kml"));
    read.status = KmlReadStatus::Unparsable, read.line = 19, read.reason = "Namespace prefix";
    EXPECT_FALSE(ImportKmlPoints(list, form, *made, read, "C:\\a.kml"));
    read.status = KmlReadStatus::DocumentType;
    EXPECT_FALSE(ImportKmlPoints(list, form, *made, read, "C:\\a.kml"));
    EXPECT_EQ(list.Lines(), before);
    ASSERT_EQ(messages.messages.size(), 3u);
    EXPECT_EQ(messages.messages[0].text,
              "\"C:\\a.kml\" holds no point that can be placed (3 lines and shapes and 1 unusable "
              "points).");
    EXPECT_EQ(messages.messages[1].text,
              "\"C:\\a.kml\" cannot be read as KML, line 19: Namespace prefix");
    EXPECT_EQ(messages.messages[2].kind, message_kind::kStop);

    // The window's own fields are checked first, with Add's messages.
    messages.messages.clear();
    form[IDC_PITCH].text = "abc";
    EXPECT_FALSE(PlacementForImport(form, {}, {}));
    EXPECT_EQ(form.focused, IDC_PITCH);
    form[IDC_PITCH].text = "0";
    form[IDC_TYPE].selected = int(ObjectType::LIBRARY);
    EXPECT_FALSE(PlacementForImport(form, {}, {}));
    ASSERT_EQ(messages.messages.size(), 3u);
    EXPECT_EQ(messages.messages[0].text.substr(0, 29), "The pitch value cannot be rea");
    EXPECT_EQ(messages.messages[1].text, "GCS RETURNED CB_ERR");
    EXPECT_EQ(messages.messages[2].text, "Unable to add object.");
}
