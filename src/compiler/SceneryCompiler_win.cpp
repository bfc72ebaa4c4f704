#include <windows.h>

#include <cstring>

#include "compiler/SceneryCompiler.h"
#include "common/Text.h"
#include "placement/Message.h"

namespace {

class OwnedHandle {
  public:
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE h) : handle(h) {}
    ~OwnedHandle() { Close(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    HANDLE Get() const { return handle; }
    HANDLE* Put() {
        Close();
        return &handle;
    }
    void Close() {
        if (handle)
            CloseHandle(handle);
        handle = nullptr;
    }

  private:
    HANDLE handle = nullptr;
};

// The wait cursor from the start of the reads until the run is over. The thread takes no input
// meanwhile, so nothing sets the cursor back.
class WaitCursor {
  public:
    WaitCursor() : previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous ? previous : LoadCursorA(nullptr, IDC_ARROW)); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    HCURSOR previous;
};

// The message is bounded by the longest command line it can embed, with room to spare.
bool Fail(DWORD code, const char* what) {
    ReportMessage(FormatText(limits::kMessage, "ERROR:%X %s", static_cast<unsigned>(code), what),
                  message_kind::kPlain);
    return false;
}

struct PipeReading {
    HANDLE pipe;
    std::string output;
};

// Reads until the first failed read: the broken pipe once every writer has gone.
DWORD WINAPI ReadWholePipe(void* parameter) {
    auto* reading = static_cast<PipeReading*>(parameter);
    char piece[compiler::kReadPiece];
    DWORD got = 0;
    while (ReadFile(reading->pipe, piece, sizeof piece, &got, nullptr)) {
        if (got > 0)
            AppendCompilerOutput(reading->output, std::string_view(piece, got));
    }
    return 0;
}

// Waits for the reader while repainting this thread's windows. Only paint messages are taken
// from the queue: keys and clicks stay there until the build is over.
void WaitRepainting(HANDLE reader) {
    for (;;) {
        DWORD woke = MsgWaitForMultipleObjects(1, &reader, FALSE, INFINITE, QS_PAINT);
        if (woke == WAIT_OBJECT_0)
            return;
        if (woke == WAIT_FAILED) {
            WaitForSingleObject(reader, INFINITE);
            return;
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageA(&msg);
    }
}

}  // namespace

bool RunSceneryCompiler(const std::string& path, bool keepAssembler, std::string& output) {
    output.clear();
    std::string commandLine = SceneryCompilerCommandLine(path, keepAssembler);

    SECURITY_ATTRIBUTES inheritable{};
    inheritable.nLength = sizeof inheritable;
    inheritable.bInheritHandle = TRUE;
    OwnedHandle readEnd, writeEnd;
    if (!CreatePipe(readEnd.Put(), writeEnd.Put(), &inheritable, 0)) {
        return Fail(GetLastError(), "Cannot create output pipe");
    }

    // The compiler must not hold the read end, or the pipe would never report its end.
    HANDLE self = GetCurrentProcess();
    OwnedHandle reader;
    if (!DuplicateHandle(self, readEnd.Get(), self, reader.Put(), 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
        return Fail(GetLastError(), "Cannot duplicate stdin handle");
    }
    readEnd.Close();

    OwnedHandle errorEnd;
    if (!DuplicateHandle(self, writeEnd.Get(), self, errorEnd.Put(), 0, TRUE,
                         DUPLICATE_SAME_ACCESS)) {
        return Fail(GetLastError(), "Cannot duplicate stdout handle");
    }

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = errorEnd.Get();

    char buffer[compiler::kCommandLineBuffer] = {};
    std::memcpy(buffer, commandLine.data(),
                commandLine.size() < sizeof buffer ? commandLine.size() : sizeof buffer - 1);

    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, buffer, nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process)) {
        DWORD code = GetLastError();
        ReportMessage(FormatText(limits::kMessage, "ERROR:%X Cannot create process, \"%s\"",
                                 static_cast<unsigned>(code), commandLine.c_str()),
                      message_kind::kPlain);
        return false;
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    writeEnd.Close();
    errorEnd.Close();

    WaitCursor wait;
    PipeReading reading{reader.Get(), std::string()};
    OwnedHandle thread(CreateThread(nullptr, 0, ReadWholePipe, &reading, 0, nullptr));
    if (thread.Get()) {
        WaitRepainting(thread.Get());
    } else {
        ReadWholePipe(&reading);
    }
    reader.Close();
    output = std::move(reading.output);
    return true;
}
