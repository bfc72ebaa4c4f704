#include "ui/BuildResultsDialog.h"

#include "resource.h"

CBuildResultsDialog::CBuildResultsDialog(CWnd* owner, std::string output)
    : CResizableDialog(IDD_BUILD_RESULTS, owner), m_text(std::move(output)) {
    AddAnchor(IDC_BUILD_OUTPUT, anchor::kStretchRight | anchor::kStretchDown);
    AddAnchor(IDOK, anchor::kMoveRight | anchor::kMoveDown);
}

void CBuildResultsDialog::DoDataExchange(CDataExchange* exchange) {
    DDX_Control(exchange, IDC_BUILD_OUTPUT, m_output);
}

BOOL CBuildResultsDialog::OnInitDialog() {
    CResizableDialog::OnInitDialog();
    if (!m_text.empty())
        m_output.SetWindowText(m_text.c_str());
    // The output is disabled, so the focus goes to OK.
    ::SetFocus(GetDlgItem(IDOK));
    return FALSE;
}
