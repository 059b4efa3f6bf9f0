#include "ui/screens/dashboard/DashboardContent.h"

#include <algorithm>

#include "core/dashboard/DestinationQuality.h"
#include "core/photos/PhotosVocabulary.h"

namespace tallowmere::DashboardContent {
namespace {

std::string dateOrNever(const std::optional<Date>& date, const Formatting& formatting) {
    return date ? formatting.dateTime(*date) : std::string("Never");
}

std::string photosDetail(const std::optional<PhotosScanSummary>& summary,
                         const Formatting& formatting) {
    if (!summary)
        return "Photos metadata has not been scanned yet.";
    if (canReadMetadata(summary->authorizationStatus)) {
        return formatting.count(summary->totalAssetCount) +
               " Photos items scanned. Local-original status remains unknown.";
    }
    return "Photos access is needed before Tallowmere can read metadata.";
}

std::string iCloudDetail(const std::optional<ICloudDriveScanSummary>& summary,
                         const Formatting& formatting) {
    if (!summary)
        return "Run a read-only scan to classify local and cloud-only files.";
    if (summary->possibleSyncIssueCount > 0)
        return formatting.count(summary->possibleSyncIssueCount) + " item may have a sync issue.";
    if (summary->cloudOnlyCount > 0)
        return formatting.count(summary->cloudOnlyCount) + " files may only exist in iCloud.";
    return formatting.count(summary->localCurrentCount + summary->downloadedCount) +
           " files appear local or downloaded.";
}

std::string secondCopyDetail(const StatusInputs& inputs) {
    const DestinationQuality quality =
        makeDestinationQuality(inputs.backupDestination, inputs.allowLocalBackupTestDestination);
    if (quality != DestinationQuality::externalReady)
        return std::string(detail(quality));
    if (inputs.backupSnapshot.status == BackupJobStatus::notStarted)
        return "Destination is ready. Prepare a manifest before copying.";
    return inputs.backupSnapshot.message;
}

std::string verificationDetail(const VerificationRun& run) {
    switch (run.status) {
        case VerificationStatus::running:
            return "Verification is running.";
        case VerificationStatus::verified:
            return run.mode == VerificationMode::restoreTest
                       ? "Sample restore test passed."
                       : "Verification passed for the copied files.";
        case VerificationStatus::failed:
            return run.message;
        case VerificationStatus::notRun:
        case VerificationStatus::unknown:
            break;
    }
    return "No backup verification has passed yet.";
}

StatusModule module(std::string title, std::string_view symbol, SafetyState state,
                    std::string detail) {
    return {std::move(title), symbol, state, std::string(displayName(state)), std::move(detail)};
}

}  // namespace

std::array<BannerMetric, 3> bannerMetrics(const DashboardSnapshot& snapshot,
                                          const Formatting& formatting) {
    return {{
        {"Last scan", dateOrNever(snapshot.lastScanAt, formatting)},
        {"Last backup", dateOrNever(snapshot.lastBackupAt, formatting)},
        {"Last verified", dateOrNever(snapshot.lastVerificationAt, formatting)},
    }};
}

SafetyState firstFindingState(const DashboardSnapshot& snapshot, SafetyDomain domain) {
    const auto found =
        std::find_if(snapshot.findings.begin(), snapshot.findings.end(),
                     [domain](const SafetyFinding& f) { return f.domain == domain; });
    return found == snapshot.findings.end() ? SafetyState::unknown : found->state;
}

std::array<StatusModule, 4> statusModules(const StatusInputs& inputs,
                                          const Formatting& formatting) {
    const SafetyState verificationState =
        inputs.verificationSnapshot.status == VerificationStatus::verified
            ? SafetyState::protected_
            : SafetyState::backupStale;
    return {{
        module("Photos", "photo.on.rectangle",
               firstFindingState(inputs.snapshot, SafetyDomain::photos),
               photosDetail(inputs.photosSummary, formatting)),
        module("iCloud Drive", "icloud",
               firstFindingState(inputs.snapshot, SafetyDomain::iCloudDrive),
               iCloudDetail(inputs.iCloudSummary, formatting)),
        module("Second Copy", "externaldrive",
               firstFindingState(inputs.snapshot, SafetyDomain::secondCopy),
               secondCopyDetail(inputs)),
        module("Verification", "checkmark.seal", verificationState,
               verificationDetail(inputs.verificationSnapshot)),
    }};
}

}  // namespace tallowmere::DashboardContent
