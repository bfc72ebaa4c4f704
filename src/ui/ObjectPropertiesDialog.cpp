#include "ui/ObjectPropertiesDialog.h"

#include <commctrl.h>

#include "common/Text.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CObjectPropertiesDialog, CDialog)
END_MESSAGE_MAP()

CObjectPropertiesDialog::CObjectPropertiesDialog(CWnd* parent, const LibraryObject* object)
    : CDialog(IDD_OBJECT_PROPERTIES, parent), m_object(object) {}

CObjectPropertiesDialog::~CObjectPropertiesDialog() = default;

void CObjectPropertiesDialog::DoDataExchange(CDataExchange* exchange) {
    DDX_Control(exchange, IDC_PROP_NAME, m_nameField);
    DDX_Control(exchange, IDC_PROP_LIBRARY, m_libraryField);
    DDX_Control(exchange, IDC_PROP_GUID, m_guidField);
    DDX_Control(exchange, IDC_PROP_SIZE, m_sizeField);
    DDX_Control(exchange, IDC_PROP_SCALE, m_scaleField);
}

bool CObjectPropertiesDialog::PreTranslateMessage(MSG* message) {
    if (m_toolTip.m_hWnd && message->message >= WM_MOUSEFIRST && message->message <= WM_MOUSELAST) {
        // The fields are disabled and get no mouse messages of their own, so the tip is found
        // by the point.
        MSG relayed = *message;
        if (HWND control = m_toolTip.WindowFromPoint(relayed.pt)) {
            POINT client = relayed.pt;
            ::ScreenToClient(control, &client);
            relayed.hwnd = control;
            relayed.lParam = MAKELPARAM(client.x, client.y);
        }
        m_toolTip.RelayEvent(&relayed);
    }
    return CDialog::PreTranslateMessage(message);
}

BOOL CObjectPropertiesDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    CWnd* fields[] = {&m_nameField, &m_libraryField, &m_guidField, &m_sizeField, &m_scaleField};
    if (!m_object) {
        for (CWnd* field : fields)
            field->SetWindowText("");
        return TRUE;
    }
    m_toolTip.Create(m_hWnd, TTS_ALWAYSTIP | TTS_BALLOON);
    m_toolTip.AddTool(m_nameField.m_hWnd, "Object name");
    m_toolTip.AddTool(m_libraryField.m_hWnd, "Library containing the object");
    m_toolTip.AddTool(m_guidField.m_hWnd, "Object guid");
    m_toolTip.AddTool(m_sizeField.m_hWnd, "Size, (radius) of the object, in meters");
    m_toolTip.AddTool(m_scaleField.m_hWnd,
                      "Design units scale of the object, 00010000 equals 1 meter/unit");
    m_toolTip.AddTool(GetDlgItem(IDOK), "Close");
    m_toolTip.Activate(true);

    const std::string name = m_object->name.value_or("");
    SetWindowText(FormatText(limits::kPath, "Properties for \"%s\"", name.c_str()));
    m_nameField.SetWindowText(name);
    const std::string& path = m_object->libraryPath;
    const size_t slash = path.find_last_of('\\');
    m_libraryField.SetWindowText(slash == std::string::npos ? path : path.substr(slash + 1));
    m_toolTip.UpdateTipText(m_libraryField.m_hWnd, path);
    m_guidField.SetWindowText(m_object->guidText);
    m_sizeField.SetWindowText(FormatText(limits::kShortField, "%d", int(m_object->radius)));
    m_scaleField.SetWindowText(FormatText(limits::kShortField, "%08X", unsigned(m_object->scale)));
    return TRUE;
}
