// The checks of the position and attitude fields, run when a field loses the focus: a readable
// value is rewritten in its one notation, an unreadable one brings up the field's message and
// sends the focus back. They work over the form's controls, so the main window and the tests
// run the same code.
#pragma once

#include "placement/FormControls.h"

namespace field_checks {
constexpr size_t kFieldChars = 63;  // a field is judged by this many characters
constexpr double kMaxAltitude = 100000.0;
constexpr double kMaxAngle = 360.0;
}  // namespace field_checks

// Each gives true when the field is acceptable; with rewrite it then holds the value's notation.
bool CheckLatitudeField(FormControls& form, bool rewrite);
bool CheckLongitudeField(FormControls& form, bool rewrite);
bool CheckAltitudeField(FormControls& form, bool rewrite);
// One of the pitch, bank and heading fields, by control id.
bool CheckAngleField(FormControls& form, int field, bool rewrite);

// A field judged as leaving it judges it: the check with rewrite; on failure the field's message,
// then the focus back with the whole (kept) text selected. Gives the check's result. Fields
// other than the six give true.
bool CheckFieldWithMessage(FormControls& form, int field);
// What a field's focus-loss handler does: CheckFieldWithMessage, and on success the form hears
// that its commands may change.
bool OnFieldLostFocus(FormControls& form, int field);
