// The compiler's output after a build, shown unchanged in a resizable window.
#pragma once

#include <string>

#include "ui/HoverEdit.h"
#include "ui/ResizableDialog.h"

class CBuildResultsDialog : public CResizableDialog {
  public:
    CBuildResultsDialog(CWnd* owner, std::string output);
    ~CBuildResultsDialog() override = default;

    CHoverEdit m_output;  // the flat edit, disabled: the user reads and cannot type

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

  private:
    std::string m_text;
};
