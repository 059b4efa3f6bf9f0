#pragma once

#include <vector>

#include "core/icloud/ICloudDriveScanSummary.h"
#include "core/safety/SafetyFinding.h"

// The findings every iCloud Drive scan returns. Pure.
namespace tallowmere::ICloudScanFindings {

// Exactly three findings, all new, for the scan and created at `createdAt`:
//   1. Photos not scanned yet (unknown, severity 35);
//   2. no second copy yet (backupStale, severity 80);
//   3. the iCloud Drive finding, from the first that holds: no selected roots, cancelled,
//      limit reached, sync issues, waiting uploads, waiting downloads, cloud-only files,
//      unknown items, otherwise "appear local". Excluded rows never select one.
std::vector<SafetyFinding> makeFindings(const Uuid& scanRunID, Date createdAt,
                                        bool hasSelectedRoots,
                                        const ICloudDriveScanSummary& summary);

}  // namespace tallowmere::ICloudScanFindings
