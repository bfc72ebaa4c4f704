// The read-only properties of one library object: name, library file, identifier, size, scale.
#pragma once
#include "framework/Dialog.h"
#include "framework/MessageMap.h"
#include "framework/ToolTipCtrl.h"
#include "sim/LibraryObject.h"
#include "ui/HoverEdit.h"

class CObjectPropertiesDialog : public CDialog {
  public:
    // The object stays owned by its catalogue; null shows empty fields.
    CObjectPropertiesDialog(CWnd* parent, const LibraryObject* object);
    ~CObjectPropertiesDialog() override;

    bool PreTranslateMessage(MSG* message) override;

    CHoverEdit m_nameField;
    CHoverEdit m_libraryField;
    CHoverEdit m_guidField;
    CHoverEdit m_sizeField;
    CHoverEdit m_scaleField;
    CToolTipCtrl m_toolTip;

  protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    DECLARE_MESSAGE_MAP()

  private:
    const LibraryObject* m_object;
};
