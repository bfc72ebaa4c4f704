#include "ui/FindObjectDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "common/AppStrings.h"
#include "common/Text.h"
#include "resource.h"

namespace {

// The kind list's rows.
constexpr ObjectType kKinds[] = {ObjectType::LIBRARY, ObjectType::EFFECT};

struct Column {
    UINT heading;
    int width;  // dialog units
    FoundColumn sortBy;
    bool number;
};
// Together they fill the list's width less its scroll bar. An identifier of the widest hex digits
// needs up to 192 dialog units (at 125 %); a nameless object shows its identifier as its name.
constexpr Column kLibraryColumns[] = {
    {IDS_FIND_COLUMN_NAME, 192, FoundColumn::Name, false},
    {IDS_FIND_COLUMN_LIBRARY_FILE, 70, FoundColumn::File, false},
    {IDS_FIND_COLUMN_RADIUS, 42, FoundColumn::Radius, true},
    {IDS_FIND_COLUMN_SCALE, 42, FoundColumn::Scale, true},
    {IDS_FIND_COLUMN_IDENTIFIER, 192, FoundColumn::Identifier, false},
};
constexpr Column kEffectColumns[] = {
    {IDS_FIND_COLUMN_DISPLAY_NAME, 269, FoundColumn::Name, false},
    {IDS_FIND_COLUMN_FILE, 269, FoundColumn::File, false},
};

// The list's keys that the search box hands on, so that the rows can be walked while typing.
bool IsListKey(WPARAM key) {
    return key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT;
}

// The grey hint the box shows while it is empty. The control takes the text only in UTF-16
// (EM_SETCUEBANNER); TRUE keeps it while the box has the focus, as it has when the window opens.
void SetCueBanner(CEdit& box, const std::string& cue) {
    std::wstring wide(cue.size() + 1, L'\0');
    if (::MultiByteToWideChar(CP_ACP, 0, cue.c_str(), -1, wide.data(), int(wide.size())) > 0)
        box.SendMessage(EM_SETCUEBANNER, TRUE, LPARAM(wide.c_str()));
}

}  // namespace

BEGIN_MESSAGE_MAP(CFindObjectDialog, CResizableDialog)
ON_EN_CHANGE(IDC_FIND_TEXT, &CFindObjectDialog::OnTextChange)
ON_CBN_SELCHANGE(IDC_FIND_KIND, &CFindObjectDialog::OnKindChange)
ON_NOTIFY(LVN_GETDISPINFOA, IDC_FIND_LIST, &CFindObjectDialog::OnGetDisplayInfo)
ON_NOTIFY(LVN_COLUMNCLICK, IDC_FIND_LIST, &CFindObjectDialog::OnColumnClick)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_FIND_LIST, &CFindObjectDialog::OnSelectionChange)
ON_NOTIFY(NM_DBLCLK, IDC_FIND_LIST, &CFindObjectDialog::OnDoubleClick)
END_MESSAGE_MAP()

CFindObjectDialog::CFindObjectDialog(CWnd* owner, FindSources sources, ObjectType kind)
    : CResizableDialog(IDD_FIND_OBJECT, owner),
      m_sources(std::move(sources)),
      m_kind(kind == ObjectType::EFFECT ? ObjectType::EFFECT : ObjectType::LIBRARY) {
    AddAnchor(IDC_FIND_TEXT, anchor::kStretchRight);
    AddAnchor(IDC_FIND_KIND, anchor::kMoveRight);
    AddAnchor(IDC_FIND_LIST, anchor::kStretchRight | anchor::kStretchDown);
    AddAnchor(IDC_FIND_COUNT, anchor::kMoveDown);
    AddAnchor(IDOK, anchor::kMoveRight | anchor::kMoveDown);
    AddAnchor(IDCANCEL, anchor::kMoveRight | anchor::kMoveDown);
}

void CFindObjectDialog::DoDataExchange(CDataExchange* exchange) {
    DDX_Control(exchange, IDC_FIND_TEXT, m_text);
    DDX_Control(exchange, IDC_FIND_KIND, m_kindList);
    DDX_Control(exchange, IDC_FIND_LIST, m_rows);
    DDX_Control(exchange, IDC_FIND_COUNT, m_count);
}

