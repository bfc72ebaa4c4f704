#include "support/RunningProgram.h"

#include "SimGen.h"
#include "support/GuiTest.h"
#include "resource.h"

constexpr DWORD kPatience = 30000;  // ms: scans and the compiler run of a small install
constexpr int kMessageText = 0xFFFF;  // the message's static control in a message box

RunningProgram::~RunningProgram() {
    if (m_process.hProcess) {
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_process.hProcess, 1);
        ::WaitForSingleObject(m_process.hProcess, kPatience);
        ::CloseHandle(m_process.hProcess);
        ::CloseHandle(m_process.hThread);
    }
}

bool RunningProgram::Start(const std::string& path, const std::string& arguments,
                           std::vector<std::string>* startMessages) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + path + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    if (!::CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &m_process))
        return false;
    // The main window is up once it is shown.
    const DWORD start = ::GetTickCount();
    while (!m_window && ::GetTickCount() - start < kPatience) {
        for (HWND window : gui_test::ShownWindows(m_process.dwThreadId)) {
            if (::GetDlgItem(window, IDC_TYPE))
                m_window = window;
        }
        // A box of the start-up comes before the window is shown (the main window is its owner,
        // and has the same caption).
        HWND box = m_window || !startMessages ? nullptr : FindWindow("Scenewright");
        if (box && !::GetDlgItem(box, IDC_TYPE)) {
            startMessages->push_back(Text(::GetDlgItem(box, kMessageText)));
            ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            // Settle needs the main window: wait for the box itself to go.
            const DWORD answered = ::GetTickCount();
            while (::IsWindowVisible(box) && ::GetTickCount() - answered < kPatience)
                ::Sleep(20);
            continue;
        }
        if (!m_window)
            ::Sleep(20);
    }
    if (m_window)
        Settle();
    return m_window != nullptr;
}

// A posted marker is handled in turn after everything posted before it, by the window's own
// loop or by the loop of a box it opened; a second one also after what those messages posted in
// turn (the character of a key). The marker flips the modified flag of the pitch box, which the
// program never reads. (Sent messages would not do: Wine hands them to a thread that waits inside
// a call, say while the focus moves, before the posted ones before them are done.)
void RunningProgram::Settle() {
    HWND marker = Control(IDC_PITCH);
    auto modified = [marker] {
        DWORD_PTR flag = 0;
        ::SendMessageTimeoutA(marker, EM_GETMODIFY, 0, 0, SMTO_NORMAL, kPatience, &flag);
        return flag != 0;
    };
    for (int round = 0; round < 2; ++round) {
        const bool wanted = !modified();
        if (!::PostMessageA(marker, EM_SETMODIFY, wanted, 0))
            return;  // the window is gone
        const DWORD start = ::GetTickCount();
        while (modified() != wanted && ::GetTickCount() - start < kPatience) {
            if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0)
                return;
            ::Sleep(5);
        }
    }
}

HWND RunningProgram::Focused() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(m_process.dwThreadId, &info);
    return info.hwndFocus;
}

void RunningProgram::PressKey(UINT key) {
    gui_test::PressKey(key, Focused());
    Settle();
}

void RunningProgram::Type(const std::string& text) {
    gui_test::TypeText(text, Focused());
    Settle();
}

void RunningProgram::Focus(int id) {
    ::PostMessageA(m_window, WM_NEXTDLGCTL, WPARAM(Control(id)), TRUE);
    Settle();
}

void RunningProgram::Fill(int id, const std::string& text) {
    Focus(id);
    ::PostMessageA(Focused(), EM_SETSEL, 0, -1);
    Type(text);
}

void RunningProgram::Click(HWND window, int id) {
    ::PostMessageA(::GetDlgItem(window, id), BM_CLICK, 0, 0);
    Settle();
}

void RunningProgram::PickRow(int id, int row) {
    ::PostMessageA(Control(id), CB_SETCURSEL, WPARAM(row), 0);
    ::PostMessageA(m_window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(Control(id)));
    Settle();
}

