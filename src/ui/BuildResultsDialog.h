// The compiler's output after a build, shown unchanged in a resizable window.
#pragma once

#include <string>

#include "ui/ResizableDialog.h"

class CBuildResultsDialog : public CResizableDialog {
  public:
    CBuildResultsDialog(CWnd* owner, std::string output);
    ~CBuildResultsDialog() override = default;

    CWnd m_output;

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

  private:
    std::string m_text;
};
