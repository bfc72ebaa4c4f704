#include "support/RunningProgram.h"

#include "SimGen.h"

namespace {

constexpr DWORD kPatience = 30000;  // ms: scans and the compiler run of a small install

struct WindowSearch {
    std::string caption;
    HWND except;
    HWND found;
};

BOOL CALLBACK FindByCaption(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    char caption[256] = {};
    ::GetWindowTextA(window, caption, sizeof caption);
    if (window != search->except && ::IsWindowVisible(window) && search->caption == caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The main window is up once it has its controls and is shown.
BOOL CALLBACK FindMainWindow(HWND window, LPARAM found) {
    if (::IsWindowVisible(window) && ::GetDlgItem(window, 1016) && ::GetDlgItem(window, 1017)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindLongestStatic(HWND window, LPARAM found) {
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    auto* best = reinterpret_cast<std::string*>(found);
    std::string text = RunningProgram::Text(window);
    if (lstrcmpiA(className, "Static") == 0 && text.size() > best->size())
        *best = text;
    return TRUE;
}

}  // namespace

RunningProgram::~RunningProgram() {
    if (m_process.hProcess) {
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_process.hProcess, 1);
        ::WaitForSingleObject(m_process.hProcess, kPatience);
        ::CloseHandle(m_process.hProcess);
        ::CloseHandle(m_process.hThread);
    }
}

bool RunningProgram::Start(const std::string& path) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + path + "\"";
    if (!::CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &m_process))
        return false;
    const DWORD start = ::GetTickCount();
    while (!m_window && ::GetTickCount() - start < kPatience) {
        ::EnumThreadWindows(m_process.dwThreadId, &FindMainWindow, LPARAM(&m_window));
        if (!m_window)
            ::Sleep(20);
    }
    if (m_window)
        Settle();
    return m_window != nullptr;
}

void RunningProgram::Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ::PostMessageA(window, message, wParam, lParam);
    ++m_pending;
}

// A message sent from another thread is handled the next time the program's thread looks for
// messages, ahead of what was posted; so each answered round trip means the thread finished what
// it was doing, and one more posted message (or one the program posted itself, such as the
// character of a key) has had its turn.
void RunningProgram::Settle() {
    for (int round = 0; round < m_pending + 4; ++round) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutA(m_window, WM_NULL, 0, 0, SMTO_NORMAL, kPatience, &ignored);
    }
    m_pending = 0;
}

HWND RunningProgram::Focused() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(m_process.dwThreadId, &info);
    return info.hwndFocus;
}

void RunningProgram::PressKey(UINT key) {
    const LPARAM scan = LPARAM(::MapVirtualKeyA(key, 0)) << 16;
    Post(Focused(), WM_KEYDOWN, key, 1 | scan);
    Post(Focused(), WM_KEYUP, key, 1 | scan | (LPARAM(3) << 30));
    Settle();
}

void RunningProgram::Type(const std::string& text) {
    for (unsigned char c : text)
        Post(Focused(), WM_CHAR, c, 1);
    Settle();
}

void RunningProgram::Focus(int id) {
    Post(m_window, WM_NEXTDLGCTL, WPARAM(Control(id)), TRUE);
    Settle();
}

void RunningProgram::Fill(int id, const std::string& text) {
    Focus(id);
    Post(Focused(), EM_SETSEL, 0, -1);
    Type(text);
}

void RunningProgram::Click(int id) {
    Click(m_window, id);
}

void RunningProgram::Click(HWND window, int id) {
    Post(::GetDlgItem(window, id), BM_CLICK, 0, 0);
    Settle();
}

void RunningProgram::PickRow(int id, int row) {
    Post(Control(id), CB_SETCURSEL, WPARAM(row), 0);
    Post(m_window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(Control(id)));
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

int RunningProgram::SelectedRow(int id) const {
    return int(::SendMessageA(Control(id), CB_GETCURSEL, 0, 0));
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
    WindowSearch search{caption, m_window, nullptr};
    ::EnumThreadWindows(m_process.dwThreadId, &FindByCaption, LPARAM(&search));
    return search.found;
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
    std::string text;
    ::EnumChildWindows(box, &FindLongestStatic, LPARAM(&text));
    Click(box, button);
    return text;
}

DWORD RunningProgram::WaitForExit() {
    DWORD code = STILL_ACTIVE;
    if (::WaitForSingleObject(m_process.hProcess, kPatience) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

bool RegisterSimInstall(int version, const std::string& folder) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, simgen::RegistryKey(version), 0, nullptr, 0,
                          KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG status =
        ::RegSetValueExA(key, simgen::RegistryValue(version), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(folder.c_str()), DWORD(folder.size() + 1));
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void ForgetSimInstalls() {
    for (int version = 0; version <= 6; ++version)
        ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, simgen::RegistryKey(version), KEY_WOW64_32KEY, 0);
}
