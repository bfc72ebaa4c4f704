#include "ui/AboutDialog.h"

#include "framework/Dpi.h"
#include "framework/WinApp.h"
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
    auto picture = static_cast<HBITMAP>(::LoadImageA(
        CWinApp::ResourceInstance(), MAKEINTRESOURCEA(IDB_ABOUT), IMAGE_BITMAP, 0, 0, 0));
    const RECT area = m_pictureLink.GetClientRect();
    picture = ScaleBitmap(
        picture, ScaleSizeForDpi(BitmapSize(picture), WindowDpi(m_hWnd), {area.right, area.bottom}),
        true);
    if (!picture)
        return;
    auto previous = reinterpret_cast<HGDIOBJ>(
        m_pictureLink.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
    if (previous && previous != picture)
        ::DeleteObject(previous);
}

LRESULT CAboutDialog::OnDpiChanged(WPARAM, LPARAM) {
    const LRESULT result = Default();
    ShowPicture();
    return result;
}

// The picture control never frees the bitmap it was handed.
void CAboutDialog::OnDestroy() {
    if (auto picture =
            reinterpret_cast<HGDIOBJ>(m_pictureLink.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, 0)))
        ::DeleteObject(picture);
    Default();
}
