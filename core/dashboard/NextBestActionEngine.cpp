#include "core/dashboard/NextBestActionEngine.h"

#include <algorithm>

#include "core/dashboard/DestinationQuality.h"

namespace tallowmere::NextBestActionEngine {
namespace {

class ActionList {
public:
    void add(NextBestActionKind kind, std::string title, std::string detail,
             std::string buttonTitle, std::string systemImage, std::int64_t priority) {
        m_actions.emplace_back(kind, std::move(title), std::move(detail), std::move(buttonTitle),
                               std::move(systemImage), priority, m_actions.empty());
    }

    std::vector<NextBestAction> sorted() && {
        std::stable_sort(m_actions.begin(), m_actions.end(),
                         [](const NextBestAction& a, const NextBestAction& b) {
                             if (a.priority != b.priority)
                                 return a.priority > b.priority;
                             return rawValue(a.kind) < rawValue(b.kind);
                         });
        return std::move(m_actions);
    }

private:
    std::vector<NextBestAction> m_actions;
};

bool isOneOf(BackupJobStatus status, std::initializer_list<BackupJobStatus> statuses) {
    return std::find(statuses.begin(), statuses.end(), status) != statuses.end();
}

}  // namespace

std::vector<NextBestAction> makeActions(const std::optional<ICloudDriveScanSummary>& iCloudSummary,
                                        const std::optional<PhotosScanSummary>& photosSummary,
                                        const std::optional<BackupDestination>& backupDestination,
                                        const BackupJobSnapshot& backupSnapshot,
                                        const VerificationRun& verificationSnapshot,
                                        const VerificationRun& restoreTestSnapshot,
                                        bool allowLocalTestDestination,
                                        const Formatting& formatting) {
    const DestinationQuality quality =
        makeDestinationQuality(backupDestination, allowLocalTestDestination);
    const BackupJobStatus job = backupSnapshot.status;
    ActionList actions;

    if (!iCloudSummary || iCloudSummary->scannedItemCount <= 0) {
        actions.add(NextBestActionKind::runICloudScan, "Create your iCloud safety baseline",
                    "Run a read-only scan so Tallowmere can separate local, cloud-only, waiting, "
                    "and unknown files.",
                    "Run iCloud Scan", "icloud", 100);
    }
    if (!photosSummary || !canReadMetadata(photosSummary->authorizationStatus)) {
        actions.add(NextBestActionKind::scanPhotos,
                    photosSummary ? "Allow Photos metadata access" : "Scan Photos metadata",
                    "Photos Safety stays read-only and helps explain library size, counts, and "
                    "what remains unknown.",
                    "Scan Photos", "photo.on.rectangle", 90);
    }
    if (quality != DestinationQuality::externalReady) {
        actions.add(NextBestActionKind::chooseExternalDrive, std::string(title(quality)),
                    std::string(detail(quality)), "Choose Destination", "externaldrive", 80);
    }
    if (iCloudSummary && iCloudSummary->cloudOnlyCount > 0) {
        actions.add(NextBestActionKind::downloadCloudOnlyFiles,
                    "Download cloud-only files before copying",
                    formatting.count(iCloudSummary->cloudOnlyCount) +
                        " files may only exist in iCloud. Tallowmere will not force-download "
                        "them.",
                    "Review iCloud Results", "icloud.and.arrow.down", 70);
    }
    if (canPrepare(quality) &&
        isOneOf(job, {BackupJobStatus::notStarted, BackupJobStatus::failed})) {
        actions.add(NextBestActionKind::prepareBackup, "Prepare the second-copy manifest",
                    "Tallowmere will count eligible local files and skipped cloud-only or "
                    "uncertain items before copying.",
                    "Prepare Backup", "doc.badge.gearshape", 50);
    }
    if (canCopy(quality) && isOneOf(job, {BackupJobStatus::prepared, BackupJobStatus::paused,
                                          BackupJobStatus::cancelled})) {
        const bool paused = job == BackupJobStatus::paused;
        actions.add(NextBestActionKind::startCopy,
                    paused ? "Resume the second copy" : "Start the second copy",
                    "Only eligible local or downloaded files are copied. Tallowmere does not "
                    "mirror-delete or alter originals.",
                    paused ? "Resume Copy" : "Start Copy", "play.fill", 40);
    }
    const bool copyVerified = verificationSnapshot.status == VerificationStatus::verified;
    if (isOneOf(job, {BackupJobStatus::completed, BackupJobStatus::completedWithSkipped}) &&
        !copyVerified) {
        actions.add(NextBestActionKind::quickVerify, "Verify that Tallowmere can read the copy",
                    "Quick verification checks a sample. Full verification can check every "
                    "copied file.",
                    "Quick Verify", "checkmark.seal", 30);
    }
    if (copyVerified && restoreTestSnapshot.status != VerificationStatus::verified) {
        actions.add(NextBestActionKind::restoreTest, "Run a sample restore test",
                    "Tallowmere copies a small sample from the backup into a temporary folder "
                    "and checks it.",
                    "Restore Test", "arrow.counterclockwise.circle", 20);
    }
    return std::move(actions).sorted();
}

}  // namespace tallowmere::NextBestActionEngine
