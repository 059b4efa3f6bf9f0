#include "app/ReportCards.h"

#include <algorithm>

#include "core/photos/PhotosSafetySummaryMapper.h"

namespace tallowmere {
namespace {

constexpr std::size_t kStoredReportCards = 3;

LocalReportCard iCloudCard(const ICloudDriveScanSummary& summary,
                           const DashboardSnapshot& dashboard, Date now, const Formatting& fmt) {
    LocalReportCard card;
    card.id = Uuid::random();
    card.kind = LocalReportKind::iCloudScan;
    card.title = "iCloud Drive scan";
    card.generatedAt = summary.completedAt.value_or(dashboard.lastScanAt.value_or(now));
    card.status = summary.safetyState();
    card.summary = fmt.count(summary.scannedItemCount) + " items checked. " +
                   fmt.count(summary.localAvailableCount()) + " appear local; " +
                   fmt.count(summary.cloudOnlyCount) + " may only be in iCloud.";
    card.details = {
        {"Local/current or downloaded", fmt.count(summary.localAvailableCount())},
        {"Cloud-only", fmt.count(summary.cloudOnlyCount)},
        {"Waiting", fmt.count(summary.waitingToUploadCount + summary.waitingToDownloadCount)},
        {"Possible sync issue", fmt.count(summary.possibleSyncIssueCount)},
        {"Unknown", fmt.count(summary.unknownCount)},
    };
    card.nextStep = summary.cloudOnlyCount > 0
                        ? "Download cloud-only files in Finder before copying them."
                        : "Re-scan after major file changes.";
    card.privacyNote = "This report omits file paths and file names.";
    return card;
}

LocalReportCard photosCard(const PhotosScanSummary& summary, const Formatting& fmt) {
    LocalReportCard card;
    card.id = Uuid::random();
    card.kind = LocalReportKind::photosScan;
    card.title = "Photos safety scan";
    card.generatedAt = summary.completedAt.value_or(summary.startedAt);
    // Only the finding's state is read, so its id and time do not matter here.
    card.status = PhotosSafetySummaryMapper::finding(summary, Uuid(), Date(), fmt).state;
    card.summary = canReadMetadata(summary.authorizationStatus)
                       ? fmt.count(summary.totalAssetCount) + " Photos items counted from metadata."
                       : "Photos access is needed before metadata can be scanned.";
    card.details = {
        {"Authorization", std::string(displayName(summary.authorizationStatus))},
        {"Photos", fmt.count(summary.photoCount)},
        {"Videos", fmt.count(summary.videoCount)},
        {"Library package", summary.libraryDisplayName.value_or("Not detected")},
        {"Package size",
         summary.localLibrarySizeBytes ? fmt.byteCount(*summary.localLibrarySizeBytes) : "Unknown"},
    };
    card.nextStep =
        "Treat local-original and iCloud optimized-storage details as unknown until Photos "
        "backup/export is implemented.";
    card.privacyNote = "This report omits Photos metadata, asset names, paths, and originals.";
    return card;
}

SafetyState backupJobState(const BackupJobSnapshot& job) {
    // A job that failed outright (no destination, nothing to copy) has no failed files to
    // count, yet it must not read as protected.
    if (job.status == BackupJobStatus::failed || job.failedFiles > 0 || job.conflictFiles > 0)
        return SafetyState::needsAttention;
    if (job.skippedFiles > 0)
        return SafetyState::backupStale;
    return SafetyState::protected_;
}

LocalReportCard backupCard(const BackupJobSnapshot& job,
                           const std::optional<BackupDestination>& destination, Date now,
                           const Formatting& fmt) {
    LocalReportCard card;
    card.id = Uuid::random();
    card.kind = LocalReportKind::backupJob;
    card.title = "Backup job";
    card.generatedAt = job.completedAt.value_or(job.startedAt.value_or(now));
    card.status = backupJobState(job);
    card.summary = job.message;
    card.details = {
        {"Destination", destination ? destination->displayName : "Not selected"},
        {"Prepared", fmt.count(job.totalFiles)},
        {"Copied", fmt.count(job.completedFiles)},
        {"Skipped", fmt.count(job.skippedFiles)},
        {"Conflicts", fmt.count(job.conflictFiles)},
    };
    const bool finished = job.status == BackupJobStatus::completed ||
                          job.status == BackupJobStatus::completedWithSkipped;
    card.nextStep = finished ? "Run verification to confirm Tallowmere can read the second copy."
                             : "Prepare or resume copying when your external drive is available.";
    card.privacyNote =
        "This report omits source paths, destination paths, manifests, and checksums.";
    return card;
}

LocalReportCard verificationCard(const VerificationRun& run, const Formatting& fmt) {
    const bool verified = run.status == VerificationStatus::verified;
    LocalReportCard card;
    card.id = Uuid::random();
    card.kind = LocalReportKind::verificationRun;
    card.title = run.mode == VerificationMode::quick ? "Quick verification" : "Full verification";
    card.generatedAt = run.completedAt.value_or(run.startedAt);
    card.status = verified ? SafetyState::protected_ : SafetyState::needsAttention;
    card.summary = run.message;
    card.details = {
        {"Checked", fmt.count(run.checkedFiles)},
        {"Failed", fmt.count(run.failedFiles)},
        {"Skipped", fmt.count(run.skippedFiles)},
        {"Bytes read", fmt.byteCount(run.bytesChecked)},
    };
    card.nextStep = verified ? "Run a restore test for sample restore confidence."
                             : "Review verification failures and copy again after fixing the "
                               "destination.";
    card.privacyNote = "This report omits file paths and checksums.";
    return card;
}

LocalReportCard restoreTestCard(const VerificationRun& run, const Formatting& fmt) {
    const bool verified = run.status == VerificationStatus::verified;
    LocalReportCard card;
    card.id = Uuid::random();
    card.kind = LocalReportKind::restoreTest;
    card.title = "Restore test";
    card.generatedAt = run.completedAt.value_or(run.startedAt);
    card.status = verified ? SafetyState::protected_ : SafetyState::needsAttention;
    card.summary = run.message;
    card.details = {
        {"Sample files", fmt.count(run.restoredSampleFiles)},
        {"Failed", fmt.count(run.failedFiles)},
        {"Retained folder", run.restoreTestPath ? "Yes" : "No"},
    };
    card.nextStep = verified ? "Sample restore test passed. Full restore tooling can come later."
                             : "Review the retained restore-test folder if one was kept.";
    card.privacyNote = "This report omits restored sample paths and checksums.";
    return card;
}

LocalReportCard storedReportCard(const ReportSummary& report, const Formatting& fmt) {
    LocalReportCard card;
    card.id = report.id;
    card.kind = LocalReportKind::storedReport;
    card.title = report.title;
    card.generatedAt = report.generatedAt;
    card.status = report.status;
    card.summary = report.recommendedNextStep;
    card.details = {
        {"Protected files", fmt.count(report.protectedFilesCount)},
        {"Unprotected files", fmt.count(report.unprotectedFilesCount)},
        {"Failed files", fmt.count(report.failedFilesCount)},
    };
    card.nextStep = report.recommendedNextStep;
    card.privacyNote = "Stored report summary only; file lists are not exported here.";
    return card;
}

}  // namespace

void to_json(Json& json, const LocalReportDetail& detail) {
    json = Json{{"label", detail.label}, {"value", detail.value}};
}

void from_json(const Json& json, LocalReportDetail& detail) {
    json.at("label").get_to(detail.label);
    json.at("value").get_to(detail.value);
}

void to_json(Json& json, const LocalReportCard& card) {
    json = Json{{"id", card.id},
                {"kind", card.kind},
                {"title", card.title},
                {"generatedAt", card.generatedAt},
                {"status", card.status},
                {"summary", card.summary},
                {"details", card.details},
                {"nextStep", card.nextStep},
                {"privacyNote", card.privacyNote}};
}

void from_json(const Json& json, LocalReportCard& card) {
    json.at("id").get_to(card.id);
    json.at("kind").get_to(card.kind);
    json.at("title").get_to(card.title);
    json.at("generatedAt").get_to(card.generatedAt);
    json.at("status").get_to(card.status);
    json.at("summary").get_to(card.summary);
    json.at("details").get_to(card.details);
    json.at("nextStep").get_to(card.nextStep);
    json.at("privacyNote").get_to(card.privacyNote);
}

std::vector<LocalReportCard> makeReportCards(
    const std::vector<ReportSummary>& storedReports, const DashboardSnapshot& dashboardSnapshot,
    const std::optional<ICloudDriveScanSummary>& iCloudSummary,
    const std::optional<PhotosScanSummary>& photosSummary,
    const std::optional<BackupDestination>& backupDestination,
    const BackupJobSnapshot& backupSnapshot, const VerificationRun& verificationSnapshot,
    const VerificationRun& restoreTestSnapshot, Date now, const Formatting& formatting) {
    std::vector<LocalReportCard> cards;
    if (iCloudSummary && iCloudSummary->scannedItemCount > 0)
        cards.push_back(iCloudCard(*iCloudSummary, dashboardSnapshot, now, formatting));
    if (photosSummary)
        cards.push_back(photosCard(*photosSummary, formatting));
    if (backupSnapshot.status != BackupJobStatus::notStarted)
        cards.push_back(backupCard(backupSnapshot, backupDestination, now, formatting));
    if (verificationSnapshot.status != VerificationStatus::notRun)
        cards.push_back(verificationCard(verificationSnapshot, formatting));
    if (restoreTestSnapshot.status != VerificationStatus::notRun)
        cards.push_back(restoreTestCard(restoreTestSnapshot, formatting));
    const std::size_t stored = std::min(storedReports.size(), kStoredReportCards);
    for (std::size_t i = 0; i < stored; ++i)
        cards.push_back(storedReportCard(storedReports[i], formatting));

    std::stable_sort(cards.begin(), cards.end(),
                     [](const LocalReportCard& a, const LocalReportCard& b) {
                         return a.generatedAt > b.generatedAt;
                     });
    return cards;
}

}  // namespace tallowmere
