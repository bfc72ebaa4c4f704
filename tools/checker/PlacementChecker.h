// The rules of the placement checker: what makes a placement file and each of its lines sound.
// Portable, so that the rules are tested natively; main.cpp is the console program around them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace checker {

struct Problem {
    int line;  // 1-based line number in the file
    std::string text;
};

struct LineResult {
    bool isPlacement = false;  // false for comment and blank lines
    std::string kind;          // EFFECT, LIBRARY, WINDSOCK or BUILDING when recognised
    std::string name;
    std::vector<std::string> problems;
};

// The fields of a placement line; a field in double quotes may hold commas. False when a quoted
// field is not closed or does not end its field.
bool SplitFields(std::string_view line, std::vector<std::string>& fields, std::string& problem);

// Canonical position text as the program writes it, less its final double quote mark:
// N047* 26' 59.0000 for latitude (N or S, at most 90 degrees), E/W and 180 for longitude.
bool IsCanonicalCoordinate(std::string_view text, bool latitude);

// A number as "%1.2f" writes it: an optional minus, digits, a point and two decimals.
bool IsFixedTwoDecimals(std::string_view text);

// Checks one line of the file (without its line end).
LineResult CheckLine(std::string_view line);

struct FileResult {
    int placements = 0;
    std::vector<Problem> problems;
    std::vector<LineResult> lines;
};

// Checks the whole file's bytes: the comment header first, then every line.
FileResult CheckFile(std::string_view bytes);

}  // namespace checker
