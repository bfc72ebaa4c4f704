#include "sim/ObjectFinder.h"

#include <algorithm>
#include <cstring>

#include "common/Text.h"

namespace {

constexpr size_t kNone = std::string_view::npos;
// A library object's identifier as the finder keeps it: four words of eight digits.
constexpr size_t kDigits = 32;
constexpr size_t kWordDigits = 8;
// The assembler form without its separators: per word "0", eight digits and "h".
constexpr size_t kAsmBlock = 10;
constexpr size_t kAsmDigits = 4 * kAsmBlock;

// Names are ANSI text: besides A-Z, the accented capitals of the Western code page (and of the
// Central European one, which places them alike) have their small letter 32 places on, and
// the three capitals among 80h-9Fh 16 places on; Y with diaeresis is the odd one.
char Lower(char c) {
    const auto u = uint8_t(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return char(u + 0x20);
    if (u == 0x8A || u == 0x8C || u == 0x8E)
        return char(u + 0x10);
    return u == 0x9F ? char(0xFF) : c;
}

void AppendLower(std::string& to, std::string_view text) {
    for (char c : text)
        to.push_back(Lower(c));
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\0';
}

// The first place at or after `from` where needle lies in hay. The search runs on needle's byte
// at `pivot` (its rarest one, where the caller knows which that is) and compares the rest there.
size_t FindIn(std::string_view hay, size_t from, std::string_view needle, size_t pivot) {
    if (needle.empty() || needle.size() > hay.size() || from > hay.size() - needle.size())
        return kNone;
    const char* base = hay.data();
    const char* at = base + from + pivot;
    const char* last = base + (hay.size() - needle.size()) + pivot;
    while (at <= last) {
        const void* hit = std::memchr(at, needle[pivot], size_t(last - at) + 1);
        if (!hit)
            return kNone;
        const char* start = static_cast<const char*>(hit) - pivot;
        if (std::memcmp(start, needle.data(), needle.size()) == 0)
            return size_t(start - base);
        at = static_cast<const char*>(hit) + 1;
    }
    return kNone;
}

// A text as a list row shows it: up to a zero byte.
std::string_view Shown(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

}  // namespace

// Digits that must stand among a library object's 32: at any place (the display form and the
// bare digits), or, for a piece of the assembler form, at a fixed place within one of a range
// of its words.
struct ObjectFinder::IdentifierPattern {
    std::string digits;
    int place = -1;  // 0 to 7, or -1 for any
    size_t firstWord = 0;
    size_t lastWord = 3;
};

struct ObjectFinder::Word {
    std::string text;  // lower case, as typed
    size_t pivot = 0;  // the byte of text that is rarest among the names
    bool anyIdentifier = false;
    std::vector<IdentifierPattern> identifier;
};

// ---- building -----------------------------------------------------------------------------------

void ObjectFinder::Clear() {
    *this = ObjectFinder();
}

void ObjectFinder::Build(const LibraryCatalogue& catalogue,
                         const std::vector<uint32_t>& nameOrder) {
    Clear();
    m_identifiers = true;
    size_t nameBytes = 0;
    for (const LibraryObject& object : catalogue)
        nameBytes += Shown(object.name ? *object.name : object.guidText).size() + 1;
    m_names.reserve(nameBytes);
    m_nameStart.reserve(catalogue.Count() + 1);
    m_identifierDigits.resize(catalogue.Count() * kDigits);
    const std::string* previousPath = nullptr;
    uint32_t row = 0;
    for (const LibraryObject& object : catalogue) {
        const std::string_view name = Shown(object.name ? *object.name : object.guidText);
        m_nameStart.push_back(uint32_t(m_names.size()));
        AppendLower(m_names, name);
        m_names.push_back('\0');
        const std::string_view file = FileNameOf(object.libraryPath);
        // The catalogue lists a file's objects one after the other.
        if (!previousPath || *previousPath != object.libraryPath)
            AddFileRun(row, file);
        previousPath = &object.libraryPath;
        // By hand: a formatted print per object is most of the build under some C libraries.
        char* digits = &m_identifierDigits[size_t(row) * kDigits];
        for (uint32_t word : object.guid.words) {
            for (int shift = 28; shift >= 0; shift -= 4)
                *digits++ = "0123456789abcdef"[(word >> shift) & 0xF];
        }
        m_coveredBytes +=
            name.size() + file.size() + object.guidText.size() + object.guidAsmText.size();
        ++row;
    }
    BuildOrder(nameOrder);
    Finish();
}

void ObjectFinder::Build(const EffectsCatalogue& catalogue,
                         const std::vector<uint32_t>& nameOrder) {
    Clear();
    uint32_t row = 0;
    for (const EffectEntry& entry : catalogue) {
        const std::string_view name = Shown(entry.displayName);
        m_nameStart.push_back(uint32_t(m_names.size()));
        AppendLower(m_names, name);
        m_names.push_back('\0');
        const std::string_view file = FileNameOf(entry.filePath);
        AddFileRun(row++, file);
        m_coveredBytes += name.size() + file.size();
    }
    BuildOrder(nameOrder);
    Finish();
}

void ObjectFinder::AddFileRun(uint32_t row, std::string_view fileName) {
    m_runs.push_back({row, uint32_t(m_files.size())});
    AppendLower(m_files, Shown(fileName));
    m_files.push_back('\0');
}

void ObjectFinder::BuildOrder(const std::vector<uint32_t>& nameOrder) {
    const size_t count = m_nameStart.size();
    m_rank.assign(count, UINT32_MAX);
    bool arrangement = nameOrder.size() == count;
    for (size_t i = 0; arrangement && i < count; ++i) {
        const uint32_t position = nameOrder[i];
        arrangement = position < count && m_rank[position] == UINT32_MAX;
        if (arrangement)
            m_rank[position] = uint32_t(i);
    }
    m_order.resize(count);
    for (size_t i = 0; i < count; ++i) {
        m_order[i] = arrangement ? nameOrder[i] : uint32_t(i);
        m_rank[m_order[i]] = uint32_t(i);
    }
}

void ObjectFinder::Finish() {
    m_stamps.assign(m_order.size(), 0);
    m_nameStart.push_back(uint32_t(m_names.size()));
    for (char c : m_names)
        ++m_nameByteCounts[uint8_t(c)];
    m_names.shrink_to_fit();
    m_nameStart.shrink_to_fit();
    m_files.shrink_to_fit();
    m_runs.shrink_to_fit();
    m_built = true;
}

size_t ObjectFinder::DataBytes() const {
    return sizeof *this + m_names.capacity() + m_files.capacity() + m_identifierDigits.capacity() +
           sizeof(uint32_t) * (m_nameStart.capacity() + m_order.capacity() + m_rank.capacity() +
                               m_stamps.capacity() + m_candidates.capacity()) +
           sizeof(FileRun) * m_runs.capacity();
}

// ---- searching ----------------------------------------------------------------------------------

std::string_view ObjectFinder::NameOf(uint32_t row) const {
    return std::string_view(m_names).substr(m_nameStart[row],
                                            m_nameStart[row + 1] - m_nameStart[row] - 1);
}

std::string_view ObjectFinder::FileOfRun(size_t run) const {
    return std::string_view(m_files.c_str() + m_runs[run].fileStart);
}

uint32_t ObjectFinder::NextStamp() {
    if (++m_stamp == 0) {
        std::fill(m_stamps.begin(), m_stamps.end(), 0);
        m_stamp = 1;
    }
    return m_stamp;
}

// An identifier is written with or without its braces, commas and blanks, and in the assembler
// form each word stands as "0", its digits, "h". A piece of that form is tried at each of the ten
// places a block can start it; the digits it leaves must then stand at the matching place.
ObjectFinder::Word ObjectFinder::ParseWord(std::string_view typed) const {
    Word word;
    AppendLower(word.text, typed);
    for (size_t i = 1; i < word.text.size(); ++i) {
        if (m_nameByteCounts[uint8_t(word.text[i])] <
            m_nameByteCounts[uint8_t(word.text[word.pivot])])
            word.pivot = i;
    }
    if (!m_identifiers)
        return word;
    std::string bare;
    for (char c : word.text) {
        if (c != '{' && c != '}' && c != ',')
            bare.push_back(c);
    }
    if (bare.empty()) {
        word.anyIdentifier = true;
        return word;
    }
    if (bare.size() <= kDigits && std::all_of(bare.begin(), bare.end(), IsHexDigit))
        word.identifier.push_back({bare, -1, 0, 3});
    if (bare.size() > kAsmDigits)
        return word;
    for (size_t start = 0; start < kAsmBlock && start + bare.size() <= kAsmDigits; ++start) {
        IdentifierPattern pattern;
        bool fits = true;
        bool decorated = false;
        for (size_t i = 0; i < bare.size() && fits; ++i) {
            const size_t slot = (start + i) % kAsmBlock;
            if (slot == 0 || slot == kAsmBlock - 1) {
                fits = bare[i] == (slot == 0 ? '0' : 'h');
                decorated = true;
            } else {
                fits = IsHexDigit(bare[i]);
                pattern.digits.push_back(bare[i]);
            }
        }
        // Without a "0" or "h" of the form it is the bare digits, found above.
        if (!fits || !decorated || pattern.digits.empty())
            continue;
        const size_t lastBlock = (kAsmDigits - bare.size() - start) / kAsmBlock;
        const bool fromNext = start == kAsmBlock - 1;  // starts on an "h": digits in the next word
        pattern.place = start == 0 || fromNext ? 0 : int(start - 1);
        pattern.firstWord = fromNext ? 1 : 0;
        pattern.lastWord = lastBlock + pattern.firstWord;
        word.identifier.push_back(std::move(pattern));
    }
    return word;
}

bool ObjectFinder::IdentifierMatches(const IdentifierPattern& pattern, uint32_t row) const {
    const char* digits = m_identifierDigits.data() + size_t(row) * kDigits;
    const size_t length = pattern.digits.size();
    for (size_t at = 0; at + length <= kDigits; ++at) {
        const size_t word = at / kWordDigits;
        if (word < pattern.firstWord || word > pattern.lastWord ||
            (pattern.place >= 0 && at % kWordDigits != size_t(pattern.place)))
            continue;
        if (std::memcmp(digits + at, pattern.digits.data(), length) == 0)
            return true;
    }
    return false;
}

// Stamps every row the word finds, by one pass over each of the finder's texts.
void ObjectFinder::MarkRows(const Word& word, uint32_t stamp) {
    uint32_t row = 0;
    for (size_t at = FindIn(m_names, 0, word.text, word.pivot); at != kNone;
         at = FindIn(m_names, m_nameStart[row + 1], word.text, word.pivot)) {
        while (m_nameStart[row + 1] <= at)
            ++row;
        m_stamps[row] = stamp;
    }
    size_t run = 0;
    for (size_t at = FindIn(m_files, 0, word.text, 0); at != kNone;) {
        while (run + 1 < m_runs.size() && m_runs[run + 1].fileStart <= at)
            ++run;
        const uint32_t end = run + 1 < m_runs.size() ? m_runs[run + 1].firstRow : uint32_t(Count());
        for (uint32_t r = m_runs[run].firstRow; r < end; ++r)
            m_stamps[r] = stamp;
        if (run + 1 >= m_runs.size())
            break;
        at = FindIn(m_files, m_runs[run + 1].fileStart, word.text, 0);
    }
    if (word.anyIdentifier)
        std::fill(m_stamps.begin(), m_stamps.end(), stamp);
    for (const IdentifierPattern& pattern : word.identifier) {
        for (size_t at = FindIn(m_identifierDigits, 0, pattern.digits, 0); at != kNone;) {
            const uint32_t hit = uint32_t(at / kDigits);
            // A hit across two objects, or at the wrong place, is none: look on from the next
            // digit. An object found once is done with: look on from the next object.
            const bool found = m_stamps[hit] == stamp || IdentifierMatches(pattern, hit);
            if (found)
                m_stamps[hit] = stamp;
            at = FindIn(m_identifierDigits, found ? size_t(hit + 1) * kDigits : at + 1,
                        pattern.digits, 0);
        }
    }
}

// The same test for one row; rows come in rising order, so `run` follows them.
bool ObjectFinder::RowMatches(const Word& word, uint32_t row, size_t& run) const {
    if (NameOf(row).find(word.text) != kNone)
        return true;
    while (run + 1 < m_runs.size() && m_runs[run + 1].firstRow <= row)
        ++run;
    if (!m_runs.empty() && FileOfRun(run).find(word.text) != kNone)
        return true;
    if (word.anyIdentifier)
        return true;
    return std::any_of(word.identifier.begin(), word.identifier.end(),
                       [&](const IdentifierPattern& p) { return IdentifierMatches(p, row); });
}

void ObjectFinder::Find(std::string_view text, std::vector<uint32_t>& rows) {
    rows.clear();
    std::vector<Word> words;
    for (size_t at = 0; at < text.size();) {
        if (IsBlank(text[at])) {
            ++at;
            continue;
        }
        size_t end = at;
        while (end < text.size() && !IsBlank(text[end]))
            ++end;
        words.push_back(ParseWord(text.substr(at, end - at)));
        at = end;
    }
    if (words.empty()) {
        rows = m_order;
        return;
    }
    // The longest word first: it usually finds the fewest rows, and the later words then look at
    // those rows alone rather than at every text.
    std::vector<size_t> byLength(words.size());
    for (size_t i = 0; i < words.size(); ++i)
        byLength[i] = i;
    std::stable_sort(byLength.begin(), byLength.end(), [&](size_t a, size_t b) {
        return words[a].text.size() > words[b].text.size();
    });
    m_candidates.clear();
    for (size_t n = 0; n < byLength.size(); ++n) {
        const Word& word = words[byLength[n]];
        if (n == 0 || m_candidates.size() * 8 > Count()) {
            const uint32_t stamp = NextStamp();
            MarkRows(word, stamp);
            if (n == 0) {
                for (uint32_t row = 0; row < Count(); ++row) {
                    if (m_stamps[row] == stamp)
                        m_candidates.push_back(row);
                }
            } else {
                std::erase_if(m_candidates, [&](uint32_t row) { return m_stamps[row] != stamp; });
            }
        } else {
            size_t run = 0;
            std::erase_if(m_candidates, [&](uint32_t row) { return !RowMatches(word, row, run); });
        }
        if (m_candidates.empty())
            return;
    }
    const uint32_t found = NextStamp();
    for (uint32_t row : m_candidates)
        m_stamps[row] = found;
    std::vector<uint32_t> others;
    const std::string& first = words.front().text;
    for (uint32_t row : m_order) {
        if (m_stamps[row] != found)
            continue;
        if (NameOf(row).starts_with(first))
            rows.push_back(row);
        else
            others.push_back(row);
    }
    rows.insert(rows.end(), others.begin(), others.end());
}

// ---- sorting ------------------------------------------------------------------------------------

void ObjectFinder::Sort(std::vector<uint32_t>& rows, FoundColumn column, bool descending,
                        const LibraryCatalogue* catalogue) const {
    struct Keyed {
        std::string_view text;
        uint64_t high = 0;
        uint64_t low = 0;
        uint32_t rank = 0;
        uint32_t row = 0;
    };
    if (!m_identifiers || !catalogue) {
        if (column != FoundColumn::File)
            column = FoundColumn::Name;
    }
    std::vector<Keyed> keyed;
    keyed.reserve(rows.size());
    for (uint32_t row : rows) {
        Keyed key;
        key.row = row;
        key.rank = row < m_rank.size() ? m_rank[row] : UINT32_MAX;
        // Only the library columns read the catalogue; an effect has no row there.
        const bool libraryColumn = column == FoundColumn::Radius || column == FoundColumn::Scale ||
                                   column == FoundColumn::Identifier;
        const LibraryObject* object = libraryColumn ? catalogue->At(intptr_t(row)) : nullptr;
        switch (column) {
            case FoundColumn::Name:
                break;
            case FoundColumn::File: {
                auto after = std::upper_bound(
                    m_runs.begin(), m_runs.end(), row,
                    [](uint32_t r, const FileRun& run) { return r < run.firstRow; });
                if (after != m_runs.begin() && row < Count())
                    key.text = FileOfRun(size_t(after - m_runs.begin() - 1));
                break;
            }
            case FoundColumn::Radius:
                // Offset so that negative radii order below positive ones as unsigned numbers.
                key.high = object ? uint64_t(int64_t(object->radius) - INT32_MIN) : 0;
                break;
            case FoundColumn::Scale:
                key.high = object ? object->scale : 0;
                break;
            case FoundColumn::Identifier:
                if (object) {
                    const uint32_t* w = object->guid.words;
                    key.high = uint64_t(w[0]) << 32 | w[1];
                    key.low = uint64_t(w[2]) << 32 | w[3];
                }
                break;
        }
        keyed.push_back(key);
    }
    std::sort(keyed.begin(), keyed.end(), [descending](const Keyed& a, const Keyed& b) {
        int order = a.text.compare(b.text);
        if (order == 0)
            order = a.high != b.high ? (a.high < b.high ? -1 : 1)
                    : a.low != b.low ? (a.low < b.low ? -1 : 1)
                                     : 0;
        if (order != 0)
            return descending ? order > 0 : order < 0;
        return descending ? a.rank > b.rank : a.rank < b.rank;
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        rows[i] = keyed[i].row;
}

// ---- texts --------------------------------------------------------------------------------------

std::string GroupedCount(size_t count) {
    std::string digits = std::to_string(count);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped.push_back(',');
        grouped.push_back(digits[i]);
    }
    return grouped;
}

std::string MetresPerUnitText(uint32_t scale) {
    std::string text = FormatText(limits::kShortField, "%.6f", double(scale) / 65536.0);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text;
}
