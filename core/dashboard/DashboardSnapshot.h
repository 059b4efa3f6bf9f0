#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/icloud/ICloudDriveScanSummary.h"
#include "core/photos/PhotosScanSummary.h"
#include "core/platform/Formatting.h"
#include "core/platform/Json.h"
#include "core/safety/SafetyFinding.h"
#include "core/safety/SafetyVocabulary.h"
#include "core/safety/ScanRun.h"
#include "core/secondcopy/BackupDestination.h"
#include "core/secondcopy/BackupJobSnapshot.h"
#include "core/verification/VerificationRun.h"

namespace tallowmere {

// What the dashboard, the status item and its popover show: the score and state of the
// latest scan, when things last happened, and the ranked findings.
struct DashboardSnapshot {
    // 0 to 100, taken from the latest scan run.
    std::int64_t safetyScore = 0;
    SafetyState overallState = SafetyState::unknown;
    MenuBarHealth menuBarHealth = MenuBarHealth::paused;
    std::optional<Date> lastScanAt;
    std::optional<Date> lastBackupAt;
    std::optional<Date> lastVerificationAt;
    std::optional<std::string> connectedDestinationName;
    // In ranked order.
    std::vector<SafetyFinding> findings;
    std::optional<ICloudDriveScanSummary> iCloudSummary;

    bool operator==(const DashboardSnapshot&) const = default;

    // Score 0, state unknown, health paused, nothing else: the value before any refresh.
    static DashboardSnapshot empty();

    // The snapshot of the stored state. `latestScanRun` is the newest stored scan run
    // (absent before the first scan) and `storedFindings` its findings; the other
    // values are the latest ones the application has loaded.
    //
    // Score, state and health come from the scan run alone; without one they stay those
    // of empty(). Photos findings stored with the run are dropped and one fresh Photos
    // finding, made from `photosSummary`, takes their place, so the Photos finding always
    // speaks about the latest Photos scan. `now` dates that finding when there is no scan
    // run; otherwise it is dated by the Photos scan, else by the scan run.
    static DashboardSnapshot assemble(const std::optional<ScanRun>& latestScanRun,
                                      const std::vector<SafetyFinding>& storedFindings,
                                      const std::optional<ICloudDriveScanSummary>& iCloudSummary,
                                      const std::optional<PhotosScanSummary>& photosSummary,
                                      const std::optional<BackupDestination>& backupDestination,
                                      const BackupJobSnapshot& backupSnapshot,
                                      const VerificationRun& verificationSnapshot, Date now,
                                      const Formatting& formatting);
};

void to_json(Json& json, const DashboardSnapshot& snapshot);
void from_json(const Json& json, DashboardSnapshot& snapshot);

}  // namespace tallowmere
