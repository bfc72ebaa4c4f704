#include "placement/Placement.h"

#include <gtest/gtest.h>

#include "common/FakeForm.h"
#include "common/MessageRecorder.h"
#include "resource.h"
#include "sim/KnownObjects.h"

namespace {

// A form as the user leaves it before Add: positions in their canonical text, snapped to the
// ground, heading 90, the kind's template untouched.
FakeForm FilledForm(ObjectType type) {
    FakeForm form;
    form[IDC_TYPE].selected = static_cast<int>(type);
    form[IDC_LATITUDE].text = "N047* 26' 59.0000\"";
    form[IDC_LONGITUDE].text = "W122* 18' 32.0000\"";
    form[IDC_SNAP_TO_GROUND].checked = true;
    form[IDC_ALTITUDE].text = "0.00";
    form[IDC_PITCH].text = "0";
    form[IDC_BANK].text = "0";
    form[IDC_HEADING].text = "90";
    form[IDC_DENSITY].text = "Normal";
    form[IDC_PARAMETERS].text = ParameterTemplate(type);
    return form;
}

LibraryObject Object(Guid128 guid, const char* name) {
    LibraryObject object;
    object.guid = guid;
    object.name = name;
    object.libraryPath = "C:\\FS\\Scenery\\lib.bgl";
    return object;
}

std::vector<std::string> LinesOf(const FakeForm& form, const LibraryCatalogue& catalogue = {}) {
    std::optional<Placement> placement = CollectPlacement(form, catalogue, {});
    return placement ? FormatPlacementLine(*placement) : std::vector<std::string>{};
}

}  // namespace

// (A windsock's line, and more of each kind, come back from Use in FormEntries_test.)
TEST(PlacementLine, EachKindGivesItsLine) {
    FakeForm building = FilledForm(ObjectType::BUILDING);
    building[IDC_NAME].text = "left over";
    building[IDC_SNAP_TO_GROUND].checked = false;
    building[IDC_ALTITUDE].text = "123.5";
    building[IDC_PARAMETERS].text = "SIZE_X=20\r\nSIZE_Z=30";
    EXPECT_EQ(LinesOf(building)[0],
              "BUILDING,,N047* 26' 59.0000,W122* 18' 32.0000,123.5,0.00,0.00,90.00,Normal,"
              "\"SIZE_X=20;SIZE_Z=30\"");

    FakeForm effect = FilledForm(ObjectType::EFFECT);
    effect[IDC_NAME].text = "fx_caf\xE9,\"big\"";
    effect[IDC_PITCH].text = "  -12abc";
    effect[IDC_BANK].text = "abc";
    effect[IDC_HEADING].text = "359.999";
    effect[IDC_DENSITY].text = "";
    EXPECT_EQ(LinesOf(effect)[0],
              "EFFECT,fx_caf\xE9,\"big\",N047* 26' 59.0000,W122* 18' 32.0000,AGL,-12.00,0.00,"
              "360.00,Normal,\"\"");
    // Angles are read as the field checks read them: nothing the checks refuse reaches a line.
    effect[IDC_PITCH].text = "nan";
    effect[IDC_BANK].text = "inf";
    effect[IDC_HEADING].text = "0x1A";
    EXPECT_EQ(LinesOf(effect)[0],
              "EFFECT,fx_caf\xE9,\"big\",N047* 26' 59.0000,W122* 18' 32.0000,AGL,0.00,0.00,0.00,"
              "Normal,\"\"");

    // A picked effect is written by its file's name; a typed or browsed name as it stands.
    EffectsCatalogue effects;
    effects.Append({"C:\\FS\\Effects\\fx_chimney.fx", "Chimney Smoke"});
    effect[IDC_NAME].text = "Chimney Smoke";
    effect[IDC_NAME].rows = {{"Chimney Smoke", 0}};
    effect[IDC_NAME].selected = 0;
    EXPECT_EQ(CollectPlacement(effect, {}, effects)->name, "fx_chimney.fx");
    effect[IDC_NAME].selected = -1;
    EXPECT_EQ(CollectPlacement(effect, {}, effects)->name, "Chimney Smoke");

    LibraryCatalogue catalogue;
    catalogue.Append(Object(KnownObjectTable[825].guid, "radar shack \xFC"));
    catalogue.Append(Object(Guid128{{0xA1B2C3D4, 0xE5F6, 0x11D2F24A, 0x1000849C}}, "hangar"));
    FakeForm library = FilledForm(ObjectType::LIBRARY);
    library[IDC_NAME].rows = {{"radar shack \xFC", 0}, {"hangar", 1}};
    library[IDC_NAME].selected = 0;
    library[IDC_PARAMETERS].text = FillLibraryTemplate(*catalogue.At(0));
    EXPECT_EQ(LinesOf(library, catalogue),
              std::vector<std::string>{"LIBRARY,radar shack \xFC,N047* 26' 59.0000,"
                                       "W122* 18' 32.0000,AGL,0.00,0.00,90.00,Normal,"
                                       "\"SHADOW=1;SIGNAL=0;RADIUS=0;SCALE=000000000h\""});

    library[IDC_NAME].selected = -1;
    library[IDC_NAME].text = "HANGAR";
    library[IDC_PARAMETERS].text = ParameterTemplate(ObjectType::LIBRARY);
    EXPECT_EQ(LinesOf(library, catalogue),
              (std::vector<std::string>{
                  ";;++", ";; C:\\FS\\Scenery\\lib.bgl/hangar", ";;",
                  "LIBRARY,\"0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Ch\",N047* 26' 59.0000,"
                  "W122* 18' 32.0000,AGL,0.00,0.00,90.00,Normal,\"\""}));
}

