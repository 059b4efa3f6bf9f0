#pragma once

namespace tallowmere {

class AppModel;

// The status item's quick actions, shared by its popover and by the window's menu when
// the desktop has no system tray. Each starts its workflow on a later turn of the event
// loop and returns at once; none is ever disabled, the workflows decide and report.
namespace QuickActions {

// Cancels the running iCloud Drive scan, or starts a manual one.
void runOrCancelScan(AppModel& model);
void startBackup(AppModel& model);
void verifyBackup(AppModel& model);

}  // namespace QuickActions

}  // namespace tallowmere
