// Use: the form entries made from a placement read back from the list are what Add turns into the
// same line again, with the Name row chosen as the main window chooses it.
#include "placement/FormEntries.h"

#include <gtest/gtest.h>

#include "common/FakeForm.h"
#include "common/MessageRecorder.h"
#include "placement/PlacementFile.h"
#include "resource.h"
#include "sim/KnownObjects.h"

namespace {

// The main window's part of Use over plain controls. Rows hold catalogue positions in catalogue
// order here; the window looks them up by the stored position all the same.
FakeForm FormWith(const FormEntries& entries, const LibraryCatalogue& libraries,
                  const EffectsCatalogue& effects) {
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

}  // namespace

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

    const std::string at = "N047* 26' 59.0000,W122* 18' 32.0000,";
    const std::string tower = "\"" + libraries.At(1)->guidAsmText + "\",";
    const struct {
        std::string line;
        intptr_t catalogueEntry;
        std::string box;  // what the parameter box shows
    } cases[] = {
        {"WINDSOCK,," + at + "AGL,0.00,0.00,90.00,Normal,\"\"", -1,
         ParameterTemplate(ObjectType::WINDSOCK)},
        {"BUILDING,," + at + "120.50,-5.00,3.25,359.99,Very Dense,\"A=1;;B=2\"", -1,
         "A=1\r\n\r\nB=2"},
        {"EFFECT,Smoke," + at + "AGL,0.00,0.00,0.00,Sparse,\";x;\"y\"\"", -1, ";x;\"y\""},
        {"EFFECT,my,fx," + at + "AGL,0.00,0.00,0.00,Normal,\"\"", -1,
         ParameterTemplate(ObjectType::EFFECT)},
        {"LIBRARY,Known," + at + "AGL,0.00,0.00,0.00,Normal,\"\"", 0, ""},
        {"LIBRARY," + tower + at + "AGL,0.00,0.00,0.00,Normal,\"SHADOW=1;SCALE=000000000h\"", 1,
         "SHADOW=1\r\nSCALE=000000000h"},
        {"WINDSOCK,," + at +
             "AGL,0.00,0.00,0.00,Normal,\"HEIGHT=10;LENGTH=5;POLE_COLOR=FF0000;"
             "SOCK_COLOR=00FF00;LIGHTED=0\"",
         -1, "HEIGHT=10;LENGTH=5;POLE_COLOR=FF0000;SOCK_COLOR=00FF00;LIGHTED=0"},
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
        ParsePlacementLine("EFFECT,FX_GLOW.FX," + at + "AGL,0.00,0.00,0.00,Dense,\"\"", effect));
    EXPECT_EQ(FormEntriesFor(effect, libraries, effects).catalogueEntry, 1);
    ASSERT_TRUE(ParsePlacementLine("LIBRARY,\"0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Dh\"," +
                                       at +
                                       "1.5,0.00,0.00,0.00,"
                                       "Normal,\"\"",
                                   missing));
    FormEntries entries = FormEntriesFor(missing, libraries, effects);
    EXPECT_EQ(entries.catalogueEntry, -1);
    EXPECT_EQ(entries.name, missing.name);
    EXPECT_FALSE(entries.snapToGround);
    EXPECT_EQ(entries.altitude, "1.5");
}
