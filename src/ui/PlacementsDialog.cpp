#include "ui/PlacementsDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "common/AppStrings.h"
#include "common/Text.h"
#include "framework/WaitCursor.h"
#include "placement/Message.h"
#include "placement/PlacementFile.h"
#include "resource.h"
#include "ui/XFileDialog.h"

namespace {

// Column widths in dialog units, in the order of the headings IDS_COLUMN_NUMBER onwards; they
// fill the list's width less its scroll bar.
constexpr int kColumnWidths[] = {16, 40, 74, 76, 76, 40, 36, 66};
constexpr int kColumnCount = int(std::size(kColumnWidths));

}  // namespace

BEGIN_MESSAGE_MAP(CPlacementsDialog, CResizableDialog)
ON_BN_CLICKED(IDC_REMOVE_PLACEMENTS, &CPlacementsDialog::OnRemove)
ON_BN_CLICKED(IDC_OPEN_PLACEMENTS, &CPlacementsDialog::OnOpen)
ON_NOTIFY(LVN_GETDISPINFOA, IDC_PLACEMENT_LIST, &CPlacementsDialog::OnGetDisplayInfo)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_PLACEMENT_LIST, &CPlacementsDialog::OnSelectionChange)
ON_NOTIFY(LVN_ODSTATECHANGED, IDC_PLACEMENT_LIST, &CPlacementsDialog::OnSelectionChange)
ON_NOTIFY(LVN_KEYDOWN, IDC_PLACEMENT_LIST, &CPlacementsDialog::OnListKey)
ON_NOTIFY(NM_DBLCLK, IDC_PLACEMENT_LIST, &CPlacementsDialog::OnDoubleClick)
END_MESSAGE_MAP()

CPlacementsDialog::CPlacementsDialog(CWnd* owner, OutputList& list, FormControls& form)
    : CResizableDialog(IDD_PLACEMENTS, owner), m_list(list), m_form(form) {
    AddAnchor(IDC_PLACEMENT_LIST, anchor::kStretchRight | anchor::kStretchDown);
    AddAnchor(IDC_REMOVE_PLACEMENTS, anchor::kMoveDown);
    AddAnchor(IDOK, anchor::kMoveDown);
    AddAnchor(IDC_OPEN_PLACEMENTS, anchor::kMoveDown);
    AddAnchor(IDCANCEL, anchor::kMoveRight | anchor::kMoveDown);
}

INT_PTR CPlacementsDialog::DoModal() {
    INT_PTR result = CResizableDialog::DoModal();
    // The main window owns the messages again.
    SetMessageOwner(m_parent ? m_parent->m_hWnd : nullptr);
    return result;
}

void CPlacementsDialog::DoDataExchange(CDataExchange* exchange) {
    DDX_Control(exchange, IDC_PLACEMENT_LIST, m_rows);
}

BOOL CPlacementsDialog::OnInitDialog() {
    CResizableDialog::OnInitDialog();
    // A message box of Open must keep this window from being used meanwhile, as it does the
    // main window.
    SetMessageOwner(m_hWnd);
    m_rows.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    AddColumns();

    m_rows.CreateTips([this](int row) {
        std::span<const FileLine> lines = m_list.PlacementLines(row);
        return lines.empty() ? std::string() : lines.back().text;
    });

    ShowRows(-1);
    m_rows.SetFocus();
    return FALSE;
}

void CPlacementsDialog::AddColumns() {
    for (int column = 0; column < kColumnCount; ++column)
        m_rows.InsertColumn(column, LoadAppString(IDS_COLUMN_NUMBER + unsigned(column)),
                            kColumnWidths[column], LVCFMT_LEFT);
}

void CPlacementsDialog::ShowRows(int selectRow) {
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    m_rows.SendMessage(LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&none));
    m_rows.SendMessage(LVM_SETITEMCOUNT, WPARAM(m_list.placementCount), LVSICF_NOSCROLL);
    m_rows.ForgetTipRow();
    m_cachedRow = -1;
    if (selectRow >= 0 && selectRow < m_list.placementCount) {
        LVITEMA chosen{};
        chosen.state = chosen.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        m_rows.SendMessage(LVM_SETITEMSTATE, WPARAM(selectRow), LPARAM(&chosen));
        m_rows.SendMessage(LVM_ENSUREVISIBLE, WPARAM(selectRow), FALSE);
    }
    m_rows.Invalidate();
    UpdateButtons();
}

