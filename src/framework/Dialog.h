// CDialog: a window made from a dialog template of the program's resources, run modally in a
// message loop of our own (so that PreTranslateMessage sees queued messages) or modelessly.
// Controls are bound and their values exchanged in DoDataExchange.
#pragma once
#include <string>

#include "Wnd.h"

class CDialog;

class CDataExchange {
  public:
    CDataExchange(CDialog* dialog, bool saveAndValidate)
        : m_dialog(dialog), m_saveAndValidate(saveAndValidate) {}
    CDialog* m_dialog;
    bool m_saveAndValidate;  // true: controls to data; false: data to controls
    bool m_failed = false;
};

// Binds a control object to the template's control with this id (once).
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);
// A control's text, at most maxChars characters when read.
void DDX_Text(CDataExchange* exchange, int id, std::string& value, size_t maxChars = 259);
// A check box's state: 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* exchange, int id, int& value);

class CDialog : public CWnd {
  public:
    CDialog(UINT templateId, CWnd* parent);
    // From a template in memory; tests build their own.
    CDialog(const DLGTEMPLATE* dialogTemplate, CWnd* parent);
    ~CDialog() override;

    // Runs the window until EndDialog; gives its result, or -1 when the window could not be made.
    virtual INT_PTR DoModal();
    // Creates the window without a loop of its own; false when it could not be made.
    bool Create();
    void EndDialog(INT_PTR result);
    bool UpdateData(bool saveAndValidate = true);
    void NextDlgCtrl(HWND control);  // moves the focus the way the dialog manager does

    bool PreTranslateMessage(MSG* message) override;

    static const MessageMap* GetThisMessageMap();

  protected:
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual BOOL OnInitDialog();
    // Where the window opens, after OnInitDialog and before it is first shown.
    virtual void PlaceWindow();
    virtual void DoDataExchange(CDataExchange*) {}
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_templateId;
    const DLGTEMPLATE* m_template;
    CWnd* m_parent;

  private:
    HWND CreateFromTemplate(HWND owner);
    bool RunModalLoop();
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);

    bool m_modal = false;
    bool m_endModal = false;
    INT_PTR m_result = -1;
};
