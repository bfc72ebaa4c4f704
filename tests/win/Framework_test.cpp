// The dialog framework against real windows: message maps, reflection, data exchange and the
// settings in the registry. (Its modal loop runs every window of the program's own tests, and the
// link control's colours come through its reflected WM_CTLCOLORSTATIC.)
#include <gtest/gtest.h>

#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "support/DialogTemplate.h"

namespace {

constexpr WORD kEdit = 101;
constexpr WORD kButton = 102;
constexpr WORD kCheck = 103;

class CountingEdit : public CWnd {
  public:
    int changes = 0;
    void OnReflectedChange() { ++changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingEdit, CWnd)
ON_CONTROL_REFLECT(EN_CHANGE, &CountingEdit::OnReflectedChange)
END_MESSAGE_MAP()

class TestDialog : public CDialog {
  public:
    explicit TestDialog(DialogTemplateBuilder& builder) : CDialog(builder.Get(), nullptr) {}
    CountingEdit edit;
    std::string text = "initial";
    int checked = 1;
    int clicks = 0;
    int parentChanges = 0;

  protected:
    void DoDataExchange(CDataExchange* exchange) override {
        DDX_Control(exchange, kEdit, edit);
        DDX_Text(exchange, kEdit, text, 10);
        DDX_Check(exchange, kCheck, checked);
    }
    void OnButton() { ++clicks; }
    void OnEditChange() { ++parentChanges; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
ON_BN_CLICKED(kButton, &TestDialog::OnButton)
ON_EN_CHANGE(kEdit, &TestDialog::OnEditChange)
END_MESSAGE_MAP()

TEST(Framework, MapsCommandsReflectsNotificationsAndExchangesData) {
    DialogTemplateBuilder builder("Framework", 200, 100);
    builder.Add(0x0081, "", kEdit, 5, 5, 100, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL)
        .Add(0x0080, "Press", kButton, 5, 25, 50, 14, WS_TABSTOP)
        .Add(0x0080, "Check", kCheck, 5, 45, 50, 12, BS_AUTOCHECKBOX | WS_TABSTOP)
        .Add(0x0080, "OK", IDOK, 140, 80, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP);
    TestDialog dialog(builder);
    ASSERT_TRUE(dialog.Create());
    // Data to controls at initialisation; the edit's change went to the edit, not the parent.
    EXPECT_EQ(dialog.edit.GetWindowText(), "initial");
    EXPECT_GE(dialog.edit.changes, 1);
    EXPECT_EQ(dialog.parentChanges, 0);
    EXPECT_EQ(::SendDlgItemMessageA(dialog.m_hWnd, kCheck, BM_GETCHECK, 0, 0), BST_CHECKED);

    ::SendDlgItemMessageA(dialog.m_hWnd, kButton, BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.clicks, 1);

    // Controls to data, cut to the exchange's limit.
    dialog.edit.SetWindowText("a text longer than ten");
    ::SendDlgItemMessageA(dialog.m_hWnd, kCheck, BM_SETCHECK, BST_UNCHECKED, 0);
    ASSERT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.text, "a text lon");
    EXPECT_EQ(dialog.checked, 0);

    HWND edit = dialog.edit.m_hWnd;
    dialog.EndDialog(IDOK);
    EXPECT_FALSE(::IsWindow(edit));
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);  // detached when the window went
}

TEST(Framework, ProfileIntegersRoundTripAndForeignValuesReadAsMissing) {
    CWinApp app;
    app.SetRegistryKey("ScenewrightFrameworkTest");
    EXPECT_EQ(app.ProfileKeyPath(), "Software\\ScenewrightFrameworkTest\\Framework_test");
    EXPECT_EQ(app.GetProfileInt("", "Value", 5), 5u);
    ASSERT_TRUE(app.WriteProfileInt("", "Value", 3));
    EXPECT_EQ(app.GetProfileInt("", "Value", 5), 3u);
    ASSERT_TRUE(app.WriteProfileInt("", "Value", -1));
    EXPECT_EQ(int(app.GetProfileInt("", "Value", 5)), -1);

    const unsigned long long wide = 1;
    const struct {
        DWORD type;
        const void* data;
        DWORD size;
    } foreign[] = {{REG_SZ, "1", 2}, {REG_BINARY, &wide, sizeof wide}, {REG_BINARY, &wide, 4}};
    for (const auto& value : foreign) {
        ::RegSetKeyValueA(HKEY_CURRENT_USER, app.ProfileKeyPath().c_str(), "Foreign", value.type,
                          value.data, value.size);
        EXPECT_EQ(app.GetProfileInt("", "Foreign", 7), 7u) << value.type << " " << value.size;
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ScenewrightFrameworkTest");
}

}  // namespace
