// The placement file held in memory: the fixed header, then the lines of every placement added
// since the last reset; and the output file it is written to.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "placement/FormControls.h"
#include "sim/Effects.h"
#include "sim/LibraryCatalogue.h"

constexpr size_t kOutputHeaderLineCount = 14;
extern const char* const kOutputHeader[kOutputHeaderLineCount];

// "Clear 3 items from the output file"
std::string ClearTooltipText(int count);

// True when the name holds none of / * ? < > |.
bool HasNoForbiddenCharacter(std::string_view name);

class OutputList {
  public:
    OutputList() { ResetOutputList(); }

    // Back to the header alone, no placements counted. savedFlag is left as it is.
    void ResetOutputList();

    // Collects the form into a placement and appends its lines; on success counts it, marks the
    // list unsaved, sets the Clear button's tooltip and enables Clear and Build.
    bool AddPlacement(FormControls& form, const LibraryCatalogue& libraries,
                      const EffectsCatalogue& effects);

    // The Add command: AddPlacement, then the added / not added message.
    bool AddPlacementAndConfirm(FormControls& form, const LibraryCatalogue& libraries,
                                const EffectsCatalogue& effects);

    // Appends placements made elsewhere (each its lines, comment lines first) as Add appends
    // one: counted, the list unsaved, the Clear tooltip and the Clear and Build buttons updated.
    void AppendPlacements(std::vector<std::vector<std::string>> placements, FormControls& form);

    // The Clear command: ResetOutputList and disable Clear and Build. No question is asked.
    void Clear(FormControls& form);

    // The output file box has lost the focus: refuses forbidden characters, turns the name into
    // a full path, asks before an existing file is replaced, and on acceptance stores it as
    // outputPath, shows it in the box and lets the form update its commands. Gives true when
    // the name was accepted.
    bool CheckOutputFileName(FormControls& form);

    // Writes the list to outputPath, replacing the file only once the new one is complete.
    // On failure shows the error, leaves the system error as the last error, and the previous
    // file and savedFlag as they were.
    bool WriteOutputFile();

    // The lines of the placement at a position (0 is the first after the header): its
    // identifier comment lines, if any, then its placement line. Empty outside the list.
    std::span<const std::string> PlacementLines(int position) const;

    // Drops the placements at these positions, each with its comment lines; positions outside
    // the list and repeats are ignored. The count, the Clear tooltip and the Clear and Build
    // buttons follow as after Add and Clear; the list counts as unsaved. Gives the number
    // removed.
    int RemovePlacements(std::vector<int> positions, FormControls& form);

    // The list becomes this header and these placements (each its lines, comment lines first),
    // counted as placementCount. savedFlag and outputPath are the caller's.
    void LoadPlacements(std::vector<std::string> header,
                        std::vector<std::vector<std::string>> placements);

    // Clear and Build enabled while placements are counted, and the Clear tooltip counting them;
    // with none the buttons are disabled and the tooltip keeps its text, as after Clear.
    void ShowCount(FormControls& form) const;

    const std::vector<std::string>& Lines() const { return lines; }
    // The file's bytes: every line followed by "\r\n".
    std::string FileBytes() const;

    int placementCount = 0;
    bool savedFlag = false;
    std::string outputPath;

  private:
    std::vector<std::string> lines;
    // Where each placement's lines begin in lines, in list order.
    std::vector<size_t> placementStarts;
};
