#include "ui/Settings.h"

#include <windows.h>

#include <shlobj.h>

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
