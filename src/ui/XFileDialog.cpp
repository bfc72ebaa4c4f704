#include "ui/XFileDialog.h"

#include <cstring>

#include "framework/WinApp.h"

XFileDialog::XFileDialog(bool open, const char* defaultExtension, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : CDialog(UINT(0), parent), m_open(open) {
    // The system reads the filter as zero-separated items ending in an empty one.
    if (filter) {
        m_filter = filter;
        for (char& c : m_filter)
            if (c == '|')
                c = '\0';
    }
    if (defaultExtension)
        m_defaultExtension = defaultExtension;
    if (fileName)
        ::lstrcpynA(m_fileName, fileName, int(sizeof m_fileName));

    // The size is this build's own: a 64-bit system rejects the 32-bit size, and then both
    // dialogs fail at once as though cancelled.
    m_ofn.lStructSize = sizeof(OPENFILENAMEA);
    m_ofn.hInstance = CWinApp::ResourceInstance();
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_fileName;
    m_ofn.nMaxFile = sizeof m_fileName;
    m_ofn.lpstrFileTitle = m_fileTitle;
    m_ofn.nMaxFileTitle = sizeof m_fileTitle;
    m_ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING;
    m_ofn.lpfnHook = &HookProc;
    m_ofn.lCustData = LPARAM(this);
}

XFileDialog::~XFileDialog() {
    m_hWnd = nullptr;
}

INT_PTR XFileDialog::DoModal() {
    size_t used = std::strlen(m_fileName);
    std::memset(m_fileName + used, 0, sizeof m_fileName - used);

    HWND focus = ::GetFocus();
    HWND owner = m_parent ? m_parent->m_hWnd : ::GetActiveWindow();
    if (owner)
        owner = ::GetAncestor(owner, GA_ROOT);
    bool disabledOwner = owner && ::IsWindowEnabled(owner);
    if (disabledOwner)
        ::EnableWindow(owner, FALSE);
    m_ofn.hwndOwner = owner;

    BOOL chosen = m_open ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);

    if (disabledOwner)
        ::EnableWindow(owner, TRUE);
    if (focus && ::IsWindow(focus))
        ::SetFocus(focus);
    m_hWnd = nullptr;
    return chosen ? IDOK : IDCANCEL;
}

UINT_PTR CALLBACK XFileDialog::HookProc(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    // The hook window is a child of the system dialog; it carries the object from its start.
    if (message == WM_INITDIALOG) {
        auto* ofn = reinterpret_cast<OPENFILENAMEA*>(lParam);
        ::SetWindowLongPtrA(hook, GWLP_USERDATA, ofn->lCustData);
        reinterpret_cast<XFileDialog*>(ofn->lCustData)->m_hWnd = ::GetParent(hook);
        return 0;
    }
    auto* self = reinterpret_cast<XFileDialog*>(::GetWindowLongPtrA(hook, GWLP_USERDATA));
    if (!self || message != WM_NOTIFY)
        return 0;
    LRESULT result = 0;
    if (!self->OnNotify(reinterpret_cast<OFNOTIFYA*>(lParam), &result))
        return 0;
    ::SetWindowLongPtrA(hook, DWLP_MSGRESULT, result);
    return 1;
}

bool XFileDialog::OnNotify(OFNOTIFYA* notify, LRESULT* result) {
    switch (notify->hdr.code) {
        case CDN_INITDONE:
            OnInitDone();
            return true;
        case CDN_SELCHANGE:
            OnFileNameChange();
            return true;
        case CDN_FOLDERCHANGE:
            OnFolderChange();
            return true;
        case CDN_SHAREVIOLATION:
            *result = OnShareViolation(notify->pszFile);
            return true;
        case CDN_HELP:
            if (!::SendMessageA(m_hWnd, WM_COMMAND, IDHELP, 0))
                ::PostMessageA(m_hWnd, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
            return true;
        case CDN_FILEOK:
            *result = OnFileNameOK() ? 1 : 0;
            return true;
        case CDN_TYPECHANGE:
            OnTypeChange();
            return true;
        default:
            return false;
    }
}

UINT XFileDialog::OnShareViolation(const char*) {
    return 0;
}

bool XFileDialog::OnFileNameOK() {
    return false;
}

void XFileDialog::OnInitDone() {
    // Centred on the owner, or on the screen when there is none; kept on the work area.
    CenterWindow(m_ofn.hwndOwner);
}
