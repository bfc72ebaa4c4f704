#include "common/LastError.h"

#include <windows.h>

void SetLastErrorCode(uint32_t code) { SetLastError(code); }

uint32_t GetLastErrorCode() { return GetLastError(); }
