// The placements window: the output list, one row per placement, where the user removes
// placements, takes one back into the main window's form (Use) or opens a placement file. Modal
// over the main window; Use closes it with the chosen placement, which the main window fills in.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "framework/ToolTipCtrl.h"
#include "placement/FormControls.h"
#include "placement/OutputList.h"
#include "placement/Placement.h"
#include "ui/ResizableDialog.h"
#include "ui/TipListView.h"

class CPlacementsDialog : public CResizableDialog {
  public:
    // The list and the form are the main window's: Remove and Open change them.
    CPlacementsDialog(CWnd* owner, OutputList& list, FormControls& form);
    ~CPlacementsDialog() override = default;

    INT_PTR DoModal() override;
    // After DoModal gave IDOK (Use): the placement to fill in.
    const Placement& Chosen() const { return m_chosen; }
    CToolTipCtrl& ToolTip() { return m_rows.ToolTip(); }

    CTipListView m_rows;

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

  public:  // message handlers
    void OnRemove();
    void OnOpen();
    void OnGetDisplayInfo(NMHDR* header, LRESULT* result);
    void OnSelectionChange(NMHDR* header, LRESULT* result);
    void OnListKey(NMHDR* header, LRESULT* result);
    void OnDoubleClick(NMHDR* header, LRESULT* result);

    DECLARE_MESSAGE_MAP()

  private:
    void AddColumns();
    // The rows again after the list changed, with this row (if any) selected.
    void ShowRows(int selectRow);
    std::vector<int> SelectedRows() const;
    void UpdateButtons();
    void UseRow(int row);
    const Placement* PlacementOfRow(int row);
    std::string CellText(int row, int column);

    OutputList& m_list;
    FormControls& m_form;
    Placement m_chosen;
    // The last row read back from its line; painting asks for one cell at a time.
    int m_cachedRow = -1;
    bool m_cachedValid = false;
    Placement m_cached;
};
