// The seven supported simulator versions, which of them are installed and where, and the
// version the program starts with. The index of an entry (0 to 6) is its identity throughout
// the program and the value stored as the DefaultSim setting.
#pragma once

#include <array>
#include <string>

inline constexpr int kSimVersionCount = 7;
inline constexpr int kNoSimVersion = -1;

struct SimVersion {
    // The install folder exactly as the registry value holds it; absent (nullptr) when the
    // version was not found. Owned by the table.
    char* installPath = nullptr;
    const char* displayName = "";
    const char* shortCode = "";
    const char* registryKey = "";
    const char* valueName = "";
};

class SimVersionTable {
  public:
    SimVersionTable();
    ~SimVersionTable();
    SimVersionTable(const SimVersionTable&) = delete;
    SimVersionTable& operator=(const SimVersionTable&) = delete;

    // Frees every install folder and sets the constant fields; every entry not found.
    void Reset();
    SimVersion& operator[](int index) { return entries_[index]; }
    const SimVersion& operator[](int index) const { return entries_[index]; }
    // Null for -1, an index out of range, or a version that is not installed.
    const char* InstallPath(int index) const;

  private:
    std::array<SimVersion, kSimVersionCount> entries_;
};

// Fills the table from the registry (HKEY_LOCAL_MACHINE, the 32-bit view). False with the last
// error set: 87 without a table, 2 when nothing was found, 8 when memory ran out.
bool DiscoverSimVersions(SimVersionTable* table);
int CountInstalledVersions(const SimVersionTable& table);
int ChooseInitialVersion(const SimVersionTable& table, int defaultSim);
