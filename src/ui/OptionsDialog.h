// The Options window: the two compiler-run options as check boxes. The caller sets the fields
// before DoModal and reads them back only when it ends with OK.
#pragma once

#include "framework/Dialog.h"
#include "framework/MessageMap.h"

class COptionsDialog : public CDialog {
  public:
    explicit COptionsDialog(CWnd* parent);
    ~COptionsDialog() override;

    CWnd m_keepAssemblerBox;
    CWnd m_viewOutputBox;
    int m_keepAssembler = 0;
    int m_viewOutput = 0;

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    DECLARE_MESSAGE_MAP()
};
