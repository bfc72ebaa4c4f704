// Add and Use: the placement and its line made from the form, and the form entries made from a
// placement read back from the list, which Add turns into the same line again.
#include "placement/Placement.h"

#include <gtest/gtest.h>

#include "common/FakeForm.h"
#include "common/MessageRecorder.h"
#include "placement/FormEntries.h"
#include "placement/PlacementFile.h"
#include "resource.h"
#include "sim/KnownObjects.h"

namespace {

const std::string kAt = "N047* 26' 59.0000,W122* 18' 32.0000,";

// The main window's part of Use over plain controls. Rows hold catalogue positions in catalogue
// order here; the window looks them up by the stored position all the same.
FakeForm FormWith(const FormEntries& entries, const LibraryCatalogue& libraries = {},
                  const EffectsCatalogue& effects = {}) {
    FakeForm form;
    form[IDC_TYPE].selected = int(entries.type);
    FakeForm::Control& name = form[IDC_NAME];
    if (entries.type == ObjectType::LIBRARY) {
        for (const LibraryObject& object : libraries)
            name.rows.push_back({*object.name, intptr_t(name.rows.size())});
    } else if (entries.type == ObjectType::EFFECT) {
        for (const EffectEntry& entry : effects)
            name.rows.push_back({entry.displayName, intptr_t(name.rows.size())});
    }
    name.selected = int(entries.catalogueEntry);
    name.text = name.selected < 0 ? entries.name : name.rows[size_t(name.selected)].text;
    form[IDC_LATITUDE].text = entries.latitude;
    form[IDC_LONGITUDE].text = entries.longitude;
    form[IDC_SNAP_TO_GROUND].checked = entries.snapToGround;
    form[IDC_ALTITUDE].text = entries.altitude;
    form[IDC_PITCH].text = entries.pitch;
    form[IDC_BANK].text = entries.bank;
    form[IDC_HEADING].text = entries.heading;
    form[IDC_DENSITY].text = entries.density;
    form[IDC_PARAMETERS].text = entries.parameters;
    return form;
}

// A form as the user leaves it before Add: positions in their canonical text, snapped to the
// ground, heading 90, the kind's template untouched.
FakeForm FilledForm(ObjectType type) {
    return FormWith({type, -1, "", "N047* 26' 59.0000\"", "W122* 18' 32.0000\"", true, "0.00", "0",
                     "0", "90", "Normal", ParameterTemplate(type)});
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

// (A windsock's line, and more of each kind, come back from Use below.)
TEST(PlacementLine, EachKindGivesItsLine) {
    FakeForm building = FilledForm(ObjectType::BUILDING);
    building[IDC_NAME].text = "left over";
    building[IDC_SNAP_TO_GROUND].checked = false;
    building[IDC_ALTITUDE].text = "123.5";
    building[IDC_PARAMETERS].text = "SIZE_X=20\r\nSIZE_Z=30";
    EXPECT_EQ(LinesOf(building)[0],
              "BUILDING,," + kAt + "123.5,0.00,0.00,90.00,Normal,\"SIZE_X=20;SIZE_Z=30\"");

    FakeForm effect = FilledForm(ObjectType::EFFECT);
    effect[IDC_NAME].text = "fx_caf\xE9,\"big\"";
    effect[IDC_PITCH].text = "  -12abc";
    effect[IDC_BANK].text = "abc";
    effect[IDC_HEADING].text = "359.999";
    effect[IDC_DENSITY].text = "";
    EXPECT_EQ(LinesOf(effect)[0],
              "EFFECT,fx_caf\xE9,\"big\"," + kAt + "AGL,-12.00,0.00,360.00,Normal,\"\"");
    // Angles are read as the field checks read them: nothing the checks refuse reaches a line.
    effect[IDC_PITCH].text = "nan";
    effect[IDC_BANK].text = "inf";
    effect[IDC_HEADING].text = "0x1A";
    EXPECT_EQ(LinesOf(effect)[0],
              "EFFECT,fx_caf\xE9,\"big\"," + kAt + "AGL,0.00,0.00,0.00,Normal,\"\"");

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
              std::vector<std::string>{"LIBRARY,radar shack \xFC," + kAt +
                                       "AGL,0.00,0.00,90.00,Normal,"
                                       "\"SHADOW=1;SIGNAL=0;RADIUS=0;SCALE=000000000h\""});

    library[IDC_NAME].selected = -1;
    library[IDC_NAME].text = "HANGAR";
    library[IDC_PARAMETERS].text = ParameterTemplate(ObjectType::LIBRARY);
    EXPECT_EQ(
        LinesOf(library, catalogue),
        (std::vector<std::string>{";;++", ";; C:\\FS\\Scenery\\lib.bgl/hangar", ";;",
                                  "LIBRARY,\"0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Ch\"," +
                                      kAt + "AGL,0.00,0.00,90.00,Normal,\"\""}));
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
    // Pasted text may break its lines with a bare LF or a lone CR: each is a break as the pair
    // is, and none reaches the line.
    EXPECT_EQ(JoinParameterLines("A=1\nB=2\rC=3\r\n\nD=4\n\r", ObjectType::BUILDING),
              "A=1;B=2;C=3;;D=4;;");
    FakeForm pasted = FilledForm(ObjectType::BUILDING);
    pasted[IDC_PARAMETERS].text = "\"X=1,2\"\n\rY=\";\"\r";
    const std::string line = LinesOf(pasted)[0];
    Placement read;
    ASSERT_TRUE(ParsePlacementLine(line, read)) << line;
    EXPECT_EQ(read.parameters, "\"X=1,2\";;Y=\";\";");
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

TEST(FormEntries, UseFillsWhatAddTurnsIntoTheSameLine) {
    LibraryCatalogue libraries;
    for (Guid128 guid : {KnownObjectTable[0].guid, Guid128{{0xA1B2C3D4, 0xE5F6, 0x11D2F24A, 7}}}) {
        LibraryObject object;
        object.guid = guid;
        object.name = libraries.Empty() ? "Known" : "Tower";
        object.guidAsmText = GuidAsmText(guid);
        libraries.Append(object);
    }
    EffectsCatalogue effects;
    effects.Append({"C:\\FS\\Effects\\fx_smoke.fx", "Smoke"});
    effects.Append({"C:\\FS\\Effects\\fx_glow.fx", "Glow"});

    const std::string tower = "\"" + libraries.At(1)->guidAsmText + "\",";
    // The longest block a file may hold, a line of the box per ";" of it.
    std::string longBlock, longBox;
    while (longBlock.size() < 1023)
        longBlock += "ABCD;";
    longBlock.resize(1023);
    for (char c : longBlock)
        longBox += c == ';' ? std::string("\r\n") : std::string(1, c);
    const struct {
        std::string line;
        intptr_t catalogueEntry;
        std::string box;  // what the parameter box shows
    } cases[] = {
        {"WINDSOCK,," + kAt + "AGL,0.00,0.00,90.00,Normal,\"\"", -1,
         ParameterTemplate(ObjectType::WINDSOCK)},
        {"BUILDING,," + kAt + "120.50,-5.00,3.25,359.99,Very Dense,\"A=1;;B=2\"", -1,
         "A=1\r\n\r\nB=2"},
        {"EFFECT,Smoke," + kAt + "AGL,0.00,0.00,0.00,Sparse,\";x;\"y\"\"", -1, ";x;\"y\""},
        {"EFFECT,my,fx," + kAt + "AGL,0.00,0.00,0.00,Normal,\"\"", -1,
         ParameterTemplate(ObjectType::EFFECT)},
        {"LIBRARY,Known," + kAt + "AGL,0.00,0.00,0.00,Normal,\"\"", 0, ""},
        {"LIBRARY," + tower + kAt + "AGL,0.00,0.00,0.00,Normal,\"SHADOW=1;SCALE=000000000h\"", 1,
         "SHADOW=1\r\nSCALE=000000000h"},
        {"WINDSOCK,," + kAt +
             "AGL,0.00,0.00,0.00,Normal,\"HEIGHT=10;LENGTH=5;POLE_COLOR=FF0000;"
             "SOCK_COLOR=00FF00;LIGHTED=0\"",
         -1, "HEIGHT=10;LENGTH=5;POLE_COLOR=FF0000;SOCK_COLOR=00FF00;LIGHTED=0"},
        {"BUILDING,," + kAt + "AGL,0.00,0.00,0.00,Normal,\"" + longBlock + "\"", -1, longBox},
    };
    MessageRecorder messages;
    for (const auto& c : cases) {
        Placement placement;
        ASSERT_TRUE(ParsePlacementLine(c.line, placement)) << c.line;
        FormEntries entries = FormEntriesFor(placement, libraries, effects);
        EXPECT_EQ(entries.catalogueEntry, c.catalogueEntry) << c.line;
        EXPECT_EQ(entries.parameters, c.box) << c.line;
        std::optional<Placement> added =
            CollectPlacement(FormWith(entries, libraries, effects), libraries, effects);
        ASSERT_TRUE(added) << c.line;
        EXPECT_EQ(FormatPlacementLine(*added).back(), c.line);
    }
    EXPECT_TRUE(messages.messages.empty());

    // An effect written by its file name selects that file's row; an object missing from this
    // simulator's catalogue is typed in as its identifier.
    Placement effect, missing;
    ASSERT_TRUE(
        ParsePlacementLine("EFFECT,FX_GLOW.FX," + kAt + "AGL,0.00,0.00,0.00,Dense,\"\"", effect));
    EXPECT_EQ(FormEntriesFor(effect, libraries, effects).catalogueEntry, 1);
    const std::string other = "\"0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Dh\",";
    ASSERT_TRUE(
        ParsePlacementLine("LIBRARY," + other + kAt + "1.5,0.00,0.00,0.00,Normal,\"\"", missing));
    FormEntries entries = FormEntriesFor(missing, libraries, effects);
    EXPECT_EQ(entries.catalogueEntry, -1);
    EXPECT_EQ(entries.name, missing.name);
    EXPECT_FALSE(entries.snapToGround);
    EXPECT_EQ(entries.altitude, "1.5");
}
