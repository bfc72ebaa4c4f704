// The catalogue scan of a full-size install through the program's own code, against the two costs
// it cannot avoid, measured in the same run: reading the install's bytes once, and unpacking its
// packed libraries. The scan's target is 1.5 times their sum.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchCommon.h"
#include "sim/Effects.h"
#include "sim/LibraryScan.h"
#include "sim/PackedFile.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

int main() {
    FullInstall install;
    if (!MakeFullInstall("scan_bench", "/tmp/swscanXXXXXX", install))
        return 1;
    const std::string& folder = install.folder;
    const simgen::Options& options = install.options;

    std::vector<fs::path> files;
    uintmax_t bytes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
            bytes += entry.file_size();
        }
    }
    // The packed libraries, held in memory so that only their unpacking is timed.
    std::vector<std::vector<uint8_t>> packed;
    for (const fs::path& path : files) {
        std::vector<uint8_t> content = ReadAll(path);
        if (content.size() >= 126 && (content[125] & 0x80) && path.extension() == ".bgl")
            packed.push_back(std::move(content));
    }

    LibraryCatalogue catalogue;
    EffectsCatalogue effects;
    std::vector<double> scan, read, decode;
    std::vector<char> buffer(1 << 20);
    size_t unpacked = 0;
    for (int round = 0; round < 7; ++round) {
        scan.push_back(Seconds([&] {
            ScanEffects(effects, folder.c_str());
            ScanLibraries(catalogue, options.version, folder.c_str());
        }));
        read.push_back(Seconds([&] {
            for (const fs::path& path : files) {
                std::FILE* file = std::fopen(path.c_str(), "rb");
                while (file && std::fread(buffer.data(), 1, buffer.size(), file) > 0) {
                }
                if (file)
                    std::fclose(file);
            }
        }));
        decode.push_back(Seconds([&] {
            unpacked = 0;
            for (const std::vector<uint8_t>& file : packed) {
                size_t size = 0;
                uint8_t* image = nullptr;
                if (UnpackPackedImage(file.data(), file.size(), SystemImageHeap(), &size, &image) ==
                    PackedFileStatus::Ok) {
                    unpacked += size;
                    ReleasePackedImage(size, image);
                }
            }
        }));
    }
    fs::remove_all(folder);

    const double s = Median(scan), r = Median(read), d = Median(decode);
    std::printf("full-size install: %zu files, %.0f MB, %zu packed libraries (%.0f MB unpacked)\n",
                files.size(), double(bytes) / 1e6, packed.size(), double(unpacked) / 1e6);
    std::printf(
        "scan %.1f ms (%zu objects, %zu effects), read once %.1f ms, decode %.1f ms "
        "(medians of %zu rounds)\n",
        1e3 * s, catalogue.Count(), effects.Count(), 1e3 * r, 1e3 * d, scan.size());
    std::printf("scan/(read+decode) %.2f (target 1.50)\n", s / (r + d));
    return catalogue.Empty() ? 1 : 0;
}
