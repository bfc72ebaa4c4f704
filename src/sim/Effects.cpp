#include "sim/Effects.h"

#include "common/LastError.h"
#include "common/Text.h"
#include "sim/SimFiles.h"

void ClearEffectsCatalogue(EffectsCatalogue& catalogue) {
    catalogue.Clear();
}

bool ScanEffects(EffectsCatalogue& catalogue, const char* installPath) {
    ClearEffectsCatalogue(catalogue);
    if (!installPath || !installPath[0]) {
        SetLastErrorCode(errors::kFileNotFound);
        return false;
    }
    auto pattern = ComposePath("%s\\Effects\\*.fx", installPath);
    if (!pattern)
        return false;
    return ListFolder(pattern->c_str(), [&](const char* name, bool directory) {
        if (directory)
            return;
        // A path that would not fit is left out rather than cut into another file's path.
        auto path = ComposePath("%s\\Effects\\%s", installPath, name);
        if (!path)
            return;
        EffectEntry entry;
        entry.displayName = ReadProfileText(path->c_str(), "Library Effect", "Display Name", "");
        if (entry.displayName.empty())
            entry.displayName = std::string(FileNameOf(*path));
        entry.filePath = std::move(*path);
        catalogue.Append(std::move(entry));
    });
}
