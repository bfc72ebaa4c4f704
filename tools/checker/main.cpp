// bglc-check: checks a placement file the way the scenery compiler will read it, and reports
// every problem with its line number. It answers to the compiler's command line, so it can stand
// in for BGLC.EXE:  BGLC.EXE [-keep] placement-file
//
// Exit code: 0 when the file is sound, 1 when it has problems, 2 when it cannot be read or the
// command line is wrong.
//
// For testing the program that runs it, these environment variables add to its behaviour:
//   BGLC_TEST_BULK=N          first write N bytes of numbered lines to standard output
//   BGLC_TEST_INTERLEAVE=N    first write N lines, alternately to standard output and error
//   BGLC_TEST_NUL=1           first write "kept", a zero byte and "dropped" in one write
//   BGLC_TEST_SILENT=1        write nothing at all (the exit code still tells the result)
//   BGLC_TEST_CLOSE_STREAMS=1 close both output streams before the pause and the exit
//   BGLC_TEST_PAUSE_MS=N      wait N milliseconds before exiting
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "PlacementChecker.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
constexpr const char* kEol = "\r\n";
#else
constexpr const char* kEol = "\n";
#endif

namespace {

long EnvNumber(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::strtol(value, nullptr, 10) : 0;
}

bool silent = false;

// Every piece is flushed at once: both streams may share one pipe, and the reader must see
// them in the order written.
void Write(FILE* stream, const std::string& text) {
    if (silent || text.empty())
        return;
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

void WriteTestOutput() {
    long bulk = EnvNumber("BGLC_TEST_BULK");
    std::string chunk;
    for (long line = 0, written = 0; written < bulk; ++line) {
        char text[32];
        int length = std::snprintf(text, sizeof text, "%08ld 0123456789abcdef\n", line);
        size_t take = std::min<size_t>(static_cast<size_t>(length), bulk - written);
        chunk.append(text, take);
        written += static_cast<long>(take);
        if (chunk.size() >= 4096 || written >= bulk) {
            Write(stdout, chunk);
            chunk.clear();
        }
    }
    long interleave = EnvNumber("BGLC_TEST_INTERLEAVE");
    for (long i = 1; i <= interleave; ++i) {
        Write(i % 2 ? stdout : stderr, (i % 2 ? "out " : "err ") + std::to_string(i) + "\n");
    }
    if (EnvNumber("BGLC_TEST_NUL"))
        Write(stdout, std::string("kept\0dropped\n", 13));
}

bool ReadFileBytes(const char* path, std::string& bytes) {
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

int Finish(int code) {
    if (EnvNumber("BGLC_TEST_CLOSE_STREAMS")) {
        std::fclose(stdout);
        std::fclose(stderr);
    }
    long pause = EnvNumber("BGLC_TEST_PAUSE_MS");
    if (pause > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    return code;
}

int Check(int argc, char** argv) {
    bool keep = argc > 1 && std::strcmp(argv[1], "-keep") == 0;
    int first = keep ? 2 : 1;
    if (argc - first != 1) {
        Write(stderr, std::string("usage: BGLC.EXE [-keep] placement-file") + kEol);
        if (argc - first > 1) {
            std::string words;
            for (int i = first; i < argc; ++i)
                words += std::string(" [") + argv[i] + "]";
            Write(stderr,
                  "the path arrived as " + std::to_string(argc - first) + " words:" + words + kEol);
        }
        return 2;
    }
    const char* path = argv[first];
    Write(stdout, std::string("Checking ") + path + kEol);
    if (keep)
        Write(stdout, std::string("Option -keep: the assembler listing is kept") + kEol);
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) {
        Write(stderr,
              std::string(path) + ": error: cannot read the file: " + std::strerror(errno) + kEol);
        return 2;
    }
    checker::FileResult result = checker::CheckFile(bytes);
    for (size_t i = 0; i < result.lines.size(); ++i) {
        const checker::LineResult& line = result.lines[i];
        if (!line.isPlacement)
            continue;
        std::string what = line.kind.empty() ? "?" : line.kind;
        if (!line.name.empty())
            what += " " + line.name;
        Write(stdout,
              "Line " + std::to_string(i + 1) + ": " + what + ": " +
                  (line.problems.empty() ? std::string("ok")
                                         : std::to_string(line.problems.size()) + " problem(s)") +
                  kEol);
    }
    for (const checker::Problem& problem : result.problems) {
        Write(stderr, std::string(path) + "(" + std::to_string(problem.line) +
                          "): error: " + problem.text + kEol);
    }
    Write(stdout, std::to_string(result.placements) + " placement(s), " +
                      std::to_string(result.problems.size()) + " problem(s)" + kEol);
    return result.problems.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The bytes go out exactly as written; the line ends above are already the console's.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    silent = EnvNumber("BGLC_TEST_SILENT") != 0;
    WriteTestOutput();
    return Finish(Check(argc, argv));
}
