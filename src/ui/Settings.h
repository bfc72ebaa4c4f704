// The settings the program keeps between runs, as REG_DWORD values directly under the
// program's per-user key (the application object's profile key, empty section).
#pragma once

#include <cstdint>
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

// Where a resizable window was when it last closed: its window rectangle in screen pixels and the
// scaling (pixels per inch) it was measured at. Stored beside the settings as `Window<template
// id>`, a REG_BINARY of these five 32-bit integers; written when the window closes.
struct WindowPlace {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t dpi = 0;
};
// False when nothing usable is stored: missing, of another size, or a size or scaling that no
// window had.
bool LoadWindowPlace(unsigned templateId, WindowPlace& place);
void SaveWindowPlace(unsigned templateId, const WindowPlace& place);

// The catalogue kept between runs, in the user's local application data under the settings'
// company and program name; its folders are made when missing. Empty when the folder cannot be
// had, and every start then scans.
std::string KeptCatalogueFile();
