// sw-catalogue [VERSION [FOLDER]]: what the program's scans find in a simulator install. Standard
// output has one tab-separated line per library object (identifier, name, radius, scale, library
// file) in catalogue order, then one per effect (file, display name); standard error has a line
// for a Scenery.cfg that named no area (missing, unreadable, or naming none), one per library file
// that gave nothing, with the reason, and a last line with the counts.
// Exit 0; 1 when no simulator is found, its folder cannot be read, or the list cannot be written;
// 2 for a wrong command line.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>

#include "framework/WinApp.h"
#include "sim/Effects.h"
#include "sim/LibraryScan.h"
#include "sim/SimVersion.h"
#include "ui/Settings.h"

namespace {

constexpr int kListed = 0;
constexpr int kNoSimulator = 1;
constexpr int kCannotWrite = 1;
constexpr int kWrongCommandLine = 2;

int Usage() {
    fputs("usage: sw-catalogue [VERSION [FOLDER]]    (VERSION: 0 to 6)\n", stderr);
    return kWrongCommandLine;
}

bool ParseVersion(const char* text, int* version) {
    if (text[0] < '0' || text[0] > '6' || text[1] != '\0')
        return false;
    *version = text[0] - '0';
    return true;
}

// The version the program would start with: its own DefaultSim setting, read under its own key.
int StartingVersion(const SimVersionTable& table) {
    CWinApp program;
    program.SetRegistryKey(kSettingsCompany, kProgramName);
    return ChooseInitialVersion(table, LoadSettings().defaultSim);
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A field as the program's windows show it: up to its first zero byte. A control character (a
// tab or line break in a damaged file) becomes '?', so every record stays one line of columns.
std::string Field(std::string_view text) {
    std::string field(text.substr(0, text.find('\0')));
    for (char& c : field) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    }
    return field;
}

// Standard output, which may fail (a full disk, a closed pipe): the first failure's system error
// is kept, since what follows it may fail differently or not be tried at all.
class Output {
  public:
    __attribute__((format(printf, 2, 3))) void Line(const char* format, ...) {
        va_list args;
        va_start(args, format);
        vprintf(format, args);
        va_end(args);
        Check();
    }
    // True when every line was written.
    bool Finish() {
        fflush(stdout);
        Check();
        return error == ERROR_SUCCESS;
    }
    DWORD Error() const { return error; }

  private:
    void Check() {
        if (error == ERROR_SUCCESS && ferror(stdout))
            error = ::GetLastError() != ERROR_SUCCESS ? ::GetLastError() : ERROR_WRITE_FAULT;
    }
    DWORD error = ERROR_SUCCESS;
};

}  // namespace

int main(int argc, char** argv) {
    int version = kNoSimVersion;
    if (argc > 3 || (argc >= 2 && !ParseVersion(argv[1], &version)))
        return Usage();
    SimVersionTable table;
    std::string folder;
    if (argc == 3) {
        folder = argv[2];
    } else {
        DiscoverSimVersions(&table);
        if (argc == 1)
            version = StartingVersion(table);
        const char* installed = table.InstallPath(version);
        if (!installed) {
            if (version == kNoSimVersion)
                fputs("sw-catalogue: no simulator found\n", stderr);
            else
                fprintf(stderr, "sw-catalogue: %s is not installed\n", table[version].displayName);
            return kNoSimulator;
        }
        folder = installed;
    }
    if (!IsFolder(folder)) {
        fprintf(stderr, "sw-catalogue: cannot read the folder \"%s\"\n", folder.c_str());
        return kNoSimulator;
    }

    LibraryCatalogue objects;
    ScanReport report;
    ScanLibraries(objects, version, folder.c_str(), &report);
    EffectsCatalogue effects;
    ScanEffects(effects, folder.c_str());

    Output out;
    for (const LibraryObject& object : objects) {
        out.Line("%s\t%s\t%d\t%08X\t%s\n", object.guidText.c_str(),
                 Field(object.name.value_or("")).c_str(), int(object.radius),
                 unsigned(object.scale), Field(object.libraryPath).c_str());
    }
    for (const EffectEntry& effect : effects)
        out.Line("%s\t%s\n", Field(effect.filePath).c_str(), Field(effect.displayName).c_str());
    const bool written = out.Finish();

    if (!report.areaList.reason.empty())
        fprintf(stderr, "sw-catalogue: %s: %s\n", Field(report.areaList.path).c_str(),
                report.areaList.reason.c_str());
    for (const ScanReport::SkippedFile& skipped : report.skipped)
        fprintf(stderr, "sw-catalogue: %s: %s\n", Field(skipped.path).c_str(),
                skipped.reason.c_str());
    fprintf(stderr,
            "sw-catalogue: %s in %s: areas read %u, index records taken %u and refused at the "
            "cap %u, library files read %u and skipped %u, objects %u, effects %u\n",
            table[version].displayName, folder.c_str(), report.areasRead, report.recordsTaken,
            report.recordsRefused, report.filesRead, unsigned(report.skipped.size()),
            unsigned(objects.Count()), unsigned(effects.Count()));
    if (!written) {
        fprintf(stderr, "sw-catalogue: cannot write the list to standard output (ERROR:%lX)\n",
                static_cast<unsigned long>(out.Error()));
        return kCannotWrite;
    }
    // A library file that cannot be read, the one file of CFS1 too, and an area list that names
    // no area are lines above, not failures of the command: the folder itself was read.
    return kListed;
}
