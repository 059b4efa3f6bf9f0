#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/icloud/ICloudDriveScanSummary.h"
#include "core/photos/PhotosScanSummary.h"
#include "core/platform/Formatting.h"
#include "core/platform/Json.h"
#include "core/safety/SafetyVocabulary.h"
#include "core/secondcopy/BackupDestination.h"
#include "core/secondcopy/BackupJobSnapshot.h"
#include "core/verification/VerificationRun.h"

namespace tallowmere {

// One area of the score breakdown on the dashboard.
struct SafetyScoreBreakdownItem {
    // A fixed key per area: "icloud", "photos", "destination", "verification", "skipped".
    std::string id;
    std::string title;
    // The short figure shown large.
    std::string value;
    std::string detail;
    // Colours the row.
    SafetyState state = SafetyState::unknown;

    bool operator==(const SafetyScoreBreakdownItem&) const = default;
};

void to_json(Json& json, const SafetyScoreBreakdownItem& item);
void from_json(const Json& json, SafetyScoreBreakdownItem& item);

namespace DashboardScoreExplainer {

// The rows that explain the score, in this order: iCloud Drive, Photos, second copy,
// verification, and skipped items when the backup job skipped any (or completed with
// skipped items, even if it reports none). Counts go through `formatting`.
std::vector<SafetyScoreBreakdownItem> makeBreakdown(
    const std::optional<ICloudDriveScanSummary>& iCloudSummary,
    const std::optional<PhotosScanSummary>& photosSummary,
    const std::optional<BackupDestination>& backupDestination,
    const BackupJobSnapshot& backupSnapshot, const VerificationRun& verificationSnapshot,
    const Formatting& formatting);

}  // namespace DashboardScoreExplainer
}  // namespace tallowmere
