// The application object: opens the main window modally, with the placement file the command line
// names, and ends the program when it closes.
#include "framework/WinApp.h"
#include "app/MainDialog.h"
#include "common/CommandLine.h"
#include "ui/Settings.h"

class CScenewrightApp : public CWinApp {
  public:
    ~CScenewrightApp() override = default;
    bool InitInstance() override {
        SetRegistryKey(kSettingsCompany);
        CMainDialog dialog(nullptr);
        dialog.OpenAfterStartUp(FileArgumentOf(::GetCommandLineA()));
        dialog.DoModal();
        // The window was the whole program; there is no message loop to enter afterwards.
        return false;
    }
};

CScenewrightApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return AfxGetApp()->Run(instance);
}
