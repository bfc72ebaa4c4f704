#include "ui/OptionsDialog.h"

#include "resource.h"

COptionsDialog::COptionsDialog(CWnd* parent) : CDialog(IDD_OPTIONS, parent) {}

COptionsDialog::~COptionsDialog() = default;

BEGIN_MESSAGE_MAP(COptionsDialog, CDialog)
END_MESSAGE_MAP()

void COptionsDialog::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_KEEP_ASSEMBLER, m_keepAssemblerBox);
    DDX_Control(exchange, IDC_VIEW_OUTPUT, m_viewOutputBox);
}

BOOL COptionsDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    m_keepAssemblerBox.SendMessage(BM_SETCHECK, m_keepAssembler ? BST_CHECKED : BST_UNCHECKED);
    m_viewOutputBox.SendMessage(BM_SETCHECK, m_viewOutput ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void COptionsDialog::OnOK() {
    m_keepAssembler = m_keepAssemblerBox.SendMessage(BM_GETCHECK) == BST_CHECKED ? 1 : 0;
    m_viewOutput = m_viewOutputBox.SendMessage(BM_GETCHECK) == BST_CHECKED ? 1 : 0;
    CDialog::OnOK();
}
