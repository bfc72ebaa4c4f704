#include "app/MainDialog.h"

#include <commctrl.h>

#include <cstring>
#include <optional>

#include "compiler/SceneryCompiler.h"
#include "common/AppStrings.h"
#include "common/LastError.h"
#include "common/Text.h"
#include "framework/Dpi.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"
#include "kml/KmlCommands.h"
#include "kml/KmlFile.h"
#include "placement/FieldChecks.h"
#include "placement/Message.h"
#include "placement/PlacementFile.h"
#include "placement/QuitPath.h"
#include "resource.h"
#include "ui/AboutDialog.h"
#include "ui/BuildResultsDialog.h"
#include "ui/FindObjectDialog.h"
#include "ui/ObjectPropertiesDialog.h"
#include "ui/OptionsDialog.h"
#include "ui/PlacementsDialog.h"
#include "ui/SelectSimDialog.h"
#include "ui/Settings.h"
#include "ui/SortedComboRows.h"
#include "ui/XFileDialog.h"

namespace {
// The resource type of a window's initial list rows: records of control id, add-row message,
// text length and text, ended by a zero id.
constexpr WORD kDialogInitType = 240;
constexpr WORD kAddStringMessage = 0x0403;

constexpr const char* kNameTooltip = "Object/Effect name";
constexpr const char* kBrowseEffectTooltip = "Browse for an effects file";

constexpr DWORD kSysCommandMask = 0xFFF0;

// Posted at the end of start-up, so that the command line's file opens in the running window.
constexpr UINT kOpenStartFileMessage = WM_APP + 1;
}  // namespace

// ---- the form over the real controls ------------------------------------------------------------

HWND DialogFormControls::Control(int id) const {
    return ::GetDlgItem(m_dialog.m_hWnd, id);
}

std::string DialogFormControls::GetText(int id, size_t maxChars) const {
    std::string text(maxChars + 1, '\0');
    int length = ::GetWindowTextA(Control(id), text.data(), int(maxChars + 1));
    text.resize(length > 0 ? size_t(length) : 0);
    return text;
}

void DialogFormControls::SetText(int id, std::string_view text) {
    ::SetWindowTextA(Control(id), std::string(text).c_str());
}

int DialogFormControls::GetSelectedRow(int id) const {
    LRESULT row = ::SendMessageA(Control(id), CB_GETCURSEL, 0, 0);
    return row == CB_ERR ? -1 : int(row);
}

int DialogFormControls::FindRowExact(int id, std::string_view text) const {
    // CB_FINDSTRINGEXACT ignores letter case, as the form asks.
    std::string wanted(text);
    LRESULT row =
        ::SendMessageA(Control(id), CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(wanted.c_str()));
    return row == CB_ERR ? -1 : int(row);
}

intptr_t DialogFormControls::GetRowData(int id, int row) const {
    if (row < 0)
        return -1;
    LRESULT data = ::SendMessageA(Control(id), CB_GETITEMDATA, WPARAM(row), 0);
    return data == CB_ERR ? -1 : intptr_t(data);
}

bool DialogFormControls::IsChecked(int id) const {
    return ::IsDlgButtonChecked(m_dialog.m_hWnd, id) == BST_CHECKED;
}

void DialogFormControls::EnableControl(int id, bool enable) {
    ::EnableWindow(Control(id), enable);
}

void DialogFormControls::SetTooltip(int id, std::string_view text) {
    m_dialog.m_toolTip.UpdateTipText(Control(id), text);
}

void DialogFormControls::FocusAndSelectAll(int id) {
    HWND control = Control(id);
    ::SetFocus(control);
    ::SendMessageA(control, EM_SETSEL, 0, -1);
    ::SendMessageA(control, EM_SCROLLCARET, 0, 0);
}

void DialogFormControls::CommandStateMayHaveChanged() {
    m_dialog.UpdateCommandState();
}

// ---- the window ---------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMainDialog, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_DESTROY()
ON_BN_CLICKED(IDC_ADD, &CMainDialog::OnAdd)
ON_BN_CLICKED(IDC_CLEAR, &CMainDialog::OnClear)
ON_BN_CLICKED(IDC_BROWSE_NAME, &CMainDialog::OnBrowseName)
ON_BN_CLICKED(IDC_BROWSE_OUTPUT, &CMainDialog::OnBrowseOutput)
ON_BN_CLICKED(IDC_SNAP_TO_GROUND, &CMainDialog::OnSnapToGround)
ON_CBN_SELCHANGE(IDC_TYPE, &CMainDialog::OnTypeChange)
ON_CBN_EDITCHANGE(IDC_TYPE, &CMainDialog::OnTypeChange)
ON_CBN_SELCHANGE(IDC_NAME, &CMainDialog::OnNameChange)
ON_CBN_EDITCHANGE(IDC_NAME, &CMainDialog::OnNameEdited)
ON_BN_CLICKED(IDC_VERSION, &CMainDialog::OnSelectVersion)
ON_CONTROL(STN_CLICKED, IDC_PICTURE, &CMainDialog::OnPictureClick)
ON_EN_KILLFOCUS(IDC_OUTPUT_FILE, &CMainDialog::OnKillfocusOutputFile)
ON_EN_KILLFOCUS(IDC_LATITUDE, &CMainDialog::OnKillfocusLatitude)
ON_EN_KILLFOCUS(IDC_LONGITUDE, &CMainDialog::OnKillfocusLongitude)
ON_EN_KILLFOCUS(IDC_ALTITUDE, &CMainDialog::OnKillfocusAltitude)
ON_EN_KILLFOCUS(IDC_PITCH, &CMainDialog::OnKillfocusPitch)
ON_EN_KILLFOCUS(IDC_BANK, &CMainDialog::OnKillfocusBank)
ON_EN_KILLFOCUS(IDC_HEADING, &CMainDialog::OnKillfocusHeading)
ON_BN_CLICKED(IDC_BUILD, &CMainDialog::OnBuild)
ON_MESSAGE(kOpenStartFileMessage, &CMainDialog::OnOpenStartFile)
ON_MESSAGE(WM_DPICHANGED, &CMainDialog::OnDpiChanged)
END_MESSAGE_MAP()

