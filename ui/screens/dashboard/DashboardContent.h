#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/dashboard/DashboardSnapshot.h"
#include "core/icloud/ICloudDriveScanSummary.h"
#include "core/photos/PhotosScanSummary.h"
#include "core/platform/Formatting.h"
#include "core/secondcopy/BackupDestination.h"
#include "core/secondcopy/BackupJobSnapshot.h"
#include "core/verification/VerificationRun.h"

// What the dashboard's banner metrics and status tiles say, worked out from the model's
// published values. Pure functions; the widgets only show the result.
namespace tallowmere::DashboardContent {

// "Last scan", "Last backup", "Last verified": a date and time, or "Never".
struct BannerMetric {
    std::string title;
    std::string value;

    bool operator==(const BannerMetric&) const = default;
};

std::array<BannerMetric, 3> bannerMetrics(const DashboardSnapshot& snapshot,
                                          const Formatting& formatting);

// One tile of the status grid; its value is the state's display name.
struct StatusModule {
    std::string title;
    std::string_view systemImage;
    SafetyState state = SafetyState::unknown;
    std::string value;
    std::string detail;

    bool operator==(const StatusModule&) const = default;
};

// The inputs of the four tiles, as the model publishes them.
struct StatusInputs {
    const DashboardSnapshot& snapshot;
    const std::optional<ICloudDriveScanSummary>& iCloudSummary;
    const std::optional<PhotosScanSummary>& photosSummary;
    const std::optional<BackupDestination>& backupDestination;
    const BackupJobSnapshot& backupSnapshot;
    const VerificationRun& verificationSnapshot;
    bool allowLocalBackupTestDestination = false;
};

// Photos, iCloud Drive, Second Copy and Verification, in that order.
std::array<StatusModule, 4> statusModules(const StatusInputs& inputs, const Formatting& formatting);

// The state of the first (highest ranked) finding of the domain, or unknown.
SafetyState firstFindingState(const DashboardSnapshot& snapshot, SafetyDomain domain);

}  // namespace tallowmere::DashboardContent
