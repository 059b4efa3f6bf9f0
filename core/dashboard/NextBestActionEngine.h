#pragma once

#include <optional>
#include <vector>

#include "core/dashboard/NextBestAction.h"
#include "core/icloud/ICloudDriveScanSummary.h"
#include "core/photos/PhotosScanSummary.h"
#include "core/platform/Formatting.h"
#include "core/secondcopy/BackupDestination.h"
#include "core/secondcopy/BackupJobSnapshot.h"
#include "core/verification/VerificationRun.h"

// The dashboard's list of what to do next, derived from the latest stored state by a
// fixed set of rules along the program's main path. Pure: same inputs, same list.
namespace tallowmere::NextBestActionEngine {

// Zero to eight actions, at most one of each kind, most urgent first; only the first is
// primary. The runs are the latest quick-or-full verification and the latest restore
// test (placeholders with status notRun when none is stored);
// `allowLocalTestDestination` is the user's local test destination setting. The
// cloud-only count goes through `formatting`.
std::vector<NextBestAction> makeActions(const std::optional<ICloudDriveScanSummary>& iCloudSummary,
                                        const std::optional<PhotosScanSummary>& photosSummary,
                                        const std::optional<BackupDestination>& backupDestination,
                                        const BackupJobSnapshot& backupSnapshot,
                                        const VerificationRun& verificationSnapshot,
                                        const VerificationRun& restoreTestSnapshot,
                                        bool allowLocalTestDestination,
                                        const Formatting& formatting);

}  // namespace tallowmere::NextBestActionEngine
