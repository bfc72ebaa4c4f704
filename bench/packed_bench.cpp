// Speed of the packed-file decoder on two data sets: library-like data made here, and the packed
// libraries of a generated full-size install. Each is measured against zlib's inflate (level 9)
// of the same bodies in the same run; memcpy of the library-like data gives the ceiling.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "Packer.h"
#include "SimGen.h"
#include "sim/PackedFile.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// About 4 MB shaped like library bodies: directory records of a few hundred objects, model
// text with coordinates on a design grid, binary drawing commands with small operands, and about
// a tenth of incompressible bytes (texture and packed vertex data).
Bytes LibraryLikeBody() {
    std::mt19937 rng(1998);
    Bytes out;
    auto put16 = [&out](uint32_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    struct Object {
        uint32_t guid[4], size, scale;
        std::string name;
    };
    const char* names[] = {"Hangar",   "Tower",     "Terminal", "FuelTank", "Windsock",
                           "Tree_Oak", "Lightpole", "Radar",    "Jetway",   "Warehouse"};
    std::vector<Object> objects(300);
    for (size_t i = 0; i < objects.size(); ++i) {
        Object& o = objects[i];
        for (auto& w : o.guid)
            w = rng();
        o.size = 20 + rng() % 300;
        o.scale = 0x00010000u >> (rng() % 3);
        o.name = std::string(names[i % 10]) + "_" + std::to_string(i / 10);
    }
    auto grid = [&rng] { return std::to_string((int(rng() % 21) - 10) * 50); };
    while (out.size() < (4u << 20)) {
        const unsigned kind = rng() % 100;
        if (kind < 25) {
            const Object& o = objects[rng() % objects.size()];
            for (uint32_t w : o.guid)
                put32(w);
            put32(0x48);
            put32(o.size);
            put32(o.scale);
            out.insert(out.end(), o.name.begin(), o.name.end());
            out.push_back(0);
        } else if (kind < 65) {
            const std::string line = (rng() % 4 ? "  VERTEX " : "  NORMAL ") + grid() + ", " +
                                     grid() + ", " + grid() + "\r\n";
            out.insert(out.end(), line.begin(), line.end());
        } else if (kind < 97) {
            const uint32_t opcode = 0x20 + rng() % 12;
            put16(opcode);
            for (uint32_t i = 0; i < 2 + opcode % 5; ++i)
                put16(rng() % 64);
        } else {
            const size_t n = 100 + rng() % 400;
            for (size_t i = 0; i < n; ++i)
                out.push_back(uint8_t(rng()));
        }
    }
    return out;
}

// The decoder's inputs and expected outputs, and the same bodies deflated one by one.
struct DataSet {
    std::vector<Bytes> streams, bodies, deflated;
    size_t bodyBytes = 0, streamBytes = 0, deflatedBytes = 0;

    void Add(Bytes stream, Bytes body) {
        uLongf n = compressBound(uLong(body.size()));
        Bytes zipped(n);
        compress2(zipped.data(), &n, body.data(), uLong(body.size()), 9);
        zipped.resize(n);
        bodyBytes += body.size();
        streamBytes += stream.size();
        deflatedBytes += zipped.size();
        streams.push_back(std::move(stream));
        bodies.push_back(std::move(body));
        deflated.push_back(std::move(zipped));
    }
};

const DataSet& LibraryData() {
    static const DataSet data = [] {
        DataSet d;
        Bytes body = LibraryLikeBody();
        Bytes stream = packlib::PackStream(body);
        d.Add(std::move(stream), std::move(body));
        return d;
    }();
    return data;
}

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Load32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

// The packed libraries of a full-size install (the options of `simgen write --full`). Their
// bodies come from the same install generated again with nothing packed: the generator draws
// the same bytes either way, so the expected output does not depend on the decoder measured.
DataSet FullInstall() {
    simgen::Options options;
    options.libraryFiles = 1000;
    options.objectsPerFile = 30;
    options.bodyBytes = 200 * 1024;
    options.effects = 40;
    simgen::Options plainOptions = options;
    plainOptions.packedEvery = 0;

    std::string scratch = (fs::temp_directory_path() / "packed_bench.XXXXXX").string();
    if (mkdtemp(scratch.data()) == nullptr) {
        std::fprintf(stderr, "packed_bench: cannot make a scratch folder\n");
        std::exit(1);
    }
    const fs::path packedRoot = fs::path(scratch) / "packed",
                   plainRoot = fs::path(scratch) / "plain";
    simgen::Install install;
    std::string error;
    if (!simgen::Generate(packedRoot.string(), options, install, error) ||
        !simgen::Generate(plainRoot.string(), plainOptions, install, error)) {
        std::fprintf(stderr, "packed_bench: %s\n", error.c_str());
        std::exit(1);
    }

    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(packedRoot)) {
        if (entry.is_regular_file() && entry.path().extension() == ".bgl")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    DataSet d;
    for (const fs::path& path : files) {
        const Bytes file = ReadAll(path);
        if (file.size() < 168 + 20 || !(Load32(file, 122) & packed_file::kPackedFlag))
            continue;
        const size_t h = Load32(file, 118) == packed_file::kExtendedMark ? 168 : 128;
        if (Load32(file, h) != packed_file::kContainerMark)
            continue;  // the damaged files the catalogue skips
        const Bytes plain = ReadAll(plainRoot / fs::relative(path, packedRoot));
        if (plain.size() != h + Load32(file, h + 4)) {
            std::fprintf(stderr, "packed_bench: %s has no plain twin\n", path.c_str());
            std::exit(1);
        }
        d.Add(Bytes(file.begin() + long(h + 20), file.end()),
              Bytes(plain.begin() + long(h), plain.end()));
    }
    fs::remove_all(scratch);
    return d;
}

const DataSet& InstallData() {
    static const DataSet data = FullInstall();
    return data;
}

// Decodes every body of the data set per pass into one buffer, as the catalogue unpacks a file,
// reads it and frees it before the next; `decode` returns whether it produced the whole body.
// The outputs are checked once after the timed passes.
template <typename Decode>
void DecodeAll(benchmark::State& state, const DataSet& in, Decode decode) {
    size_t largest = 0;
    for (const Bytes& body : in.bodies)
        largest = std::max(largest, body.size());
    Bytes out(largest);
    for (auto _ : state) {
        for (size_t i = 0; i < in.bodies.size(); ++i)
            benchmark::DoNotOptimize(decode(i, out.data(), in.bodies[i].size()));
        benchmark::ClobberMemory();
    }
    for (size_t i = 0; i < in.bodies.size(); ++i) {
        std::fill(out.begin(), out.end(), 0xEE);
        if (!decode(i, out.data(), in.bodies[i].size()) ||
            !std::equal(in.bodies[i].begin(), in.bodies[i].end(), out.begin())) {
            state.SkipWithError("output differs");
            break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations() * in.bodyBytes));
}

void Decoder(benchmark::State& state, const DataSet& (*data)()) {
    const DataSet& in = data();
    DecodeAll(state, in, [&in](size_t i, uint8_t* out, size_t size) {
        return UnpackStream(in.streams[i].data(), in.streams[i].size(), out, size) == int64_t(size);
    });
}

void Inflate(benchmark::State& state, const DataSet& (*data)()) {
    const DataSet& in = data();
    DecodeAll(state, in, [&in](size_t i, uint8_t* out, size_t size) {
        uLongf n = uLongf(size);
        return uncompress(out, &n, in.deflated[i].data(), uLong(in.deflated[i].size())) == Z_OK &&
               n == size;
    });
}

void Memcpy(benchmark::State& state) {
    const Bytes& body = LibraryData().bodies[0];
    Bytes out(body.size());
    for (auto _ : state) {
        std::memcpy(out.data(), body.data(), out.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations() * out.size()));
}

BENCHMARK_CAPTURE(Decoder, library, &LibraryData)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK_CAPTURE(Inflate, library, &LibraryData)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK_CAPTURE(Decoder, install, &InstallData)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK_CAPTURE(Inflate, install, &InstallData)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(Memcpy)->Unit(benchmark::kMillisecond)->MinTime(0.5);

// Shows the median of each benchmark's repetitions and keeps its best CPU time per iteration:
// the machine is shared, and the least disturbed repetition is the one to compare.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> shown;
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                shown.push_back(run);
            if (run.error_occurred || run.iterations == 0 || run.run_type != Run::RT_Iteration)
                continue;
            const double t = run.cpu_accumulated_time / double(run.iterations);
            auto [it, added] = seconds.emplace(run.run_name.function_name, t);
            if (!added)
                it->second = std::min(it->second, t);
        }
        ConsoleReporter::ReportRuns(shown);
    }
    double Rate(const std::string& name, size_t bytes) const {
        auto it = seconds.find(name);
        return it == seconds.end() ? 0.0 : double(bytes) / 1e6 / it->second;
    }
};