BOOL CFindObjectDialog::OnInitDialog() {
    CResizableDialog::OnInitDialog();
    SetCueBanner(m_text, LoadAppString(IDS_FIND_CUE));
    m_text.SendMessage(EM_LIMITTEXT, limits::kPath);
    for (size_t row = 0; row < std::size(kKinds); ++row) {
        const std::string name = LoadAppString(
            kKinds[row] == ObjectType::LIBRARY ? IDS_FIND_KIND_LIBRARY : IDS_FIND_KIND_EFFECTS);
        m_kindList.SendMessage(CB_ADDSTRING, 0, LPARAM(name.c_str()));
        if (kKinds[row] == m_kind)
            m_kindList.SendMessage(CB_SETCURSEL, WPARAM(row));
    }
    m_rows.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);

    m_rows.CreateTips([this](int row) { return TipText(row); });

    ShowKind();
    m_text.SetFocus();
    return FALSE;
}

bool CFindObjectDialog::PreTranslateMessage(MSG* message) {
    if (message->message == WM_KEYDOWN && message->hwnd == m_text.m_hWnd &&
        IsListKey(message->wParam) && !m_found.empty()) {
        m_rows.SendMessage(WM_KEYDOWN, message->wParam, message->lParam);
        return true;
    }
    return CResizableDialog::PreTranslateMessage(message);
}

// The columns of the kind, its finder (built on first use), and its rows for the text typed.
void CFindObjectDialog::ShowKind() {
    while (m_rows.SendMessage(LVM_DELETECOLUMN, 0))
        ;
    const bool library = m_kind == ObjectType::LIBRARY;
    const Column* columns = library ? kLibraryColumns : kEffectColumns;
    const size_t count = library ? std::size(kLibraryColumns) : std::size(kEffectColumns);
    for (size_t i = 0; i < count; ++i) {
        // The first column of a list view is always left-aligned.
        m_rows.InsertColumn(int(i), LoadAppString(columns[i].heading), columns[i].width,
                            columns[i].number && i > 0 ? LVCFMT_RIGHT : LVCFMT_LEFT);
    }
    m_sortColumn = -1;
    m_sortDescending = false;
    m_finder = &m_sources.finder(m_kind);
    Search();
}

void CFindObjectDialog::Search() {
    if (!m_finder)
        return;
    m_finder->Find(m_text.GetWindowText(), m_found);
    if (m_sortColumn >= 0)
        SortFound();
    ShowFound(m_found.empty() ? -1 : 0);
}

void CFindObjectDialog::SortFound() {
    const bool library = m_kind == ObjectType::LIBRARY;
    const Column* columns = library ? kLibraryColumns : kEffectColumns;
    m_finder->Sort(m_found, columns[m_sortColumn].sortBy, m_sortDescending,
                   library ? &m_sources.libraries : nullptr);
}

void CFindObjectDialog::ShowFound(int selectRow) {
    // The chosen row alone: a state set for every row (-1) visits all of tens of thousands.
    for (int row :
         {SelectedRow(), int(m_rows.SendMessage(LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED))}) {
        LVITEMA none{};
        none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        if (row >= 0)
            m_rows.SendMessage(LVM_SETITEMSTATE, WPARAM(row), LPARAM(&none));
    }
    // A new count redraws the scroll bar at once, a cost worth saving while typing narrows
    // nothing.
    if (size_t(m_rows.SendMessage(LVM_GETITEMCOUNT)) != m_found.size())
        m_rows.SendMessage(LVM_SETITEMCOUNT, WPARAM(m_found.size()), LVSICF_NOINVALIDATEALL);
    m_rows.ForgetTipRow();
    if (selectRow >= 0 && size_t(selectRow) < m_found.size()) {
        LVITEMA chosen{};
        chosen.state = chosen.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        m_rows.SendMessage(LVM_SETITEMSTATE, WPARAM(selectRow), LPARAM(&chosen));
        m_rows.SendMessage(LVM_ENSUREVISIBLE, WPARAM(selectRow), FALSE);
    }
    m_rows.Invalidate();

    const size_t total = m_finder->Count();
    const UINT format =
        m_kind == ObjectType::LIBRARY ? IDS_FIND_COUNT_LIBRARY : IDS_FIND_COUNT_EFFECTS;
    m_count.SetWindowText(FormatText(limits::kMessage, LoadAppString(format).c_str(),
                                     GroupedCount(m_found.size()).c_str(),
                                     GroupedCount(total).c_str()));
    ::EnableWindow(GetDlgItem(IDOK), SelectedRow() >= 0);
}

