#include "ui/AboutDialog.h"

#include "framework/Dpi.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CAboutDialog, CDialog)
ON_MESSAGE(WM_DPICHANGED, &CAboutDialog::OnDpiChanged)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CAboutDialog::CAboutDialog() : CDialog(IDD_ABOUT, nullptr) {}

CAboutDialog::~CAboutDialog() = default;

void CAboutDialog::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_ABOUT_PICTURE, m_pictureLink);
    DDX_Control(exchange, IDC_ABOUT_VERSION, m_versionLink);
}

BOOL CAboutDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    ShowPicture();
    m_pictureLink.SetLinkTarget(kHomePage);
    m_versionLink.SetLinkTarget(kHomePage);
    return TRUE;
}

// The picture grows with the scaling, smoothly, and keeps its proportions within its area: the
// dialog font's units are not square, so the area is not the picture's shape. The control
// centres it.
void CAboutDialog::ShowPicture() {
    ShowPictureForDpi(m_pictureLink.m_hWnd, IDB_ABOUT, true);
}

LRESULT CAboutDialog::OnDpiChanged(WPARAM, LPARAM) {
    const LRESULT result = Default();
    ShowPicture();
    return result;
}

void CAboutDialog::OnDestroy() {
    FreePicture(m_pictureLink.m_hWnd);
    Default();
}
