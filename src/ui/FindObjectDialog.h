// The find window: the library objects or the effects of the current simulator found by any part
// of a name, a file name or an identifier, filtered as the user types. Modal over the main
// window; Use closes it with the chosen row, which the main window then picks in its Name list.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/StdControls.h"
#include "framework/ToolTipCtrl.h"
#include "placement/Placement.h"
#include "sim/Effects.h"
#include "sim/LibraryCatalogue.h"
#include "sim/ObjectFinder.h"
#include "ui/ResizableDialog.h"
#include "ui/TipListView.h"

// What the window searches: the main window's catalogues, and the finder of a kind (EFFECT or
// LIBRARY), which the main window builds once per catalogue.
struct FindSources {
    const LibraryCatalogue& libraries;
    const EffectsCatalogue& effects;
    std::function<ObjectFinder&(ObjectType kind)> finder;
};

class CFindObjectDialog : public CResizableDialog {
  public:
    // kind: the kind to start with, EFFECT or LIBRARY.
    CFindObjectDialog(CWnd* owner, FindSources sources, ObjectType kind);
    ~CFindObjectDialog() override = default;

    bool PreTranslateMessage(MSG* message) override;

    // After DoModal gave IDOK (Use): the kind and the catalogue position of the chosen row.
    ObjectType ChosenKind() const { return m_kind; }
    uint32_t ChosenPosition() const { return m_chosen; }
    CToolTipCtrl& ToolTip() { return m_rows.ToolTip(); }

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

  public:  // message handlers
    void OnTextChange();
    void OnKindChange();
    void OnGetDisplayInfo(NMHDR* header, LRESULT* result);
    void OnColumnClick(NMHDR* header, LRESULT* result);
    void OnSelectionChange(NMHDR* header, LRESULT* result);
    void OnDoubleClick(NMHDR* header, LRESULT* result);

    DECLARE_MESSAGE_MAP()

  private:
    void ShowKind();
    void Search();
    // The found rows in the order of the sorted column.
    void SortFound();
    // The found rows again, with this row (if any) selected and in view.
    void ShowFound(int selectRow);
    void ShowSortMark();
    int SelectedRow() const;
    void UseRow(int row);
    std::string CellText(int row, int column) const;
    std::string TipText(int row) const;

    FindSources m_sources;
    ObjectType m_kind;
    ObjectFinder* m_finder = nullptr;
    std::vector<uint32_t> m_found;  // catalogue positions, in the order shown
    int m_sortColumn = -1;          // -1: the finder's own order
    bool m_sortDescending = false;
    uint32_t m_chosen = 0;

    CEdit m_text;
    CWnd m_kindList;
    CTipListView m_rows;
    CWnd m_count;
};
