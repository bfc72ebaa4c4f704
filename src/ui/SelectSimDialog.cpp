#include "ui/SelectSimDialog.h"

#include "resource.h"

CSelectSimDialog::CSelectSimDialog(CWnd* parent, const SimVersionTable* table)
    : CDialog(IDD_SELECT_SIM, parent), m_table(table) {}

CSelectSimDialog::~CSelectSimDialog() = default;

BEGIN_MESSAGE_MAP(CSelectSimDialog, CDialog)
END_MESSAGE_MAP()

void CSelectSimDialog::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_SIM_LIST, m_versionList);
}

BOOL CSelectSimDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!m_table)
        return TRUE;
    for (int i = 0; i < kSimVersionCount; ++i) {
        if (!m_table->InstallPath(i))
            continue;
        LRESULT row = m_versionList.SendMessage(
            CB_ADDSTRING, 0, reinterpret_cast<LPARAM>((*m_table)[i].displayName));
        if (row < 0)
            continue;
        m_versionList.SendMessage(CB_SETITEMDATA, WPARAM(row), LPARAM(i));
        if (i == m_selectedIndex)
            m_versionList.SendMessage(CB_SETCURSEL, WPARAM(row));
    }
    return TRUE;
}

void CSelectSimDialog::OnOK() {
    LRESULT row = m_versionList.SendMessage(CB_GETCURSEL);
    m_selectedIndex =
        row == CB_ERR ? kNoSimVersion
                      : static_cast<int>(m_versionList.SendMessage(CB_GETITEMDATA, WPARAM(row)));
    CDialog::OnOK();
}
