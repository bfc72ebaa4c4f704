// Placement files over arbitrary bytes: the reader never leaves its input, and whatever it
// accepts is held losslessly: the list's bytes are the file's own, they read back as the same
// lines and placements, every parameter block survives Use then Add, and with any one placement
// removed they still read as a placement file
// with the other placements and every other line. The same bytes taken as the text of the
// parameter box give a placement line that reads back with the same parameters.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "placement/FormEntries.h"
#include "placement/OutputList.h"
#include "placement/PlacementFile.h"

namespace {

// Stands in for the form where Remove wants one; the list only tells it its buttons.
class NoForm : public FormControls {
  public:
    std::string GetText(int, size_t) const override { return {}; }
    void SetText(int, std::string_view) override {}
    int GetSelectedRow(int) const override { return -1; }
    int FindRowExact(int, std::string_view) const override { return -1; }
    intptr_t GetRowData(int, int) const override { return -1; }
    bool IsChecked(int) const override { return false; }
    void EnableControl(int, bool) override {}
    void SetTooltip(int, std::string_view) override {}
    void FocusAndSelectAll(int) override {}
    void CommandStateMayHaveChanged() override {}
};

void Check(bool holds) {
    if (!holds)
        std::abort();
}

OutputList Read(std::string_view bytes, PlacementFileText& text) {
    int badLine = 0;
    Check(ParsePlacementFile(bytes, text, badLine) == PlacementFileStatus::Read);
    OutputList list;
    list.LoadFile(text, "", FileStamp());
    return list;
}

void CheckFile(std::string_view bytes, uint8_t choice) {
    PlacementFileText text;
    int badLine = 0;
    const PlacementFileStatus status = ParsePlacementFile(bytes, text, badLine);
    if (status != PlacementFileStatus::Read) {
        // A refused line is one of the file's, after its first, which only makes it no placement
        // file at all.
        const size_t lines = size_t(std::count(bytes.begin(), bytes.end(), '\n')) +
                             (bytes.empty() || bytes.back() != '\n' ? 1 : 0);
        Check(status == PlacementFileStatus::NotPlacementFile ||
              (badLine >= 2 && size_t(badLine) <= lines));
        return;
    }
    OutputList list;
    list.LoadFile(text, "", FileStamp());
    const std::string written = list.FileBytes();
    Check(written == bytes);
    PlacementFileText again;
    const OutputList reread = Read(written, again);
    Check(again.lines == text.lines && again.placements == text.placements);
    Check(reread.FileBytes() == written);
    for (int i = 0; i < list.placementCount; ++i) {
        Placement placement;
        Check(ParsePlacementLine(list.PlacementLines(i).back().text, placement));
        // Use puts the block into the box, Add takes it back: the same block.
        Check(JoinParameterLines(ParameterBoxText(placement.parameters, placement.type),
                                 placement.type) == placement.parameters);
    }

    if (list.placementCount == 0)
        return;
    NoForm form;
    const int removed = choice % list.placementCount;
    const size_t ownLines = list.PlacementLines(removed).size();
    Check(list.RemovePlacements({removed}, form) == 1);
    PlacementFileText rest;
    const OutputList left = Read(list.FileBytes(), rest);
    Check(left.placementCount == int(text.placements.size()) - 1);
    Check(rest.lines.size() == text.lines.size() - ownLines);
    Check(left.FileBytes() == list.FileBytes());
}

void CheckParameterBox(std::string_view box, uint8_t choice) {
    Placement placement;
    placement.type = ObjectType(choice % kObjectTypeCount);
    placement.name = placement.type == ObjectType::EFFECT    ? "fx_smoke.fx"
                     : placement.type == ObjectType::LIBRARY ? "Hangar_A"
                                                             : "";
    placement.latitude = "N047* 26' 59.0000";
    placement.longitude = "W122* 18' 32.0000";
    placement.altitude = "AGL";
    placement.density = "Normal";
    placement.parameters = JoinParameterLines(box, placement.type);
    Check(placement.parameters.find_first_of("\r\n") == std::string::npos);
    const std::string line = FormatPlacementLine(placement).back();
    Placement read;
    Check(ParsePlacementLine(line, read));
    Check(read.parameters == placement.parameters);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const uint8_t choice = size > 0 ? data[size - 1] : 0;
    CheckFile(bytes, choice);
    // A window's text ends at its first zero byte.
    CheckParameterBox(bytes.substr(0, strnlen(bytes.data(), size)), choice);
    return 0;
}
