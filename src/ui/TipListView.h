// CTipListView: a report list view whose rows each show a tooltip, with the text a function gives
// for the row under the pointer, and whose columns, given in dialog units, keep their share of
// the list when the scaling changes.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "framework/ToolTipCtrl.h"
#include "framework/Wnd.h"

class CTipListView : public CWnd {
  public:
    // After the list is bound to its window.
    bool CreateTips(std::function<std::string(int row)> tipText);
    CToolTipCtrl& ToolTip() { return m_toolTip; }
    // The rows changed: a shown tip goes, and the tip follows the next move even over the same
    // row.
    void ForgetTipRow();
    // A column `width` dialog units of the list's dialog wide; format LVCFMT_LEFT or _RIGHT.
    void InsertColumn(int column, std::string heading, int width, int format);

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void ScaleColumns(UINT dpi);

    std::function<std::string(int row)> m_tipText;
    CToolTipCtrl m_toolTip;
    int m_tipRow = -1;
    UINT m_columnsDpi = 0;  // the scaling the column widths were set for
};
