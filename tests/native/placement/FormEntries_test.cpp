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

// The main window's part of Use, over plain controls: the Name rows of the kind, then the entries.
FakeForm FormWith(const FormEntries& entries, const LibraryCatalogue& libraries,
                  const EffectsCatalogue& effects) {
    FakeForm form;
    form[IDC_TYPE].selected = int(entries.type);
    intptr_t position = 0;
    if (entries.type == ObjectType::LIBRARY) {
        for (const LibraryObject& object : libraries)
            form[IDC_NAME].rows.push_back({object.name.value_or(object.guidText), position++});
    } else if (entries.type == ObjectType::EFFECT) {
        for (const EffectEntry& entry : effects)
            form[IDC_NAME].rows.push_back({entry.displayName, position++});
    }
    FakeForm::Control& name = form[IDC_NAME];
    for (size_t row = 0; row < name.rows.size(); ++row) {
        if (name.rows[row].data == entries.catalogueEntry)
            name.selected = int(row);
    }
    if (name.selected < 0)
        name.selected = form.FindRowExact(IDC_NAME, entries.name);
    name.text = name.selected < 0 ? entries.name : name.rows[size_t(name.selected)].text;
    form[IDC_LATITUDE].text = entries.latitude;
    form[IDC_LONGITUDE].text = entries.longitude;
    form[IDC_SNAP_TO_GROUND].checked = entries.snapToGround;
    form[IDC_ALTITUDE].text = entries.snapToGround ? "0.00" : entries.altitude;
    form[IDC_PITCH].text = entries.pitch;
    form[IDC_BANK].text = entries.bank;
    form[IDC_HEADING].text = entries.heading;
    form[IDC_DENSITY].text = entries.density;
    form[IDC_PARAMETERS].text = entries.parameters;
    return form;
}

LibraryObject Object(Guid128 guid, const char* name) {
    LibraryObject object;
    object.guid = guid;
    object.name = name;
    object.guidText = GuidDisplayText(guid);
    object.guidAsmText = GuidAsmText(guid);
    return object;
}

}  // namespace

TEST(FormEntries, UseFillsWhatAddTurnsIntoTheSameLine) {
    LibraryCatalogue libraries;
    libraries.Append(Object(KnownObjectTable[0].guid, "Known"));
    libraries.Append(Object(Guid128{{0xA1B2C3D4, 0xE5F6, 0x11D2F24A, 0x1000849C}}, "Tower"));
    EffectsCatalogue effects;
    effects.Append({"C:\\FS\\Effects\\fx_smoke.fx", "Smoke"});
    effects.Append({"C:\\FS\\Effects\\fx_glow.fx", "Glow"});

    const char* position = "N047* 26' 59.0000,W122* 18' 32.0000,";
    struct Case {
        std::string line;
        intptr_t catalogueEntry;
        std::string parameters;  // what the box shows
    };
    const Case cases[] = {
        {std::string("WINDSOCK,,") + position + "AGL,0.00,0.00,90.00,Normal,\"\"", -1,
         ParameterTemplate(ObjectType::WINDSOCK)},
        {std::string("BUILDING,,") + position + "120.50,-5.00,3.25,359.99,Very Dense,\"A=1;;B=2\"",
         -1, "A=1\r\n\r\nB=2"},
        {std::string("EFFECT,Smoke,") + position + "AGL,0.00,0.00,0.00,Sparse,\";x;\"y\"\"", -1,
         ";x;\"y\""},
        {std::string("EFFECT,my,fx,") + position + "AGL,0.00,0.00,0.00,Normal,\"a\"", -1, "a"},
        {std::string("LIBRARY,Known,") + position + "AGL,0.00,0.00,0.00,Normal,\"\"", -1, ""},
        {std::string("LIBRARY,\"") + GuidAsmText(libraries.At(1)->guid) + "\"," + position +
             "AGL,0.00,0.00,0.00,Normal,\"SHADOW=1;SIGNAL=0;RADIUS=0;SCALE=000000000h\"",
         1, "SHADOW=1\r\nSIGNAL=0\r\nRADIUS=0\r\nSCALE=000000000h"},
        {std::string("WINDSOCK,,") + position +
             "AGL,0.00,0.00,0.00,Normal,\"HEIGHT=10;LENGTH=5;POLE_COLOR=FF0000;SOCK_COLOR=00FF00;"
             "LIGHTED=0\"",
         -1, "HEIGHT=10;LENGTH=5;POLE_COLOR=FF0000;SOCK_COLOR=00FF00;LIGHTED=0"},
    };
    MessageRecorder messages;
    for (const Case& c : cases) {
        Placement placement;
        ASSERT_TRUE(ParsePlacementLine(c.line, placement)) << c.line;
        FormEntries entries = FormEntriesFor(placement, libraries, effects);
        EXPECT_EQ(entries.catalogueEntry, c.catalogueEntry) << c.line;
        EXPECT_EQ(entries.parameters, c.parameters) << c.line;
        EXPECT_EQ(entries.latitude, "N047* 26' 59.0000\"");
        std::optional<Placement> added =
            CollectPlacement(FormWith(entries, libraries, effects), libraries);
        ASSERT_TRUE(added) << c.line;
        EXPECT_EQ(FormatPlacementLine(*added).back(), c.line);
    }
    EXPECT_TRUE(messages.messages.empty());

    // An effect written by its file name selects the row of that file.
    Placement effect;
    ASSERT_TRUE(ParsePlacementLine(
        std::string("EFFECT,FX_GLOW.FX,") + position + "AGL,0.00,0.00,0.00,Dense,\"\"", effect));
    EXPECT_EQ(FormEntriesFor(effect, libraries, effects).catalogueEntry, 1);

    // An object missing from this simulator's catalogue is typed in as its identifier, which
    // matches no row.
    Placement missing;
    ASSERT_TRUE(ParsePlacementLine(
        std::string("LIBRARY,\"0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Dh\",") + position +
            "120.50,0.00,0.00,0.00,Normal,\"\"",
        missing));
    FormEntries entries = FormEntriesFor(missing, libraries, effects);
    EXPECT_EQ(entries.catalogueEntry, -1);
    EXPECT_EQ(entries.name, missing.name);
    EXPECT_FALSE(entries.snapToGround);
    EXPECT_EQ(entries.altitude, "120.50");
}
