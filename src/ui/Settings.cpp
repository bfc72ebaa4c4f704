#include "ui/Settings.h"

#include <windows.h>

#include <shlobj.h>

#include "framework/Dpi.h"
#include "framework/WinApp.h"

namespace {
const char* const kKeepAssembler = "KeepAssembler";
const char* const kViewOutput = "ViewOutput";
const char* const kDefaultSim = "DefaultSim";
}  // namespace

Settings LoadSettings() {
    Settings settings;
    const CWinApp* app = AfxGetApp();
    if (!app)
        return {1, 1, 5};
    settings.keepAssembler = static_cast<int>(app->GetProfileInt("", kKeepAssembler, 1));
    settings.viewOutput = static_cast<int>(app->GetProfileInt("", kViewOutput, 1));
    settings.defaultSim = static_cast<int>(app->GetProfileInt("", kDefaultSim, 5));
    return settings;
}

// A key that cannot be made leaves the stored values as they were; there is nothing the user
// could do about it on the way out.
void SaveSettings(const Settings& settings) {
    const CWinApp* app = AfxGetApp();
    if (!app)
        return;
    app->WriteProfileInt("", kKeepAssembler, settings.keepAssembler);
    app->WriteProfileInt("", kViewOutput, settings.viewOutput);
    app->WriteProfileInt("", kDefaultSim, settings.defaultSim);
}

namespace {
std::string WindowPlaceName(unsigned templateId) {
    return "Window" + std::to_string(templateId);
}
}  // namespace

bool LoadWindowPlace(unsigned templateId, WindowPlace& place) {
    const CWinApp* app = AfxGetApp();
    WindowPlace stored;
    if (!app ||
        !app->GetProfileBinary("", WindowPlaceName(templateId).c_str(), &stored, sizeof stored))
        return false;
    // Another program's edit or a damaged value opens the window as if nothing were stored.
    constexpr int32_t kFarthest = 1 << 16;  // pixels, beyond any desktop
    auto within = [](int32_t value, int32_t low, int32_t high) {
        return value >= low && value <= high;
    };
    if (!within(stored.width, 1, kFarthest) || !within(stored.height, 1, kFarthest) ||
        !within(stored.left, -kFarthest, kFarthest) || !within(stored.top, -kFarthest, kFarthest) ||
        !within(stored.dpi, int32_t(kDefaultDpi / 2), int32_t(kDefaultDpi * 8)))
        return false;
    place = stored;
    return true;
}

void SaveWindowPlace(unsigned templateId, const WindowPlace& place) {
    if (const CWinApp* app = AfxGetApp())
        app->WriteProfileBinary("", WindowPlaceName(templateId).c_str(), &place, sizeof place);
}

// The program and its start-up measure both ask here, so that a measure of first starts removes
// the very file the program keeps.
std::string KeptCatalogueFile() {
    char folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0,
                                  folder)))
        return {};
    std::string path = std::string(folder) + "\\" + kSettingsCompany;
    ::CreateDirectoryA(path.c_str(), nullptr);
    path = path + "\\" + kProgramName;
    ::CreateDirectoryA(path.c_str(), nullptr);
    return path + "\\Catalogue.bin";
}
