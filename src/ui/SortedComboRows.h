// Many rows for a sorted combo box without the box sorting them: the order the box would give is
// worked out once from sort keys, and the rows are then appended in it. A sorted box compares
// every added row with a dozen of its rows and moves the ones behind it; for the 29,000 names of
// a large catalogue that is most of a second, each time the list is filled.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// The text of the row for a position; null stands for the empty text.
using RowText = std::function<const char*(size_t position)>;

// The positions 0 to count - 1 in the order the sorted combo box keeps their texts: compared as
// its list compares them (by the list's locale, without regard to letter case), rows that compare
// equal in the order of their positions.
std::vector<uint32_t> SortedRowOrder(HWND comboBox, size_t count, const RowText& textOf);

// Appends one row per position of `order`, in that order, each with its position as the row's
// value. The box must hold no rows yet; it then holds them sorted as it would have sorted them.
void AppendSortedRows(HWND comboBox, const std::vector<uint32_t>& order, const RowText& textOf);