std::vector<int> CPlacementsDialog::SelectedRows() const {
    std::vector<int> rows;
    for (int row = -1;;) {
        row = int(m_rows.SendMessage(LVM_GETNEXTITEM, WPARAM(row), LVNI_SELECTED));
        if (row < 0)
            break;
        rows.push_back(row);
    }
    return rows;
}

void CPlacementsDialog::UpdateButtons() {
    const LRESULT selected = m_rows.SendMessage(LVM_GETSELECTEDCOUNT);
    ::EnableWindow(GetDlgItem(IDC_REMOVE_PLACEMENTS), selected > 0);
    ::EnableWindow(GetDlgItem(IDOK), selected == 1);
}

const Placement* CPlacementsDialog::PlacementOfRow(int row) {
    if (row != m_cachedRow) {
        std::span<const FileLine> lines = m_list.PlacementLines(row);
        m_cachedValid = !lines.empty() && ParsePlacementLine(lines.back().text, m_cached);
        m_cachedRow = row;
    }
    return m_cachedValid ? &m_cached : nullptr;
}

std::string CPlacementsDialog::CellText(int row, int column) {
    if (column == 0)
        return std::to_string(row + 1);
    const Placement* placement = PlacementOfRow(row);
    if (!placement)
        return std::string();
    switch (column) {
        case 1:
            return ObjectTypeDisplayName(placement->type);
        case 2: {
            // An object written by its identifier is shown by the name its comment gives.
            std::string name = IdentifierCommentOf(m_list.PlacementLines(row)).name;
            return name.empty() ? placement->name : name;
        }
        case 3:
            return placement->latitude + '"';
        case 4:
            return placement->longitude + '"';
        case 5:
            return placement->altitude;
        case 6:
            return FormatText(limits::kLine, "%1.2f", placement->heading);
        case 7:
            return placement->density;
        default:
            return std::string();
    }
}

void CPlacementsDialog::OnGetDisplayInfo(NMHDR* header, LRESULT*) {
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        ::lstrcpynA(item.pszText, CellText(item.iItem, item.iSubItem).c_str(), item.cchTextMax);
}

void CPlacementsDialog::OnSelectionChange(NMHDR*, LRESULT*) {
    UpdateButtons();
}

void CPlacementsDialog::OnListKey(NMHDR* header, LRESULT*) {
    const WORD key = reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey;
    if (key == VK_DELETE) {
        OnRemove();
    } else if (key == 'A' && ::GetKeyState(VK_CONTROL) < 0) {
        LVITEMA all{};
        all.state = all.stateMask = LVIS_SELECTED;
        m_rows.SendMessage(LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&all));
    }
}

void CPlacementsDialog::OnDoubleClick(NMHDR* header, LRESULT*) {
    const int row = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
    if (row >= 0)
        UseRow(row);
}

void CPlacementsDialog::OnOK() {
    const std::vector<int> rows = SelectedRows();
    if (rows.size() == 1)
        UseRow(rows[0]);
}

void CPlacementsDialog::UseRow(int row) {
    if (const Placement* placement = PlacementOfRow(row)) {
        m_chosen = *placement;
        EndDialog(IDOK);
    }
}

void CPlacementsDialog::OnRemove() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    m_list.RemovePlacements(rows, m_form);
    // The row that took the first removed one's place, so that Delete can go on down the list.
    ShowRows(std::min(rows.front(), m_list.placementCount - 1));
    m_rows.SetFocus();
}

void CPlacementsDialog::OnOpen() {
    XFileDialog browse(true, "csv", nullptr, OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
                       LoadAppString(IDS_PLACEMENT_FILE_FILTER).c_str(), this);
    if (browse.DoModal() != IDOK)
        return;
    CBusyCursor busy;
    if (OpenPlacementFile(m_list, m_form, browse.GetPathName(), busy.Callback())) {
        ShowRows(-1);
    }
    m_rows.SetFocus();
}
