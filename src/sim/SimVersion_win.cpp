#include <windows.h>

#include "sim/SimRegistry.h"

namespace sim_registry {

// The simulators are 32-bit programs whose installers wrote their keys in the 32-bit view; the
// 64-bit build has to ask for that view explicitly to find the same installs.
#if defined(_WIN64)
constexpr REGSAM kInstallKeyAccess = KEY_QUERY_VALUE | KEY_WOW64_32KEY;
#else
constexpr REGSAM kInstallKeyAccess = KEY_QUERY_VALUE;
#endif

bool OpenKey(const char* keyPath, Key* key) {
    HKEY opened = nullptr;
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, kInstallKeyAccess, &opened);
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        return false;
    }
    *key = opened;
    return true;
}

bool QueryValue(Key key, const char* valueName, char* buffer, uint32_t* size) {
    DWORD bytes = *size;
    LONG status = RegQueryValueExA(static_cast<HKEY>(key), valueName, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(buffer), &bytes);
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        return false;
    }
    *size = bytes;
    return true;
}

void CloseKey(Key key) {
    if (key)
        RegCloseKey(static_cast<HKEY>(key));
}

}  // namespace sim_registry