TEST(CollectPlacement, FailsOnlyWhereTheFormLacksWhatTheLineNeeds) {
    MessageRecorder recorder;
    FakeForm form = FilledForm(ObjectType::EFFECT);
    EXPECT_FALSE(CollectPlacement(form, {}, {}));  // no effect name
    form[IDC_NAME].text = "fx_beacon";
    form[IDC_TYPE].selected = 4;
    EXPECT_FALSE(CollectPlacement(form, {}, {}));
    form[IDC_TYPE].selected = 0;
    form[IDC_SNAP_TO_GROUND].checked = false;
    form[IDC_ALTITUDE].text = "";
    EXPECT_FALSE(CollectPlacement(form, {}, {}));
    form[IDC_ALTITUDE].text = "10";
    form[IDC_LATITUDE].text = "\"";  // only the closing mark: an empty field, not a failure
    ASSERT_TRUE(CollectPlacement(form, {}, {}));
    EXPECT_EQ(CollectPlacement(form, {}, {})->latitude, "");
    form[IDC_LONGITUDE].text = "";
    EXPECT_FALSE(CollectPlacement(form, {}, {}));
    EXPECT_TRUE(recorder.messages.empty());

    FakeForm library = FilledForm(ObjectType::LIBRARY);
    library[IDC_NAME].rows = {{"hangar", 5}};
    library[IDC_NAME].text = "hangar";
    EXPECT_FALSE(CollectPlacement(library, {}, {}));  // the row's object is not in the catalogue
    EXPECT_TRUE(recorder.messages.empty());
    library[IDC_NAME].text = "shed";
    EXPECT_FALSE(CollectPlacement(library, {}, {}));
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "GCS RETURNED CB_ERR");
    EXPECT_EQ(recorder.messages[0].kind, 0u);
}

TEST(ParameterLines, JoinedBySemicolonsUnlessLeftAsProposed) {
    EXPECT_EQ(JoinParameterLines("A=1\r\n\r\nB=2", ObjectType::BUILDING), "A=1;;B=2");
    EXPECT_EQ(JoinParameterLines("\r\nA=1\r\n", ObjectType::BUILDING), "A=1;");
    EXPECT_EQ(JoinParameterLines("", ObjectType::BUILDING), "");
    EXPECT_EQ(JoinParameterLines("height=10\r\nlength=5\r\npole_color=ff0000\r\n"
                                 "sock_color=00ff00\r\nlighted=0",
                                 ObjectType::WINDSOCK),
              "");
    EXPECT_EQ(JoinParameterLines(std::string(ParameterTemplate(ObjectType::WINDSOCK)) + " ",
                                 ObjectType::WINDSOCK),
              "HEIGHT=10;LENGTH=5;POLE_COLOR=FF0000;SOCK_COLOR=00FF00;LIGHTED=0 ");

    LibraryObject object;
    object.radius = 25;
    object.scale = 0x00010000;
    EXPECT_EQ(FillLibraryTemplate(object), "SHADOW=1\r\nSIGNAL=0\r\nRADIUS=25\r\nSCALE=000010000h");
    EXPECT_EQ(JoinParameterLines(FillLibraryTemplate(object), ObjectType::LIBRARY),
              "SHADOW=1;SIGNAL=0;RADIUS=25;SCALE=000010000h");

    // One long line is kept whole; only the field's own bound cuts.
    std::string longLine(600, 'x');
    EXPECT_EQ(JoinParameterLines(longLine + "\r\nB=2", ObjectType::BUILDING), longLine + ";B=2");
    EXPECT_EQ(JoinParameterLines(longLine + "\r\n" + longLine, ObjectType::BUILDING).size(), 1023u);
}

TEST(PlacementLine, FieldsAndLinesKeepTheirLimits) {
    FakeForm form = FilledForm(ObjectType::EFFECT);
    form[IDC_NAME].text = std::string(300, 'n');
    form[IDC_LATITUDE].text = std::string(70, 'a') + "\"";
    form[IDC_PARAMETERS].text = std::string(2000, 'p');
    std::optional<Placement> placement = CollectPlacement(form, {}, {});
    ASSERT_TRUE(placement);
    EXPECT_EQ(placement->name.size(), 259u);
    EXPECT_EQ(placement->latitude, std::string(63, 'a'));  // cut before the mark could be seen
    EXPECT_EQ(placement->parameters.size(), 1023u);

    LibraryObject object = Object(Guid128{{1, 2, 3, 4}}, "");
    object.name = std::string(5000, 'o');
    Placement huge;
    huge.type = ObjectType::LIBRARY;
    huge.name = std::string(5000, 'n');
    huge.libraryObject = &object;
    huge.writtenByIdentifier = true;
    std::vector<std::string> lines = FormatPlacementLine(huge);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].size(), 4095u);
    EXPECT_EQ(lines[3].size(), 4095u);
    EXPECT_EQ(lines[3].substr(0, 9), "LIBRARY,n");

    object.name.reset();
    EXPECT_EQ(FormatPlacementLine(huge)[1], ";; C:\\FS\\Scenery\\lib.bgl/");
}
