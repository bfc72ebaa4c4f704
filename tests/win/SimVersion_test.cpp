#include "sim/SimVersion.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/WinApp.h"
#include "placement/QuitPath.h"
#include "resource.h"
#include "support/GuiTest.h"
#include "ui/OptionsDialog.h"
#include "ui/SelectSimDialog.h"
#include "ui/Settings.h"

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

TEST_F(InstalledSims, NothingFoundIsFileNotFoundAndNoVersion) {
    Write(5, nullptr);                        // key without its value
    Write(6, "C:\\FS2004", KEY_WOW64_64KEY);  // only where a 64-bit installer would write
    SetLastError(0);
    EXPECT_FALSE(DiscoverSimVersions(&table));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(CountInstalledVersions(table), 0);
    EXPECT_EQ(ChooseInitialVersion(table, 5), kNoSimVersion);
}

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

TEST_F(InstalledSims, SelectionListsInstalledVersionsInTableOrder) {
    Write(3, std::string("C:\\FS2000\0", 10));
    Write(5, std::string("C:\\FS2002\0", 10));
    Write(6, std::string("C:\\FS2004\0", 10));
    ASSERT_TRUE(DiscoverSimVersions(&table));

    CSelectSimDialog dialog(nullptr, &table);
    dialog.m_selectedIndex = 5;
    std::vector<std::string> rows;
    std::vector<LRESULT> data;
    LRESULT initialRow = -2;
    gui_test::WhenDialogOpens([&](HWND window) {
        HWND list = ::GetDlgItem(window, IDC_SIM_LIST);
        initialRow = ::SendMessageA(list, CB_GETCURSEL, 0, 0);
        for (LRESULT i = 0; i < ::SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
            char text[64] = {};
            ::SendMessageA(list, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
            rows.push_back(text);
            data.push_back(::SendMessageA(list, CB_GETITEMDATA, WPARAM(i), 0));
        }
        gui_test::PumpMessages(100);
        EXPECT_TRUE(gui_test::SaveWindowPng(window, gui_test::ScreenshotPath("SelectSimDialog")));
        ::SendMessageA(list, CB_SETCURSEL, 2, 0);
        Click(window, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(rows, (std::vector<std::string>{"Flight Simulator 2000", "Flight Simulator 2002",
                                              "Flight Simulator 2004"}));
    EXPECT_EQ(data, (std::vector<LRESULT>{3, 5, 6}));
    EXPECT_EQ(initialRow, 1);
    EXPECT_EQ(dialog.m_selectedIndex, 6);

    // An index that is not listed selects nothing, and OK then gives -1.
    CSelectSimDialog none(nullptr, &table);
    none.m_selectedIndex = 0;
    gui_test::WhenDialogOpens([&](HWND window) {
        initialRow = ::SendMessageA(::GetDlgItem(window, IDC_SIM_LIST), CB_GETCURSEL, 0, 0);
        Click(window, IDOK);
    });
    EXPECT_EQ(none.DoModal(), IDOK);
    EXPECT_EQ(initialRow, CB_ERR);
    EXPECT_EQ(none.m_selectedIndex, kNoSimVersion);
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

class StoredSettings : public ::testing::Test {
  protected:
    void SetUp() override { app.SetRegistryKey("Vandrel"); }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vandrel"); }
    static void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Vandrel\\SimVersion_test", 0,
                                    nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        ::RegCloseKey(key);
    }
    CWinApp app;
};

TEST_F(StoredSettings, DefaultsThenRoundTripThroughQuitAndEscapeWritesNothing) {
    Settings first = LoadSettings();
    EXPECT_EQ(first.keepAssembler, 1);
    EXPECT_EQ(first.viewOutput, 1);
    EXPECT_EQ(first.defaultSim, 5);

    OutputList output;
    struct : FormControls {
        std::string GetText(int, size_t) const override { return {}; }
        void SetText(int, std::string_view) override {}
        int GetSelectedRow(int) const override { return -1; }
        int FindRowExact(int, std::string_view) const override { return -1; }
        intptr_t GetRowData(int, int) const override { return -1; }
        bool IsChecked(int) const override { return false; }
        void EnableControl(int, bool) override {}
        void SetTooltip(int, std::string_view) override {}
        void FocusAndSelectAll(int) override {}
        void CommandStateMayHaveChanged() override {}
    } form;
    Settings changed{0, 1, 6};
    EXPECT_TRUE(ConfirmQuit(output, form, [&] { SaveSettings(changed); }));
    Settings second = LoadSettings();
    EXPECT_EQ(second.keepAssembler, 0);
    EXPECT_EQ(second.defaultSim, 6);

    EXPECT_TRUE(ConfirmCancel(output));  // nothing unsaved: closes, and saves nothing
    EXPECT_EQ(LoadSettings().keepAssembler, 0);
}

TEST_F(StoredSettings, ValueOfAnotherTypeOrSizeReadsAsMissing) {
    SetRaw("ViewOutput", REG_SZ, "0", 2);
    const unsigned long long wide = 0;
    SetRaw("KeepAssembler", REG_QWORD, &wide, sizeof wide);
    const DWORD none = DWORD(-1);
    SetRaw("DefaultSim", REG_DWORD, &none, sizeof none);
    Settings read = LoadSettings();
    EXPECT_EQ(read.viewOutput, 1);
    EXPECT_EQ(read.keepAssembler, 1);
    EXPECT_EQ(read.defaultSim, -1);
}

}  // namespace
