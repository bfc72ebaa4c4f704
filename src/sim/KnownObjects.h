// The built-in table of library object identifiers that the scenery compiler knows by name. A
// placement names a known object by its name and any other object by its identifier.
#pragma once

#include <cstddef>

#include "sim/LibraryObject.h"

// One row: the identifier and the object's name. A row whose name is null is unassigned; its
// identifier is all zero and it never matches.
struct KnownObject {
    Guid128 guid;
    const char* name;
};

// The rows keep fixed positions (a row number is what the lookup gives); after the last row
// stands one all-zero row that ends the table.
constexpr size_t kKnownObjectCount = 955;
extern const KnownObject KnownObjectTable[];

// The first row of the table whose identifier equals guid, or -1 when none does, for a null
// guid, or for the all-zero identifier (which no object carries).
int FindKnownObject(const Guid128* guid);
inline int FindKnownObject(const Guid128& guid) {
    return FindKnownObject(&guid);
}

// The same search over any table of count rows.
int FindKnownObjectIn(const KnownObject* rows, size_t count, const Guid128* guid);
