#include "common/LastError.h"

namespace {
thread_local uint32_t lastError = 0;
}

void SetLastErrorCode(uint32_t code) { lastError = code; }

uint32_t GetLastErrorCode() { return lastError; }
