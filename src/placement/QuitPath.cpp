#include "placement/QuitPath.h"

#include "common/AppStrings.h"
#include "placement/Message.h"
#include "resource.h"

namespace {

bool UserLeavesWithoutSaving() {
    return ReportMessage(LoadAppString(IDS_QUIT_UNSAVED), message_kind::kQuitQuestion) ==
           answer::kYes;
}

}  // namespace

bool ConfirmQuit(OutputList& output, FormControls& form,
                 const std::function<void()>& saveSettings) {
    saveSettings();
    if (output.HasUnsavedChanges() && UserLeavesWithoutSaving())
        return true;
    if (output.QuitWrites()) {
        if (output.outputPath.empty()) {
            ReportMessage(LoadAppString(IDS_FILE_NAME_REQUIRED), message_kind::kExclamation);
            form.FocusAndSelectAll(IDC_OUTPUT_FILE);
            return false;
        }
        // The write has shown its own error, or the user chose not to write over another
        // program's changes; staying open lets the user pick another path instead of losing
        // the placements.
        if (!output.WriteOutputFile())
            return false;
    }
    return true;
}

bool ConfirmCancel(const OutputList& output) {
    if (output.HasUnsavedChanges())
        return UserLeavesWithoutSaving();
    return true;
}
