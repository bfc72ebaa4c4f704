// Packed library files read through the real file and mapping calls, and the unpack command.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Packer.h"
#include "sim/PackedFile.h"
#include "support/TempFolder.h"

namespace {

std::string PlainLibrary() {
    std::string plain(128, '\0');
    plain[10] = 'H';
    for (int i = 0; i < 300; ++i)
        plain += "Hangar_" + std::to_string(i % 17) + " radius 25.0\n";
    return plain;
}

std::string Packed(const std::string& plain) {
    std::vector<uint8_t> packed;
    const auto* bytes = reinterpret_cast<const uint8_t*>(plain.data());
    EXPECT_TRUE(packlib::PackLibraryFile(std::span(bytes, plain.size()), packed));
    return std::string(packed.begin(), packed.end());
}

PackedFileStatus Open(const std::string& path, std::string* image = nullptr) {
    size_t size = 0;
    uint8_t* bytes = nullptr;
    const PackedFileStatus status = OpenPackedFile(path.c_str(), &size, &bytes);
    if (status == PackedFileStatus::Ok) {
        if (image)
            image->assign(reinterpret_cast<const char*>(bytes), size);
        EXPECT_EQ(ReleasePackedImage(size, bytes), PackedFileStatus::Ok);
    } else {
        EXPECT_EQ(bytes, nullptr);
    }
    return status;
}

// Runs a command of the build and gives its exit code (-1 when it cannot start).
int RunCommand(std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                          nullptr, nullptr, &startup, &process))
        return -1;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return int(code);
}

std::string UnpackCommand() {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder(self);
    folder.resize(folder.find_last_of('\\'));
    return "\"" + folder + "\\..\\..\\tools\\packlib\\unpacklib.exe\"";
}

}  // namespace

TEST(OpenPackedFile, ReadsThePackerOutputAsThePlainFileWithTheFlagCleared) {
    TempFolder folder;
    const std::string plain = PlainLibrary();
    ASSERT_TRUE(WriteWholeFile(folder.File("packed.bgl"), Packed(plain)));
    std::string image;
    ASSERT_EQ(Open(folder.File("packed.bgl"), &image), PackedFileStatus::Ok);
    EXPECT_EQ(image, plain);

    // The command gives the same bytes through the same reader.
    ASSERT_EQ(RunCommand(UnpackCommand() + " \"" + folder.File("packed.bgl") + "\" \"" +
                         folder.File("plain.bgl") + "\""),
              0);
    EXPECT_EQ(ReadWholeFile(folder.File("plain.bgl")), plain);
}

TEST(OpenPackedFile, RefusesFilesItCannotHaveToItself) {
    TempFolder folder;
    const std::string path = folder.File("packed.bgl");
    ASSERT_TRUE(WriteWholeFile(path, Packed(PlainLibrary())));
    HANDLE holder = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open(path), PackedFileStatus::OpenFailed);  // no sharing while another holds it
    ::CloseHandle(holder);
    EXPECT_EQ(Open(path), PackedFileStatus::Ok);

    ASSERT_TRUE(WriteWholeFile(folder.File("empty.bgl"), ""));
    EXPECT_EQ(Open(folder.File("empty.bgl")), PackedFileStatus::OpenFailed);
    EXPECT_EQ(Open(folder.File("missing.bgl")), PackedFileStatus::OpenFailed);
    EXPECT_EQ(ReleasePackedImage(0, nullptr), PackedFileStatus::BadArgument);
    uint8_t* image = nullptr;
    EXPECT_EQ(OpenPackedFile(path.c_str(), nullptr, &image), PackedFileStatus::BadArgument);
}

TEST(OpenPackedFile, CorruptFilesGiveTheirStatusAndTheCommandFails) {
    TempFolder folder;
    std::string packed = Packed(PlainLibrary());
    std::string sizeWrong = packed;
    --sizeWrong[132];  // the body size in the container, one short (the body is not a multiple of
                       // 256)
    ASSERT_TRUE(WriteWholeFile(folder.File("size.bgl"), sizeWrong));
    EXPECT_EQ(Open(folder.File("size.bgl")), PackedFileStatus::SizeMismatch);

    ASSERT_TRUE(WriteWholeFile(folder.File("short.bgl"), packed.substr(0, 100)));
    EXPECT_EQ(Open(folder.File("short.bgl")), PackedFileStatus::UnsupportedLayout);
    EXPECT_EQ(RunCommand(UnpackCommand() + " \"" + folder.File("short.bgl") + "\" \"" +
                         folder.File("out.bgl") + "\""),
              1);
    EXPECT_EQ(::GetFileAttributesA(folder.File("out.bgl").c_str()), INVALID_FILE_ATTRIBUTES);
}