CMainDialog::CMainDialog(CWnd* parent) : CDialog(IDD_MAIN, parent) {
    m_icon = ::LoadIconA(CWinApp::ResourceInstance(), MAKEINTRESOURCEA(IDI_SCENEWRIGHT));
}

CMainDialog::~CMainDialog() = default;

void CMainDialog::DoDataExchange(CDataExchange* exchange) {
    DDX_Control(exchange, IDC_BUILD, m_buildButton);
    DDX_Control(exchange, IDC_VERSION, m_versionButton);
    DDX_Control(exchange, IDC_NAME_LABEL, m_nameLabel);
    DDX_Control(exchange, IDC_OUTPUT_FILE, m_outputFile);
    DDX_Control(exchange, IDC_TYPE, m_typeList);
    DDX_Control(exchange, IDC_NAME, m_nameBox);
    DDX_Control(exchange, IDC_BROWSE_NAME, m_browseNameButton);
    DDX_Control(exchange, IDC_PICTURE, m_picture);
    DDX_Control(exchange, IDC_LATITUDE, m_latitude);
    DDX_Control(exchange, IDC_LONGITUDE, m_longitude);
    DDX_Control(exchange, IDC_ALTITUDE, m_altitude);
    DDX_Control(exchange, IDC_ALTITUDE_LABEL, m_altitudeLabel);
    DDX_Control(exchange, IDC_SNAP_TO_GROUND, m_snapToGround);
    DDX_Control(exchange, IDC_PITCH, m_pitch);
    DDX_Control(exchange, IDC_BANK, m_bank);
    DDX_Control(exchange, IDC_HEADING, m_heading);
    DDX_Control(exchange, IDC_DENSITY, m_density);
    DDX_Control(exchange, IDC_PARAMETERS, m_parameters);
    DDX_Control(exchange, IDC_CLEAR, m_clearButton);
    DDX_Control(exchange, IDC_ADD, m_addButton);
}

void CMainDialog::FillListsFromTemplateData() {
    HINSTANCE instance = CWinApp::ResourceInstance();
    HRSRC found =
        ::FindResourceA(instance, MAKEINTRESOURCEA(IDD_MAIN), MAKEINTRESOURCEA(kDialogInitType));
    if (!found)
        return;
    const BYTE* data = static_cast<const BYTE*>(::LockResource(::LoadResource(instance, found)));
    const BYTE* end = data ? data + ::SizeofResource(instance, found) : nullptr;
    while (data && data + 8 <= end) {
        WORD id, message;
        DWORD length;
        std::memcpy(&id, data, 2);
        std::memcpy(&message, data + 2, 2);
        std::memcpy(&length, data + 4, 4);
        data += 8;
        if (id == 0 || length > size_t(end - data))
            break;
        if (message == kAddStringMessage) {
            std::string row(reinterpret_cast<const char*>(data), length);
            row.resize(std::strlen(row.c_str()));
            SendDlgItemMessageA(m_hWnd, id, CB_ADDSTRING, 0, LPARAM(row.c_str()));
        }
        data += length;
    }
}

void CMainDialog::AddSystemMenuEntries() {
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    if (!menu)
        return;
    static const struct {
        unsigned text;
        UINT command;
    } kEntries[] = {
        {IDS_OPTIONS_MENU, IDM_OPTIONS},       {IDS_ABOUT_MENU, IDM_ABOUTBOX},
        {IDS_PLACEMENTS_MENU, IDM_PLACEMENTS}, {IDS_FIND_MENU, IDM_FIND},
        {IDS_EXPORT_KML_MENU, IDM_EXPORT_KML}, {IDS_IMPORT_KML_MENU, IDM_IMPORT_KML},
        {IDS_RESCAN_MENU, IDM_RESCAN},
    };
    bool first = true;
    for (const auto& entry : kEntries) {
        std::string text = LoadAppString(entry.text);
        if (text.empty())
            continue;
        // The window's own entries stand apart from the system's.
        if (first)
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        first = false;
        ::AppendMenuA(menu, MF_STRING, entry.command, text.c_str());
    }
}

