// Finds a top-level window by its caption, waiting a little for it to appear, brings it to the
// front and saves a PNG of it.
#include <cstdio>
#include <cstdlib>

#include "framework/WindowPicture.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: screenshot \"<window caption>\" <file.png> [seconds to wait]\n");
        return 2;
    }
    const int waitSeconds = argc > 3 ? std::atoi(argv[3]) : 10;
    HWND window = nullptr;
    for (int tries = 0; tries <= waitSeconds * 10 && !window; ++tries) {
        window = ::FindWindowA(nullptr, argv[1]);
        if (!window)
            ::Sleep(100);
    }
    if (!window) {
        std::fprintf(stderr, "screenshot: no window captioned \"%s\"\n", argv[1]);
        return 1;
    }
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::Sleep(300);  // the window's own thread repaints
    if (!SaveWindowPicture(window, argv[2])) {
        std::fprintf(stderr, "screenshot: could not save %s\n", argv[2]);
        return 1;
    }
    std::printf("%s\n", argv[2]);
    return 0;
}
