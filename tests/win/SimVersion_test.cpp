#include "sim/SimVersion.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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

TEST_F(InstalledSims, LoneFs2004IsChosenWhateverTheStoredIndex) {
    Write(6, std::string("C:\\FS9\0", 7));
    ASSERT_TRUE(DiscoverSimVersions(&table));
    EXPECT_EQ(CountInstalledVersions(table), 1);
    EXPECT_EQ(ChooseInitialVersion(table, 0), 6);
    EXPECT_EQ(ChooseInitialVersion(table, 5), 6);
}

}  // namespace