void CMainDialog::AddToolTips() {
    static const struct {
        int id;
        const char* text;
    } kTips[] = {
        {IDC_OUTPUT_FILE, "Output file name"},
        {IDC_BROWSE_OUTPUT, "Browse for an output file"},
        {IDC_TYPE, "Object type"},
        {IDC_NAME, kNameTooltip},
        {IDC_BROWSE_NAME, kBrowseEffectTooltip},
        {IDC_PICTURE, "Click me for a different airplane!"},
        {IDC_LATITUDE, "Latitude, in any reasonable format"},
        {IDC_LONGITUDE, "Longitude, in any reasonable format"},
        {IDC_ALTITUDE, "Altitude, in meters MSL"},
        {IDC_SNAP_TO_GROUND, "Place object on the ground"},
        {IDC_PITCH, "Pitch, 0 to 360 degrees"},
        {IDC_BANK, "Bank, 0 to 360 degrees"},
        {IDC_HEADING, "Heading, 0 to 360 degrees"},
        {IDC_DENSITY, "Minimum scenery density for object to appear"},
        {IDC_PARAMETERS,
         "Parameters for the selected item. Edit values as needed, remove those you don't want"},
        {IDC_CLEAR, "Clear the output file"},
        {IDC_ADD, "Add the object to the output file"},
        {IDC_BUILD, "Build the bgl file"},
        {IDOK, "Quit"},
    };
    m_toolTip.Create(m_hWnd, TTS_ALWAYSTIP | TTS_BALLOON);
    for (const auto& tip : kTips)
        m_toolTip.AddTool(GetDlgItem(tip.id), tip.text);
    m_toolTip.Activate(true);
}

BOOL CMainDialog::OnInitDialog() {
    // The start-up's own focus changes are no user leaving a field: a message box (the warning
    // of a missing simulator) hands the focus to the first box as it closes, and moving it on
    // would check that box and report the empty Name list.
    m_startingUp = true;
    CDialog::OnInitDialog();
    FillListsFromTemplateData();
    AddSystemMenuEntries();
    AddToolTips();
    SendMessage(WM_SETICON, ICON_BIG, LPARAM(m_icon));
    SendMessage(WM_SETICON, ICON_SMALL, LPARAM(m_icon));

    Settings settings = LoadSettings();
    m_keepAssembler = settings.keepAssembler;
    m_viewOutput = settings.viewOutput;
    m_currentVersion = settings.defaultSim;

    m_caption = LoadAppString(IDS_CAPTION);
    SetMessageCaption(m_caption);
    SetMessageOwner(m_hWnd);

    if (!DiscoverSimVersions(&m_simVersions)) {
        ReportMessage(FormatText(limits::kMessage,
                                 "WARNING:%X Flight Simulator cannot be located. Some features "
                                 "may not work.",
                                 unsigned(GetLastErrorCode())),
                      message_kind::kPlain);
    }
    const int installed = CountInstalledVersions(m_simVersions);
    m_versionButton.EnableWindow(installed >= 2);
    m_currentVersion = ChooseInitialVersion(m_simVersions, m_currentVersion);

    ShowPicture(0);
    SetUpFormForVersion();
    m_outputList.ResetOutputList();
    if (!m_startFile.empty()) {
        ::PostMessageA(m_hWnd, kOpenStartFileMessage, 0, 0);
        // The opened file becomes the output file, so the focus starts at the object: leaving an
        // output file box that names an existing file asks whether to replace it.
        m_typeList.SetFocus();
        m_startingUp = false;
        return FALSE;
    }
    m_startingUp = false;
    return TRUE;
}

void CMainDialog::SetUpFormForVersion() {
    const int installed = CountInstalledVersions(m_simVersions);
    if (m_currentVersion != kNoSimVersion) {
        ShowVersionButton(m_simVersions[m_currentVersion].shortCode);
        m_versionButton.EnableWindow(installed >= 2);
        m_toolTip.AddTool(m_versionButton.m_hWnd,
                          installed >= 2 ? "Select an installed Flight Simulator version"
                                         : "Flight Simulator version");
    }
    RescanCatalogues();

    m_typeList.SendMessage(CB_SETCURSEL, 0, 0);
    OnTypeChange();

    ::CheckDlgButton(m_hWnd, IDC_SNAP_TO_GROUND, BST_CHECKED);
    OnSnapToGround();

    m_density.SendMessage(CB_SETCURSEL, 2, 0);
    FillDensityList();

    m_clearButton.EnableWindow(false);
    m_addButton.EnableWindow(false);
    m_buildButton.EnableWindow(false);

    m_latitude.SetWindowText("");
    m_longitude.SetWindowText("");
    m_altitude.SetWindowText("0.00");
    m_pitch.SetWindowText("0.00");
    m_bank.SetWindowText("0.00");
    m_heading.SetWindowText("0.00");
}

// Shown, the button joins the tab order, so that the keyboard reaches it as it reaches the rest
// of the form.
void CMainDialog::ShowVersionButton(const char* shortCode) {
    m_versionButton.SetWindowText(shortCode);
    ::SetWindowLongPtrA(m_versionButton.m_hWnd, GWL_STYLE, m_versionButton.GetStyle() | WS_TABSTOP);
    m_versionButton.ShowWindow(SW_SHOW);
}

