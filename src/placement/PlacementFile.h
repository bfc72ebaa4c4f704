// Reading a placement file back: its bytes become its lines, with the placements among them
// (header, notes and blank lines kept as they stand), or a refusal naming the line that is not a
// placement line. And the Open command, which makes a file's lines the output list.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "placement/FormControls.h"
#include "placement/OutputList.h"
#include "placement/Placement.h"

constexpr size_t kMaxPlacementFileBytes = size_t(16) << 20;

enum class PlacementFileStatus { Read, NotPlacementFile, NotPlacementLine };

// The fields of a placement line as the program writes it; false when the line is not one.
// The library object is not looked up: writtenByIdentifier says the name is a quoted identifier.
bool ParsePlacementLine(std::string_view line, Placement& placement);

// Splits a file's bytes into lines (ending in CR LF or LF, the last one perhaps in nothing) and
// reads them: the first is ";;++", the others are placement lines, ";;" comments or blank. The
// three comment lines right above a library object written by its identifier are its own. On
// NotPlacementLine badLine is the line's number, counted from 1.
PlacementFileStatus ParsePlacementFile(std::string_view bytes, PlacementFileText& contents,
                                       int& badLine);

// What the identifier comment above a library object written by its identifier says,
// ";; <library file>/<name>", from the placement's own lines (OutputList::PlacementLines); both
// empty when it has none.
struct IdentifierComment {
    std::string libraryFile;
    std::string name;
};
IdentifierComment IdentifierCommentOf(std::span<const FileLine> lines);

// Platform part: the whole file, when it holds at most maxBytes bytes. Failed leaves the system
// error as the last error.
enum class FileReadStatus { Read, TooLarge, Failed };
FileReadStatus ReadFileBytes(const std::string& path, size_t maxBytes, std::string& bytes);

// A placement file read whole, or the message that refuses it (with the message box kind the
// program shows it with): unreadable, too large, no placement file, or the first line that is no
// placement line. The stamp is the file's as it was before it was read.
struct PlacementFileRefusal {
    std::string text;
    unsigned kind = 0;
};
bool ReadPlacementFile(const std::string& fullPath, PlacementFileText& text, FileStamp& stamp,
                       PlacementFileRefusal& refusal);

// The Open command: asks before unsaved placements are dropped, reads the file and, when it is a
// placement file, makes its lines the list, saved in it. Refusals show their message and change
// nothing. busy(true) and busy(false) bracket the reading.
bool OpenPlacementFile(OutputList& list, FormControls& form, const std::string& path,
                       const std::function<void(bool busy)>& busy = {});
