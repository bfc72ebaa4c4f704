// The placement file held in memory: the program's header and the lines of every placement added,
// or the lines of a file opened from disk (its header, notes and blank lines kept where they stand,
// each line with its own end), and the output file it is written to.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "placement/FormControls.h"
#include "sim/Effects.h"
#include "sim/LibraryCatalogue.h"
#include "sim/SimFiles.h"

constexpr size_t kOutputHeaderLineCount = 14;
extern const char* const kOutputHeader[kOutputHeaderLineCount];

// "Clear 3 items from the output file"
std::string ClearTooltipText(int count);

// True when the name holds none of / * ? < > |.
bool HasNoForbiddenCharacter(std::string_view name);

// How a line of the placement file ends. Only the file's last line may have no end.
enum class LineEnd : uint8_t { CrLf, Lf, None };

struct FileLine {
    std::string text;
    LineEnd end = LineEnd::CrLf;
    bool operator==(const FileLine&) const = default;
};

// Where a placement's own lines stand: its identifier comment lines, if any, then its placement
// line, which is the last.
struct PlacementSpan {
    size_t first = 0;
    size_t line = 0;
    bool operator==(const PlacementSpan&) const = default;
};

// A placement file as lines: every line of it in order (header, notes, blank lines, placements),
// and the placements' own lines among them.
struct PlacementFileText {
    std::vector<FileLine> lines;
    std::vector<PlacementSpan> placements;
};

class OutputList {
  public:
    OutputList() { ResetOutputList(); }

    // Back to the program's header alone, no placements counted, tied to no file. savedFlag is
    // left as it is.
    void ResetOutputList();

    // Collects the form into a placement and adds its lines after the last placement (before the
    // notes that end an opened file); on success counts it, marks the list unsaved, sets the
    // Clear button's tooltip and enables Clear and Build.
    bool AddPlacement(FormControls& form, const LibraryCatalogue& libraries,
                      const EffectsCatalogue& effects);

    // The Add command: AddPlacement, then the added / not added message.
    bool AddPlacementAndConfirm(FormControls& form, const LibraryCatalogue& libraries,
                                const EffectsCatalogue& effects);

    // Adds placements made elsewhere (each its lines, comment lines first) where Add adds one:
    // counted, the list unsaved, the Clear tooltip and the Clear and Build buttons updated.
    void AppendPlacements(std::vector<std::vector<std::string>> placements, FormControls& form);

    // The Clear command: every placement goes, the header and the notes stay; Clear and Build are
    // disabled. No question is asked.
    void Clear(FormControls& form);

    // The output file box has lost the focus: refuses forbidden characters, turns the name into
    // a full path, asks before an existing file is replaced, and on acceptance stores it as
    // outputPath, shows it in the box and lets the form update its commands. Gives true when
    // the name was accepted.
    bool CheckOutputFileName(FormControls& form);

    // The output file from now on. A list opened from a file that is pointed at another one no
    // longer is what that file holds.
    void SetOutputPath(const std::string& path);

    // Writes the list to outputPath, replacing the file only once the new one is complete. When
    // the file was changed by another program since it was read or last written, asks first.
    // A failure shows its error; after a failure or No the file is as it was and the last error
    // says why (1223, cancelled, after No).
    bool WriteOutputFile();

    // The lines of the placement at a position (0 is the first): its identifier comment lines,
    // if any, then its placement line. Empty outside the list.
    std::span<const FileLine> PlacementLines(int position) const;

    // Drops the placements at these positions, each with its identifier comment lines; the notes
    // before them stay. Positions outside the list and repeats are ignored. The count, the Clear
    // tooltip and the Clear and Build buttons follow as after Add and Clear; the list counts as
    // unsaved. Gives the number removed.
    int RemovePlacements(std::vector<int> positions, FormControls& form);

    // The list becomes the lines read from the file at path, which becomes outputPath; saved, as
    // the file holds it. The stamp is the file's as it was read (not present when unknown).
    void LoadFile(PlacementFileText text, const std::string& path, const FileStamp& stamp);

    // Clear and Build enabled while placements are counted, and the Clear tooltip counting them;
    // with none the buttons are disabled and the tooltip keeps its text, as after Clear.
    void ShowCount(FormControls& form) const;

    // Changes not yet written that leaving would lose: placements added since the last write,
    // or any change to a list opened from a file.
    bool HasUnsavedChanges() const;
    // A list opened from a file (and still tied to it).
    bool OpenedFromFile() const { return openedFromFile; }
    // Whether Quit writes the file (after its question): a list opened from a file only when it
    // changed, any other list whenever it holds placements.
    bool QuitWrites() const;

    const std::vector<FileLine>& Lines() const { return text.lines; }
    // The file's bytes: every line followed by its own end. Lines the program made end as the
    // file's first line does.
    std::string FileBytes() const;

    int placementCount = 0;
    bool savedFlag = false;
    std::string outputPath;

  private:
    // Puts a placement's lines after the last placement, counted and unsaved.
    void InsertPlacement(std::vector<std::string> lines);
    // The line end of lines the program adds.
    LineEnd NewLineEnd() const;
    // Takes out the placements marked, with their own lines; gives how many.
    size_t DropPlacements(const std::vector<bool>& removed);
    // Before writing over outputPath: false when it was changed since it was read or written
    // and the user does not want to write over it.
    bool MayWriteOver();

    PlacementFileText text;
    // Where Add puts a placement: after the last one, before the notes that end the file.
    size_t addAt = 0;
    bool openedFromFile = false;
    // The output file as it was when read or last written by this list.
    std::string stampPath;
    FileStamp stamp;
};