const char* CMainDialog::CurrentInstallPath() const {
    return m_simVersions.InstallPath(m_currentVersion);
}

void CMainDialog::RescanCatalogues(KeptCatalogueUse use) {
    CWaitCursor wait;
    const char* installPath = CurrentInstallPath();
    ScanEffects(m_effects, installPath ? installPath : "");
    // The kept catalogue is tied to this very program file: a new build may list what an older
    // one refused.
    const std::string kept = KeptCatalogueFile();
    char program[MAX_PATH] = {};
    const DWORD programLength = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    const bool programKnown = programLength > 0 && programLength < MAX_PATH;
    ScanLibrariesKept(m_libraries, m_currentVersion, installPath ? installPath : "",
                      kept.empty() ? nullptr : kept.c_str(), programKnown ? program : nullptr, use);
    m_libraryRowOrder.clear();
    m_libraryFinder.Clear();
    m_effectFinder.Clear();
}

bool CMainDialog::PreTranslateMessage(MSG* message) {
    if (m_toolTip.m_hWnd && message->message >= WM_MOUSEFIRST && message->message <= WM_MOUSELAST) {
        // The tips are kept per control, so the control under the point must see the message
        // in its own coordinates.
        MSG relayed = *message;
        POINT screen = relayed.pt;
        if (HWND control = m_toolTip.WindowFromPoint(screen)) {
            POINT client = screen;
            ::ScreenToClient(control, &client);
            relayed.hwnd = control;
            relayed.lParam = MAKELPARAM(client.x, client.y);
        }
        m_toolTip.RelayEvent(&relayed);
    }
    if (message->message == WM_KEYDOWN && message->wParam == VK_RETURN &&
        ::GetFocus() != m_parameters.m_hWnd) {
        // Enter walks the form like Tab and never presses a button by accident.
        message->wParam = VK_TAB;
    }
    if (message->message == WM_KEYDOWN && message->wParam == 'L' && ::GetKeyState(VK_CONTROL) < 0 &&
        ::GetKeyState(VK_MENU) >= 0) {
        ShowPlacements();
        return true;
    }
    if (message->message == WM_KEYDOWN && message->wParam == 'F' && ::GetKeyState(VK_CONTROL) < 0 &&
        ::GetKeyState(VK_MENU) >= 0) {
        ShowFindObject();
        return true;
    }
    if (message->message == WM_KEYDOWN && message->wParam == VK_F5 &&
        ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0 &&
        ::GetKeyState(VK_SHIFT) >= 0) {
        // A held key repeats (bit 30: it was down before); one scan is what was asked for.
        if (!(message->lParam & (LPARAM(1) << 30)))
            OnRescan();
        return true;
    }
    return CDialog::PreTranslateMessage(message);
}

void CMainDialog::OnSysCommand(UINT command, LPARAM lParam) {
    switch (command & kSysCommandMask) {
        case IDM_ABOUTBOX: {
            CAboutDialog about;
            about.DoModal();
            break;
        }
        case IDM_OPTIONS: {
            COptionsDialog options(nullptr);
            options.m_keepAssembler = m_keepAssembler;
            options.m_viewOutput = m_viewOutput;
            if (options.DoModal() == IDOK) {
                m_keepAssembler = options.m_keepAssembler;
                m_viewOutput = options.m_viewOutput;
            }
            break;
        }
        case IDM_PLACEMENTS:
            ShowPlacements();
            break;
        case IDM_FIND:
            ShowFindObject();
            break;
        case IDM_EXPORT_KML:
            ExportToGoogleEarth();
            break;
        case IDM_IMPORT_KML:
            ImportFromGoogleEarth();
            break;
        case IDM_RESCAN:
            OnRescan();
            break;
        default:
            ::DefWindowProcA(m_hWnd, WM_SYSCOMMAND, command, lParam);
            break;
    }
}

void CMainDialog::ShowPlacements() {
    CPlacementsDialog placements(this, m_outputList, m_form);
    if (placements.DoModal() == IDOK)
        UsePlacement(FormEntriesFor(placements.Chosen(), m_libraries, m_effects));
}

void CMainDialog::UsePlacement(const FormEntries& entries) {
    m_typeList.SendMessage(CB_SETCURSEL, WPARAM(entries.type));
    OnTypeChange();
    if (entries.type == ObjectType::EFFECT || entries.type == ObjectType::LIBRARY) {
        int row = -1;
        const int rows = int(m_nameBox.SendMessage(CB_GETCOUNT));
        for (int i = 0; i < rows && row < 0 && entries.catalogueEntry >= 0; ++i) {
            if (m_form.GetRowData(IDC_NAME, i) == entries.catalogueEntry)
                row = i;
        }
        m_nameBox.SendMessage(CB_SETCURSEL, WPARAM(row));
        if (row < 0)
            m_nameBox.SetWindowText(entries.name);
        OnNameChange();
    }
    m_latitude.SetWindowText(entries.latitude);
    m_longitude.SetWindowText(entries.longitude);
    ::CheckDlgButton(m_hWnd, IDC_SNAP_TO_GROUND,
                     entries.snapToGround ? BST_CHECKED : BST_UNCHECKED);
    // The focus stays where it is: moving it would run the check of the box it leaves (the
    // replace question of an output file box naming the opened file, say).
    ShowAltitudeState();
    if (!entries.snapToGround)
        m_altitude.SetWindowText(entries.altitude);
    m_pitch.SetWindowText(entries.pitch);
    m_bank.SetWindowText(entries.bank);
    m_heading.SetWindowText(entries.heading);
    m_density.SendMessage(CB_SETCURSEL, WPARAM(m_form.FindRowExact(IDC_DENSITY, entries.density)));
    // Last: choosing a library object has filled the parameter box with its template.
    m_parameters.SetWindowText(entries.parameters);
    // A name that is no row of the list is the placement's own, not a fault to report.
    EnableCommands();
}

