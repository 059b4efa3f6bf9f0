#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/icloud/ICloudDriveScanSummary.h"
#include "core/photos/PhotosScanSummary.h"
#include "core/safety/SafetyFinding.h"
#include "core/safety/SafetyStatusMapper.h"
#include "core/safety/ScanRun.h"
#include "core/secondcopy/BackupDestination.h"
#include "core/secondcopy/BackupJobSnapshot.h"
#include "core/verification/VerificationRun.h"

// Realistic stored state as the application loads it from the store: the latest
// summaries, destination, job and runs, with the placeholders used when nothing is
// stored. For the dashboard, next-best-action and report-card tests.
namespace tallowmere::testing {

inline constexpr Date kNow{1'765'000'000};

inline ICloudDriveScanSummary iCloudSummaryOf(std::int64_t local, std::int64_t downloaded,
                                              std::int64_t cloudOnly, std::int64_t syncIssues = 0,
                                              std::int64_t unknown = 0) {
    ICloudDriveScanSummary summary;
    summary.scanRunID = Uuid::random();
    summary.completedAt = kNow.addingSeconds(-3600);
    summary.localCurrentCount = local;
    summary.downloadedCount = downloaded;
    summary.cloudOnlyCount = cloudOnly;
    summary.possibleSyncIssueCount = syncIssues;
    summary.unknownCount = unknown;
    summary.scannedItemCount = local + downloaded + cloudOnly + syncIssues + unknown;
    return summary;
}

// A finished scan of a found library; the scanner always sets both "cannot tell" flags.
inline PhotosScanSummary photosScan(
    PhotosAuthorizationState access = PhotosAuthorizationState::authorized,
    std::int64_t assets = 2113) {
    PhotosScanSummary summary;
    summary.id = Uuid::random();
    summary.startedAt = kNow.addingSeconds(-1800);
    summary.completedAt = kNow.addingSeconds(-1790);
    summary.authorizationStatus = access;
    summary.canReadMetadata = access == PhotosAuthorizationState::authorized ||
                              access == PhotosAuthorizationState::limited;
    if (summary.canReadMetadata) {
        summary.totalAssetCount = assets;
        summary.photoCount = assets - assets / 10;
        summary.videoCount = assets / 10;
        summary.libraryExists = true;
        summary.libraryPath = "/home/alex/Pictures";
        summary.libraryDisplayName = "Pictures";
        summary.localLibrarySizeBytes = 12'345'678'901;
    }
    summary.localOriginalsUnknown = true;
    summary.iCloudPhotosStatusUnknown = true;
    summary.message =
        summary.canReadMetadata ? "Photos metadata scanned." : "Photos access is needed.";
    return summary;
}

inline BackupDestination destination(BackupDestinationStatus status, bool removable,
                                     std::string name) {
    BackupDestination d;
    d.id = Uuid::random();
    d.displayName = std::move(name);
    d.path = "/media/alex/" + d.displayName;
    d.status = status;
    d.isSelected = true;
    d.isRemovable = removable;
    d.selectedAt = kNow.addingSeconds(-7200);
    d.updatedAt = kNow.addingSeconds(-60);
    return d;
}

inline BackupDestination externalDrive() {
    return destination(BackupDestinationStatus::connected, true, "Backup Drive");
}

inline BackupDestination internalFolder() {
    return destination(BackupDestinationStatus::connected, false, "Backups");
}

// The job the application shows when none is stored.
inline BackupJobSnapshot placeholderJob() {
    BackupJobSnapshot job;
    job.id = Uuid::random();
    job.message = "No backup has been prepared yet.";
    return job;
}

// A stored job in the given status, with the dates and counters that status has.
inline BackupJobSnapshot jobIn(BackupJobStatus status, std::int64_t skipped = 0) {
    BackupJobSnapshot job;
    job.id = Uuid::random();
    job.status = status;
    job.startedAt = kNow.addingSeconds(-900);
    job.totalFiles = 1204;
    job.skippedFiles = skipped;
    switch (status) {
        case BackupJobStatus::completed:
        case BackupJobStatus::completedWithSkipped:
            job.completedFiles = job.totalFiles;
            job.completedAt = kNow.addingSeconds(-600);
            job.message = "Second copy finished.";
            break;
        case BackupJobStatus::cancelled:
            job.cancelledAt = kNow.addingSeconds(-700);
            job.completedAt = job.cancelledAt;
            job.message = "Copy cancelled.";
            break;
        case BackupJobStatus::failed:
            job.completedAt = kNow.addingSeconds(-800);
            job.message = "No backup destination is selected.";
            break;
        default:
            job.message = "Second copy in progress.";
            break;
    }
    return job;
}

// The run the application shows when none of that mode is stored.
inline VerificationRun placeholderRun(VerificationMode mode) {
    VerificationRun run;
    run.id = Uuid::random();
    run.mode = mode;
    run.startedAt = kNow;
    run.message = mode == VerificationMode::restoreTest ? "No restore test has been run yet."
                                                        : "No verification has been run yet.";
    return run;
}

inline VerificationRun finishedRun(VerificationMode mode, VerificationStatus status) {
    VerificationRun run;
    run.id = Uuid::random();
    run.mode = mode;
    run.status = status;
    run.startedAt = kNow.addingSeconds(-500);
    if (status != VerificationStatus::running)
        run.completedAt = kNow.addingSeconds(-400);
    run.checkedFiles = 24;
    run.failedFiles = status == VerificationStatus::failed ? 2 : 0;
    run.restoredSampleFiles = mode == VerificationMode::restoreTest ? run.checkedFiles : 0;
    run.bytesChecked = 3'500'000;
    run.message = status == VerificationStatus::verified ? "Verification passed."
                                                         : "Verification found problems.";
    return run;
}

// A stored scan run whose overall state is `state`, scored as the scanner scores it.
inline ScanRun scanRunIn(SafetyState state) {
    ScanRun run;
    run.id = Uuid::random();
    run.trigger = ScanTrigger::manual;
    run.startedAt = kNow.addingSeconds(-3700);
    run.completedAt = kNow.addingSeconds(-3600);
    run.overallState = state;
    run.safetyScore = SafetyStatusMapper::score(state);
    run.scannedItemCount = 10;
    return run;
}

inline SafetyFinding storedFinding(const ScanRun& run, SafetyDomain domain, SafetyState state,
                                   std::string title, std::int64_t severity) {
    SafetyFinding f;
    f.id = Uuid::random();
    f.scanRunID = run.id;
    f.domain = domain;
    f.state = state;
    f.title = std::move(title);
    f.severity = severity;
    f.createdAt = run.completedAt.value_or(run.startedAt);
    return f;
}

// The three findings a scan stores: the Photos and second-copy placeholders and the
// iCloud Drive finding.
inline std::vector<SafetyFinding> scannerFindings(const ScanRun& run, SafetyState iCloudState,
                                                  std::string iCloudTitle,
                                                  std::int64_t iCloudSeverity) {
    return {
        storedFinding(run, SafetyDomain::photos, SafetyState::unknown, "Review Photos safety", 35),
        storedFinding(run, SafetyDomain::secondCopy, SafetyState::backupStale,
                      "Create first second copy", 80),
        storedFinding(run, SafetyDomain::iCloudDrive, iCloudState, std::move(iCloudTitle),
                      iCloudSeverity)};
}

// Everything the dashboard, the next best actions and the report cards are made from.
struct StoredState {
    std::optional<ScanRun> latestScanRun;
    std::vector<SafetyFinding> storedFindings;
    std::optional<ICloudDriveScanSummary> iCloudSummary;
    std::optional<PhotosScanSummary> photosSummary;
    std::optional<BackupDestination> backupDestination;
    BackupJobSnapshot backupSnapshot = placeholderJob();
    VerificationRun verificationSnapshot = placeholderRun(VerificationMode::quick);
    VerificationRun restoreTestSnapshot = placeholderRun(VerificationMode::restoreTest);
    bool allowLocalTestDestination = false;

    // Nothing stored yet.
    static StoredState freshInstall() { return {}; }

    // A scan of ten items (6 local, 2 downloaded, 2 cloud-only) with its stored findings.
    StoredState& withCloudOnlyScan() {
        latestScanRun = scanRunIn(SafetyState::cloudOnly);
        storedFindings =
            scannerFindings(*latestScanRun, SafetyState::cloudOnly, "Review cloud-only files", 86);
        iCloudSummary = iCloudSummaryOf(6, 2, 2);
        iCloudSummary->scanRunID = latestScanRun->id;
        return *this;
    }

    // A scan of 40 local items and nothing else.
    StoredState& withLocalScan() {
        latestScanRun = scanRunIn(SafetyState::backupStale);
        storedFindings = scannerFindings(*latestScanRun, SafetyState::protected_,
                                         "iCloud Drive files appear local", 10);
        iCloudSummary = iCloudSummaryOf(30, 10, 0);
        iCloudSummary->scanRunID = latestScanRun->id;
        return *this;
    }
};

}  // namespace tallowmere::testing
