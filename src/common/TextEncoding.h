// The program's 8-bit texts in UTF-8, for file formats that require it. On Windows the 8-bit
// texts are in the system's ANSI code page; natively they are taken as ISO-8859-1.
#pragma once

#include <string>
#include <string_view>

std::string AnsiToUtf8(std::string_view text);
