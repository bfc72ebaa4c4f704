#include "sim/KnownObjects.h"

int FindKnownObjectIn(const KnownObject* rows, size_t count, const Guid128* guid) {
    // No object carries the all-zero identifier; it is what unassigned rows and the end row
    // hold, so it must never count as known.
    if (rows == nullptr || guid == nullptr || guid->IsZero())
        return -1;
    for (size_t row = 0; row < count; ++row) {
        if (rows[row].guid == *guid)
            return static_cast<int>(row);
    }
    return -1;
}

int FindKnownObject(const Guid128* guid) {
    return FindKnownObjectIn(KnownObjectTable, kKnownObjectCount, guid);
}
