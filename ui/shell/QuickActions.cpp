#include "ui/shell/QuickActions.h"

#include "app/AppModel.h"
#include "ui/screens/MainThreadTask.h"

namespace tallowmere::QuickActions {

void runOrCancelScan(AppModel& model) {
    if (model.isScanning()) {
        model.cancelScan();
        return;
    }
    startMainThreadTask(&model, [&model] { model.runScan(ScanTrigger::manual); });
}

void startBackup(AppModel& model) {
    startMainThreadTask(&model, [&model] { model.startBackup(); });
}

void verifyBackup(AppModel& model) {
    startMainThreadTask(&model, [&model] { model.runQuickVerification(); });
}

}  // namespace tallowmere::QuickActions