void CMainDialog::ShowFindObject() {
    const ObjectType kind =
        CurrentType() == ObjectType::EFFECT ? ObjectType::EFFECT : ObjectType::LIBRARY;
    CFindObjectDialog find(
        this,
        FindSources{m_libraries, m_effects,
                    [this](ObjectType which) -> ObjectFinder& { return FinderFor(which); }},
        kind);
    if (find.DoModal() == IDOK)
        UseFoundObject(find.ChosenKind(), find.ChosenPosition());
}

// As a pick in the lists does it: the kind first, when it changes, then the row of the Name list.
void CMainDialog::UseFoundObject(ObjectType kind, uint32_t position) {
    if (CurrentType() != kind) {
        m_typeList.SendMessage(CB_SETCURSEL, WPARAM(kind));
        OnTypeChange();
    }
    // The list holds its rows in the finder's order, so the row's place there is where to look
    // first.
    const int rows = int(m_nameBox.SendMessage(CB_GETCOUNT));
    int row = int(FinderFor(kind).PlaceInOrder(position));
    if (m_form.GetRowData(IDC_NAME, row) != intptr_t(position)) {
        row = -1;
        for (int i = 0; i < rows && row < 0; ++i) {
            if (m_form.GetRowData(IDC_NAME, i) == intptr_t(position))
                row = i;
        }
    }
    if (row < 0)
        return;
    m_nameBox.SendMessage(CB_SETCURSEL, WPARAM(row));
    OnNameChange();
}

void CMainDialog::ExportToGoogleEarth() {
    if (!CanExportKml(m_outputList))
        return;
    const std::string proposed = KmlPathFor(m_outputList.outputPath);
    XFileDialog browse(false, "kml", proposed.empty() ? nullptr : proposed.c_str(),
                       OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
                       LoadAppString(IDS_KML_EXPORT_FILTER).c_str(), this);
    if (browse.DoModal() != IDOK)
        return;
    CBusyCursor busy;
    ExportKmlFile(m_outputList, browse.GetPathName(), &m_libraries, busy.Callback());
}

void CMainDialog::ImportFromGoogleEarth() {
    // The fields first: a file is not chosen and read only to be refused for them. The field
    // being typed in still has the focus, which a refusal's message box takes: as on leaving it,
    // that loss is not checked again.
    m_checkingFields = true;
    const std::optional<Placement> made = PlacementForImport(m_form, m_libraries, m_effects);
    m_checkingFields = false;
    if (!made)
        return;
    XFileDialog browse(true, "kml", nullptr, OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
                       LoadAppString(IDS_KML_IMPORT_FILTER).c_str(), this);
    if (browse.DoModal() != IDOK)
        return;
    const std::string path = browse.GetPathName();
    KmlReadResult read;
    {
        CWaitCursor wait;
        read = ReadKmlFile(path);
    }
    CBusyCursor busy;
    ImportKmlPoints(m_outputList, m_form, *made, read, path, busy.Callback());
}

LRESULT CMainDialog::OnOpenStartFile(WPARAM, LPARAM) {
    CBusyCursor busy;
    OpenPlacementFile(m_outputList, m_form, m_startFile, busy.Callback());
    return 0;
}

void CMainDialog::OnPaint() {
    if (::IsIconic(m_hWnd)) {
        CPaintDC dc(m_hWnd);
        SendMessage(WM_ICONERASEBKGND, WPARAM(HDC(dc)), 0);
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(HDC(dc), x, y, m_icon);
    } else {
        Default();
    }
}

HCURSOR CMainDialog::OnQueryDragIcon() {
    return HCURSOR(m_icon);
}

ObjectType CMainDialog::CurrentType() const {
    return ObjectType(int(::SendMessageA(m_typeList.m_hWnd, CB_GETCURSEL, 0, 0)));
}

// Effects are few and added as they come; the library's rows are put in the box's own sorted
// order, worked out once per catalogue, so that choosing the kind does not wait on the box
// sorting tens of thousands of names.
void CMainDialog::FillNameList(ObjectType type) {
    if (type == ObjectType::EFFECT) {
        size_t position = 0;
        for (const EffectEntry& entry : m_effects) {
            LRESULT row = m_nameBox.SendMessage(CB_ADDSTRING, 0, LPARAM(entry.displayName.c_str()));
            if (row >= 0)
                m_nameBox.SendMessage(CB_SETITEMDATA, WPARAM(row), LPARAM(position));
            ++position;
        }
    } else {
        auto textOf = [this](size_t position) { return LibraryRowText(position); };
        if (m_libraryRowOrder.size() != m_libraries.Count())
            m_libraryRowOrder = SortedRowOrder(m_nameBox.m_hWnd, m_libraries.Count(), textOf);
        AppendSortedRows(m_nameBox.m_hWnd, m_libraryRowOrder, textOf);
    }
    if (m_nameBox.SendMessage(CB_GETCOUNT) > 0)
        m_nameBox.SendMessage(CB_SETCURSEL, 0, 0);
}

