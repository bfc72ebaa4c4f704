#include "sim/SimVersion.h"

#include <new>

#include "common/LastError.h"
#include "sim/SimRegistry.h"

namespace {

struct VersionRow {
    const char* displayName;
    const char* shortCode;
    const char* registryKey;
    const char* valueName;
};

constexpr VersionRow kVersionRows[kSimVersionCount] = {
    {"Flight Simulator 95", "FS95", "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\6.0",
     "PATH"},
    {"Flight Simulator 98", "FS98", "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\6.1",
     "PATH"},
    {"Combat Flight Simulator Version 1", "CFS1",
     "SOFTWARE\\Microsoft\\Microsoft Games\\Combat Flight Simulator\\1.00", "PATH"},
    {"Flight Simulator 2000", "FS2K", "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\7.0",
     "PATH"},
    {"Combat Flight Simulator Version 2", "CFS2",
     "SOFTWARE\\Microsoft\\Microsoft Games\\Combat Flight Simulator\\2.0", "EXE PATH"},
    {"Flight Simulator 2002", "FS22", "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0",
     "EXE PATH"},
    {"Flight Simulator 2004", "FS24", "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0",
     "EXE PATH"},
};

// Closes the key on every way out of the lookup of one version.
class OpenedKey {
  public:
    explicit OpenedKey(sim_registry::Key key) : key_(key) {}
    ~OpenedKey() { sim_registry::CloseKey(key_); }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    sim_registry::Key get() const { return key_; }

  private:
    sim_registry::Key key_;
};

bool IsInstalled(const SimVersionTable& table, int index) {
    return table.InstallPath(index) != nullptr;
}

}  // namespace

SimVersionTable::SimVersionTable() {
    Reset();
}

SimVersionTable::~SimVersionTable() {
    for (SimVersion& entry : entries_)
        delete[] entry.installPath;
}

void SimVersionTable::Reset() {
    for (int i = 0; i < kSimVersionCount; ++i) {
        SimVersion& entry = entries_[i];
        delete[] entry.installPath;
        entry.installPath = nullptr;
        entry.displayName = kVersionRows[i].displayName;
        entry.shortCode = kVersionRows[i].shortCode;
        entry.registryKey = kVersionRows[i].registryKey;
        entry.valueName = kVersionRows[i].valueName;
    }
}

const char* SimVersionTable::InstallPath(int index) const {
    if (index < 0 || index >= kSimVersionCount)
        return nullptr;
    return entries_[index].installPath;
}

bool DiscoverSimVersions(SimVersionTable* table) {
    if (!table) {
        SetLastErrorCode(errors::kInvalidParameter);
        return false;
    }
    table->Reset();
    bool anyFound = false;
    for (int i = 0; i < kSimVersionCount; ++i) {
        SimVersion& entry = (*table)[i];
        sim_registry::Key rawKey = nullptr;
        if (!sim_registry::OpenKey(entry.registryKey, &rawKey))
            continue;
        OpenedKey key(rawKey);
        uint32_t size = 0;
        if (!sim_registry::QueryValue(key.get(), entry.valueName, nullptr, &size))
            continue;
        // Ten zero bytes past the data keep the text terminated even when the value was stored
        // without a terminator.
        char* text = new (std::nothrow) char[size + 10ull]();
        if (!text) {
            SetLastErrorCode(errors::kNotEnoughMemory);
            return false;
        }
        if (!sim_registry::QueryValue(key.get(), entry.valueName, text, &size)) {
            delete[] text;
            continue;
        }
        entry.installPath = text;
        anyFound = true;
    }
    if (!anyFound) {
        SetLastErrorCode(errors::kFileNotFound);
        return false;
    }
    return true;
}

int CountInstalledVersions(const SimVersionTable& table) {
    int count = 0;
    for (int i = 0; i < kSimVersionCount; ++i)
        count += IsInstalled(table, i) ? 1 : 0;
    return count;
}

int ChooseInitialVersion(const SimVersionTable& table, int defaultSim) {
    if (IsInstalled(table, defaultSim))
        return defaultSim;
    if (IsInstalled(table, 5))
        return 5;
    if (IsInstalled(table, 4))
        return 4;
    // Any installed version beats none: with a lone older simulator the version button stays
    // disabled, so the user could never pick it later.
    for (int i = kSimVersionCount - 1; i >= 0; --i) {
        if (IsInstalled(table, i))
            return i;
    }
    return kNoSimVersion;
}
