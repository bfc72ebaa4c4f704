// startuptime: how long Scenewright takes to come up and to change the kind, measured from the
// outside on the real program, and where a catalogue scan spends its time, measured by calling
// the program's own scan code.
//   startuptime run EXE [--runs N] [--changes N] [--first]
//   startuptime phases FOLDER --version N
// `run` starts EXE N times (after one start that is not counted, so every counted start finds the
// files in the system's cache), waits until its main window is on the screen and idle, then
// chooses the kind Library and back to Effect by the messages the Type list sends its window,
// timing each change around the SendMessage that carries it; then, with the kind Library, it opens
// the find window and types into it (FindTime.cpp). With --first every start finds no
// catalogue kept from an earlier run, as the first start on an install does. `phases` prints the
// time of each step of a scan and the per-call cost of the platform calls the scan makes.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FindTime.h"
#include "Measure.h"
#include "sim/Effects.h"
#include "sim/LibraryScan.h"
#include "sim/ProfileFile.h"
#include "sim/SceneryIndex.h"
#include "sim/SimFiles.h"
#include "ui/Settings.h"

namespace {

constexpr int kTypeList = 1016;
constexpr int kNameBox = 1017;

// The main window: the dialog with the Type list.
HWND FindMainWindow(DWORD process) {
    return FindProcessDialog(
        process, [](HWND window) { return ::GetDlgItem(window, kTypeList) != nullptr; });
}

// Selects a row of the Type list and sends the window the notification the list sends when the
// user picks it; the time is that of the window's handler.
double ChooseKind(HWND window, int row) {
    HWND list = ::GetDlgItem(window, kTypeList);
    ::SendMessageA(list, CB_SETCURSEL, WPARAM(row), 0);
    const double start = Now();
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(kTypeList, CBN_SELCHANGE), LPARAM(list));
    return Now() - start;
}

