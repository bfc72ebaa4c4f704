#include "placement/FieldChecks.h"

#include "common/AppStrings.h"
#include "common/Text.h"
#include "parse/Coordinates.h"
#include "parse/DecimalNumber.h"
#include "placement/Message.h"
#include "resource.h"

namespace {

constexpr size_t kRewriteBuffer = 64;

using Parser = bool (*)(const char*, double*);
using Formatter = char* (*)(double, char*, size_t);

bool CheckCoordinateField(FormControls& form, int field, Parser parse, Formatter format,
                          bool rewrite) {
    const std::string text = form.GetText(field, field_checks::kFieldChars);
    if (text.empty())
        return true;
    double value = 0.0;
    if (!parse(text.c_str(), &value))
        return false;
    if (!rewrite)
        return true;
    char canonical[kRewriteBuffer];
    if (format(value, canonical, sizeof(canonical)) == nullptr)
        return false;
    // A longer field than was judged never equals the short canonical text, so it is replaced
    // whole.
    if (text != canonical)
        form.SetText(field, canonical);
    return true;
}

bool CheckNumberField(FormControls& form, int field, double upper, bool rewrite) {
    const std::string text = form.GetText(field, field_checks::kFieldChars);
    if (text.empty())
        return true;
    double value = 0.0;
    if (!ReadDecimalNumber(text.c_str(), true, &value))
        return false;
    if (value < 0.0 || value > upper)
        return false;
    if (!rewrite)
        return true;
    const std::string formatted = FormatText(kRewriteBuffer - 1, "%1.2f", value);
    if (!EqualsNoCase(text, formatted))
        form.SetText(field, formatted);
    return true;
}

}  // namespace

bool CheckLatitudeField(FormControls& form, bool rewrite) {
    return CheckCoordinateField(form, IDC_LATITUDE, ParseLatitude, FormatLatitude, rewrite);
}

bool CheckLongitudeField(FormControls& form, bool rewrite) {
    return CheckCoordinateField(form, IDC_LONGITUDE, ParseLongitude, FormatLongitude, rewrite);
}

bool CheckAltitudeField(FormControls& form, bool rewrite) {
    if (form.IsChecked(IDC_SNAP_TO_GROUND)) {
        form.SetText(IDC_ALTITUDE, "0.00");
        return true;
    }
    return CheckNumberField(form, IDC_ALTITUDE, field_checks::kMaxAltitude, rewrite);
}

bool CheckAngleField(FormControls& form, int field, bool rewrite) {
    return CheckNumberField(form, field, field_checks::kMaxAngle, rewrite);
}

bool CheckFieldWithMessage(FormControls& form, int field) {
    bool accepted = true;
    unsigned message = 0;
    switch (field) {
        case IDC_LATITUDE:
            accepted = CheckLatitudeField(form, true);
            message = IDS_LATITUDE_UNREADABLE;
            break;
        case IDC_LONGITUDE:
            accepted = CheckLongitudeField(form, true);
            message = IDS_LONGITUDE_UNREADABLE;
            break;
        case IDC_ALTITUDE:
            accepted = CheckAltitudeField(form, true);
            message = IDS_ALTITUDE_UNREADABLE;
            break;
        case IDC_PITCH:
            accepted = CheckAngleField(form, field, true);
            message = IDS_PITCH_UNREADABLE;
            break;
        case IDC_BANK:
            accepted = CheckAngleField(form, field, true);
            message = IDS_BANK_UNREADABLE;
            break;
        case IDC_HEADING:
            accepted = CheckAngleField(form, field, true);
            message = IDS_HEADING_UNREADABLE;
            break;
        default:
            return true;
    }
    if (accepted)
        return true;
    ReportMessage(LoadAppString(message).c_str(), message_kind::kPlain);
    form.FocusAndSelectAll(field);
    return false;
}

bool OnFieldLostFocus(FormControls& form, int field) {
    if (!CheckFieldWithMessage(form, field))
        return false;
    form.CommandStateMayHaveChanged();
    return true;
}
