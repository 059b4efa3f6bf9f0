#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "app/BackupCoordinating.h"
#include "core/platform/Bookmarks.h"
#include "core/platform/Clock.h"
#include "core/platform/FileSystem.h"
#include "core/platform/Formatting.h"
#include "core/secondcopy/BackupConflictResolver.h"
#include "persistence/BackupRepository.h"
#include "persistence/ICloudScanRepository.h"

namespace tallowmere {

// When a group of copies is made durable and recorded: whichever limit is reached first.
// Each group costs two flushes of the destination and one store transaction; a pause or
// cancel waits for the open group's flush, which the byte limit keeps short.
struct BackupCopyGroupLimits {
    std::size_t maxFiles = 2000;
    std::int64_t maxBytes = std::int64_t{256} << 20;
    std::chrono::milliseconds maxDuration{2000};
};

// Makes the second copy: evaluates the chosen destination, prepares a job's manifest from
// the latest iCloud Drive scan (with a small preview file in the backup folder), and copies
// the job's pending files into "Tallowmere Backup" on the destination, with pause, resume
// and cancel at file boundaries.
//
// It only reads sources, never replaces or removes anything at a copy's destination, and
// only creates folders and files inside the backup folder (removing nothing but its own
// unfinished temporary files). A destination whose bookmark names a file system that is
// not mounted is `missing`, whatever folder sits at the old path.
//
// Copies are made durable in groups: a group's files are copied under temporary names,
// flushed together, given their names (never replacing), flushed again, and only then are
// the group's item statuses written, in one transaction. So an item is `copied` only when
// its data is on the disk, and after a crash a copy whose status was not written is found
// again as already copied. Groups end at the limits below and at every pause, cancel,
// error and the end of the run. While one group is flushed and named on a helper thread
// the next one is copied; the helper only touches the file system.
//
// Thread safety: one operation runs at a time (the owner's rule); pauseBackup(),
// cancelBackup() and setProgressHandler() may be called from any thread while one runs.
// The progress handler is called on the thread running the operation, outside the lock,
// and the store is written only from that thread, so every published count is the store's.
class LocalBackupCoordinator final : public BackupCoordinating {
public:
    LocalBackupCoordinator(BackupRepository backupRepository,
                           ICloudScanRepository iCloudScanRepository,
                           std::shared_ptr<FileSystem> fileSystem,
                           std::shared_ptr<Bookmarks> bookmarks, std::shared_ptr<const Clock> clock,
                           std::shared_ptr<const Formatting> formatting,
                           BackupCopyGroupLimits groupLimits = {});

    std::optional<BackupDestination> refreshDestinationStatus() override;
    BackupDestination selectDestination(const std::string& path,
                                        const std::optional<Bytes>& bookmarkData) override;
    BackupJobSnapshot latestSnapshot() override;
    BackupJobSnapshot prepareBackup() override;
    BackupJobSnapshot startBackup() override;
    BackupJobSnapshot pauseBackup() override;
    BackupJobSnapshot cancelBackup() override;
    void setProgressHandler(ProgressHandler handler) override;

    static constexpr const char* kBackupFolderName = "Tallowmere Backup";

private:
    class DestinationAccess;
    class CopyRun;

    DestinationAccess resolveDestination(const BackupDestination& destination);
    // `access` says where to look; a folder whose file system is not mounted is `missing`
    // without looking at its old path.
    BackupDestination destinationWithStatus(const BackupDestination& destination,
                                            const DestinationAccess& access,
                                            std::optional<std::int64_t> estimatedBytesNeeded);
    std::optional<std::int64_t> availableBytes(const std::string& path) const;
    // Creates the backup folder and its three subfolders inside the destination folder
    // (never the destination folder itself); returns the backup folder's path. Throws
    // std::system_error.
    std::string ensureBackupFolders(const std::string& destinationPath);
    void removeLeftoverPartialFiles(const std::string& backupFolder);
    BackupExistingFileDecision existingDestinationDecision(const std::string& path,
                                                           const BackupManifestItem& item) const;
    BackupJobSnapshot completedSnapshot(const BackupJobSnapshot& job,
                                        const BackupManifestStats& stats) const;
    BackupJobSnapshot saveFailure(BackupJobSnapshot job, std::string message);

    void emit(const BackupProgressSnapshot& progress);
    bool cancellationRequested();
    bool pauseRequested();

    // Constant after construction.
    const BackupRepository m_backupRepository;
    const ICloudScanRepository m_iCloudScanRepository;
    const std::shared_ptr<FileSystem> m_fileSystem;
    const std::shared_ptr<Bookmarks> m_bookmarks;
    const std::shared_ptr<const Clock> m_clock;
    const std::shared_ptr<const Formatting> m_formatting;
    const BackupCopyGroupLimits m_groupLimits;

    std::mutex m_mutex;
    // Guarded by m_mutex.
    bool m_pauseRequested = false;
    bool m_cancellationRequested = false;
    ProgressHandler m_progressHandler;
};

}  // namespace tallowmere
