#include "ui/SortedComboRows.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

HWND ListOf(HWND comboBox) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return ::GetComboBoxInfo(comboBox, &info) ? info.hwndList : nullptr;
}

const char* TextAt(const RowText& textOf, size_t position) {
    const char* text = textOf(position);
    return text ? text : "";
}

}  // namespace

// The list converts an added text with the ANSI code page and compares it with
// CompareStringW(locale, NORM_IGNORECASE); sort keys made with the same locale and flags compare
// byte by byte as CompareStringW compares the texts, so one key per row replaces the dozen
// comparisons per row of the list's own insertion.
std::vector<uint32_t> SortedRowOrder(HWND comboBox, size_t count, const RowText& textOf) {
    const LCID locale = LCID(::SendMessageA(comboBox, CB_GETLOCALE, 0, 0));
    std::vector<uint8_t> keys;
    std::vector<size_t> keyStart(count + 1, 0);
    std::wstring wide;
    for (size_t position = 0; position < count; ++position) {
        const char* text = TextAt(textOf, position);
        int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
        wide.resize(size_t(length > 0 ? length : 1));
        if (length <= 0 || !::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length))
            wide.assign(1, L'\0');
        int keyLength =
            ::LCMapStringW(locale, LCMAP_SORTKEY | NORM_IGNORECASE, wide.c_str(), -1, nullptr, 0);
        const size_t at = keys.size();
        keys.resize(at + size_t(keyLength > 0 ? keyLength : 0));
        if (keyLength > 0)
            ::LCMapStringW(locale, LCMAP_SORTKEY | NORM_IGNORECASE, wide.c_str(), -1,
                           reinterpret_cast<LPWSTR>(keys.data() + at), keyLength);
        keyStart[position + 1] = keys.size();
    }
    std::vector<uint32_t> order(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = uint32_t(i);
    auto keyLess = [&](uint32_t a, uint32_t b) {
        const size_t lengthA = keyStart[a + 1] - keyStart[a];
        const size_t lengthB = keyStart[b + 1] - keyStart[b];
        const int byBytes = std::memcmp(keys.data() + keyStart[a], keys.data() + keyStart[b],
                                        std::min(lengthA, lengthB));
        return byBytes != 0 ? byBytes < 0 : lengthA < lengthB;
    };
    std::stable_sort(order.begin(), order.end(), keyLess);
    return order;
}

// Straight into the box's list, with its drawing off: the list's own insert without sorting is
// an append, and without redrawing it skips the scroll bar update per row.
void AppendSortedRows(HWND comboBox, const std::vector<uint32_t>& order, const RowText& textOf) {
    HWND list = ListOf(comboBox);
    if (!list)
        return;
    size_t textBytes = 0;
    for (uint32_t position : order)
        textBytes += std::strlen(TextAt(textOf, position)) + 1;
    ::SendMessageA(comboBox, CB_INITSTORAGE, WPARAM(order.size()), LPARAM(textBytes));
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    WPARAM row = 0;
    for (uint32_t position : order) {
        LRESULT added =
            ::SendMessageA(list, LB_INSERTSTRING, row, LPARAM(TextAt(textOf, position)));
        if (added < 0)
            break;
        ::SendMessageA(list, LB_SETITEMDATA, WPARAM(added), LPARAM(position));
        ++row;
    }
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}
