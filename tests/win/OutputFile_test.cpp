#include <windows.h>

#include <gtest/gtest.h>

#include "common/FakeForm.h"
#include "common/MessageRecorder.h"
#include "placement/OutputList.h"
#include "placement/Placement.h"
#include "resource.h"
#include "support/TempFolder.h"

namespace {

// Files in the folder other than the ones named: a left-over temporary shows up here.
int OtherFiles(const TempFolder& folder, const std::string& except) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder.File("*").c_str(), &found);
    int count = 0;
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != ".." && name != except)
            ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

}  // namespace

// (The program writes and replaces its file, and asks before it replaces one, end to end in
// Scenewright_test.)
TEST(OutputFileOnWindows, OverLongLinesAreCutByTheCRuntimeNotLost) {
    Placement huge;
    huge.name = std::string(5000, 'n');
    EXPECT_EQ(FormatPlacementLine(huge)[0], "EFFECT," + std::string(4088, 'n'));
}

TEST(OutputFileOnWindows, AFailedWriteLeavesThePreviousFile) {
    MessageRecorder recorder;
    TempFolder folder;
    OutputList list;
    list.outputPath = folder.File("missing\\objects.csv");
    EXPECT_FALSE(list.WriteOutputFile());
    EXPECT_FALSE(list.savedFlag);
    EXPECT_EQ(GetLastError(), 3u);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "ERROR:3 Cannot create file \"" + list.outputPath + "\"");
    EXPECT_EQ(recorder.messages[0].kind, 0u);

    std::string path = folder.File("kept.csv");
    ASSERT_TRUE(WriteWholeFile(path, "good placements\r\n"));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    list.outputPath = path;
    EXPECT_FALSE(list.WriteOutputFile());
    EXPECT_FALSE(list.savedFlag);
    EXPECT_EQ(ReadWholeFile(path), "good placements\r\n");
    EXPECT_EQ(OtherFiles(folder, "kept.csv"), 0);
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[1].text, "ERROR:5 Cannot create file \"" + path + "\"");

    // Held open by another program: the new file is complete, but it cannot take the old one's
    // place, and it must not stay behind.
    std::string busy = folder.File("busy.csv");
    ASSERT_TRUE(WriteWholeFile(busy, "in use\r\n"));
    HANDLE holder = CreateFileA(busy.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    list.outputPath = busy;
    EXPECT_FALSE(list.WriteOutputFile());
    CloseHandle(holder);
    EXPECT_FALSE(list.savedFlag);
    EXPECT_EQ(ReadWholeFile(busy), "in use\r\n");
    EXPECT_EQ(OtherFiles(folder, "kept.csv"), 1);
    ASSERT_EQ(recorder.messages.size(), 3u);
}

TEST(OutputFileOnWindows, NameIsCheckedAsAFullPath) {
    MessageRecorder recorder;
    TempFolder folder;
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));

    OutputList list;
    list.outputPath = "C:\\kept.csv";
    FakeForm form;
    // Too long once the current folder is put in front: refused, not cut to a different name.
    form[IDC_OUTPUT_FILE].text = std::string(250, 'x');
    EXPECT_FALSE(list.CheckOutputFileName(form));
    EXPECT_EQ(list.outputPath, "C:\\kept.csv");
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text.substr(0, 30), "ERROR:CE Cannot use file name ");

    // A typed relative name keeps naming this folder after the current folder moves away.
    form[IDC_OUTPUT_FILE].text = "new.csv";
    EXPECT_TRUE(list.CheckOutputFileName(form));
    EXPECT_EQ(list.outputPath, folder.File("new.csv"));
    EXPECT_EQ(form[IDC_OUTPUT_FILE].text, folder.File("new.csv"));
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(list.WriteOutputFile());
    EXPECT_EQ(ReadWholeFile(folder.File("new.csv")), list.FileBytes());
    EXPECT_EQ(recorder.messages.size(), 1u);
}
