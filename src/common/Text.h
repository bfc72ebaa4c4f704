// Small text helpers over 8-bit ANSI strings: bounded printf-style formatting and the
// letter-case-blind comparison used wherever typed names meet list rows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// printf-style formatting into a string of at most maxChars characters; a longer result is cut,
// never written past its end.
std::string FormatText(size_t maxChars, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// The fixed limits of the program's texts, in characters without the terminator.
namespace limits {
constexpr size_t kPath = 259;
constexpr size_t kShortField = 63;
constexpr size_t kParameters = 1023;
// The parameter box holds a block's lines broken apart, up to all an edit box takes from the
// keyboard before it is given a limit of its own; only the joined block is cut to kParameters.
constexpr size_t kParameterBox = 32767;
constexpr size_t kLine = 4095;
// Messages embed paths and names; this holds the longest path twice over with the words around.
constexpr size_t kMessage = 1023;
}  // namespace limits

// Equal without regard to letter case (ASCII letters only: the bytes of other code pages are
// compared as they are, as a list box does under the "C" locale).
bool EqualsNoCase(std::string_view a, std::string_view b);

// The text cut to at most maxChars characters.
std::string CutText(std::string_view text, size_t maxChars);

// The part of a path behind its last backslash or slash: the file's name, extension included.
std::string_view FileNameOf(std::string_view path);