void PrintRatio(const RatioReporter& reporter, const char* title, const char* name,
                const DataSet& data, double target) {
    const double decoder = reporter.Rate(std::string("Decoder/") + name, data.bodyBytes);
    const double inflate = reporter.Rate(std::string("Inflate/") + name, data.bodyBytes);
    if (decoder == 0 || inflate == 0)
        return;
    std::printf("%s: %zu bodies, %.2f MB (packed %.1f%%, deflated %.1f%%)\n", title,
                data.bodies.size(), double(data.bodyBytes) / 1e6,
                100.0 * double(data.streamBytes) / double(data.bodyBytes),
                100.0 * double(data.deflatedBytes) / double(data.bodyBytes));
    std::printf("  decoder %.0f MB/s, inflate %.0f MB/s: decoder/inflate %.2f (target %.2f)\n",
                decoder, inflate, decoder / inflate, target);
}

}  // namespace

// By default every benchmark runs five times, interleaved at random with the others, so a burst
// of load from elsewhere does not fall on one side of a ratio only. Rates are from the best CPU
// time per pass.
int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=5";
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, {repetitions, interleave});
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    PrintRatio(reporter, "library-like data", "library", LibraryData(), 2.3);
    PrintRatio(reporter, "full-size install, packed libraries", "install", InstallData(), 5.5);
    const double copy = reporter.Rate("Memcpy", LibraryData().bodyBytes);
    if (copy > 0)
        std::printf("memcpy %.0f MB/s\n", copy);
    return 0;
}