// A search for the selected row looks at the rows one by one up to it, at every row when there is
// none; the count and the focused row are kept by the list and answered at once.
int CFindObjectDialog::SelectedRow() const {
    if (m_rows.SendMessage(LVM_GETSELECTEDCOUNT) == 0)
        return -1;
    const int focused =
        int(m_rows.SendMessage(LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED | LVNI_SELECTED));
    return focused >= 0 ? focused
                        : int(m_rows.SendMessage(LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

std::string CFindObjectDialog::CellText(int row, int column) const {
    if (row < 0 || size_t(row) >= m_found.size())
        return std::string();
    const uint32_t position = m_found[size_t(row)];
    if (m_kind == ObjectType::EFFECT) {
        const EffectEntry* entry = m_sources.effects.At(position);
        if (!entry)
            return std::string();
        return column == 0 ? entry->displayName : std::string(FileNameOf(entry->filePath));
    }
    const LibraryObject* object = m_sources.libraries.At(intptr_t(position));
    if (!object)
        return std::string();
    switch (column) {
        case 0:
            // A nameless object shows as the Name list shows it.
            return object->name ? *object->name : object->guidText;
        case 1:
            return std::string(FileNameOf(object->libraryPath));
        case 2:
            return std::to_string(object->radius);
        case 3:
            return MetresPerUnitText(object->scale);
        case 4:
            return object->guidText;
        default:
            return std::string();
    }
}

std::string CFindObjectDialog::TipText(int row) const {
    if (row < 0 || size_t(row) >= m_found.size())
        return std::string();
    const uint32_t position = m_found[size_t(row)];
    if (m_kind == ObjectType::EFFECT) {
        const EffectEntry* entry = m_sources.effects.At(position);
        return entry ? entry->filePath : std::string();
    }
    const LibraryObject* object = m_sources.libraries.At(intptr_t(position));
    return object ? object->libraryPath : std::string();
}

void CFindObjectDialog::OnTextChange() {
    Search();
}

void CFindObjectDialog::OnKindChange() {
    const LRESULT row = m_kindList.SendMessage(CB_GETCURSEL);
    if (row < 0 || size_t(row) >= std::size(kKinds) || kKinds[row] == m_kind)
        return;
    m_kind = kKinds[row];
    ShowKind();
}

void CFindObjectDialog::OnGetDisplayInfo(NMHDR* header, LRESULT*) {
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        ::lstrcpynA(item.pszText, CellText(item.iItem, item.iSubItem).c_str(), item.cchTextMax);
}

// A click sorts by the column, the next click on it reverses; the chosen row stays chosen.
void CFindObjectDialog::OnColumnClick(NMHDR* header, LRESULT*) {
    const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
    const size_t columns =
        m_kind == ObjectType::LIBRARY ? std::size(kLibraryColumns) : std::size(kEffectColumns);
    if (column < 0 || size_t(column) >= columns)
        return;
    m_sortDescending = column == m_sortColumn && !m_sortDescending;
    m_sortColumn = column;
    const int selected = SelectedRow();
    const int64_t position = selected >= 0 ? int64_t(m_found[size_t(selected)]) : -1;
    SortFound();
    ShowSortMark();
    auto at = std::find(m_found.begin(), m_found.end(), position);
    ShowFound(at == m_found.end() ? -1 : int(at - m_found.begin()));
}

// The arrow in the sorted column's heading (drawn by common controls that know it).
void CFindObjectDialog::ShowSortMark() {
    HWND header = HWND(m_rows.SendMessage(LVM_GETHEADER));
    const int columns = int(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int column = 0; column < columns; ++column) {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        ::SendMessageA(header, HDM_GETITEMA, WPARAM(column), LPARAM(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (column == m_sortColumn)
            item.fmt |= m_sortDescending ? HDF_SORTDOWN : HDF_SORTUP;
        ::SendMessageA(header, HDM_SETITEMA, WPARAM(column), LPARAM(&item));
    }
}

void CFindObjectDialog::OnSelectionChange(NMHDR*, LRESULT*) {
    ::EnableWindow(GetDlgItem(IDOK), SelectedRow() >= 0);
}

void CFindObjectDialog::OnDoubleClick(NMHDR* header, LRESULT*) {
    const int row = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
    if (row >= 0)
        UseRow(row);
}

void CFindObjectDialog::OnOK() {
    const int row = SelectedRow();
    if (row >= 0)
        UseRow(row);
}

void CFindObjectDialog::UseRow(int row) {
    if (row < 0 || size_t(row) >= m_found.size())
        return;
    m_chosen = m_found[size_t(row)];
    EndDialog(IDOK);
}
