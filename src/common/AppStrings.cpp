#include "common/AppStrings.h"

#include "common/Text.h"

std::string PathMessage(unsigned id, const std::string& path) {
    return FormatText(limits::kMessage, LoadAppString(id).c_str(), path.c_str());
}
