// The application object: opens the main window modally and ends the program when it closes.
#include "framework/WinApp.h"
#include "app/MainDialog.h"
#include "ui/Settings.h"

class CScenewrightApp : public CWinApp {
  public:
    ~CScenewrightApp() override = default;
    bool InitInstance() override {
        SetRegistryKey(kSettingsCompany);
        CMainDialog dialog(nullptr);
        dialog.DoModal();
        // The window was the whole program; there is no message loop to enter afterwards.
        return false;
    }
};

CScenewrightApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return AfxGetApp()->Run(instance);
}
