// The real program, started as a child process and driven from the test as a user drives it:
// keys and characters posted to the control that has the focus, buttons clicked, lists and texts
// read back with their messages, message boxes and other windows found by caption and answered
// by their buttons.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class RunningProgram {
  public:
    RunningProgram() = default;
    ~RunningProgram();  // a program still running is ended
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Starts the program (with these arguments) and waits until its main window is up; false
    // when it is not. With startMessages, every message box shown before the window is answered
    // with OK and its text kept there, in order.
    bool Start(const std::string& path, const std::string& arguments = "",
               std::vector<std::string>* startMessages = nullptr);
    HWND Window() const { return m_window; }
    HWND Control(int id) const { return ::GetDlgItem(m_window, id); }

    // Lets the program handle everything posted to it so far.
    void Settle();

    // Input as a user gives it: to the control that has the focus.
    HWND Focused() const;
    void PressKey(UINT key);
    void Type(const std::string& text);
    // Moves the focus the way the dialog manager does.
    void Focus(int id);
    // Focuses a box and types its text over what it held.
    void Fill(int id, const std::string& text);
    // A button of the main window or of another of the program's windows.
    void Click(int id) { Click(m_window, id); }
    void Click(HWND window, int id);
    // Picks a row of a list as a click on it does: selects it and tells the window.
    void PickRow(int id, int row);

    // What the program shows.
    std::string Text(int id) const { return Text(Control(id)); }
    static std::string Text(HWND window);
    int SelectedRow(int id) const { return int(::SendMessageA(Control(id), CB_GETCURSEL, 0, 0)); }
    std::vector<std::string> Rows(int id) const { return Rows(Control(id)); }
    static std::vector<std::string> Rows(HWND list);
    bool IsEnabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }

    // A window of the program other than the main window, by caption ("Scenewright" finds a
    // message box); null when none is shown.
    HWND FindWindow(const std::string& caption) const;
    // The same, waiting for it to come up; null when it does not.
    HWND WaitForWindow(const std::string& caption);
    // The message box shown now: its text, answered by its button; "" when none is shown.
    std::string AnswerMessage(int button = IDOK);

    // Waits for the program to end; its exit code, or STILL_ACTIVE when it does not.
    DWORD WaitForExit();

  private:
    PROCESS_INFORMATION m_process{};
    HWND m_window = nullptr;
};

// A path of this build's folder, given relative to it ("tools\\packlib\\unpacklib.exe").
std::string BuildPath(const std::string& relative);
// Runs a command line to its end; its exit code (-1 when it cannot start), and what it wrote to
// its output streams. `outputHandle`, when given, is its standard output instead.
DWORD RunCommand(std::string commandLine, std::string* output = nullptr,
                 std::string* errors = nullptr, HANDLE outputHandle = nullptr);

// The simulator registry entries (HKLM, in the 32-bit view the simulators' installers wrote to
// unless told otherwise, a REG_SZ with its terminator unless told otherwise) that make the program
// find an install; and their removal from that view, for a start without any.
bool RegisterSimInstall(int version, const std::string& folder, REGSAM view = KEY_WOW64_32KEY,
                        bool terminated = true);
void ForgetSimInstalls();
