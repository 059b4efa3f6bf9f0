#include "ui/shell/QuickActions.h"

#include "app/AppModel.h"
#include "ui/screens/MainThreadTask.h"

namespace tallowmere::QuickActions {

void runOrCancelScan(AppModel& model) {
    if (model.isScanning()) {
        // Wired once the model offers cancelScan() ("Cancelling scan...").
        return;
    }
    // Wired once the model offers runScan(manual).
}

void startBackup(AppModel&) {
    // Wired once the model offers startBackup().
}

void verifyBackup(AppModel&) {
    // Wired once the model offers runQuickVerification().
}

}  // namespace tallowmere::QuickActions
