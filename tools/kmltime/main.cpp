// kmltime PROGRAM.exe FILE.kml [--runs N]: the import of a Google Earth file into the real
// program, timed from outside as a user would see it. Each run starts the program, picks the
// kind Windsock, chooses Import from Google Earth in the system menu and names the file in the
// file dialog; "read" is the time from the dialog's OK to the program's question, "added" from
// the answer Yes to the message that the placements were added. A run that is not counted comes
// first, so that every counted one finds the files in the system's cache.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Measure.h"

#include "placement/Placement.h"
#include "resource.h"

namespace {

constexpr int kTypeList = IDC_TYPE;
constexpr int kWindsockRow = int(ObjectType::WINDSOCK);
constexpr WPARAM kImportCommand = IDM_IMPORT_KML;
constexpr int kFileNameBoxes[] = {0x047c, 0x0480};
constexpr double kPatience = 120.0;

std::string Text(HWND window) {
    char text[1024] = {};
    ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, LPARAM(text), SMTO_ABORTIFHUNG, 5000,
                          nullptr);
    return text;
}

// The program's shown dialogs: its main window (the one with the Type list), its message
// boxes (their text is the static 0xFFFF) and the file dialog (the one with a file name box).
enum class Kind { Main, Message, Files };

HWND FindShown(DWORD process, Kind kind) {
    return FindProcessDialog(process, [kind](HWND window) {
        const bool main = ::GetDlgItem(window, kTypeList) != nullptr;
        const bool files =
            ::GetDlgItem(window, kFileNameBoxes[0]) || ::GetDlgItem(window, kFileNameBoxes[1]);
        const Kind shown = main ? Kind::Main : files ? Kind::Files : Kind::Message;
        return shown == kind && (kind != Kind::Message || ::GetDlgItem(window, 0xFFFF));
    });
}

// Waits for a window of that kind (a message box whose text holds `text`); null when none
// comes. Message boxes of start-up warnings are answered on the way.
HWND WaitFor(DWORD process, Kind kind, const char* text = "") {
    const double start = Now();
    while (Now() - start < kPatience) {
        HWND box = FindShown(process, Kind::Message);
        if (box && Text(::GetDlgItem(box, 0xFFFF)).rfind("WARNING:", 0) == 0) {
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        } else {
            HWND found = FindShown(process, kind);
            if (found && (kind != Kind::Message ||
                          Text(::GetDlgItem(found, 0xFFFF)).find(text) != std::string::npos))
                return found;
        }
        ::Sleep(1);
    }
    return nullptr;
}

bool ImportOnce(const char* exe, const char* file, double& read, double& added) {
    STARTUPINFOA startInfo{};
    startInfo.cb = sizeof startInfo;
    PROCESS_INFORMATION process{};
    std::string commandLine = std::string("\"") + exe + "\"";
    if (!::CreateProcessA(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startInfo, &process))
        return false;
    bool done = false;
    if (HWND main = WaitFor(process.dwProcessId, Kind::Main)) {
        HWND list = ::GetDlgItem(main, kTypeList);
        ::SendMessageA(list, CB_SETCURSEL, kWindsockRow, 0);
        ::SendMessageA(main, WM_COMMAND, MAKEWPARAM(kTypeList, CBN_SELCHANGE), LPARAM(list));
        ::PostMessageA(main, WM_SYSCOMMAND, kImportCommand, 0);
        if (HWND files = WaitFor(process.dwProcessId, Kind::Files)) {
            for (int box : kFileNameBoxes)
                ::SendDlgItemMessageA(files, box, WM_SETTEXT, 0, LPARAM(file));
            const double ok = Now();
            ::PostMessageA(files, WM_COMMAND, IDOK, 0);
            if (HWND question = WaitFor(process.dwProcessId, Kind::Message, "Add ")) {
                read = Now() - ok;
                const double yes = Now();
                ::PostMessageA(question, WM_COMMAND, IDYES, 0);
                if (WaitFor(process.dwProcessId, Kind::Message, "were added")) {
                    added = Now() - yes;
                    done = true;
                }
            }
        }
    }
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return done;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 3;
    if (argc == 5 && std::strcmp(argv[3], "--runs") == 0)
        runs = std::max(1, std::atoi(argv[4]));
    else if (argc != 3) {
        std::fputs("usage: kmltime PROGRAM.exe FILE.kml [--runs N]\n", stderr);
        return 2;
    }
    Figures reads, adds;
    for (int run = 0; run <= runs; ++run) {
        double read = 0, added = 0;
        if (!ImportOnce(argv[1], argv[2], read, added)) {
            std::fprintf(stderr, "kmltime: the import did not come through\n");
            return 1;
        }
        if (run > 0)
            reads.Add(read), adds.Add(added);
    }
    reads.Print("import: read until the question");
    adds.Print("import: placements added");
    return 0;
}
