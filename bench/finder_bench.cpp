// The find window's search over the catalogue of a full-size install, against the plain way of
// answering the same queries measured in the same run: every row's texts lower-cased and each
// word looked for in them with std::search. Targets: a median query of at most 2 ms, the plain
// scan at least 5 times slower, and the finder's data at most twice the bytes of the texts it
// covers.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchCommon.h"
#include "common/Text.h"
#include "sim/LibraryScan.h"
#include "sim/ObjectFinder.h"

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        c = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    return text;
}

std::string Without(std::string text, const char* drop) {
    std::erase_if(text, [&](char c) { return std::strchr(drop, c) != nullptr; });
    return text;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    size_t at = 0;
    while ((at = text.find_first_not_of(' ', at)) != std::string::npos) {
        const size_t end = std::min(text.find(' ', at), text.size());
        words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

bool Contains(const std::string& text, const std::string& word) {
    return std::search(text.begin(), text.end(), word.begin(), word.end()) != text.end();
}

// In the assembler form's "0", digits, "h" per word, a piece counts when it holds a digit.
bool ContainsDigitsOf(const std::string& assembler, const std::string& word) {
    for (auto at = assembler.begin();; ++at) {
        at = std::search(at, assembler.end(), word.begin(), word.end());
        if (at == assembler.end())
            return false;
        for (size_t i = size_t(at - assembler.begin()); i < at - assembler.begin() + word.size();
             ++i) {
            if (i % 10 != 0 && i % 10 != 9)
                return true;
        }
    }
}

// The plain search: each row's name, file name and identifier forms lower-cased, every query.
size_t NaiveFind(const LibraryCatalogue& catalogue, const std::string& query) {
    std::vector<std::string> typed, bare;
    for (const std::string& word : Words(query)) {
        typed.push_back(Lower(word));
        bare.push_back(Without(typed.back(), "{},"));
    }
    size_t found = 0;
    for (const LibraryObject& object : catalogue) {
        const std::string name = Lower(object.name.value_or(object.guidText));
        const std::string file = Lower(std::string(FileNameOf(object.libraryPath)));
        const std::string digits = Lower(Without(object.guidText, "{}, "));
        const std::string assembler = Lower(Without(object.guidAsmText, ", "));
        bool all = true;
        for (size_t w = 0; w < typed.size() && all; ++w) {
            all = Contains(name, typed[w]) || Contains(file, typed[w]) || bare[w].empty() ||
                  Contains(digits, bare[w]) || ContainsDigitsOf(assembler, bare[w]);
        }
        found += all;
    }
    return found;
}

}  // namespace

int main() {
    FullInstall install;
    if (!MakeFullInstall("finder_bench", "/tmp/swfindXXXXXX", install))
        return 1;
    const std::string& folder = install.folder;
    const simgen::Options& options = install.options;
    LibraryCatalogue catalogue;
    ScanLibraries(catalogue, options.version, folder.c_str());
    std::filesystem::remove_all(folder);
    if (catalogue.Count() < 1000)
        return 1;

    // The Name list's order, as near as a program without the list can make it.
    std::vector<uint32_t> order(catalogue.Count());
    std::vector<std::string> shown;
    for (const LibraryObject& object : catalogue)
        shown.push_back(Lower(object.name.value_or(object.guidText)));
    for (uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return shown[a] < shown[b]; });

    ObjectFinder finder;
    const double build = Seconds([&] { finder.Build(catalogue, order); });

    // A fixed mix: one, two and three words, prefixes as typing makes them, pieces of identifiers
    // in each form, and texts that match nothing.
    auto words = [&](size_t position) { return catalogue.At(intptr_t(position))->guid.words; };
    const uint32_t* a = words(1234);
    const uint32_t* b = words(catalogue.Count() / 2);
    const uint32_t* c = words(catalogue.Count() - 7);
    const std::vector<std::string> queries = {
        "hangar",
        "tower_5",
        "church",
        "lib12",
        "hangar 17",
        "fuel lib3",
        "tree oak 5",
        "crane 1 bgl",
        "h",
        "ha",
        "han",
        "t",
        "te",
        FormatText(64, "%08X", a[0]),
        FormatText(64, "{ %08X, %08X", b[0], b[1]),
        FormatText(64, "0%08Xh,", c[2]),
        FormatText(64, "%08x", a[1]).substr(2, 4),
        FormatText(64, "%08X%08X", b[1], b[2]),
        "zeppelin",
        "hangar_99999",
        "qx",
    };

    std::vector<double> fast, naive;
    std::vector<uint32_t> rows;
    for (const std::string& query : queries) {
        std::vector<double> f, n;
        size_t naiveCount = 0;
        for (int round = 0; round < 15; ++round)
            f.push_back(Seconds([&] { finder.Find(query, rows); }));
        for (int round = 0; round < 5; ++round)
            n.push_back(Seconds([&] { naiveCount = NaiveFind(catalogue, query); }));
        if (naiveCount != rows.size()) {
            std::fprintf(stderr, "finder_bench: \"%s\" finds %zu rows, the plain scan %zu\n",
                         query.c_str(), rows.size(), naiveCount);
            return 1;
        }
        fast.push_back(Median(f));
        naive.push_back(Median(n));
    }
    const double x = Median(fast), y = Median(naive);
    std::printf(
        "finder: built in %.1f ms; data %zu bytes for %zu bytes of texts: %.2f (at most 2)\n",
        1e3 * build, finder.DataBytes(), finder.CoveredTextBytes(),
        double(finder.DataBytes()) / double(finder.CoveredTextBytes()));
    std::printf("finder: slowest query %.3f ms, plain scan's fastest %.3f ms\n",
                1e3 * *std::max_element(fast.begin(), fast.end()),
                1e3 * *std::min_element(naive.begin(), naive.end()));
    std::printf(
        "finder: %zu objects, median query %.3f ms, naive scan %.3f ms: naive/finder %.1f\n",
        catalogue.Count(), 1e3 * x, 1e3 * y, y / x);
    return 0;
}
