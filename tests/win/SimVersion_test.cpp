#include "sim/SimVersion.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "resource.h"
#include "support/GuiTest.h"
#include "ui/OptionsDialog.h"

namespace {

// Sets a version's value in HKEY_LOCAL_MACHINE, in the given view, to a REG_SZ of exactly these
// bytes (terminated or not), as the simulators' installers did.
void Write(int index, const std::string& bytes, REGSAM view = KEY_WOW64_32KEY) {
    SimVersionTable rows;
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, rows[index].registryKey, 0, nullptr, 0,
                                KEY_WRITE | view, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExA(key, rows[index].valueName, 0, REG_SZ, LPBYTE(bytes.data()),
                               DWORD(bytes.size())),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
}

}  // namespace

TEST(SimDiscovery, ValuesAreStoredExactlyFromThe32BitView) {
    Write(0, std::string("C:\\FS95\\", 8));                    // no terminator
    Write(3, std::string("", 1));                              // empty text
    Write(5, std::string("D:\\Games\\FS2002\0", 16));          // trailing backslash absent
    Write(6, std::string("E:\\FS9\\\0", 8), KEY_WOW64_64KEY);  // wrong view
    SimVersionTable table;
    ASSERT_TRUE(DiscoverSimVersions(&table));
    EXPECT_STREQ(table.InstallPath(0), "C:\\FS95\\");
    ASSERT_NE(table.InstallPath(3), nullptr);
    EXPECT_STREQ(table.InstallPath(3), "");
    EXPECT_STREQ(table.InstallPath(5), "D:\\Games\\FS2002");
    EXPECT_EQ(table.InstallPath(6), nullptr);
    EXPECT_EQ(CountInstalledVersions(table), 3);
}

TEST(OptionsWindow, CheckBoxesShowTheFieldsAndComeBackOnlyOnOk) {
    COptionsDialog dialog(nullptr);
    dialog.m_keepAssembler = 1;
    dialog.m_viewOutput = 0;
    for (int button : {IDCANCEL, IDOK}) {
        gui_test::WhenDialogOpens([&](HWND window) {
            EXPECT_EQ(::IsDlgButtonChecked(window, IDC_KEEP_ASSEMBLER), BST_CHECKED);
            EXPECT_EQ(::IsDlgButtonChecked(window, IDC_VIEW_OUTPUT), BST_UNCHECKED);
            EXPECT_TRUE(button == IDOK ||
                        gui_test::SaveWindowPng(window, gui_test::ScreenshotPath("OptionsDialog")));
            ::CheckDlgButton(window, IDC_KEEP_ASSEMBLER, BST_UNCHECKED);
            ::CheckDlgButton(window, IDC_VIEW_OUTPUT, BST_CHECKED);
            gui_test::Click(window, button);
        });
        EXPECT_EQ(dialog.DoModal(), button);
    }
    EXPECT_EQ(dialog.m_keepAssembler, 0);
    EXPECT_EQ(dialog.m_viewOutput, 1);
}
