// The simulator selection window: the installed versions in table order; OK gives the chosen
// version's index, or -1 when no row is chosen.
#pragma once

#include "framework/Dialog.h"
#include "framework/MessageMap.h"
#include "sim/SimVersion.h"

class CSelectSimDialog : public CDialog {
  public:
    CSelectSimDialog(CWnd* parent, const SimVersionTable* table);
    ~CSelectSimDialog() override;

    CWnd m_versionList;
    int m_selectedIndex = kNoSimVersion;

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    DECLARE_MESSAGE_MAP()

  private:
    const SimVersionTable* m_table;
};