int Run(const char* exe, int runs, int changes, bool first) {
    char folder[MAX_PATH];
    std::snprintf(folder, sizeof folder, "%s", exe);
    if (char* slash = std::strrchr(folder, '\\'))
        *slash = 0;
    else
        std::snprintf(folder, sizeof folder, ".");
    Figures startup, toLibrary, toEffect, peakPrivate, peakWorkingSet;
    FindTimes findTimes;
    LRESULT effectRows = 0, libraryRows = 0;
    for (int run = 0; run <= runs; ++run) {
        STARTUPINFOA startInfo{};
        startInfo.cb = sizeof startInfo;
        PROCESS_INFORMATION process{};
        std::string commandLine = std::string("\"") + exe + "\"";
        if (first)
            ::DeleteFileA(KeptCatalogueFile().c_str());
        const double start = Now();
        if (!::CreateProcessA(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder,
                              &startInfo, &process)) {
            std::fprintf(stderr, "startuptime: cannot start %s (error %lu)\n", exe,
                         ::GetLastError());
            return 1;
        }
        ::WaitForInputIdle(process.hProcess, 60000);
        HWND mainWindow = nullptr;
        while (!mainWindow && Now() - start < 60) {
            mainWindow = FindMainWindow(process.dwProcessId);
            if (!mainWindow)
                ::Sleep(1);
        }
        const double shown = Now() - start;
        if (!mainWindow) {
            std::fprintf(stderr, "startuptime: no main window within a minute\n");
            ::TerminateProcess(process.hProcess, 1);
            ::CloseHandle(process.hThread);
            ::CloseHandle(process.hProcess);
            return 1;
        }
        effectRows = ::SendDlgItemMessageA(mainWindow, kNameBox, CB_GETCOUNT, 0, 0);
        if (run > 0)
            startup.Add(shown);
        for (int change = 0; change < changes; ++change) {
            double library = ChooseKind(mainWindow, 1);
            libraryRows = ::SendDlgItemMessageA(mainWindow, kNameBox, CB_GETCOUNT, 0, 0);
            double effect = ChooseKind(mainWindow, 0);
            if (run > 0) {
                toLibrary.Add(library);
                toEffect.Add(effect);
            }
        }
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof memory;
        if (run > 0 && ::GetProcessMemoryInfo(process.hProcess,
                                              reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                              sizeof memory)) {
            peakPrivate.Add(double(memory.PeakPagefileUsage));
            peakWorkingSet.Add(double(memory.PeakWorkingSetSize));
        }
        // After the memory figures, which stay those of the main window alone; with the kind
        // Library, so that the window opens on the largest list.
        if (run > 0 && changes > 0) {
            ChooseKind(mainWindow, 1);
            MeasureFindWindow(mainWindow, findTimes);
        }
        ::PostMessageA(mainWindow, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
            ::TerminateProcess(process.hProcess, 1);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    std::printf("Name list rows: Effect %ld, Library %ld\n", long(effectRows), long(libraryRows));
    startup.Print(first ? "first start: window shown, filled" : "window shown, lists filled");
    toLibrary.Print("kind changed to Library");
    toEffect.Print("kind changed to Effect");
    if (!findTimes.opened.empty()) {
        std::printf("Find window rows: %ld\n", findTimes.rows);
        Figures{findTimes.opened}.Print("find window shown, list filled");
        Figures{findTimes.keystrokes}.Print("find list after a keystroke");
    }
    peakPrivate.Print(first ? "first start: peak private bytes" : "peak private bytes", "MB", 1e-6);
    peakWorkingSet.Print("peak working set", "MB", 1e-6);
    return 0;
}

// ---- phases -------------------------------------------------------------------------------------

template <typename Step>
double Time(Step step) {
    const double start = Now();
    step();
    return Now() - start;
}

uint32_t FormatOf(int version) {
    return version == 5 ? scenery_format::k22 : version == 6 ? scenery_format::k27 : 9;
}

int Phases(const char* folder, int version) {
    EffectsCatalogue effects;
    LibraryCatalogue catalogue;
    std::printf("install %s, version %d\n", folder, version);
    const double effectsTime = Time([&] { ScanEffects(effects, folder); });
    std::printf("%-44s %8.1f ms (%zu effects)\n", "effects scan", 1e3 * effectsTime,
                effects.Count());
    const std::string profile = std::string(folder) + "\\Scenery.cfg";
    std::vector<std::string> areas;
    const double profileTime = Time([&] {
        for (int area = 0; area <= 999; ++area) {
            char section[16];
            std::snprintf(section, sizeof section, "Area.%03d", area);
            std::string local = ReadProfileText(profile.c_str(), section, "Local", "ERROR:2");
            if (!local.empty() && local != "ERROR:2")
                areas.push_back(local);
        }
    });
    std::printf("%-44s %8.1f ms (%zu areas named)\n", "area list: 1000 profile reads",
                1e3 * profileTime, areas.size());
    const double indexTime =
        Time([&] { LoadSceneryIndex(FormatOf(version), folder, "Scenery.cfg"); });
    std::printf("%-44s %8.1f ms (%u records)\n", "area list with its index files", 1e3 * indexTime,
                SceneryIndexCount());
    std::vector<std::string> files;
    for (uint32_t i = 0; i < SceneryIndexCount(); ++i) {
        const char* name = SceneryFileName(i);
        if (!name)
            break;
        files.push_back(std::string(folder) + "\\" + name + ".bgl");
    }
    ClearSceneryIndex();
    const double profileOnce = Time([&] {
        ProfileFile once;
        once.Load(profile.c_str());
        for (int area = 0; area <= 999; ++area) {
            char section[16];
            std::snprintf(section, sizeof section, "Area.%03d", area);
            once.Value(section, "Local", "ERROR:2");
        }
    });
    std::printf("%-44s %8.1f ms\n", "area list: one read, 1000 answers", 1e3 * profileOnce);

    LibraryCatalogue oneByOne;
    const double filesTime = Time([&] {
        for (const std::string& path : files)
            ReadLibraryFile(path.c_str(), oneByOne);
    });
    std::printf("%-44s %8.1f ms (%zu files, %zu objects)\n", "library files one after the other",
                1e3 * filesTime, files.size(), oneByOne.Count());
    std::printf("%-44s %8.1f ms\n", "whole library scan",
                1e3 * Time([&] { ScanLibraries(catalogue, version, folder); }));

    // Per-call costs, averaged over the first library files.
    std::vector<std::string> sample(files.begin(),
                                    files.begin() + std::min<size_t>(200, files.size()));
    if (!sample.empty()) {
        const double n = double(sample.size());
        auto open = [](const std::string& path) {
            return ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        };
        double t = Time([&] {
            for (const std::string& path : sample) {
                HANDLE file = open(path);
                HANDLE mapping = ::CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
                const void* view =
                    mapping ? ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
                if (view)
                    ::UnmapViewOfFile(view);
                if (mapping)
                    ::CloseHandle(mapping);
                ::CloseHandle(file);
            }
        });
        std::printf("%-44s %8.3f ms\n", "per call: open + map + unmap + close", 1e3 * t / n);
        t = Time([&] {
            for (const std::string& path : sample) {
                HANDLE file = open(path);
                char buffer[512];
                DWORD read = 0;
                ::ReadFile(file, buffer, sizeof buffer, &read, nullptr);
                ::CloseHandle(file);
            }
        });
        std::printf("%-44s %8.3f ms\n", "per call: open + read 512 bytes + close", 1e3 * t / n);
        t = Time([&] {
            for (const std::string& path : sample)
                ::GetFileAttributesA(path.c_str());
        });
        std::printf("%-44s %8.3f ms\n", "per call: file attributes", 1e3 * t / n);
        // The least a request to the Wine server costs: a handle duplicated and closed is two.
        HANDLE file = open(sample.front());
        t = Time([&] {
            for (int i = 0; i < 1000; ++i) {
                HANDLE copy = nullptr;
                ::DuplicateHandle(::GetCurrentProcess(), file, ::GetCurrentProcess(), &copy, 0,
                                  FALSE, DUPLICATE_SAME_ACCESS);
                ::CloseHandle(copy);
            }
        });
        ::CloseHandle(file);
        std::printf("%-44s %8.3f ms\n", "per call: duplicate + close a handle", t);
    }
    const double oneRead = Time([&] {
        for (int i = 0; i < 200; ++i) {
            char value[260];
            ::GetPrivateProfileStringA("Area.500", "Local", "ERROR:2", value, sizeof value,
                                       profile.c_str());
        }
    });
    std::printf("%-44s %8.3f ms\n", "per call: GetPrivateProfileStringA", 1e3 * oneRead / 200);

    // The Name list's own fill, as the window does it: every row into a sorted combo box.
    HWND box = ::CreateWindowA("COMBOBOX", "", WS_POPUP | CBS_DROPDOWN | CBS_SORT | WS_VSCROLL, 0,
                               0, 200, 200, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    const double fill = Time([&] {
        size_t position = 0;
        for (const LibraryObject& object : catalogue) {
            const std::string& text = object.name ? *object.name : object.guidText;
            LRESULT row = ::SendMessageA(box, CB_ADDSTRING, 0, LPARAM(text.c_str()));
            ::SendMessageA(box, CB_SETITEMDATA, WPARAM(row), LPARAM(position++));
        }
    });
    std::printf("%-44s %8.1f ms (%zu rows)\n", "name list: sorted add of every object", 1e3 * fill,
                catalogue.Count());
    ::DestroyWindow(box);
    return 0;
}

int Usage() {
    std::fputs(
        "usage: startuptime run EXE [--runs N] [--changes N] [--first]\n"
        "       startuptime phases FOLDER --version N\n"
        "       (N: runs 1 to 1000, changes 0 to 1000, version 0 to 6)\n",
        stderr);
    return 2;
}

// A whole decimal number within [low, high]; a measure of "-1" or "x" runs would measure nothing
// or something else than asked, and still print figures.
bool ParseNumber(const char* text, int low, int high, int* value) {
    if (text[0] < '0' || text[0] > '9')
        return false;
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || number < low || number > high)
        return false;
    *value = int(number);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    const std::string command = argv[1];
    int runs = 5, changes = 3, version = 6;
    bool first = false;
    for (int i = 3; i < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--first") {
            first = true;
            --i;
        } else if (i + 1 >= argc) {
            return Usage();
        } else if (flag == "--runs") {
            if (!ParseNumber(argv[i + 1], 1, 1000, &runs))
                return Usage();
        } else if (flag == "--changes") {
            if (!ParseNumber(argv[i + 1], 0, 1000, &changes))
                return Usage();
        } else if (flag == "--version") {
            if (!ParseNumber(argv[i + 1], 0, 6, &version))
                return Usage();
        } else {
            return Usage();
        }
    }
    if (command == "run")
        return Run(argv[2], runs, changes, first);
    if (command == "phases")
        return Phases(argv[2], version);
    return Usage();
}
