// The three registry operations that simulator discovery needs: open a key under
// HKEY_LOCAL_MACHINE for reading values, read a value's size or bytes, close the key. The value's
// type is never looked at, only its bytes. Windows reads the real registry (32-bit view); the
// native build reads a small in-memory store that tests fill.
#pragma once

#include <cstdint>
#include <string>

namespace sim_registry {

using Key = void*;

bool OpenKey(const char* keyPath, Key* key);
// With a null buffer only *size is set to the size of the value's data.
bool QueryValue(Key key, const char* valueName, char* buffer, uint32_t* size);
void CloseKey(Key key);

// Native build only: the store behind the three operations, and how many keys are open.
void SetValueForTesting(const std::string& keyPath, const std::string& valueName,
                        const std::string& bytes);
void AddKeyForTesting(const std::string& keyPath);
void ClearForTesting();
int OpenKeyCountForTesting();

}  // namespace sim_registry
