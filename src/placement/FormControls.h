// What the placement model and the field checks need from the window that holds the form: the
// controls are named by their resource ids (resource.h). The main window implements this over
// its real controls; tests implement it over plain data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class FormControls {
public:
    virtual ~FormControls() = default;

    // Text of an edit box or of a combo box's edit part, at most maxChars characters.
    virtual std::string GetText(int id, size_t maxChars) const = 0;
    virtual void SetText(int id, std::string_view text) = 0;

    // List rows of a combo box: the selected row (-1 for none), the first row equal to text
    // without regard to letter case (-1 for none), and the value stored with a row (-1 for none).
    virtual int GetSelectedRow(int id) const = 0;
    virtual int FindRowExact(int id, std::string_view text) const = 0;
    virtual intptr_t GetRowData(int id, int row) const = 0;

    virtual bool IsChecked(int id) const = 0;
    virtual void EnableControl(int id, bool enable) = 0;
    virtual void SetTooltip(int id, std::string_view text) = 0;

    // Gives the control the keyboard focus with its whole text selected and the caret in view.
    virtual void FocusAndSelectAll(int id) = 0;

    // The form's contents changed in a way that may enable or disable its commands.
    virtual void CommandStateMayHaveChanged() = 0;
};
