#include "placement/FieldChecks.h"

#include <gtest/gtest.h>

#include "common/AppStrings.h"
#include "common/FakeForm.h"
#include "common/MessageRecorder.h"
#include "resource.h"

TEST(FieldChecks, LeavingAFieldRewritesOrRefusesIt) {
    const struct {
        int field;
        const char* typed;
        const char* after;  // null: refused with the field's message
        unsigned message;
    } cases[] = {
        {IDC_LATITUDE, "N 58* 35' 45", "N058* 35' 45.0000\"", 0},
        {IDC_LATITUDE, "N 61 13", "N061* 13' 00.0000\"", 0},
        {IDC_LATITUDE, "", "", 0},
        {IDC_LATITUDE, "N 91", nullptr, IDS_LATITUDE_UNREADABLE},
        {IDC_LONGITUDE, "-122.5", "W122* 30' 00.0000\"", 0},
        {IDC_LONGITUDE, "E 181", nullptr, IDS_LONGITUDE_UNREADABLE},
        {IDC_ALTITUDE, "150", "150.00", 0},
        {IDC_ALTITUDE, "100000", "100000.00", 0},
        {IDC_ALTITUDE, "12abc", "12.00", 0},
        {IDC_ALTITUDE, "2e2", "200.00", 0},
        {IDC_ALTITUDE, "100000.01", nullptr, IDS_ALTITUDE_UNREADABLE},
        {IDC_ALTITUDE, "-1", nullptr, IDS_ALTITUDE_UNREADABLE},
        {IDC_ALTITUDE, "1e999", nullptr, IDS_ALTITUDE_UNREADABLE},
        {IDC_HEADING, "360", "360.00", 0},
        {IDC_HEADING, "360.5", nullptr, IDS_HEADING_UNREADABLE},
        {IDC_HEADING, "inf", nullptr, IDS_HEADING_UNREADABLE},
        {IDC_PITCH, "0.004", "0.00", 0},
        {IDC_PITCH, "nan", nullptr, IDS_PITCH_UNREADABLE},
        {IDC_BANK, "0x10", "0.00", 0},  // the number is the 0 before the x
        {IDC_BANK, "-0.5", nullptr, IDS_BANK_UNREADABLE},
    };
    for (const auto& c : cases) {
        FakeForm form;
        MessageRecorder messages;
        form[c.field].text = c.typed;
        const bool accepted = OnFieldLostFocus(form, c.field);
        EXPECT_EQ(accepted, c.after != nullptr) << c.typed;
        if (c.after) {
            EXPECT_EQ(form[c.field].text, c.after) << c.typed;
            EXPECT_TRUE(messages.messages.empty()) << c.typed;
            EXPECT_EQ(form.commandStateUpdates, 1) << c.typed;
            EXPECT_EQ(form.focusCount, 0);
        } else {
            EXPECT_EQ(form[c.field].text, c.typed);  // what the user typed stays
            ASSERT_EQ(messages.messages.size(), 1u) << c.typed;
            EXPECT_EQ(messages.messages[0].text, LoadAppString(c.message));
            EXPECT_EQ(messages.messages[0].kind, 0u);
            EXPECT_EQ(form.focused, c.field);
            EXPECT_EQ(form.commandStateUpdates, 0) << c.typed;
        }
    }
}

TEST(FieldChecks, JudgesTheFirst63CharactersAndReplacesTheWholeText) {
    FakeForm form;
    MessageRecorder messages;
    form[IDC_ALTITUDE].text = "12" + std::string(61, ' ') + "this part is never read";
    ASSERT_TRUE(CheckAltitudeField(form, true));
    EXPECT_EQ(form[IDC_ALTITUDE].text, "12.00");
    form[IDC_ALTITUDE].text = "1" + std::string(62, '0') + "5";
    EXPECT_FALSE(CheckAltitudeField(form, true));
    form[IDC_LATITUDE].text = "N 58 35 45" + std::string(60, ' ') + "S";
    ASSERT_TRUE(CheckLatitudeField(form, true));  // the S beyond the first 63 has no say
    EXPECT_EQ(form[IDC_LATITUDE].text, "N058* 35' 45.0000\"");
}

TEST(FieldChecks, SnapToGroundAndTheRewriteFlag) {
    FakeForm form;
    form[IDC_SNAP_TO_GROUND].checked = true;
    form[IDC_ALTITUDE].text = "garbage";
    EXPECT_TRUE(CheckAltitudeField(form, false));
    EXPECT_EQ(form[IDC_ALTITUDE].text, "0.00");

    form[IDC_LATITUDE].text = "n 58:35:45";
    form[IDC_HEADING].text = "90";
    EXPECT_TRUE(CheckLatitudeField(form, false));
    EXPECT_TRUE(CheckAngleField(form, IDC_HEADING, false));
    EXPECT_EQ(form[IDC_LATITUDE].text, "n 58:35:45");
    EXPECT_EQ(form[IDC_HEADING].text, "90");
    EXPECT_EQ(form.commandStateUpdates, 0);
}
