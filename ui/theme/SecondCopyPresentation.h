#pragma once

#include <string_view>

#include "core/secondcopy/BackupDestination.h"
#include "core/secondcopy/BackupManifestItem.h"
#include "core/verification/VerificationItemResult.h"
#include "core/verification/VerificationRun.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {

// How the second-copy and verification statuses are shown: the colour role of each case,
// the 22-pixel symbol of an item status, and this interface's wording of a run's status.
// One place for all of them; every screen and the popover ask here.

ThemeColor statusColor(BackupDestinationStatus status);
ThemeColor statusColor(BackupItemStatus status);
ThemeColor statusColor(VerificationStatus status);
ThemeColor statusColor(VerificationItemStatus status);

std::string_view statusSymbol(BackupItemStatus status);
std::string_view statusSymbol(VerificationItemStatus status);

// "Not run", "Running", "Passed", "Needs attention", "Unknown".
std::string_view verificationStatusLabel(VerificationStatus status);

}  // namespace tallowmere
