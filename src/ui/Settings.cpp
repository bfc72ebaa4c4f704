#include "ui/Settings.h"

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
