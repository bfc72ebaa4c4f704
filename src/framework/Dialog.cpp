#include "Dialog.h"

#include "WinApp.h"

namespace {
// The dialog being created on this thread and the hook that attaches it to its object before
// its first message (WM_NCCREATE), so that even WM_CREATE goes through the message map.
CDialog* dialogBeingCreated = nullptr;
HHOOK creationHook = nullptr;
}  // namespace

const MessageMap* CDialog::GetThisMessageMap() {
    static const MessageEntry entries[] = {{0, MessageMatch::kMessage, 0, 0, nullptr}};
    static const MessageMap map = {&CWnd::GetThisMessageMap, entries};
    return &map;
}

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_templateId(templateId), m_template(nullptr), m_parent(parent) {}

CDialog::CDialog(const DLGTEMPLATE* dialogTemplate, CWnd* parent)
    : m_templateId(0), m_template(dialogTemplate), m_parent(parent) {}

CDialog::~CDialog() {
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CDialog::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && dialogBeingCreated) {
        CDialog* dialog = dialogBeingCreated;
        dialogBeingCreated = nullptr;  // the dialog is the first window made; its controls follow
        dialog->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(creationHook, code, wParam, lParam);
}

// The dialog manager's procedure sees only what our window procedure passed on; it leaves all
// of it to the dialog manager's defaults. MSDN: FALSE means "not processed".
INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

HWND CDialog::CreateFromTemplate(HWND owner) {
    dialogBeingCreated = this;
    creationHook = ::SetWindowsHookExA(WH_CBT, &CreationHook, nullptr, ::GetCurrentThreadId());
    HINSTANCE instance = CWinApp::ResourceInstance();
    HWND window =
        m_template
            ? ::CreateDialogIndirectParamA(instance, m_template, owner, &DialogProc, 0)
            : ::CreateDialogParamA(instance, MAKEINTRESOURCEA(m_templateId), owner, &DialogProc, 0);
    ::UnhookWindowsHookEx(creationHook);
    creationHook = nullptr;
    dialogBeingCreated = nullptr;
    if (!window && m_hWnd)
        Detach();
    return window;
}

bool CDialog::Create() {
    return CreateFromTemplate(m_parent ? m_parent->m_hWnd : nullptr) != nullptr;
}

INT_PTR CDialog::DoModal() {
    HWND owner = m_parent ? m_parent->m_hWnd : ::GetActiveWindow();
    m_modal = true;
    m_endModal = false;
    m_result = -1;
    if (!CreateFromTemplate(owner)) {
        m_modal = false;
        return -1;
    }
    bool ownerEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerEnabled)
        ::EnableWindow(owner, FALSE);
    if (!m_endModal) {
        ::ShowWindow(m_hWnd, SW_SHOW);
        RunModalLoop();
    }
    // The owner gets the activation back before this window goes, as a modal dialog box does.
    if (ownerEnabled)
        ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(owner);
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    m_modal = false;
    return m_result;
}

bool CDialog::RunModalLoop() {
    MSG message;
    while (!m_endModal && m_hWnd) {
        BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                ::PostQuitMessage(int(message.wParam));  // leave WM_QUIT to the outer loop
            return false;
        }
        // Every object from the message's window up to this dialog may take the message.
        bool taken = false;
        for (HWND window = message.hwnd; window && !taken; window = ::GetParent(window)) {
            if (CWnd* object = FromHandlePermanent(window))
                taken = object->PreTranslateMessage(&message);
            if (window == m_hWnd)
                break;
        }
        if (!taken) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
    return true;
}

bool CDialog::PreTranslateMessage(MSG* message) {
    // Keyboard navigation (Tab, arrows, Enter, Escape, access keys) of the dialog manager.
    return message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST &&
           ::IsDialogMessageA(m_hWnd, message);
}

void CDialog::EndDialog(INT_PTR result) {
    m_result = result;
    if (m_modal) {
        m_endModal = true;
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the loop
    } else if (m_hWnd) {
        ::DestroyWindow(m_hWnd);
    }
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.m_failed;
}

void CDialog::NextDlgCtrl(HWND control) {
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, WPARAM(control), TRUE);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

// A window with an owner opens centred over it, where the user is looking; a window of its own
// (the program's main window) opens where the system puts it.
void CDialog::PlaceWindow() {
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && !(GetStyle() & WS_CHILD))
        CenterWindow(owner);
}

void CDialog::OnOK() {
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const BOOL result = OnInitDialog();
        if (m_hWnd)
            PlaceWindow();
        return result;
    }
    LRESULT result = 0;
    if (ReflectToChild(message, wParam, lParam, &result))
        return result;
    if (DispatchToMap(message, wParam, lParam, &result))
        return result;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return 0;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return 0;
        }
    }
    return Default();
}

void DDX_Control(CDataExchange* exchange, int id, CWnd& control) {
    if (!control.m_hWnd && !control.SubclassDlgItem(id, exchange->m_dialog))
        exchange->m_failed = true;
}

void DDX_Text(CDataExchange* exchange, int id, std::string& value, size_t maxChars) {
    HWND control = exchange->m_dialog->GetDlgItem(id);
    if (!exchange->m_saveAndValidate) {
        ::SetWindowTextA(control, value.c_str());
        return;
    }
    std::string text(maxChars + 1, '\0');
    int got = ::GetWindowTextA(control, text.data(), int(text.size()));
    text.resize(size_t(got < 0 ? 0 : got));
    value = text;
}

void DDX_Check(CDataExchange* exchange, int id, int& value) {
    HWND control = exchange->m_dialog->GetDlgItem(id);
    if (exchange->m_saveAndValidate)
        value = int(::SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(control, BM_SETCHECK, WPARAM(value), 0);
}
