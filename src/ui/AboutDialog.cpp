#include "ui/AboutDialog.h"

#include "resource.h"

CAboutDialog::CAboutDialog() : CDialog(IDD_ABOUT, nullptr) {}

CAboutDialog::~CAboutDialog() = default;

void CAboutDialog::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_ABOUT_PICTURE, m_pictureLink);
    DDX_Control(exchange, IDC_ABOUT_VERSION, m_versionLink);
}

BOOL CAboutDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    m_pictureLink.SetLinkTarget(kHomePage);
    m_versionLink.SetLinkTarget(kHomePage);
    return TRUE;
}
