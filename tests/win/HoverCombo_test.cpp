// The hover combo box in a real dialog (type-ahead through the modal loop, frame pixels) and
// the file dialog over the system's open and save dialogs.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/Text.h"
#include "framework/Dialog.h"
#include "support/DialogTemplate.h"
#include "support/GuiTest.h"
#include "support/TempFolder.h"
#include "ui/HoverComboBox.h"
#include "ui/XFileDialog.h"

namespace {

constexpr WORD kNames = 1017;
constexpr WORD kTypes = 1016;
constexpr WORD kOther = 1001;

class ComboDialog : public CDialog {
  public:
    explicit ComboDialog(DialogTemplateBuilder& builder) : CDialog(builder.Get(), nullptr) {}
    CHoverComboBox names;
    CHoverComboBox types;
    LRESULT pickedOnOk = -2;

  protected:
    void DoDataExchange(CDataExchange* exchange) override {
        DDX_Control(exchange, kNames, names);
        DDX_Control(exchange, kTypes, types);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        for (const char* item : {"Beacon", "Bench", "Windsock", "Window frame"})
            names.SendMessage(CB_ADDSTRING, 0, LPARAM(item));
        for (const char* item : {"Library object", "Effect"})
            types.SendMessage(CB_ADDSTRING, 0, LPARAM(item));
        types.SendMessage(CB_SETCURSEL, 0);
        return TRUE;
    }
    void OnOK() override {
        pickedOnOk = names.SendMessage(CB_GETCURSEL);
        CDialog::OnOK();
    }
};

DialogTemplateBuilder MakeTemplate() {
    DialogTemplateBuilder builder("Hover combo", 200, 90);
    builder.Add(0x0085, "", kNames, 10, 10, 120, 80,
                CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP | WS_CHILD |
                    WS_VISIBLE);
    builder.Add(0x0085, "", kTypes, 10, 40, 120, 60,
                CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_CHILD | WS_VISIBLE);
    builder.Add(0x0080, "OK", kOther, 140, 10, 50, 14,
                BS_PUSHBUTTON | WS_TABSTOP | WS_CHILD | WS_VISIBLE);
    return builder;
}

// The box's text and the selection in its edit: "text [start, end)".
std::string State(CHoverComboBox& box) {
    DWORD start = 0, end = 0;
    box.SendMessage(CB_GETEDITSEL, WPARAM(&start), LPARAM(&end));
    return box.GetWindowText() + " [" + std::to_string(start) + ", " + std::to_string(end) + ")";
}

TEST(HoverComboBox, TypeAheadCompletesFromTheList) {
    auto builder = MakeTemplate();
    ComboDialog dialog(builder);
    std::vector<std::string> states;
    LRESULT rowAfterNoMatch = 0;
    // Each step looks at what the step before typed, then types on.
    auto then = [&](std::function<void()> type) {
        return [&, type](HWND) {
            states.push_back(State(dialog.names));
            type();
        };
    };
    gui_test::RunSteps({[&](HWND window) {
                            gui_test::FocusControl(window, kNames);
                            gui_test::TypeText("Bea");
                        },
                        then([] { gui_test::TypeText("x"); }),  // replaces the completed part
                        then([&] {
                            dialog.names.SetWindowText("");
                            gui_test::TypeText("win");
                        }),
                        then([] { gui_test::PressKey(VK_BACK); }), then([&] {
                            dialog.names.SetWindowText("");
                            dialog.names.SendMessage(CB_SETCURSEL, WPARAM(-1));
                            gui_test::PressKey(VK_END);  // completion allowed again
                            gui_test::TypeText("Qz");
                        }),
                        then([&] {
                            rowAfterNoMatch = dialog.names.SendMessage(CB_GETCURSEL);
                            dialog.names.SendMessage(CB_SETCURSEL, WPARAM(-1));
                            dialog.names.SetWindowText("Ben");
                            gui_test::PressKey(VK_RETURN);
                        })});
    dialog.DoModal();
    // "win" takes the first matching row in list order with the row's own letters; Backspace
    // removes the highlighted completion and does not complete again.
    EXPECT_EQ(states,
              (std::vector<std::string>{"Beacon [3, 6)", "Beax [4, 4)", "Window frame [3, 12)",
                                        "Win [3, 3)", "Qz [2, 2)"}));
    EXPECT_EQ(rowAfterNoMatch, CB_ERR);
    // Enter picks the item the text begins with before the dialog's OK sees the list.
    EXPECT_EQ(dialog.pickedOnOk, 1);  // Bench in the sorted list
}

TEST(HoverComboBox, FrameRisesUnderThePointerAndFlattensAway) {
    auto builder = MakeTemplate();
    ComboDialog dialog(builder);
    std::vector<COLORREF> corner;  // flat, raised, flat again, focused with the pointer away
    auto look = [&](HWND) { corner.push_back(gui_test::PixelAt(dialog.types, 0, 0)); };
    COLORREF disabled = 0;
    gui_test::RunSteps({[&](HWND window) {
                            gui_test::FocusControl(window, kOther);
                            gui_test::MovePointerAway();
                        },
                        [&](HWND window) {
                            look(window);
                            gui_test::MovePointerTo(dialog.types, POINT{5, 5});
                        },
                        [&](HWND window) {
                            look(window);
                            gui_test::MovePointerAway();
                        },
                        [&](HWND window) {
                            look(window);
                            gui_test::FocusControl(window, kTypes);
                        },
                        [&](HWND window) {
                            look(window);
                            gui_test::FocusControl(window, kOther);
                            dialog.types.EnableWindow(false);
                        },
                        [&](HWND) { disabled = gui_test::PixelAt(dialog.types, 1, 1); }});
    dialog.DoModal();
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(corner, (std::vector<COLORREF>{face, shadow, face, shadow}));
    EXPECT_EQ(disabled, ::GetSysColor(COLOR_BTNHIGHLIGHT));  // the inner ring
}

// (The open dialog is driven through the program itself in Scenewright_test.)
TEST(XFileDialog, SaveReturnsTheChosenPathWithItsExtensionOrCancels) {
    TempFolder folder;
    const std::string base = folder.Path() + "\\placements";
    for (bool choose : {true, false}) {
        gui_test::WhenDialogOpens([&](HWND window) {
            // The name field: a combo box's edit in the explorer-style dialog, an edit otherwise.
            ::SetDlgItemTextA(window, 0x047c, base.c_str());
            ::SetDlgItemTextA(window, 0x0480, base.c_str());
            ::PostMessageA(window, WM_COMMAND, choose ? IDOK : IDCANCEL, 0);
        });
        XFileDialog save(false, "csv", "", 0x802, "Csv files (*.csv)|*.csv|All Files (*.*)|*.*||");
        ASSERT_EQ(save.DoModal(), choose ? IDOK : IDCANCEL);
        EXPECT_TRUE(!choose || EqualsNoCase(save.GetPathName(), base + ".csv"))
            << save.GetPathName();
    }
}

}  // namespace
