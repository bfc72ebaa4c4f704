// CAboutDialog: the picture, the program's name and version and a notice; the picture and the
// version line open the project's home page.
#pragma once
#include "framework/Dialog.h"
#include "ui/XSysLink.h"

class CAboutDialog : public CDialog {
  public:
    CAboutDialog();
    ~CAboutDialog() override;

    static constexpr const char* kHomePage = "https://scenewright.example.org/";

    XSysLink m_pictureLink;
    XSysLink m_versionLink;

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

  public:  // message handlers
    LRESULT OnDpiChanged(WPARAM, LPARAM);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

  private:
    void ShowPicture();
};
