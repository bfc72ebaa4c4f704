// Start-up speed of the packed-file decoder: output throughput against zlib's inflate of the
// same data (level 9) and against memcpy of the output size, measured in one run.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "Packer.h"
#include "sim/PackedFile.h"

namespace {

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

struct Inputs {
    Bytes body = LibraryLikeBody();
    Bytes packed = packlib::PackStream(body);
    Bytes deflated;
    Inputs() {
        uLongf n = compressBound(uLong(body.size()));
        deflated.resize(n);
        compress2(deflated.data(), &n, body.data(), uLong(body.size()), 9);
        deflated.resize(n);
    }
};

const Inputs& Data() {
    static const Inputs inputs;
    return inputs;
}

void Decoder(benchmark::State& state) {
    const Inputs& in = Data();
    Bytes out(in.body.size());
    for (auto _ : state) {
        const int64_t n = UnpackStream(in.packed.data(), in.packed.size(), out.data(), out.size());
        benchmark::DoNotOptimize(n);
        benchmark::ClobberMemory();
    }
    if (out != in.body)
        state.SkipWithError("decoder output differs");
    state.SetBytesProcessed(int64_t(state.iterations() * out.size()));
    state.counters["ratio"] = double(in.body.size()) / double(in.packed.size());
}

void Inflate(benchmark::State& state) {
    const Inputs& in = Data();
    Bytes out(in.body.size());
    for (auto _ : state) {
        uLongf n = uLongf(out.size());
        benchmark::DoNotOptimize(
            uncompress(out.data(), &n, in.deflated.data(), uLong(in.deflated.size())));
        benchmark::ClobberMemory();
    }
    if (out != in.body)
        state.SkipWithError("inflate output differs");
    state.SetBytesProcessed(int64_t(state.iterations() * out.size()));
    state.counters["ratio"] = double(in.body.size()) / double(in.deflated.size());
}

void Memcpy(benchmark::State& state) {
    const Inputs& in = Data();
    Bytes out(in.body.size());
    for (auto _ : state) {
        std::memcpy(out.data(), in.body.data(), out.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations() * out.size()));
}

BENCHMARK(Decoder)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(Inflate)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(Memcpy)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Keeps each run's time per iteration so the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.error_occurred && run.iterations > 0) {
                seconds[run.benchmark_name()] = run.real_accumulated_time / double(run.iterations);
            }
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double mb = double(Data().body.size()) / 1e6;
    auto rate = [&](const char* name) {
        auto it = reporter.seconds.find(std::string(name) + "/min_time:1.000");
        return it == reporter.seconds.end() ? 0.0 : mb / it->second;
    };
    const double decoder = rate("Decoder"), inflate = rate("Inflate"), copy = rate("Memcpy");
    std::printf("\n%.2f MB of library-like data (packed %.1f%%, deflated %.1f%%)\n", mb,
                100.0 * double(Data().packed.size()) / double(Data().body.size()),
                100.0 * double(Data().deflated.size()) / double(Data().body.size()));
    std::printf("decoder %.0f MB/s, inflate %.0f MB/s, memcpy %.0f MB/s\n", decoder, inflate, copy);
    if (inflate > 0 && copy > 0) {
        std::printf("decoder/inflate %.2f (target 1.50)  decoder/memcpy %.3f\n", decoder / inflate,
                    decoder / copy);
    }
    return 0;
}
