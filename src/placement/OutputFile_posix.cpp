#include "placement/OutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include "common/LastError.h"
#include "common/Text.h"

bool ResolveFullPath(const std::string& name, std::string& fullPath) {
    if (!name.empty() && name[0] == '/') {
        fullPath = name;
    } else {
        char folder[4096];
        if (getcwd(folder, sizeof folder) == nullptr) {
            // The current folder is gone or its name is too long for the buffer.
            SetLastErrorCode(errors::kPathNotFound);
            return false;
        }
        fullPath = std::string(folder) + "/" + name;
    }
    if (fullPath.size() > limits::kPath) {
        SetLastErrorCode(206);
        return false;
    }
    return true;
}

bool PathExists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}
