// What the install benchmarks share: the time of one step, the median of the rounds, and the
// full-size install they measure, made by the generator in a scratch folder.
#pragma once
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "SimGen.h"

double Seconds(const auto& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct FullInstall {
    std::string folder;
    simgen::Options options;
};

// The full-size install of scripts/measure-startup.sh: about a thousand areas, 29,000 objects,
// in a new folder made from `scratchPattern` (a mkdtemp pattern). False when there is none; the
// generator's reason goes to standard error after the benchmark's name.
inline bool MakeFullInstall(const char* benchName, std::string scratchPattern,
                            FullInstall& install) {
    if (!mkdtemp(scratchPattern.data()))
        return false;
    install.folder = scratchPattern;
    simgen::Options& options = install.options;
    options.version = 6;
    options.libraryFiles = 1000;
    options.objectsPerFile = 30;
    options.bodyBytes = 200 * 1024;
    options.effects = 40;
    options.filesPerArea = 1;
    options.brokenEvery = 100;
    simgen::Install made;
    std::string error;
    if (!simgen::Generate(install.folder, options, made, error)) {
        std::fprintf(stderr, "%s: %s\n", benchName, error.c_str());
        return false;
    }
    return true;
}
