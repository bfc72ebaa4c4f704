#include "common/TextEncoding.h"

std::string AnsiToUtf8(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += char(0xC0 | byte >> 6);
            utf8 += char(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}
