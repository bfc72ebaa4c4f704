// The effects catalogue: the effect files of the simulator's Effects folder with the names the
// user sees, in listing order.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct EffectEntry {
    std::string filePath;     // install folder, "\Effects\", file name; at most 259 characters
    std::string displayName;  // at most 259 characters
};

class EffectsCatalogue {
  public:
    size_t Count() const { return entries.size(); }
    const EffectEntry* At(size_t position) const {
        return position < entries.size() ? &entries[position] : nullptr;
    }
    void Append(EffectEntry entry) { entries.push_back(std::move(entry)); }
    void Clear() { entries.clear(); }
    std::vector<EffectEntry>::const_iterator begin() const { return entries.begin(); }
    std::vector<EffectEntry>::const_iterator end() const { return entries.end(); }

  private:
    std::vector<EffectEntry> entries;
};

void ClearEffectsCatalogue(EffectsCatalogue& catalogue);
// Rebuilds the catalogue from the install folder; a missing or empty folder means no simulator.
// False when the listing could not be started (the catalogue is then empty).
bool ScanEffects(EffectsCatalogue& catalogue, const char* installPath);
