// The one argument the program takes: a placement file to open, as Windows passes a file dropped
// on the program's icon.
#pragma once

#include <string>
#include <string_view>

// The first argument after the program's name, without the double quote marks around it. An
// unquoted argument runs to the end of the line, so a path with blanks needs no quotes. Empty
// when there is none.
std::string FileArgumentOf(std::string_view commandLine);
