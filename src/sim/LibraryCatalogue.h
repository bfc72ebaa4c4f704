// The library objects of the current simulator version, in scan order. A row of the main
// window's Name list stores the position of its object here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/LibraryObject.h"

class LibraryCatalogue {
  public:
    size_t Count() const { return objects.size(); }
    bool Empty() const { return objects.empty(); }

    // The object at a position, or null when there is none there.
    const LibraryObject* At(intptr_t position) const {
        if (position < 0 || static_cast<size_t>(position) >= objects.size())
            return nullptr;
        return &objects[static_cast<size_t>(position)];
    }

    void Append(LibraryObject object) { objects.push_back(std::move(object)); }
    void Reserve(size_t count) { objects.reserve(count); }
    // Keeps the first `count` objects.
    void Truncate(size_t count) {
        if (count < objects.size())
            objects.erase(objects.begin() + std::ptrdiff_t(count), objects.end());
    }
    void Clear() { objects.clear(); }

    std::vector<LibraryObject>::const_iterator begin() const { return objects.begin(); }
    std::vector<LibraryObject>::const_iterator end() const { return objects.end(); }

  private:
    std::vector<LibraryObject> objects;
};
