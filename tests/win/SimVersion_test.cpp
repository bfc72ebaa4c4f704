#include "sim/SimVersion.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "resource.h"
#include "support/GuiTest.h"
#include "ui/OptionsDialog.h"

namespace {

const char* const kGamesKey = "SOFTWARE\\Microsoft\\Microsoft Games";

// Writes simulator keys into HKEY_LOCAL_MACHINE in the given view, as their installers did, and
// removes every key it made at the end.
class InstalledSims : public ::testing::Test {
  protected:
    void TearDown() override {
        for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY})
            RegDeleteTreeInView(view);
    }
    static void RegDeleteTreeInView(REGSAM view) {
        HKEY games = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kGamesKey, 0, KEY_ALL_ACCESS | view, &games) ==
            ERROR_SUCCESS) {
            RegDeleteTreeA(games, nullptr);
            RegCloseKey(games);
        }
    }
    // Creates the key of a version; with a value name, sets its bytes as they are given (a
    // REG_SZ, terminated or not).
    static void Write(int index, const std::string* bytes, REGSAM view = KEY_WOW64_32KEY) {
        SimVersionTable rows;
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, rows[index].registryKey, 0, nullptr, 0,
                                  KEY_WRITE | view, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        if (bytes) {
            EXPECT_EQ(RegSetValueExA(key, rows[index].valueName, 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(bytes->data()),
                                     static_cast<DWORD>(bytes->size())),
                      ERROR_SUCCESS);
        }
        RegCloseKey(key);
    }
    static void Write(int index, const std::string& bytes, REGSAM view = KEY_WOW64_32KEY) {
        Write(index, &bytes, view);
    }
    SimVersionTable table;
};

TEST_F(InstalledSims, ValuesAreStoredExactlyFromThe32BitView) {
    Write(0, std::string("C:\\FS95\\", 8));                    // no terminator
    Write(3, std::string("", 1));                              // empty text
    Write(5, std::string("D:\\Games\\FS2002\0", 16));          // trailing backslash absent
    Write(6, std::string("E:\\FS9\\\0", 8), KEY_WOW64_64KEY);  // wrong view
    ASSERT_TRUE(DiscoverSimVersions(&table));
    EXPECT_STREQ(table.InstallPath(0), "C:\\FS95\\");
    ASSERT_NE(table.InstallPath(3), nullptr);
    EXPECT_STREQ(table.InstallPath(3), "");
    EXPECT_STREQ(table.InstallPath(5), "D:\\Games\\FS2002");
    EXPECT_EQ(table.InstallPath(6), nullptr);
    EXPECT_EQ(CountInstalledVersions(table), 3);
    EXPECT_EQ(ChooseInitialVersion(table, 6), 5);
    EXPECT_EQ(ChooseInitialVersion(table, 0), 0);
}

void Click(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   LPARAM(::GetDlgItem(dialog, id)));
}

TEST(OptionsWindow, CheckBoxesShowTheFieldsAndComeBackOnlyOnOk) {
    COptionsDialog dialog(nullptr);
    dialog.m_keepAssembler = 1;
    dialog.m_viewOutput = 0;
    LRESULT keepShown = -1, viewShown = -1;
    gui_test::WhenDialogOpens([&](HWND window) {
        keepShown = ::IsDlgButtonChecked(window, IDC_KEEP_ASSEMBLER);
        viewShown = ::IsDlgButtonChecked(window, IDC_VIEW_OUTPUT);
        gui_test::PumpMessages(100);
        EXPECT_TRUE(gui_test::SaveWindowPng(window, gui_test::ScreenshotPath("OptionsDialog")));
        ::CheckDlgButton(window, IDC_KEEP_ASSEMBLER, BST_UNCHECKED);
        ::CheckDlgButton(window, IDC_VIEW_OUTPUT, BST_CHECKED);
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(keepShown, BST_CHECKED);
    EXPECT_EQ(viewShown, BST_UNCHECKED);
    EXPECT_EQ(dialog.m_keepAssembler, 1);
    EXPECT_EQ(dialog.m_viewOutput, 0);

    gui_test::WhenDialogOpens([&](HWND window) {
        ::CheckDlgButton(window, IDC_KEEP_ASSEMBLER, BST_UNCHECKED);
        ::CheckDlgButton(window, IDC_VIEW_OUTPUT, BST_CHECKED);
        gui_test::PressKey(VK_RETURN);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_keepAssembler, 0);
    EXPECT_EQ(dialog.m_viewOutput, 1);
}

}  // namespace
