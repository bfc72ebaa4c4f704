#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <fstream>

#include "common/Text.h"
#include "sim/PosixPath.h"
#include "sim/SimFiles.h"

namespace {
std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}
}  // namespace

// Reads the profile file as GetPrivateProfileStringA does: sections and keys without regard to
// letter case, the first match wins, blanks around names and values dropped.
std::string ReadProfileText(const char* path, const char* section, const char* key,
                            const char* defaultText) {
    std::ifstream file(NativePath(path), std::ios::binary);
    if (file) {
        std::string line;
        bool inSection = false;
        while (std::getline(file, line)) {
            std::string_view text = Trim(line);
            if (!text.empty() && text.front() == '[') {
                size_t end = text.find(']');
                inSection = end != std::string_view::npos &&
                            EqualsNoCase(Trim(text.substr(1, end - 1)), section);
                continue;
            }
            size_t equals = text.find('=');
            if (!inSection || equals == std::string_view::npos)
                continue;
            if (EqualsNoCase(Trim(text.substr(0, equals)), key))
                return CutText(Trim(text.substr(equals + 1)), limits::kPath);
        }
    }
    return CutText(defaultText ? defaultText : "", limits::kPath);
}

bool ListFolder(const char* pattern,
                const std::function<void(const char* name, bool directory)>& item) {
    std::string native = NativePath(pattern);
    size_t slash = native.rfind('/');
    std::string folder = slash == std::string::npos ? "." : native.substr(0, slash);
    std::string wildcard = slash == std::string::npos ? native : native.substr(slash + 1);
    DIR* listing = opendir(folder.c_str());
    if (!listing)
        return false;
    bool any = false;
    while (dirent* entry = readdir(listing)) {
        // Windows matches extensions without regard to letter case.
        if (fnmatch(wildcard.c_str(), entry->d_name, FNM_CASEFOLD) != 0)
            continue;
        struct stat info {};
        std::string full = folder + "/" + entry->d_name;
        bool directory = stat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        any = true;
        item(entry->d_name, directory);
    }
    closedir(listing);
    return any;
}
