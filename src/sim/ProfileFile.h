// A profile (INI) file read once and then looked up as often as needed, with the answers the
// system's profile reader gives: the scenery area list asks for a thousand sections of one file,
// and the system reader pays a file check and a search for every one of them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class ProfileFile {
  public:
    // Its sections and keys are views into its own text: it stays where it was made.
    ProfileFile() = default;
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    // Reads the whole file; false when it cannot be read. Such a file answers every question with
    // its default, as the system reader does. A file with a byte-order mark is in an encoding this
    // reader does not decode: its questions go to the system reader, one by one.
    bool Load(const char* path);
    // Takes the text of a whole file in the 8-bit code page.
    void Parse(std::string_view text);

    // The value of a key, or the default when the section or key is missing (or the key has no
    // "="), at most 259 characters.
    std::string Value(std::string_view section, std::string_view key,
                      std::string_view defaultText) const;

  private:
    struct Key {
        std::string_view name;
        std::string_view value;
        bool hasValue;
    };
    struct Section {
        std::string_view name;
        std::vector<Key> keys;
    };

    std::string text;
    std::vector<Section> sections;
    // Lower-case section name to its first section: only the first of equal names is searched.
    std::unordered_map<std::string, size_t> firstSection;
    std::string systemPath;  // set when the system reader answers
};