// A nameless object still needs a row the user can tell apart.
const char* CMainDialog::LibraryRowText(size_t position) const {
    const LibraryObject& object = *m_libraries.At(intptr_t(position));
    return object.name ? object.name->c_str() : object.guidText.c_str();
}

// Built on first use after each scan, in the Name list's order: choosing a kind or starting the
// program pays nothing for a window the user may never open.
ObjectFinder& CMainDialog::FinderFor(ObjectType kind) {
    ObjectFinder& finder = kind == ObjectType::EFFECT ? m_effectFinder : m_libraryFinder;
    if (finder.Built())
        return finder;
    CWaitCursor wait;
    if (kind == ObjectType::EFFECT) {
        finder.Build(m_effects,
                     SortedRowOrder(m_nameBox.m_hWnd, m_effects.Count(), [this](size_t position) {
                         return m_effects.At(position)->displayName.c_str();
                     }));
    } else {
        if (m_libraryRowOrder.size() != m_libraries.Count()) {
            m_libraryRowOrder =
                SortedRowOrder(m_nameBox.m_hWnd, m_libraries.Count(),
                               [this](size_t position) { return LibraryRowText(position); });
        }
        finder.Build(m_libraries, m_libraryRowOrder);
    }
    return finder;
}

void CMainDialog::OnTypeChange() {
    m_nameBox.SendMessage(CB_RESETCONTENT);
    m_nameBox.SetWindowText("");
    const int row = int(m_typeList.SendMessage(CB_GETCURSEL));
    if (row >= 0 && row < kObjectTypeCount) {
        const ObjectType type = ObjectType(row);
        switch (type) {
            case ObjectType::EFFECT:
                m_parameters.SetWindowText(ParameterTemplate(type));
                FillNameList(type);
                break;
            case ObjectType::LIBRARY:
                m_parameters.SetWindowText("");
                FillNameList(type);
                break;
            case ObjectType::WINDSOCK:
            case ObjectType::BUILDING:
                m_browseNameButton.EnableWindow(false);
                m_nameBox.EnableWindow(false);
                m_nameLabel.EnableWindow(false);
                m_parameters.SetWindowText(ParameterTemplate(type));
                m_toolTip.UpdateTipText(m_browseNameButton.m_hWnd,
                                        type == ObjectType::WINDSOCK ? "No options for windsocks"
                                                                     : "No options for buildings");
                break;
        }
    }
    OnNameChange();
    FillDensityList();
}

void CMainDialog::OnNameChange() {
    std::string tip = kNameTooltip;
    const ObjectType type = CurrentType();
    const int row = int(m_nameBox.SendMessage(CB_GETCURSEL));
    const intptr_t position = m_form.GetRowData(IDC_NAME, row);
    auto enableName = [this](bool enable) {
        m_nameBox.EnableWindow(enable);
        m_nameLabel.EnableWindow(enable);
        m_browseNameButton.EnableWindow(enable);
    };
    if (type == ObjectType::LIBRARY) {
        enableName(!m_libraries.Empty());
        if (m_libraries.Empty())
            tip = "No objects";
        if (const LibraryObject* object = row >= 0 ? m_libraries.At(position) : nullptr) {
            tip = object->guidText;
            m_toolTip.UpdateTipText(m_browseNameButton.m_hWnd,
                                    FormatText(limits::kPath, "Properties for \"%s\"",
                                               object->name.value_or("").c_str()));
            m_parameters.SetWindowText(FillLibraryTemplate(*object));
        }
    } else if (type == ObjectType::EFFECT) {
        enableName(m_effects.Count() > 0);
        if (m_effects.Count() == 0)
            tip = "No effects";
        m_toolTip.UpdateTipText(m_browseNameButton.m_hWnd, kBrowseEffectTooltip);
        if (const EffectEntry* entry =
                row >= 0 && position >= 0 ? m_effects.At(size_t(position)) : nullptr) {
            tip = entry->filePath;
        }
    }
    m_toolTip.UpdateTipText(m_nameBox.m_hWnd, tip);
}

// The box's own handling of an edit drops the row that completion selected. A typed text that
// names a row exactly (in any letter case) selects it again, so that the row, its template and
// its tooltips agree as after a pick from the list. Text set by the program is left alone.
void CMainDialog::OnNameEdited() {
    HWND focus = ::GetFocus();
    const bool typed = focus == m_nameBox.m_hWnd || ::IsChild(m_nameBox.m_hWnd, focus);
    if (typed && m_form.GetSelectedRow(IDC_NAME) < 0) {
        const int row = m_form.FindRowExact(IDC_NAME, m_form.GetText(IDC_NAME, limits::kPath));
        if (row >= 0) {
            // Selecting rewrites the text; the caret and the completed part stay as typing left
            // them.
            DWORD start = 0;
            DWORD end = 0;
            m_nameBox.SendMessage(CB_GETEDITSEL, WPARAM(&start), LPARAM(&end));
            m_nameBox.SendMessage(CB_SETCURSEL, WPARAM(row));
            m_nameBox.SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(start, end));
        }
    }
    OnNameChange();
}

