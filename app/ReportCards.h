#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dashboard/DashboardSnapshot.h"
#include "core/icloud/ICloudDriveScanSummary.h"
#include "core/photos/PhotosScanSummary.h"
#include "core/platform/Formatting.h"
#include "core/platform/Json.h"
#include "core/safety/ReportSummary.h"
#include "core/safety/SafetyVocabulary.h"
#include "core/secondcopy/BackupDestination.h"
#include "core/secondcopy/BackupJobSnapshot.h"
#include "core/verification/VerificationRun.h"

namespace tallowmere {

// The area a report card speaks about. The display name is the label shown on the card.
enum class LocalReportKind {
    iCloudScan,
    photosScan,
    backupJob,
    verificationRun,
    restoreTest,
    storedReport
};

template <>
struct EnumTable<LocalReportKind> {
    static constexpr std::array<EnumCase<LocalReportKind>, 6> kCases{{
        {LocalReportKind::iCloudScan, "iCloudScan", "iCloud scan"},
        {LocalReportKind::photosScan, "photosScan", "Photos scan"},
        {LocalReportKind::backupJob, "backupJob", "Backup job"},
        {LocalReportKind::verificationRun, "verificationRun", "Verification"},
        {LocalReportKind::restoreTest, "restoreTest", "Restore test"},
        {LocalReportKind::storedReport, "storedReport", "Saved report"},
    }};
};

constexpr std::string_view label(LocalReportKind kind) {
    return displayName(kind);
}

// One labelled figure of a card.
struct LocalReportDetail {
    std::string label;
    std::string value;

    bool operator==(const LocalReportDetail&) const = default;
};

void to_json(Json& json, const LocalReportDetail& detail);
void from_json(const Json& json, LocalReportDetail& detail);

// What one area of the program found, in counts, states and fixed sentences only: never
// a path, a manifest, a checksum or file contents, so it can be exported as it is.
struct LocalReportCard {
    // New at every build, except for a card that mirrors a stored report.
    Uuid id;
    LocalReportKind kind = LocalReportKind::storedReport;
    std::string title;
    Date generatedAt;
    SafetyState status = SafetyState::unknown;
    // One or two sentences.
    std::string summary;
    // In display order.
    std::vector<LocalReportDetail> details;
    std::string nextStep;
    // What the card leaves out.
    std::string privacyNote;

    bool operator==(const LocalReportCard&) const = default;
};

void to_json(Json& json, const LocalReportCard& card);
void from_json(const Json& json, LocalReportCard& card);

// The report cards of the latest state, newest first (cards of equal time keep the order
// iCloud Drive, Photos, backup job, verification, restore test, stored reports). An
// area without results gives no card; at most the first three `storedReports` (newest
// first, as stored) get one. `now` dates an iCloud Drive card that has no other time;
// counts and byte sizes go through `formatting`. Pure apart from the random card ids.
std::vector<LocalReportCard> makeReportCards(
    const std::vector<ReportSummary>& storedReports, const DashboardSnapshot& dashboardSnapshot,
    const std::optional<ICloudDriveScanSummary>& iCloudSummary,
    const std::optional<PhotosScanSummary>& photosSummary,
    const std::optional<BackupDestination>& backupDestination,
    const BackupJobSnapshot& backupSnapshot, const VerificationRun& verificationSnapshot,
    const VerificationRun& restoreTestSnapshot, Date now, const Formatting& formatting);

}  // namespace tallowmere
