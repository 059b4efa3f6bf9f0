#include "core/dashboard/DashboardSnapshot.h"

#include <algorithm>

#include "core/photos/PhotosSafetySummaryMapper.h"
#include "core/safety/ActionPlanRanker.h"
#include "core/safety/SafetyStatusMapper.h"

namespace tallowmere {
namespace {

// A prepared job that never copied has no completion time; its preparation is the
// last backup activity there is.
std::optional<Date> lastBackupTime(const BackupJobSnapshot& job) {
    if (job.completedAt)
        return job.completedAt;
    if (job.status == BackupJobStatus::prepared)
        return job.startedAt;
    return std::nullopt;
}

std::optional<Date> lastVerificationTime(const VerificationRun& run) {
    if (run.status == VerificationStatus::verified)
        return run.completedAt;
    return std::nullopt;
}

}  // namespace

DashboardSnapshot DashboardSnapshot::empty() {
    return DashboardSnapshot{};
}

DashboardSnapshot DashboardSnapshot::assemble(
    const std::optional<ScanRun>& latestScanRun, const std::vector<SafetyFinding>& storedFindings,
    const std::optional<ICloudDriveScanSummary>& iCloudSummary,
    const std::optional<PhotosScanSummary>& photosSummary,
    const std::optional<BackupDestination>& backupDestination,
    const BackupJobSnapshot& backupSnapshot, const VerificationRun& verificationSnapshot, Date now,
    const Formatting& formatting) {
    DashboardSnapshot snapshot = empty();
    snapshot.lastBackupAt = lastBackupTime(backupSnapshot);
    snapshot.lastVerificationAt = lastVerificationTime(verificationSnapshot);
    if (backupDestination)
        snapshot.connectedDestinationName = backupDestination->displayName;

    if (!latestScanRun) {
        snapshot.findings.push_back(
            PhotosSafetySummaryMapper::finding(photosSummary, Uuid::random(), now, formatting));
        return snapshot;
    }

    const ScanRun& run = *latestScanRun;
    std::vector<SafetyFinding> findings;
    findings.reserve(storedFindings.size() + 1);
    std::copy_if(storedFindings.begin(), storedFindings.end(), std::back_inserter(findings),
                 [](const SafetyFinding& f) { return f.domain != SafetyDomain::photos; });
    Date photosTime = run.completedAt.value_or(run.startedAt);
    if (photosSummary && photosSummary->completedAt)
        photosTime = *photosSummary->completedAt;
    findings.push_back(
        PhotosSafetySummaryMapper::finding(photosSummary, run.id, photosTime, formatting));

    snapshot.findings = ActionPlanRanker::rankedFindings(std::move(findings));
    snapshot.safetyScore = run.safetyScore;
    snapshot.overallState = run.overallState;
    snapshot.menuBarHealth = SafetyStatusMapper::menuBarHealth(run.overallState);
    snapshot.lastScanAt = run.completedAt.value_or(run.startedAt);
    snapshot.iCloudSummary = iCloudSummary;
    return snapshot;
}

void to_json(Json& json, const DashboardSnapshot& snapshot) {
    json = Json{{"safetyScore", snapshot.safetyScore},
                {"overallState", snapshot.overallState},
                {"menuBarHealth", snapshot.menuBarHealth},
                {"findings", snapshot.findings}};
    putOptional(json, "lastScanAt", snapshot.lastScanAt);
    putOptional(json, "lastBackupAt", snapshot.lastBackupAt);
    putOptional(json, "lastVerificationAt", snapshot.lastVerificationAt);
    putOptional(json, "connectedDestinationName", snapshot.connectedDestinationName);
    putOptional(json, "iCloudSummary", snapshot.iCloudSummary);
}

void from_json(const Json& json, DashboardSnapshot& snapshot) {
    json.at("safetyScore").get_to(snapshot.safetyScore);
    json.at("overallState").get_to(snapshot.overallState);
    json.at("menuBarHealth").get_to(snapshot.menuBarHealth);
    snapshot.lastScanAt = getOptional<Date>(json, "lastScanAt");
    snapshot.lastBackupAt = getOptional<Date>(json, "lastBackupAt");
    snapshot.lastVerificationAt = getOptional<Date>(json, "lastVerificationAt");
    snapshot.connectedDestinationName = getOptional<std::string>(json, "connectedDestinationName");
    json.at("findings").get_to(snapshot.findings);
    snapshot.iCloudSummary = getOptional<ICloudDriveScanSummary>(json, "iCloudSummary");
}

}  // namespace tallowmere