void CMainDialog::FillDensityList() {
    LRESULT selected = m_density.SendMessage(CB_GETCURSEL);
    m_density.SendMessage(CB_RESETCONTENT);
    const int rows =
        CurrentType() == ObjectType::EFFECT ? kEffectDensityCount : kSceneryDensityCount;
    for (int i = 0; i < rows; ++i) {
        m_density.SendMessage(CB_ADDSTRING, 0, LPARAM(SceneryDensityName(SceneryDensity(i))));
    }
    if (selected < 0 || selected >= rows)
        selected = int(SceneryDensity::Normal);
    m_density.SendMessage(CB_SETCURSEL, WPARAM(selected));
}

void CMainDialog::OnSnapToGround() {
    ShowAltitudeState();
    if (!m_form.IsChecked(IDC_SNAP_TO_GROUND))
        m_form.FocusAndSelectAll(IDC_ALTITUDE);
}

void CMainDialog::ShowAltitudeState() {
    const bool snap = m_form.IsChecked(IDC_SNAP_TO_GROUND);
    m_altitudeLabel.EnableWindow(!snap);
    if (snap)
        m_altitude.SetWindowText("0.00");
    m_altitude.EnableWindow(!snap);
}

// The picture at the window's scaling, whole within the control's area (which the dialog's font
// scales, not quite as the scaling does), its white still exactly white.
void CMainDialog::ShowPicture(int index) {
    m_pictureIndex = UINT(index);
    ShowPictureForDpi(m_picture.m_hWnd, IDB_AIRPLANE_FIRST + UINT(index), false);
}

// The system lays the window out again for the new scaling; the picture follows it.
LRESULT CMainDialog::OnDpiChanged(WPARAM, LPARAM) {
    const LRESULT result = Default();
    ShowPicture(int(m_pictureIndex));
    return result;
}

// The picture control never frees the bitmap it was handed; the last one shown goes with the
// window.
void CMainDialog::OnDestroy() {
    FreePicture(m_picture.m_hWnd);
    Default();
}

void CMainDialog::OnPictureClick() {
    ShowPicture(int((m_pictureIndex + 1) % (IDB_AIRPLANE_LAST - IDB_AIRPLANE_FIRST + 1)));
}

void CMainDialog::OnAdd() {
    m_outputList.AddPlacementAndConfirm(m_form, m_libraries, m_effects);
}

void CMainDialog::OnClear() {
    m_outputList.Clear(m_form);
}

void CMainDialog::OnBrowseName() {
    if (CurrentType() == ObjectType::LIBRARY) {
        const int row = m_form.GetSelectedRow(IDC_NAME);
        if (const LibraryObject* object =
                row >= 0 ? m_libraries.At(m_form.GetRowData(IDC_NAME, row)) : nullptr) {
            CObjectPropertiesDialog properties(this, object);
            properties.DoModal();
        }
        return;
    }
    XFileDialog browse(true, "fx", nullptr, OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
                       "Effects files (*.fx)|*.fx|All Files (*.*)|*.*||", this);
    if (browse.DoModal() != IDOK)
        return;
    // The file stands on its own: the row picked before no longer names the effect.
    m_nameBox.SendMessage(CB_SETCURSEL, WPARAM(-1));
    m_form.SetText(IDC_NAME, std::string(FileNameOf(browse.GetPathName())));
    OnNameChange();
}

void CMainDialog::OnBrowseOutput() {
    XFileDialog browse(false, "csv", nullptr, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
                       LoadAppString(IDS_PLACEMENT_FILE_FILTER).c_str(), this);
    if (browse.DoModal() != IDOK)
        return;
    m_outputList.SetOutputPath(CutText(browse.GetPathName(), limits::kPath));
    m_form.SetText(IDC_OUTPUT_FILE, m_outputList.outputPath);
}

void CMainDialog::OnSelectVersion() {
    CSelectSimDialog select(this, &m_simVersions);
    select.m_selectedIndex = m_currentVersion;
    if (select.DoModal() != IDOK)
        return;
    // OK without a chosen row keeps the version the catalogues belong to.
    if (select.m_selectedIndex == kNoSimVersion)
        return;
    m_currentVersion = select.m_selectedIndex;
    ShowVersionButton(m_simVersions[m_currentVersion].shortCode);
    RescanCatalogues();
    OnTypeChange();
}

