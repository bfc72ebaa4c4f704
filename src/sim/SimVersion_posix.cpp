#include <cstring>
#include <map>

#include "common/LastError.h"
#include "sim/SimRegistry.h"

namespace sim_registry {

namespace {

struct StoredKey {
    std::string path;
    std::map<std::string, std::string> values;
};

// Key paths and value names are found without regard to letter case, as in the registry; the
// lower-cased path is the map's key.
std::map<std::string, StoredKey>& Store() {
    static std::map<std::string, StoredKey> store;
    return store;
}

int openKeys = 0;

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

bool OpenKey(const char* keyPath, Key* key) {
    auto found = Store().find(Lower(keyPath));
    if (found == Store().end()) {
        SetLastErrorCode(errors::kFileNotFound);
        return false;
    }
    ++openKeys;
    *key = &found->second;
    return true;
}

bool QueryValue(Key key, const char* valueName, char* buffer, uint32_t* size) {
    const StoredKey& stored = *static_cast<const StoredKey*>(key);
    auto found = stored.values.find(Lower(valueName));
    if (found == stored.values.end()) {
        SetLastErrorCode(errors::kFileNotFound);
        return false;
    }
    const std::string& bytes = found->second;
    if (buffer) {
        if (*size < bytes.size()) {
            *size = static_cast<uint32_t>(bytes.size());
            SetLastErrorCode(234);  // ERROR_MORE_DATA
            return false;
        }
        std::memcpy(buffer, bytes.data(), bytes.size());
    }
    *size = static_cast<uint32_t>(bytes.size());
    return true;
}

void CloseKey(Key key) {
    if (key)
        --openKeys;
}

void AddKeyForTesting(const std::string& keyPath) {
    Store()[Lower(keyPath)].path = keyPath;
}

void SetValueForTesting(const std::string& keyPath, const std::string& valueName,
                        const std::string& bytes) {
    AddKeyForTesting(keyPath);
    Store()[Lower(keyPath)].values[Lower(valueName)] = bytes;
}

void ClearForTesting() {
    Store().clear();
}

int OpenKeyCountForTesting() {
    return openKeys;
}

}  // namespace sim_registry
