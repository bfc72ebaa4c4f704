#include "WinApp.h"

#include <commctrl.h>

namespace {
CWinApp* theApplication = nullptr;
}

CWinApp::CWinApp() {
    theApplication = this;
}

CWinApp::~CWinApp() {
    if (theApplication == this)
        theApplication = nullptr;
}

CWinApp* AfxGetApp() {
    return theApplication;
}

HINSTANCE CWinApp::ResourceInstance() {
    return ::GetModuleHandleA(nullptr);
}

std::string ProgramBaseName() {
    char path[MAX_PATH + 1] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, length);
    size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

int CWinApp::Run(HINSTANCE instance) {
    m_hInstance = instance;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    InitInstance();
    return m_exitCode;
}

void CWinApp::SetRegistryKey(const char* company) {
    SetRegistryKey(company, ProgramBaseName().c_str());
}

// A command-line tool reads the settings of the program it serves, not of its own executable.
void CWinApp::SetRegistryKey(const char* company, const char* program) {
    m_profileKey = std::string("Software\\") + company + "\\" + program;
}

std::string CWinApp::ProfileSectionPath(const char* section) const {
    std::string path = m_profileKey;
    if (section && *section)
        path += std::string("\\") + section;
    return path;
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) const {
    DWORD value = 0;
    return ReadProfileValue(section, entry, REG_DWORD, &value, sizeof(value)) ? value
                                                                              : UINT(defaultValue);
}

bool CWinApp::GetProfileBinary(const char* section, const char* entry, void* data,
                               DWORD size) const {
    return ReadProfileValue(section, entry, REG_BINARY, data, size);
}

// The value is read only when it is of that type and size, so a value of another kind (another
// program's edit) leaves `data` as it was.
bool CWinApp::ReadProfileValue(const char* section, const char* entry, DWORD type, void* data,
                               DWORD size) const {
    if (m_profileKey.empty())
        return false;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, ProfileSectionPath(section).c_str(), 0, KEY_QUERY_VALUE,
                        &key) != ERROR_SUCCESS)
        return false;
    DWORD stored = 0;
    DWORD storedType = 0;
    LONG status = ::RegQueryValueExA(key, entry, nullptr, &storedType, nullptr, &stored);
    if (status == ERROR_SUCCESS && storedType == type && stored == size)
        status =
            ::RegQueryValueExA(key, entry, nullptr, &storedType, static_cast<BYTE*>(data), &stored);
    else
        status = ERROR_INVALID_DATA;
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS && storedType == type && stored == size;
}

bool CWinApp::WriteProfileBinary(const char* section, const char* entry, const void* data,
                                 DWORD size) const {
    return WriteProfileValue(section, entry, REG_BINARY, data, size);
}

bool CWinApp::WriteProfileInt(const char* section, const char* entry, int value) const {
    const DWORD data = DWORD(value);
    return WriteProfileValue(section, entry, REG_DWORD, &data, sizeof(data));
}

bool CWinApp::WriteProfileValue(const char* section, const char* entry, DWORD type,
                                const void* data, DWORD size) const {
    if (m_profileKey.empty())
        return false;
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, ProfileSectionPath(section).c_str(), 0, nullptr, 0,
                          KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG status = ::RegSetValueExA(key, entry, 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}
