// CWinApp: the program's one application object. It starts the program's windows and keeps the
// per-user settings, stored as 32-bit values under HKEY_CURRENT_USER\Software\<company>\<program>,
// where <program> is the executable's name without its extension.
#pragma once
#include <windows.h>

#include <string>

class CWinApp {
  public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs the program: InitInstance, then the exit code.
    int Run(HINSTANCE instance);
    virtual bool InitInstance() { return false; }
    int m_exitCode = 0;

    // Settings. An empty section names the program's key itself. A value that is missing, not a
    // REG_DWORD or not 4 bytes long reads as the default.
    void SetRegistryKey(const char* company);
    void SetRegistryKey(const char* company, const char* program);
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue) const;
    bool WriteProfileInt(const char* section, const char* entry, int value) const;
    // A REG_BINARY value of exactly `size` bytes; false for a missing value or any other kind.
    bool GetProfileBinary(const char* section, const char* entry, void* data, DWORD size) const;
    bool WriteProfileBinary(const char* section, const char* entry, const void* data,
                            DWORD size) const;
    const std::string& ProfileKeyPath() const { return m_profileKey; }

    // Where the dialog templates, strings and pictures live (the executable).
    static HINSTANCE ResourceInstance();
    HINSTANCE m_hInstance = nullptr;

  private:
    std::string ProfileSectionPath(const char* section) const;
    bool ReadProfileValue(const char* section, const char* entry, DWORD type, void* data,
                          DWORD size) const;
    bool WriteProfileValue(const char* section, const char* entry, DWORD type, const void* data,
                           DWORD size) const;
    std::string m_profileKey;
};

CWinApp* AfxGetApp();

// The executable's file name without folder and extension ("Scenewright").
std::string ProgramBaseName();
