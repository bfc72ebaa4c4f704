// The program's fixed messages by string-table id (resource.h, IDS_*). On Windows they come from
// the executable's string table; an id that is missing gives the empty text.
#pragma once

#include <string>

std::string LoadAppString(unsigned id);

// The message of that id that names one file: its text with the path in place of its "%s".
std::string PathMessage(unsigned id, const std::string& path);
