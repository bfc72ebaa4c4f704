// XFileDialog: the program's modal file open and file save dialog over the system's common
// dialogs. The filter is one text of description|pattern pairs ending in "||".
#pragma once
#include <windows.h>

#include <commdlg.h>

#include <string>

#include "framework/Dialog.h"

class XFileDialog : public CDialog {
  public:
    XFileDialog(bool open, const char* defaultExtension = nullptr, const char* fileName = nullptr,
                DWORD flags = 0, const char* filter = nullptr, CWnd* parent = nullptr);
    ~XFileDialog() override;

    // IDOK with the chosen path in GetPathName(), or IDCANCEL.
    INT_PTR DoModal() override;
    std::string GetPathName() const { return m_fileName; }
    std::string GetFileTitle() const { return m_fileTitle; }
    OPENFILENAMEA m_ofn{};

  protected:
    // WM_NOTIFY from the system dialog; true when answered (the answer in *result).
    virtual bool OnNotify(OFNOTIFYA* notify, LRESULT* result);
    virtual UINT OnShareViolation(const char* path);
    virtual bool OnFileNameOK();
    virtual void OnLBSelChangedNotify(UINT, UINT, UINT) {}
    virtual void OnInitDone();
    virtual void OnFileNameChange() {}
    virtual void OnFolderChange() {}
    virtual void OnTypeChange() {}

  private:
    static UINT_PTR CALLBACK HookProc(HWND hook, UINT message, WPARAM wParam, LPARAM lParam);

    bool m_open;
    std::string m_filter;
    std::string m_defaultExtension;
    char m_fileTitle[64]{};
    char m_fileName[260]{};
};