// Texts of another process's windows are read in their wide form: Wine hands a narrow
// CB_GETLBTEXT across processes the wide text, twice the length the buffer was made for.
namespace {
std::string Narrow(const std::wstring& wide) {
    std::string text(wide.size() * 2 + 1, '\0');
    int length = ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), int(wide.size()), text.data(),
                                       int(text.size()), nullptr, nullptr);
    text.resize(length > 0 ? size_t(length) : 0);
    return text;
}
}  // namespace

std::string RunningProgram::Text(HWND window) {
    std::wstring text(4096, L'\0');
    LRESULT length = ::SendMessageW(window, WM_GETTEXT, text.size(), LPARAM(text.data()));
    text.resize(length > 0 ? size_t(length) : 0);
    return Narrow(text);
}

std::vector<std::string> RunningProgram::Rows(HWND list) {
    std::vector<std::string> rows;
    const int count = int(::SendMessageA(list, CB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::wstring text(size_t(::SendMessageW(list, CB_GETLBTEXTLEN, row, 0)) + 1, L'\0');
        LRESULT length = ::SendMessageW(list, CB_GETLBTEXT, row, LPARAM(text.data()));
        text.resize(length > 0 ? size_t(length) : 0);
        rows.push_back(Narrow(text));
    }
    return rows;
}

HWND RunningProgram::FindWindow(const std::string& caption) const {
    // Of boxes shown over each other, the enabled one is the one that takes the answer.
    for (HWND window : gui_test::ShownWindows(m_process.dwThreadId)) {
        if (window != m_window && ::IsWindowEnabled(window) && Text(window) == caption)
            return window;
    }
    return nullptr;
}

HWND RunningProgram::WaitForWindow(const std::string& caption) {
    Settle();
    const DWORD start = ::GetTickCount();
    HWND window = FindWindow(caption);
    while (!window && ::GetTickCount() - start < kPatience) {
        ::Sleep(20);
        window = FindWindow(caption);
    }
    Settle();
    return window;
}

std::string RunningProgram::AnswerMessage(int button) {
    HWND box = FindWindow("Scenewright");
    if (!box)
        return "";
    const std::string text = Text(::GetDlgItem(box, kMessageText));
    Click(box, button);
    return text;
}

DWORD RunningProgram::WaitForExit() {
    DWORD code = STILL_ACTIVE;
    if (::WaitForSingleObject(m_process.hProcess, kPatience) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

std::string BuildPath(const std::string& relative) {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path = self;  // <build>\tests\win\Name_test.exe
    return path.substr(0, path.rfind('\\')) + "\\..\\..\\" + relative;
}

namespace {

// A stream for a child, read back through the same handle: the child may still be closing its
// copy when its exit is seen, and a new opener would have to share with it.
HANDLE StreamFile() {
    char folder[MAX_PATH], path[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    ::GetTempFileNameA(folder, "sw", 0, path);
    SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
    return ::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         &inherited, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

std::string ReadBack(HANDLE stream) {
    std::string text(::GetFileSize(stream, nullptr), '\0');
    DWORD got = 0;
    ::SetFilePointer(stream, 0, nullptr, FILE_BEGIN);
    ::ReadFile(stream, text.data(), DWORD(text.size()), &got, nullptr);
    ::CloseHandle(stream);
    return text;
}

}  // namespace

DWORD RunCommand(std::string commandLine, std::string* output, std::string* errors,
                 HANDLE outputHandle) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = outputHandle ? outputHandle : StreamFile();
    startup.hStdError = StreamFile();
    PROCESS_INFORMATION process{};
    DWORD code = DWORD(-1);
    if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                         nullptr, nullptr, &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::GetExitCodeProcess(process.hProcess, &code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    const std::string out = outputHandle ? "" : ReadBack(startup.hStdOutput);
    const std::string err = ReadBack(startup.hStdError);
    if (output)
        *output = out;
    if (errors)
        *errors = err;
    return code;
}

bool RegisterSimInstall(int version, const std::string& folder, REGSAM view, bool terminated) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, simgen::RegistryKey(version), 0, nullptr, 0,
                          KEY_SET_VALUE | view, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG status = ::RegSetValueExA(key, simgen::RegistryValue(version), 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(folder.c_str()),
                                   DWORD(folder.size() + terminated));
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void ForgetSimInstalls() {
    for (int version = 0; version <= 6; ++version)
        ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, simgen::RegistryKey(version), KEY_WOW64_32KEY, 0);
}
