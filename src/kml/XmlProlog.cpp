#include "kml/XmlProlog.h"

#include <cstdint>
#include <string>

namespace {

// Declared encodings in which every character of markup is the ASCII byte it looks like, so
// that reading the prolog byte by byte sees what the parser sees. UTF-16 is read in 16-bit
// units instead.
constexpr std::string_view kAsciiCompatible[] = {
    "utf-8",        "us-ascii",     "ascii",        "iso-8859-1",   "iso-8859-2",   "iso-8859-3",
    "iso-8859-4",   "iso-8859-5",   "iso-8859-6",   "iso-8859-7",   "iso-8859-8",   "iso-8859-9",
    "iso-8859-10",  "iso-8859-13",  "iso-8859-14",  "iso-8859-15",  "iso-8859-16",  "latin1",
    "windows-1250", "windows-1251", "windows-1252", "windows-1253", "windows-1254", "windows-1255",
    "windows-1256", "windows-1257", "windows-1258", "shift_jis",    "euc-jp",       "euc-kr",
    "gb2312",       "gbk",          "gb18030",      "big5",         "koi8-r",       "koi8-u",
};
constexpr std::string_view kUtf16Names[] = {"utf-16", "utf-16le", "utf-16be", "utf-8"};

// The document's characters as far as the prolog needs them: 8-bit units, or 16-bit units of
// either byte order. A unit past the end reads as -1.
class Units {
  public:
    Units(std::string_view bytes, size_t start, int width, bool bigEndian)
        : m_bytes(bytes), m_at(start), m_width(width), m_bigEndian(bigEndian) {}

    int32_t Peek(size_t ahead = 0) const {
        const size_t at = m_at + ahead * size_t(m_width);
        if (at + size_t(m_width) > m_bytes.size())
            return -1;
        const auto byte = [&](size_t i) { return int32_t(uint8_t(m_bytes[at + i])); };
        if (m_width == 1)
            return byte(0);
        return m_bigEndian ? byte(0) << 8 | byte(1) : byte(1) << 8 | byte(0);
    }
    void Skip(size_t units = 1) { m_at += units * size_t(m_width); }
    bool AtEnd() const { return Peek() < 0; }
    bool LooksAt(std::string_view ascii) const {
        for (size_t i = 0; i < ascii.size(); ++i) {
            if (Peek(i) != int32_t(uint8_t(ascii[i])))
                return false;
        }
        return true;
    }
    // Skips past the first `end`; false when the document ends first.
    bool SkipPast(std::string_view end) {
        while (!AtEnd()) {
            if (LooksAt(end)) {
                Skip(end.size());
                return true;
            }
            Skip();
        }
        return false;
    }

  private:
    std::string_view m_bytes;
    size_t m_at;
    int m_width;
    bool m_bigEndian;
};

bool IsSpace(int32_t c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The value of the declaration's encoding, lower-cased; empty when it declares none. The units
// stand just behind "<?xml".
std::string DeclaredEncoding(Units units) {
    std::string declaration;
    while (!units.AtEnd() && !units.LooksAt("?>") && declaration.size() < 1024) {
        const int32_t c = units.Peek();
        declaration += c < 0x80 ? char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) : '\x7f';
        units.Skip();
    }
    size_t at = declaration.find("encoding");
    if (at == std::string::npos)
        return std::string();
    at += 8;
    while (at < declaration.size() && IsSpace(declaration[at]))
        ++at;
    if (at >= declaration.size() || declaration[at] != '=')
        return "?";
    ++at;
    while (at < declaration.size() && IsSpace(declaration[at]))
        ++at;
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\''))
        return "?";
    const size_t close = declaration.find(declaration[at], at + 1);
    if (close == std::string::npos)
        return "?";
    return declaration.substr(at + 1, close - at - 1);
}

template <size_t N>
bool IsOneOf(const std::string& name, const std::string_view (&names)[N]) {
    for (std::string_view known : names) {
        if (name == known)
            return true;
    }
    return false;
}

}  // namespace

XmlUnits DetectXmlUnits(std::string_view bytes) {
    auto byte = [&](size_t i) { return i < bytes.size() ? int(uint8_t(bytes[i])) : -1; };
    const int b0 = byte(0), b1 = byte(1), b2 = byte(2);
    XmlUnits units;
    if (b0 == 0xEF && b1 == 0xBB && b2 == 0xBF) {
        units.start = 3;
    } else if (b0 == 0xFF && b1 == 0xFE) {
        units.start = 2, units.width = 2;
    } else if (b0 == 0xFE && b1 == 0xFF) {
        units.start = 2, units.width = 2, units.bigEndian = true;
    } else if (b0 > 0 && b1 == 0) {
        // 16-bit units without a mark: an ASCII character with a zero byte beside it.
        units.width = 2;
    } else if (b0 == 0 && b1 > 0) {
        units.width = 2, units.bigEndian = true;
    }
    return units;
}

XmlPrologStatus CheckXmlProlog(std::string_view bytes) {
    auto byte = [&](size_t i) { return i < bytes.size() ? int(uint8_t(bytes[i])) : -1; };
    const int b0 = byte(0), b1 = byte(1), b2 = byte(2), b3 = byte(3);
    // 32-bit units, with or without a byte-order mark: no parser here reads them. FF FE 00 00
    // would be a 16-bit mark and a NUL character, which no XML document holds.
    if ((b0 == 0 && b1 == 0) || (b2 == 0 && b3 == 0 && (b0 == 0 || b1 == 0)) ||
        (b0 == 0xFF && b1 == 0xFE && b2 == 0 && b3 == 0))
        return XmlPrologStatus::UnsupportedEncoding;

    const XmlUnits layout = DetectXmlUnits(bytes);
    const int width = layout.width;
    Units units(bytes, layout.start, width, layout.bigEndian);
    bool first = true;
    for (;;) {
        while (IsSpace(units.Peek()))
            units.Skip();
        if (units.AtEnd())
            return XmlPrologStatus::Ok;  // no element at all: the parser says so
        if (units.Peek() != '<')
            return XmlPrologStatus::NotXml;
        if (units.LooksAt("<?xml") && first) {
            units.Skip(5);
            const std::string encoding = DeclaredEncoding(units);
            if (!encoding.empty() && !(width == 2 ? IsOneOf(encoding, kUtf16Names)
                                                  : IsOneOf(encoding, kAsciiCompatible)))
                return XmlPrologStatus::UnsupportedEncoding;
            if (!units.SkipPast("?>"))
                return XmlPrologStatus::Ok;
        } else if (units.LooksAt("<?")) {
            if (!units.SkipPast("?>"))
                return XmlPrologStatus::Ok;
        } else if (units.LooksAt("<!--")) {
            units.Skip(4);
            if (!units.SkipPast("-->"))
                return XmlPrologStatus::Ok;
        } else if (units.LooksAt("<!DOCTYPE")) {
            return XmlPrologStatus::DocumentType;
        } else {
            // The first element, or markup no prolog holds: either way no document type
            // can follow that the parser would read.
            return XmlPrologStatus::Ok;
        }
        first = false;
    }
}
