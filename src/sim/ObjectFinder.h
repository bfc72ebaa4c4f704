// The search behind the find window: which rows of a catalogue a typed text finds, and in what
// order. Built once per catalogue; a search then looks only at the finder's own compact copy of
// the texts, never at the catalogue.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/Effects.h"
#include "sim/LibraryCatalogue.h"

// The columns the found rows can be sorted by; effects have only the first two.
enum class FoundColumn { Name, File, Radius, Scale, Identifier };

class ObjectFinder {
  public:
    // nameOrder: the catalogue positions in the order the Name list shows them. Anything but an
    // arrangement of every position stands for catalogue order.
    void Build(const LibraryCatalogue& catalogue, const std::vector<uint32_t>& nameOrder);
    void Build(const EffectsCatalogue& catalogue, const std::vector<uint32_t>& nameOrder);
    void Clear();

    bool Built() const { return m_built; }
    size_t Count() const { return m_order.size(); }
    // Where a catalogue position stands in the Name list's order.
    size_t PlaceInOrder(uint32_t position) const {
        return position < m_rank.size() ? m_rank[position] : Count();
    }

    // The catalogue positions of the rows the text finds: every blank-separated word occurs, in
    // any letter case, in the row's name, its file's name or (library objects) its identifier
    // in any of its forms, with or without braces, commas and blanks; a piece of the assembler
    // form must hold at least one of the identifier's digits, not only its "0" and "h". Rows
    // whose name begins with the first word come first, then the others, each group in the Name
    // list's order. A text without words finds every row.
    void Find(std::string_view text, std::vector<uint32_t>& rows);

    // Sorts found rows by a column; rows equal there keep the Name list's order. The library
    // columns read the catalogue the finder was built from; a finder of effects takes none
    // (nullptr) and sorts by name or file only.
    void Sort(std::vector<uint32_t>& rows, FoundColumn column, bool descending,
              const LibraryCatalogue* catalogue) const;

    // The bytes the finder holds, and the bytes of the texts it lets the user search: shown
    // names, file names and the identifier's two text forms.
    size_t DataBytes() const;
    size_t CoveredTextBytes() const { return m_coveredBytes; }

  private:
    struct Word;
    struct IdentifierPattern;
    // One stretch of consecutive rows from the same file.
    struct FileRun {
        uint32_t firstRow;
        uint32_t fileStart;  // in m_files
    };

    void BuildOrder(const std::vector<uint32_t>& nameOrder);
    void AddFileRun(uint32_t row, std::string_view fileName);
    void Finish();
    Word ParseWord(std::string_view typed) const;
    void MarkRows(const Word& word, uint32_t stamp);
    bool RowMatches(const Word& word, uint32_t row, size_t& run) const;
    bool IdentifierMatches(const IdentifierPattern& pattern, uint32_t row) const;
    std::string_view NameOf(uint32_t row) const;
    std::string_view FileOfRun(size_t run) const;
    uint32_t NextStamp();

    bool m_built = false;
    bool m_identifiers = false;  // rows are library objects
    // Lower-case shown names, each ended by a zero byte; m_nameStart has one more entry than
    // there are rows.
    std::string m_names;
    std::vector<uint32_t> m_nameStart;
    // Lower-case file names of the runs, each ended by a zero byte.
    std::string m_files;
    std::vector<FileRun> m_runs;
    // 32 lower-case hexadecimal digits per library object: its four words in order.
    std::string m_identifierDigits;
    std::vector<uint32_t> m_order;  // positions in the Name list's order
    std::vector<uint32_t> m_rank;   // position -> its place in m_order
    uint32_t m_nameByteCounts[256] = {};
    size_t m_coveredBytes = 0;
    // Scratch of a search: the stamp of the last scan that found each row.
    std::vector<uint32_t> m_stamps;
    uint32_t m_stamp = 0;
    std::vector<uint32_t> m_candidates;
};

// "29,100": a count with its thousands grouped as the find window shows it.
std::string GroupedCount(size_t count);
// A library object's scale as metres per design unit: "1" for 00010000h, "0.5" for 00008000h.
std::string MetresPerUnitText(uint32_t scale);