// The install as it is now, for an add-on installed while the program runs or a library file
// replaced by one of the same size and time, which the kept catalogue cannot tell from the old
// one. The lists are filled again as after a version change, but the form keeps what the user
// chose and wrote: the same object or effect when it is still listed, a typed name, and
// parameters edited away from what the window filled in.
void CMainDialog::OnRescan() {
    CWaitCursor wait;
    const ObjectType type = CurrentType();
    const int row = m_form.GetSelectedRow(IDC_NAME);
    const intptr_t position = m_form.GetRowData(IDC_NAME, row);
    const std::string name = m_form.GetText(IDC_NAME, limits::kPath);
    const std::string parameters = m_form.GetText(IDC_PARAMETERS, limits::kParameterBox);
    std::string filled;
    std::optional<LibraryObject> object;
    std::string effectFile;
    if (type == ObjectType::LIBRARY) {
        if (const LibraryObject* chosen = row >= 0 ? m_libraries.At(position) : nullptr) {
            object = *chosen;
            filled = FillLibraryTemplate(*chosen);
        }
    } else {
        filled = ParameterTemplate(type);
        if (const EffectEntry* chosen = type == ObjectType::EFFECT && row >= 0 && position >= 0
                                            ? m_effects.At(size_t(position))
                                            : nullptr)
            effectFile = chosen->filePath;
    }

    RescanCatalogues(KeptCatalogueUse::ScanAgain);
    OnTypeChange();

    // Nothing chosen or typed before: the first row, as after a version change.
    if ((type == ObjectType::EFFECT || type == ObjectType::LIBRARY) &&
        (row >= 0 || !name.empty())) {
        int again = -1;
        const int rows = int(m_nameBox.SendMessage(CB_GETCOUNT));
        for (int i = 0; i < rows && again < 0 && (object || !effectFile.empty()); ++i) {
            const intptr_t at = m_form.GetRowData(IDC_NAME, i);
            if (object) {
                const LibraryObject* listed = m_libraries.At(at);
                if (listed && listed->guid == object->guid &&
                    listed->libraryPath == object->libraryPath)
                    again = i;
            } else if (const EffectEntry* listed = at >= 0 ? m_effects.At(size_t(at)) : nullptr) {
                if (listed->filePath == effectFile)
                    again = i;
            }
        }
        if (again < 0)
            again = m_form.FindRowExact(IDC_NAME, name);
        m_nameBox.SendMessage(CB_SETCURSEL, WPARAM(again));
        if (again < 0)
            m_nameBox.SetWindowText(name);
        OnNameChange();
    }
    if (parameters != filled)
        m_parameters.SetWindowText(parameters);
}

void CMainDialog::OnKillfocusOutputFile() {
    // The check moves the focus back on refusal; leaving it must not run twice.
    static bool checking = false;
    if (checking || m_startingUp)
        return;
    checking = true;
    m_outputList.CheckOutputFileName(m_form);
    checking = false;
}

void CMainDialog::CheckFieldOnLeaving(int field) {
    // A refused field's message box takes the focus from whichever field had it; that loss is
    // not checked inside the box.
    if (m_checkingFields || m_startingUp)
        return;
    m_checkingFields = true;
    OnFieldLostFocus(m_form, field);
    m_checkingFields = false;
}

void CMainDialog::OnKillfocusLatitude() {
    CheckFieldOnLeaving(IDC_LATITUDE);
}
void CMainDialog::OnKillfocusLongitude() {
    CheckFieldOnLeaving(IDC_LONGITUDE);
}
void CMainDialog::OnKillfocusAltitude() {
    CheckFieldOnLeaving(IDC_ALTITUDE);
}
void CMainDialog::OnKillfocusPitch() {
    CheckFieldOnLeaving(IDC_PITCH);
}
void CMainDialog::OnKillfocusBank() {
    CheckFieldOnLeaving(IDC_BANK);
}
void CMainDialog::OnKillfocusHeading() {
    CheckFieldOnLeaving(IDC_HEADING);
}

void CMainDialog::UpdateCommandState() {
    const ObjectType type = CurrentType();
    if ((type == ObjectType::EFFECT || type == ObjectType::LIBRARY) &&
        m_form.GetSelectedRow(IDC_NAME) < 0 &&
        m_form.FindRowExact(IDC_NAME, m_form.GetText(IDC_NAME, limits::kPath)) < 0) {
        ReportMessage("GCS RETURNED CB_ERR", message_kind::kPlain);
    }
    EnableCommands();
}

void CMainDialog::EnableCommands() {
    if (m_form.GetText(IDC_OUTPUT_FILE, limits::kPath).size() > 1 &&
        m_form.GetText(IDC_LATITUDE, limits::kShortField).size() > 1 &&
        m_form.GetText(IDC_LONGITUDE, limits::kShortField).size() > 1) {
        m_addButton.EnableWindow(true);
    }
    if (m_outputList.placementCount > 0) {
        m_clearButton.EnableWindow(true);
        m_buildButton.EnableWindow(true);
    }
}

void CMainDialog::OnBuild() {
    BuildRequest request{m_outputList.outputPath, m_keepAssembler != 0, m_viewOutput != 0};
    BuildScenery([this] { return m_outputList.WriteOutputFile(); }, request,
                 [this](const std::string& output) {
                     CBuildResultsDialog results(this, output);
                     results.DoModal();
                 });
}

void CMainDialog::OnOK() {
    if (ConfirmQuit(m_outputList, m_form, [this] {
            SaveSettings(Settings{m_keepAssembler, m_viewOutput, m_currentVersion});
        })) {
        EndDialog(IDOK);
    }
}

void CMainDialog::OnCancel() {
    if (ConfirmCancel(m_outputList))
        EndDialog(IDCANCEL);
}
