// A form made of plain data, standing in for the main window's controls in tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/Text.h"
#include "placement/FormControls.h"

class FakeForm : public FormControls {
public:
    struct Row {
        std::string text;
        intptr_t data;
    };
    struct Control {
        std::string text;
        std::vector<Row> rows;
        int selected = -1;
        bool checked = false;
        bool enabled = true;
        std::string tooltip;
    };

    std::string GetText(int id, size_t maxChars) const override {
        return CutText(Find(id).text, maxChars);
    }
    void SetText(int id, std::string_view text) override { controls[id].text = text; }
    int GetSelectedRow(int id) const override { return Find(id).selected; }
    int FindRowExact(int id, std::string_view text) const override {
        const Control& control = Find(id);
        for (size_t i = 0; i < control.rows.size(); ++i) {
            if (EqualsNoCase(control.rows[i].text, text)) return static_cast<int>(i);
        }
        return -1;
    }
    intptr_t GetRowData(int id, int row) const override {
        const Control& control = Find(id);
        if (row < 0 || static_cast<size_t>(row) >= control.rows.size()) return -1;
        return control.rows[static_cast<size_t>(row)].data;
    }
    bool IsChecked(int id) const override { return Find(id).checked; }
    void EnableControl(int id, bool enable) override { controls[id].enabled = enable; }
    void SetTooltip(int id, std::string_view text) override { controls[id].tooltip = text; }
    void FocusAndSelectAll(int id) override {
        focused = id;
        ++focusCount;
    }
    void CommandStateMayHaveChanged() override { ++commandStateUpdates; }

    Control& operator[](int id) { return controls[id]; }

    std::map<int, Control> controls;
    int focused = 0;
    int focusCount = 0;
    int commandStateUpdates = 0;

private:
    const Control& Find(int id) const {
        static const Control kEmpty;
        auto found = controls.find(id);
        return found == controls.end() ? kEmpty : found->second;
    }
};
