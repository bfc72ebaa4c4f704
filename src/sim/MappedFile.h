// A whole file mapped read-only, others allowed to read it too. The catalogue scans read the
// simulator's index and library files through it and never copy them.
#pragma once

#include <cstddef>
#include <cstdint>

class MappedFile {
  public:
    MappedFile() = default;
    ~MappedFile() { Close(); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // False, with the system's last error, when the file cannot be opened or mapped (an empty
    // file cannot be mapped either).
    bool Open(const char* path);
    void Close();

    const uint8_t* Bytes() const { return view; }
    size_t Size() const { return size; }

  private:
    const uint8_t* view = nullptr;
    size_t size = 0;
    void* fileHandle = nullptr;  // Windows: the file and its mapping stay open with the view
    void* mappingHandle = nullptr;
};
