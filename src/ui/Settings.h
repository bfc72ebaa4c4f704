// The settings the program keeps between runs, as REG_DWORD values directly under the
// program's per-user key (the application object's profile key, empty section).
#pragma once

#include <string>

// HKEY_CURRENT_USER\Software\<kSettingsCompany>\<program name>; the program is Scenewright.exe.
inline constexpr const char* kSettingsCompany = "Vandrel";
inline constexpr const char* kProgramName = "Scenewright";

struct Settings {
    int keepAssembler = 1;
    int viewOutput = 1;
    int defaultSim = -1;
};

// Each value with its default when it is missing or not a 32-bit value: 1, 1 and 5.
Settings LoadSettings();
void SaveSettings(const Settings& settings);

// The catalogue kept between runs, in the user's local application data under the settings'
// company and program name; its folders are made when missing. Empty when the folder cannot be
// had, and every start then scans.
std::string KeptCatalogueFile();
