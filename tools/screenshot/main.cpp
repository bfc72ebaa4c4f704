// Finds a shown top-level window by its caption, waiting a little for it, brings it to the
// front and saves a PNG of it. Before the picture it can pick rows of the window's lists (as a
// click on the row does) and set texts of its boxes; afterwards it can close the window.
//   screenshot "<window caption>" <file.png> [seconds to wait] [--pick ID=ROWTEXT]...
//              [--text ID=TEXT]... [--close]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/WindowPicture.h"

namespace {

constexpr UINT kPatience = 10000;  // ms for each message the window's own thread handles

int Usage() {
    std::fprintf(stderr,
                 "usage: screenshot \"<window caption>\" <file.png> [seconds to wait]\n"
                 "                  [--pick ID=ROWTEXT]... [--text ID=TEXT]... [--close]\n");
    return 2;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kPatience, &result);
    return LRESULT(result);
}

// The window belongs to another program: its texts cross over in their wide form.
std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), int(text.size()), wide.data(),
                                       int(wide.size()));
    wide.resize(length > 0 ? size_t(length) : 0);
    return wide;
}

// "ID=VALUE": the control of the window and the value; false when the id names no control.
bool Split(HWND window, const char* argument, HWND& control, std::string& value) {
    const char* equals = std::strchr(argument, '=');
    if (!equals)
        return false;
    const int id = std::atoi(argument);
    control = ::GetDlgItem(window, id);
    value = equals + 1;
    return control != nullptr;
}

bool Pick(HWND window, const char* argument) {
    HWND list = nullptr;
    std::string text;
    if (!Split(window, argument, list, text))
        return false;
    const std::wstring wide = Wide(text);
    const LRESULT row = Send(list, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(wide.c_str()));
    if (row == CB_ERR)
        return false;
    Send(list, CB_SETCURSEL, WPARAM(row), 0);
    Send(window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE), LPARAM(list));
    return true;
}

bool SetText(HWND window, const char* argument) {
    HWND box = nullptr;
    std::string text;
    if (!Split(window, argument, box, text))
        return false;
    const std::wstring wide = Wide(text);
    Send(box, WM_SETTEXT, 0, LPARAM(wide.c_str()));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    // The window's own pixels, whatever the display's scaling: an unaware tool would be told a
    // rectangle scaled down to 100 % and save only part of a scaled window.
    ::SetProcessDPIAware();
    int next = 3;
    int waitSeconds = 10;
    if (argc > 3 && argv[3][0] != '-') {
        waitSeconds = std::atoi(argv[3]);
        next = 4;
    }
    // A window is ready once it is shown: a dialog is made visible after its initialisation.
    HWND window = nullptr;
    for (int tries = 0; tries <= waitSeconds * 10 && !window; ++tries) {
        window = ::FindWindowA(nullptr, argv[1]);
        if (window && !::IsWindowVisible(window))
            window = nullptr;
        if (!window)
            ::Sleep(100);
    }
    if (!window) {
        std::fprintf(stderr, "screenshot: no window captioned \"%s\"\n", argv[1]);
        return 1;
    }
    bool close = false;
    for (int i = next; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--close") {
            close = true;
        } else if ((option == "--pick" || option == "--text") && i + 1 < argc) {
            const char* argument = argv[++i];
            if (!(option == "--pick" ? Pick(window, argument) : SetText(window, argument))) {
                std::fprintf(stderr, "screenshot: cannot %s %s\n", option.c_str() + 2, argument);
                return 1;
            }
        } else {
            return Usage();
        }
    }
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::Sleep(300);  // the window's own thread repaints
    const bool saved = SaveWindowPicture(window, argv[2]);
    if (close)
        ::PostMessageA(window, WM_CLOSE, 0, 0);
    if (!saved) {
        std::fprintf(stderr, "screenshot: could not save %s\n", argv[2]);
        return 1;
    }
    std::printf("%s\n", argv[2]);
    return 0;
}
