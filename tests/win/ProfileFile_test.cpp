// The one-read profile reader against the system's own GetPrivateProfileStringA: the same answer
// for every area of generated Scenery.cfg files made odd in every way a hand-edited file is.
#include "sim/ProfileFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "SimGen.h"
#include "support/TempFolder.h"

namespace {

std::string SystemValue(const std::string& path, const std::string& section, const char* key,
                        const char* defaultText) {
    char value[260] = {};
    DWORD length = ::GetPrivateProfileStringA(section.c_str(), key, defaultText, value,
                                              sizeof value, path.c_str());
    return std::string(value, length);
}

// Compares the two readers on a file: every area's "Local", and other keys and oddly written
// questions on a few sections.
void ExpectSameAnswers(const std::string& path, const std::string& what) {
    ProfileFile profile;
    profile.Load(path.c_str());
    auto expectSame = [&](const std::string& section, const char* key) {
        ASSERT_EQ(profile.Value(section, key, "ERROR:2"),
                  SystemValue(path, section, key, "ERROR:2"))
            << what << ": [" << section << "] " << key;
    };
    for (int area = 0; area <= 999; ++area) {
        char name[16];
        snprintf(name, sizeof name, "Area.%03d", area);
        expectSame(name, "Local");
        if (area % 25 == 0 || area < 12) {
            for (const char* key : {"Title", " active ", "LAYER", "", "Missing"})
                expectSame(name, key);
        }
    }
    for (const char* section : {" Area.007 ", "area.010", "", "General", "Odd Section"}) {
        for (const char* key : {"Local", "Title"})
            expectSame(section, key);
    }
}

// A Scenery.cfg of a generated install, rewritten line by line with what hand edits leave:
// blanks of every kind around names, values and brackets, names in other letter case, repeated
// sections and keys, comments, keys without values or "=", quotes, over-long values and broken
// section lines; with the given line end.
std::string OddProfile(const std::string& cfg, uint32_t seed, const std::string& lineEnd) {
    std::mt19937 random(seed);
    auto chance = [&](int percent) { return int(random() % 100) < percent; };
    const char* const blanks[] = {" ", "\t", "  \t", "\x1A", "\xA0", "\x0B", "\x0C", "\x1C"};
    auto blank = [&] { return chance(30) ? std::string(blanks[random() % 8]) : std::string(); };
    auto recase = [&](std::string text) {
        for (char& c : text)
            if (chance(20) && isalpha(static_cast<unsigned char>(c)))
                c = static_cast<char>(isupper(static_cast<unsigned char>(c)) ? tolower(c)
                                                                             : toupper(c));
        return text;
    };
    std::string out = chance(50) ? "Local=before any section" + lineEnd : "";
    size_t start = 0;
    while (start < cfg.size()) {
        size_t end = cfg.find("\r\n", start);
        std::string line = cfg.substr(start, end - start);
        start = end == std::string::npos ? cfg.size() : end + 2;
        if (line.empty()) {
            out += blank() + lineEnd;
            continue;
        }
        if (line[0] == '[') {
            std::string name = line.substr(1, line.size() - 2);
            if (chance(3))  // the same section again further on, with other values
                out += "[" + name + "]" + lineEnd + "Local=Repeated\\" + name + lineEnd;
            if (chance(3))
                out += "[" + blank() + name + blank() + "]" + lineEnd;
            if (chance(2))
                out += "[" + name + lineEnd;  // no closing bracket: a key, not a section
            out += blank() + "[" + recase(name) + "]" + (chance(5) ? "]" : "") + blank() + lineEnd;
            if (chance(5))
                out += "; [" + name + "] commented" + lineEnd;
            continue;
        }
        const size_t equals = line.find('=');
        std::string key = line.substr(0, equals), value = line.substr(equals + 1);
        // A line before an area's own "Local" (one without "=" hides it), or its value made odd.
        const unsigned choice = key == "Local" ? unsigned(random() % 16) : 16;
        const char* const before[] = {";Local=Commented", "Local", "Local=", "Local=First"};
        if (choice < 4)
            out += before[choice] + lineEnd;
        else if (choice < 11)
            value = std::vector<std::string>{
                "\"" + value + "\"",
                "'" + value + "'",
                "\"" + value,
                value + std::string(300, 'x'),
                "\"" + std::string(259, 'q') + "\"",
                "\"" + std::string(258, 'q') + "\"",
                value + "\rStray=after a lone carriage return"}[choice - 4];
        out += blank() + recase(key) + blank() + "=" + blank() + value + blank() + lineEnd;
    }
    return out;
}

}  // namespace

TEST(ProfileFile, AnswersAsTheSystemReaderOnOddlyWrittenAreaLists) {
    TempFolder folder;
    simgen::Options options;
    options.version = 6;
    options.libraryFiles = 300;
    options.filesPerArea = 1;
    simgen::Install install;
    std::string error;
    ASSERT_TRUE(simgen::Generate(folder.File("sim"), options, install, error)) << error;
    const std::string cfg = ReadWholeFile(folder.File("sim\\Scenery.cfg"));
    ASSERT_FALSE(cfg.empty());
    ExpectSameAnswers(folder.File("sim\\Scenery.cfg"), "generated");

    const char* const lineEnds[] = {"\r\n", "\n", "\r"};
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        const std::string path = folder.File("odd" + std::to_string(seed) + ".cfg");
        ASSERT_TRUE(WriteWholeFile(path, OddProfile(cfg, seed, lineEnds[seed % 3])));
        ExpectSameAnswers(path, "seed " + std::to_string(seed));
    }

    // A file with a byte-order mark and one that is missing.
    ASSERT_TRUE(WriteWholeFile(folder.File("bom.cfg"), "\xEF\xBB\xBF[Area.000]\r\nLocal=A\r\n"));
    ExpectSameAnswers(folder.File("bom.cfg"), "byte-order mark");
    ExpectSameAnswers(folder.File("missing.cfg"), "missing file");
}

// Every byte of the code page as a possible blank around names and values.
TEST(ProfileFile, TrimsTheBytesTheSystemReaderTrims) {
    TempFolder folder;
    for (int b = 1; b < 256; ++b) {
        if (b == '\n' || b == '\r' || b == '=' || b == '[' || b == ']' || b == '"' || b == '\'')
            continue;
        const std::string c(1, char(b));
        // A file name of its own each time: the system keeps recently read profiles.
        const std::string path = folder.File("byte" + std::to_string(b) + ".ini");
        ASSERT_TRUE(WriteWholeFile(path, "[" + c + "S" + c + "]\r\n" + c + "K" + c + "=" + c + "v" +
                                             c + "\r\n[T]\r\n" + c + "K" + c + "=" + c + "w" + c +
                                             "\r\n"));
        ProfileFile profile;
        profile.Load(path.c_str());
        for (std::string section : {c + "S" + c, std::string("S"), std::string("T")}) {
            for (std::string key : {c + "K" + c, std::string("K")}) {
                EXPECT_EQ(profile.Value(section, key, "none"),
                          SystemValue(path, section, key.c_str(), "none"))
                    << "byte " << b << " [" << section << "] " << key;
            }
        }
    }
}
