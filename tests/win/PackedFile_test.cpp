// Packed library files read through the real file and mapping calls, and the unpack command.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Packer.h"
#include "sim/PackedFile.h"
#include "support/RunningProgram.h"
#include "support/TempFolder.h"

namespace {

PackedFileStatus Open(const std::string& path, std::string* image = nullptr) {
    size_t size = 0;
    uint8_t* bytes = nullptr;
    const PackedFileStatus status = OpenPackedFile(path.c_str(), &size, &bytes);
    if (status == PackedFileStatus::Ok && image)
        image->assign(reinterpret_cast<const char*>(bytes), size);
    if (status == PackedFileStatus::Ok)
        EXPECT_EQ(ReleasePackedImage(size, bytes), PackedFileStatus::Ok);
    else
        EXPECT_EQ(bytes, nullptr);
    return status;
}

DWORD Unpack(const std::string& from, const std::string& to) {
    return RunCommand("\"" + BuildPath("tools\\packlib\\unpacklib.exe") + "\" \"" + from + "\" \"" +
                      to + "\"");
}

}  // namespace

TEST(OpenPackedFile, ReadsThePackerOutputAsThePlainFileAndRefusesWhatItCannotRead) {
    TempFolder folder;
    std::string plain(128, '\0');
    plain[10] = 'H';
    for (int i = 0; i < 300; ++i)
        plain += "Hangar_" + std::to_string(i % 17) + " radius 25.0\n";
    std::vector<uint8_t> packedBytes;
    ASSERT_TRUE(packlib::PackLibraryFile(
        std::span(reinterpret_cast<const uint8_t*>(plain.data()), plain.size()), packedBytes));
    const std::string packed(packedBytes.begin(), packedBytes.end());
    const std::string path = folder.File("packed.bgl");
    ASSERT_TRUE(WriteWholeFile(path, packed));
    std::string image;
    ASSERT_EQ(Open(path, &image), PackedFileStatus::Ok);
    EXPECT_EQ(image, plain);
    // The command gives the same bytes through the same reader.
    ASSERT_EQ(Unpack(path, folder.File("plain.bgl")), 0u);
    EXPECT_EQ(ReadWholeFile(folder.File("plain.bgl")), plain);

    HANDLE holder = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open(path), PackedFileStatus::OpenFailed);  // no sharing while another holds it
    ::CloseHandle(holder);
    ASSERT_TRUE(WriteWholeFile(folder.File("empty.bgl"), ""));
    EXPECT_EQ(Open(folder.File("empty.bgl")), PackedFileStatus::OpenFailed);
    EXPECT_EQ(Open(folder.File("missing.bgl")), PackedFileStatus::OpenFailed);

    // A file cut short (the reader's statuses over bytes are tested natively), which the command
    // refuses without writing anything.
    ASSERT_TRUE(WriteWholeFile(folder.File("short.bgl"), packed.substr(0, 100)));
    EXPECT_EQ(Open(folder.File("short.bgl")), PackedFileStatus::UnsupportedLayout);
    EXPECT_EQ(Unpack(folder.File("short.bgl"), folder.File("out.bgl")), 1u);
    EXPECT_EQ(::GetFileAttributesA(folder.File("out.bgl").c_str()), INVALID_FILE_ATTRIBUTES);
}
