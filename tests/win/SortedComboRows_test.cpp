// Rows appended in the worked-out order against the same rows added to a sorted combo box one by
// one: the box's own sorting, compared by its own list. (Type-ahead searches the rows in this
// order, so it finds the same rows in both.)
#include "ui/SortedComboRows.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Names as catalogues hold them (many repeated, in other letter case, with the punctuation that
// word sorting treats apart), texts of the code page's upper half, and random ones.
std::vector<std::string> CatalogueLikeTexts() {
    std::vector<std::string> texts;
    const char* const stems[] = {
        "hangar",   "Hangar", "HANGAR", "tower", "fuel_tank", "fuel-tank", "fuel tank",
        "fueltank", "co-op",  "coop",   "it's",  "its",       "Tree_Oak",  "tree.oak",
        "10",       "9",      "1x",     "",      "_",         "-",         " lamp"};
    std::mt19937 random(18);
    for (int i = 0; i < 1500; ++i)
        texts.push_back(std::string(stems[random() % 21]) + "_" + std::to_string(random() % 40));
    for (const char* text : {"\xE9t\xE9", "Ete", "ete", "\xC4rger", "arger", "Arger", "\xE6on",
                             "aeon", "\xDF", "ss", "\xF1", "n", "\xA0space", "~tilde", "{ 0A }"})
        texts.push_back(text);
    for (int i = 0; i < 500; ++i) {
        std::string text;
        for (int n = int(random() % 12); n > 0; --n)
            text += char(0x20 + random() % 0xDF);
        texts.push_back(text);
    }
    texts.push_back(std::string(259, 'z'));
    return texts;
}

HWND SortedBox() {
    return ::CreateWindowA("COMBOBOX", "", WS_POPUP | CBS_DROPDOWN | CBS_SORT | WS_VSCROLL, 0, 0,
                           200, 200, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

std::string TextOfRow(HWND box, int row) {
    std::string text(size_t(::SendMessageA(box, CB_GETLBTEXTLEN, row, 0)) + 1, '\0');
    ::SendMessageA(box, CB_GETLBTEXT, row, LPARAM(text.data()));
    text.resize(text.size() - 1);
    return text;
}

// Equal as the box's list compares: the ANSI code page, then its locale, ignoring case.
bool SameForTheList(HWND box, const std::string& a, const std::string& b) {
    auto wide = [](const std::string& text) {
        std::wstring out(text.size() + 1, L'\0');
        int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), int(out.size()));
        out.resize(n > 0 ? size_t(n - 1) : 0);
        return out;
    };
    const LCID locale = LCID(::SendMessageA(box, CB_GETLOCALE, 0, 0));
    return ::CompareStringW(locale, NORM_IGNORECASE, wide(a).c_str(), -1, wide(b).c_str(), -1) ==
           CSTR_EQUAL;
}

}  // namespace

TEST(SortedComboRows, ComeOutInTheOrderTheBoxItselfSortsThem) {
    const std::vector<std::string> texts = CatalogueLikeTexts();
    const RowText textOf = [&](size_t position) { return texts[position].c_str(); };
    HWND byBox = SortedBox(), appended = SortedBox();
    ASSERT_TRUE(byBox && appended);
    for (const std::string& text : texts)
        ::SendMessageA(byBox, CB_ADDSTRING, 0, LPARAM(text.c_str()));
    AppendSortedRows(appended, SortedRowOrder(appended, texts.size(), textOf), textOf);

    const int rows = int(::SendMessageA(byBox, CB_GETCOUNT, 0, 0));
    ASSERT_EQ(::SendMessageA(appended, CB_GETCOUNT, 0, 0), rows);
    for (int row = 0; row < rows; ++row) {
        const std::string expected = TextOfRow(byBox, row), got = TextOfRow(appended, row);
        // Rows that the list holds equal may stand in either order; all others must match.
        ASSERT_TRUE(SameForTheList(byBox, expected, got))
            << "row " << row << ": \"" << expected << "\" against \"" << got << "\"";
        const LRESULT position = ::SendMessageA(appended, CB_GETITEMDATA, row, 0);
        ASSERT_GE(position, 0);
        ASSERT_LT(size_t(position), texts.size());
        EXPECT_EQ(texts[size_t(position)], got) << "row " << row;
    }
    ::DestroyWindow(byBox);
    ::DestroyWindow(appended);
}
