#include "sim/LibraryObject.h"

#include "common/Text.h"

std::string GuidDisplayText(const Guid128& guid) {
    return FormatText(limits::kShortField, "{ %08X, %08X, %08X, %08X }", guid.words[0],
                      guid.words[1], guid.words[2], guid.words[3]);
}

std::string GuidAsmText(const Guid128& guid) {
    return FormatText(limits::kShortField, "0%08Xh, 0%08Xh, 0%08Xh, 0%08Xh", guid.words[0],
                      guid.words[1], guid.words[2], guid.words[3]);
}
