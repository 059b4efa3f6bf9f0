#include "app/LocalBackupCoordinator.h"

#include <algorithm>
#include <cctype>
#include <future>
#include <iterator>
#include <set>
#include <span>
#include <system_error>
#include <utility>
#include <vector>

#include "app/ManifestPreview.h"
#include "core/platform/PathText.h"
#include "core/secondcopy/BackupDestinationStatusEvaluator.h"
#include "core/secondcopy/BackupManifestBuilder.h"
#include "core/secondcopy/BackupPaths.h"

namespace tallowmere {
namespace {

constexpr const char* kPreparingMessage = "Preparing backup manifest...";
constexpr const char* kNoDestinationToPrepare =
    "Choose a backup destination before preparing a backup.";
constexpr const char* kCannotPrepare = "Tallowmere cannot prepare this destination yet: ";
constexpr const char* kNoScan = "Run an iCloud Drive scan before preparing a backup.";
constexpr const char* kNoResults =
    "The latest iCloud Drive scan did not include file results to prepare.";
constexpr const char* kPreviewNote =
    "Tallowmere prepared this manifest without modifying source files. Verification can check "
    "the second copy after copying.";
constexpr const char* kNoDestinationToCopy = "Choose a backup destination before copying files.";
constexpr const char* kCannotCopy = "Tallowmere cannot copy to this destination yet: ";
constexpr const char* kRunningMessage =
    "Copying eligible local files. Tallowmere will not delete or change your original files.";
constexpr const char* kCancelledMessage =
    "Backup cancelled. Files already copied remain in the Tallowmere backup folder.";
constexpr const char* kPausedMessage =
    "Backup paused. Tallowmere can continue from the remaining files.";
constexpr const char* kCompletedMessage =
    "Backup copied eligible local files. Run verification to check the second copy.";
constexpr const char* kCompletedWithSkippedMessage =
    "Backup copied eligible local files with skipped or conflict items. Run verification to "
    "check the second copy.";
constexpr const char* kPausingMessage = "Pausing backup...";
constexpr const char* kCancellingMessage = "Cancelling backup...";
constexpr const char* kNoJobMessage = "No backup has been prepared yet.";

constexpr const char* kCouldNotRead = "Tallowmere could not read this source file.";
constexpr const char* kFolderItem =
    "Folders are represented by their files and are not copied as standalone backup items.";
constexpr const char* kConflict =
    "A different file already exists at the backup path. Tallowmere did not overwrite it.";
constexpr const char* kAlreadyCopied =
    "A matching file already exists in the Tallowmere backup folder.";
constexpr const char* kCouldNotCopy = "Tallowmere could not copy this file.";
constexpr const char* kCopied = "Copied.";

constexpr const char* kManifestFolder = BackupPaths::kManifestFolderName;
constexpr const char* kReportsFolder = "Reports";
constexpr const char* kCopiesFolder = "iCloud Drive";

std::string lowercased(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// "... yet: " + "low space" + "."
std::string notReadyMessage(const char* prefix, BackupDestinationStatus status) {
    return prefix + lowercased(displayName(status)) + ".";
}

BackupJobSnapshot withCounters(BackupJobSnapshot job, const BackupManifestStats& stats) {
    job.totalFiles = stats.totalEligibleFiles;
    job.completedFiles = stats.completedFiles;
    job.skippedFiles = stats.skippedFiles;
    job.failedFiles = stats.failedFiles;
    job.conflictFiles = stats.conflictFiles;
    job.preparedBytes = stats.preparedBytes;
    job.copiedBytes = stats.copiedBytes;
    return job;
}

BackupProgressSnapshot progressOf(const BackupJobSnapshot& job, bool running,
                                  std::optional<std::string> currentFile = std::nullopt) {
    BackupProgressSnapshot progress;
    progress.isRunning = running;
    progress.currentFile = std::move(currentFile);
    progress.totalFiles = job.totalFiles;
    progress.completedFiles = job.completedFiles;
    progress.skippedFiles = job.skippedFiles;
    progress.failedFiles = job.failedFiles;
    progress.conflictFiles = job.conflictFiles;
    progress.copiedBytes = job.copiedBytes;
    progress.totalBytes = job.preparedBytes;
    progress.message = job.message;
    return progress;
}

BackupItemStatus statusOf(BackupExistingFileDecision decision) {
    return decision == BackupExistingFileDecision::alreadyCopied ? BackupItemStatus::alreadyCopied
                                                                 : BackupItemStatus::conflict;
}

const char* messageOf(BackupExistingFileDecision decision) {
    return decision == BackupExistingFileDecision::alreadyCopied ? kAlreadyCopied : kConflict;
}

}  // namespace

// ---------------------------------------------------------------- destination access

// Where a destination is now, with scoped access held for as long as this object lives.
class LocalBackupCoordinator::DestinationAccess {
public:
    DestinationAccess(Bookmarks& bookmarks, std::string path, bool fileSystemMissing,
                      bool accessStarted, std::optional<Bytes> resolvedBookmark = std::nullopt)
        : m_bookmarks(&bookmarks),
          m_path(std::move(path)),
          m_fileSystemMissing(fileSystemMissing),
          m_accessStarted(accessStarted),
          m_resolvedBookmark(std::move(resolvedBookmark)) {}
    DestinationAccess(DestinationAccess&& other) noexcept
        : m_bookmarks(other.m_bookmarks),
          m_path(std::move(other.m_path)),
          m_fileSystemMissing(other.m_fileSystemMissing),
          m_accessStarted(std::exchange(other.m_accessStarted, false)),
          m_resolvedBookmark(std::move(other.m_resolvedBookmark)) {}
    DestinationAccess(const DestinationAccess&) = delete;
    DestinationAccess& operator=(const DestinationAccess&) = delete;
    DestinationAccess& operator=(DestinationAccess&&) = delete;
    ~DestinationAccess() {
        if (m_accessStarted)
            m_bookmarks->stopAccessing(m_path);
    }

    // Empty when there is nothing to look at.
    const std::string& path() const { return m_path; }
    // The bookmark names a file system (or folder) that is not there now.
    bool fileSystemMissing() const { return m_fileSystemMissing; }

    // False once the drive found through the bookmark is no longer mounted at path(): a
    // folder left at the old mount point must not take its copies. Always true for a
    // destination found by its stored path.
    bool isStillThere() const {
        if (!m_resolvedBookmark)
            return true;
        const auto resolved = m_bookmarks->resolve(*m_resolvedBookmark);
        return resolved.ok() && path_text::standardized(resolved->path) == m_path;
    }

private:
    Bookmarks* m_bookmarks;
    std::string m_path;
    bool m_fileSystemMissing;
    bool m_accessStarted;
    std::optional<Bytes> m_resolvedBookmark;
};

LocalBackupCoordinator::DestinationAccess LocalBackupCoordinator::resolveDestination(
    const BackupDestination& destination) {
    const std::string storedPath = destination.path.value_or("");
    if (destination.bookmarkData) {
        auto resolved = m_bookmarks->resolve(*destination.bookmarkData);
        if (resolved.ok()) {
            const bool started = m_bookmarks->startAccessing(resolved->path);
            return DestinationAccess(*m_bookmarks, path_text::standardized(resolved->path), false,
                                     started, destination.bookmarkData);
        }
        // The drive is unplugged or mounted nowhere: an empty folder may well sit at the
        // old path (a mount point), and copying there would fill the wrong disk.
        if (resolved.notFound())
            return DestinationAccess(*m_bookmarks, storedPath, true, false);
    }
    // No bookmark, or one that cannot be read: the stored path decides.
    return DestinationAccess(*m_bookmarks, storedPath, false, false);
}

// ---------------------------------------------------------------- one copy run

// The copy loop of one start. Items are copied under temporary names in groups; a full
// group is made durable (flushed, named, flushed again) on a second thread while the next
// group is copied, and its statuses are written by this thread once that is done. Only this
// thread writes to the store, so the counters it publishes are always the store's.
class LocalBackupCoordinator::CopyRun {
public:
    CopyRun(LocalBackupCoordinator& owner, const DestinationAccess& destination,
            BackupJobSnapshot job, std::string backupFolder)
        : m_owner(owner),
          m_fs(*owner.m_fileSystem),
          m_destination(destination),
          m_job(std::move(job)),
          m_backupFolder(std::move(backupFolder)),
          m_preparedFolder(BackupPaths::preparedBackupFolder(m_job.manifestJSONPath)) {}

    BackupJobSnapshot run(const std::vector<BackupManifestItem>& items) {
        m_stats = m_owner.m_backupRepository.manifestStats(m_job.id);
        m_job = withCounters(m_job, m_stats);
        bool processedAny = false;
        try {
            for (const auto& item : items) {
                if (m_owner.cancellationRequested())
                    return stop(BackupJobStatus::cancelled);
                if (m_owner.pauseRequested())
                    return stop(BackupJobStatus::paused);
                m_owner.emit(progressOf(m_job, true, item.relativePath));
                copy(item);
                processedAny = true;
                if (groupIsFull())
                    handOverGroup();
            }
            flushAll();
        } catch (...) {
            // Whatever is durable already is still recorded; the job stays `running` and
            // the next start goes on from there.
            try {
                flushAll();
            } catch (...) {
            }
            throw;
        }
        const auto stats = m_owner.m_backupRepository.manifestStats(m_job.id);
        BackupJobSnapshot finished = m_owner.completedSnapshot(m_job, stats);
        if (processedAny)
            m_owner.emit(progressOf(finished, false));
        m_owner.m_backupRepository.saveJob(finished);
        return finished;
    }

private:
    struct Outcome {
        BackupManifestItemUpdate update;
        std::int64_t size = 0;
    };
    struct StagedCopy {
        const BackupManifestItem* item;
        std::string destination;
        std::string temporary;
    };
    // What making a group durable decided. Copies that are not in `outcomes` could not be
    // confirmed durable and stay pending.
    struct Durability {
        std::vector<Outcome> outcomes;
        std::error_code error;
    };

    BackupJobSnapshot stop(BackupJobStatus status) {
        flushAll();
        const auto stats = m_owner.m_backupRepository.manifestStats(m_job.id);
        BackupJobSnapshot stopped = withCounters(m_job, stats);
        stopped.status = status;
        const bool cancelled = status == BackupJobStatus::cancelled;
        const Date now = m_owner.m_clock->now();
        stopped.completedAt = cancelled ? std::optional<Date>(now) : std::nullopt;
        stopped.cancelledAt = cancelled ? std::optional<Date>(now) : std::nullopt;
        stopped.message = cancelled ? kCancelledMessage : kPausedMessage;
        m_owner.m_backupRepository.saveJob(stopped);
        BackupProgressSnapshot progress = progressOf(stopped, false);
        progress.isCancelling = cancelled;
        progress.isPaused = !cancelled;
        m_owner.emit(progress);
        return stopped;
    }

    // Where the item's copy goes now: its prepared path, moved to the backup folder's
    // current place when the drive is mounted elsewhere than at prepare. None when that is
    // not inside the current backup folder, where nothing may be written.
    std::optional<std::string> currentDestination(const BackupManifestItem& item) const {
        return BackupPaths::currentDestination(item.destinationPath, m_preparedFolder,
                                               m_backupFolder);
    }

    Outcome outcome(const BackupManifestItem& item, BackupItemStatus status,
                    const char* message) const {
        return Outcome{{item.id, status, message, m_owner.m_clock->now()},
                       item.fileSize.value_or(0)};
    }

    void startGroupClock() {
        if (m_outcomes.empty() && m_staged.empty())
            m_groupStart = std::chrono::steady_clock::now();
    }

    void record(Outcome decided) {
        startGroupClock();
        m_outcomes.push_back(std::move(decided));
    }

    void record(const BackupManifestItem& item, BackupItemStatus status, const char* message) {
        record(outcome(item, status, message));
    }

    Outcome existingFileOutcome(const BackupManifestItem& item,
                                const std::string& destination) const {
        const auto decision = m_owner.existingDestinationDecision(destination, item);
        return outcome(item, statusOf(decision), messageOf(decision));
    }

    // Creation errors end the run: the destination is no longer usable.
    void ensureFolder(const std::string& folder) {
        if (m_knownFolders.count(folder) != 0)
            return;
        if (const auto error = m_fs.createDirectoryBelow(m_backupFolder, folder))
            throw std::system_error(error, "cannot create a folder in the backup folder");
        m_knownFolders.insert(folder);
    }

    void copy(const BackupManifestItem& item) {
        const auto destination = currentDestination(item);
        if (!destination) {
            record(item, BackupItemStatus::failed, kCouldNotCopy);
            return;
        }
        const std::string folder = path_text::parent(*destination);
        ensureFolder(folder);
        // The copy itself tells a missing source, a folder and an existing destination
        // apart (in that order), so the common case costs no look-ups of its own.
        auto temporary = m_fs.copyToTemporaryFile(item.sourcePath, *destination);
        if (temporary.notFound()) {
            if (!m_fs.exists(item.sourcePath)) {
                record(item, BackupItemStatus::failed, kCouldNotRead);
                return;
            }
            // The folder went away since it was made: make it again, which ends the run
            // when the backup folder itself is gone.
            m_knownFolders.erase(folder);
            ensureFolder(folder);
            temporary = m_fs.copyToTemporaryFile(item.sourcePath, *destination);
        }
        if (!temporary.ok()) {
            if (temporary.error() == std::errc::is_a_directory)
                record(item, BackupItemStatus::skipped, kFolderItem);
            else if (temporary.error() == std::errc::file_exists)
                record(existingFileOutcome(item, *destination));
            else
                record(item, BackupItemStatus::failed, kCouldNotCopy);
            return;
        }
        startGroupClock();
        m_staged.push_back(StagedCopy{&item, *destination, std::move(*temporary)});
        m_stagedBytes += item.fileSize.value_or(0);
    }

    bool groupIsFull() const {
        const std::size_t files = m_outcomes.size() + m_staged.size();
        if (files == 0)
            return false;
        const auto& limits = m_owner.m_groupLimits;
        return files >= limits.maxFiles || m_stagedBytes >= limits.maxBytes ||
               std::chrono::steady_clock::now() - m_groupStart >= limits.maxDuration;
    }

    // Gives the group's copies their names, durably: flushed, named without replacing
    // anything, flushed again. Only file-system work, so it may run on the second thread.
    Durability makeDurable(std::vector<StagedCopy> staged) const {
        Durability result;
        if (staged.empty())
            return result;
        if (const auto error = m_fs.synchronize(m_backupFolder)) {
            for (const auto& copy : staged) m_fs.remove(copy.temporary);
            result.error = error;
            return result;
        }
        std::vector<const StagedCopy*> published;
        for (const auto& copy : staged) {
            const auto error = m_fs.publishTemporaryFile(copy.temporary, copy.destination);
            if (!error) {
                published.push_back(&copy);
                continue;
            }
            m_fs.remove(copy.temporary);
            // Something took the name meanwhile (another item of this job with the same
            // destination, for one): it is judged like any existing file.
            result.outcomes.push_back(
                error == std::errc::file_exists
                    ? existingFileOutcome(*copy.item, copy.destination)
                    : outcome(*copy.item, BackupItemStatus::failed, kCouldNotCopy));
        }
        if (!published.empty()) {
            // Named but not known to be durably named: left pending, and met again by the
            // next run as files already there.
            if (const auto error = m_fs.synchronize(m_backupFolder)) {
                result.error = error;
                return result;
            }
        }
        for (const auto* copy : published)
            result.outcomes.push_back(outcome(*copy->item, BackupItemStatus::copied, kCopied));
        return result;
    }

    // Starts making the full group durable in the background, once the group before it is
    // durable and recorded. (Recording first keeps the store's own flush out of the way of
    // the group's: on one disk they would wait for each other.)
    void handOverGroup() {
        finishHandedOverGroup();
        requireDestinationStillThere();
        m_handedOverOutcomes = std::exchange(m_outcomes, {});
        m_stagedBytes = 0;
        m_handedOver =
            std::async(std::launch::async, [this, staged = std::exchange(m_staged, {})]() mutable {
                return makeDurable(std::move(staged));
            });
    }

    // Before a group's copies take their names: when the drive went away meanwhile, they
    // may have gone to a folder at its old mount point, on another disk. They are removed
    // unnamed and stay pending, and the run ends.
    void requireDestinationStillThere() {
        if (m_destination.isStillThere())
            return;
        for (const auto& copy : std::exchange(m_staged, {})) m_fs.remove(copy.temporary);
        m_outcomes.clear();
        m_stagedBytes = 0;
        throw std::system_error(std::make_error_code(std::errc::no_such_device),
                                "the backup drive is no longer mounted where the copy began");
    }

    // Waits for the group being made durable and records its outcomes. Throws when the
    // destination could not be flushed.
    void finishHandedOverGroup() {
        if (!m_handedOver.valid())
            return;
        Durability durability = m_handedOver.get();
        record(std::exchange(m_handedOverOutcomes, {}), std::move(durability));
    }

    // Makes everything copied so far durable and records it: at a pause, a cancel, an
    // error and the end of the run.
    void flushAll() {
        finishHandedOverGroup();
        requireDestinationStillThere();
        std::vector<Outcome> outcomes = std::exchange(m_outcomes, {});
        m_stagedBytes = 0;
        record(std::move(outcomes), makeDurable(std::exchange(m_staged, {})));
    }

    // Writes a group's outcomes in one transaction, then throws the error of making it
    // durable, if any.
    void record(std::vector<Outcome> outcomes, Durability durability) {
        outcomes.insert(outcomes.end(), std::make_move_iterator(durability.outcomes.begin()),
                        std::make_move_iterator(durability.outcomes.end()));
        writeOutcomes(outcomes);
        if (durability.error)
            throw std::system_error(durability.error, "cannot flush the copies to the destination");
    }

    void writeOutcomes(const std::vector<Outcome>& outcomes) {
        if (outcomes.empty())
            return;
        std::vector<BackupManifestItemUpdate> updates;
        updates.reserve(outcomes.size());
        for (const auto& outcome : outcomes) updates.push_back(outcome.update);
        m_owner.m_backupRepository.updateManifestItems(updates);
        // Every item copied here was pending; the counters follow the store's.
        for (const auto& outcome : outcomes) {
            --m_stats.pendingFiles;
            switch (outcome.update.status) {
                case BackupItemStatus::copied:
                case BackupItemStatus::alreadyCopied:
                    ++m_stats.completedFiles;
                    m_stats.copiedBytes += outcome.size;
                    break;
                case BackupItemStatus::skipped:
                    ++m_stats.skippedFiles;
                    break;
                case BackupItemStatus::conflict:
                    ++m_stats.conflictFiles;
                    break;
                case BackupItemStatus::failed:
                    ++m_stats.failedFiles;
                    break;
                case BackupItemStatus::pending:
                    ++m_stats.pendingFiles;
                    break;
            }
        }
        m_job = withCounters(m_job, m_stats);
    }

    LocalBackupCoordinator& m_owner;
    FileSystem& m_fs;
    const DestinationAccess& m_destination;
    BackupJobSnapshot m_job;
    const std::string m_backupFolder;
    const std::optional<std::string> m_preparedFolder;
    // Equal to the store's statistics of the job after every write.
    BackupManifestStats m_stats;
    // Folders of the backup folder made (or found) during this run.
    std::set<std::string> m_knownFolders;

    // The open group.
    std::vector<Outcome> m_outcomes;
    std::vector<StagedCopy> m_staged;
    std::int64_t m_stagedBytes = 0;
    std::chrono::steady_clock::time_point m_groupStart;

    // The group being made durable on the second thread, and the outcomes decided for it
    // while it was open. Declared last: its destructor waits for that thread, which uses
    // the members above.
    std::vector<Outcome> m_handedOverOutcomes;
    std::future<Durability> m_handedOver;
};

// ---------------------------------------------------------------- the coordinator

LocalBackupCoordinator::LocalBackupCoordinator(BackupRepository backupRepository,
                                               ICloudScanRepository iCloudScanRepository,
                                               std::shared_ptr<FileSystem> fileSystem,
                                               std::shared_ptr<Bookmarks> bookmarks,
                                               std::shared_ptr<const Clock> clock,
                                               std::shared_ptr<const Formatting> formatting,
                                               BackupCopyGroupLimits groupLimits)
    : m_backupRepository(std::move(backupRepository)),
      m_iCloudScanRepository(std::move(iCloudScanRepository)),
      m_fileSystem(std::move(fileSystem)),
      m_bookmarks(std::move(bookmarks)),
      m_clock(std::move(clock)),
      m_formatting(std::move(formatting)),
      m_groupLimits(groupLimits) {}

void LocalBackupCoordinator::setProgressHandler(ProgressHandler handler) {
    std::lock_guard lock(m_mutex);
    m_progressHandler = std::move(handler);
}

void LocalBackupCoordinator::emit(const BackupProgressSnapshot& progress) {
    ProgressHandler handler;
    {
        std::lock_guard lock(m_mutex);
        handler = m_progressHandler;
    }
    if (handler)
        handler(progress);
}

bool LocalBackupCoordinator::cancellationRequested() {
    std::lock_guard lock(m_mutex);
    return m_cancellationRequested;
}

bool LocalBackupCoordinator::pauseRequested() {
    std::lock_guard lock(m_mutex);
    return m_pauseRequested;
}

std::optional<std::int64_t> LocalBackupCoordinator::availableBytes(const std::string& path) const {
    const auto free = m_fileSystem->freeSpace(path);
    if (!free.ok())
        return std::nullopt;
    return *free;
}

BackupDestination LocalBackupCoordinator::destinationWithStatus(
    const BackupDestination& destination, const DestinationAccess& access,
    std::optional<std::int64_t> estimatedBytesNeeded) {
    BackupDestinationProbe probe;
    probe.estimatedBytesNeeded = estimatedBytesNeeded;
    VolumeValues volume;
    std::optional<std::string> path = destination.path;
    if (access.fileSystemMissing()) {
        // Nothing at the old path is looked at: it belongs to another file system now.
        probe.path = access.path();
    } else if (access.path().empty()) {
        // A file URL of an empty path would be the working folder; there is nothing to
        // evaluate instead.
        probe.path = std::string();
    } else {
        path = path_text::standardized(access.path());
        probe.path = path;
        if (auto values = m_fileSystem->volumeValues(*path); values.ok())
            volume = std::move(*values);
        probe.availableBytes = availableBytes(*path);
        probe.exists = m_fileSystem->exists(*path);
        probe.isDirectory = m_fileSystem->isDirectory(*path);
        probe.isWritable = m_fileSystem->isWritable(*path);
        probe.isRemovable = volume.volumeIsRemovable.value_or(false);
    }
    const auto evaluation = BackupDestinationStatusEvaluator::evaluate(probe);
    const Date now = m_clock->now();
    BackupDestination result = destination;
    result.path = path;
    result.availableBytes = probe.availableBytes;
    result.status = evaluation.status;
    result.warningMessage = evaluation.warningMessage;
    result.isSelected = true;
    result.isRemovable = probe.isRemovable;
    result.volumeName = volume.volumeName;
    if (evaluation.status == BackupDestinationStatus::connected ||
        evaluation.status == BackupDestinationStatus::lowStorage) {
        result.lastSeenAt = now;
    }
    result.updatedAt = now;
    return result;
}

BackupDestination LocalBackupCoordinator::selectDestination(
    const std::string& rawPath, const std::optional<Bytes>& bookmarkData) {
    const std::string path = path_text::standardized(rawPath);
    const std::string last = path_text::lastComponent(path);
    const Date now = m_clock->now();
    BackupDestination destination{.id = Uuid::random(),
                                  .displayName = last.empty() ? path : last,
                                  .path = path,
                                  .bookmarkData = bookmarkData,
                                  .availableBytes = std::nullopt,
                                  .status = BackupDestinationStatus::unknown,
                                  .isSelected = true,
                                  .isRemovable = false,
                                  .volumeName = std::nullopt,
                                  .warningMessage = std::nullopt,
                                  .selectedAt = now,
                                  .lastSeenAt = std::nullopt,
                                  .updatedAt = now};
    const DestinationAccess chosen(*m_bookmarks, path, false, false);
    destination = destinationWithStatus(destination, chosen, std::nullopt);
    m_backupRepository.saveSelectedDestination(destination);
    return destination;
}

std::optional<BackupDestination> LocalBackupCoordinator::refreshDestinationStatus() {
    const auto selected = m_backupRepository.fetchSelectedDestination();
    if (!selected)
        return std::nullopt;
    const DestinationAccess access = resolveDestination(*selected);
    BackupDestination refreshed = destinationWithStatus(*selected, access, std::nullopt);
    m_backupRepository.updateDestination(refreshed);
    return refreshed;
}

BackupJobSnapshot LocalBackupCoordinator::latestSnapshot() {
    if (auto job = m_backupRepository.fetchLatestJobSnapshot())
        return *job;
    return BackupJobSnapshot{
        .id = Uuid::random(), .status = BackupJobStatus::notStarted, .message = kNoJobMessage};
}

BackupJobSnapshot LocalBackupCoordinator::saveFailure(BackupJobSnapshot job, std::string message) {
    job.status = BackupJobStatus::failed;
    job.completedAt = m_clock->now();
    job.cancelledAt = std::nullopt;
    job.message = std::move(message);
    m_backupRepository.saveJob(job);
    return job;
}

std::string LocalBackupCoordinator::ensureBackupFolders(const std::string& destinationPath) {
    const std::string backupFolder =
        path_text::standardized(path_text::appending(destinationPath, kBackupFolderName));
    for (const char* folder : {kManifestFolder, kReportsFolder, kCopiesFolder}) {
        const auto error = m_fileSystem->createDirectoryBelow(
            destinationPath, path_text::appending(backupFolder, folder));
        if (error)
            throw std::system_error(error, "cannot create the backup folder");
    }
    return backupFolder;
}

void LocalBackupCoordinator::removeLeftoverPartialFiles(const std::string& backupFolder) {
    std::vector<std::string> leftovers;
    m_fileSystem->enumerate(
        backupFolder,
        [&](const DirectoryEntry& entry) {
            if (entry.values.ok() && !entry.values->isDirectory &&
                entry.values->name.rfind(FileSystem::kPartialFilePrefix, 0) == 0) {
                leftovers.push_back(entry.path);
            }
            return WalkAction::descend;
        },
        {});
    // A leftover that cannot be removed is harmless: it never carries a real name.
    for (const auto& path : leftovers) m_fileSystem->remove(path);
}

BackupExistingFileDecision LocalBackupCoordinator::existingDestinationDecision(
    const std::string& path, const BackupManifestItem& item) const {
    const auto values = m_fileSystem->resourceValues(path);
    if (!values.ok())
        return BackupExistingFileDecision::conflict;
    return BackupConflictResolver::decide({item.fileSize, item.modifiedAt},
                                          {values->fileSize, values->contentModificationDate});
}

BackupJobSnapshot LocalBackupCoordinator::completedSnapshot(
    const BackupJobSnapshot& job, const BackupManifestStats& stats) const {
    BackupJobSnapshot done = withCounters(job, stats);
    const bool clean =
        stats.skippedFiles == 0 && stats.failedFiles == 0 && stats.conflictFiles == 0;
    done.status = clean ? BackupJobStatus::completed : BackupJobStatus::completedWithSkipped;
    done.completedAt = m_clock->now();
    done.cancelledAt = std::nullopt;
    done.message = clean ? kCompletedMessage : kCompletedWithSkippedMessage;
    return done;
}

BackupJobSnapshot LocalBackupCoordinator::prepareBackup() {
    {
        std::lock_guard lock(m_mutex);
        m_pauseRequested = false;
        m_cancellationRequested = false;
    }
    BackupProgressSnapshot preparing;
    preparing.isRunning = true;
    preparing.message = kPreparingMessage;
    emit(preparing);

    const auto selected = m_backupRepository.fetchSelectedDestination();
    if (!selected)
        return saveFailure(BackupJobSnapshot{.id = Uuid::random()}, kNoDestinationToPrepare);

    const DestinationAccess access = resolveDestination(*selected);
    BackupDestination destination = destinationWithStatus(*selected, access, std::nullopt);
    m_backupRepository.updateDestination(destination);
    if (destination.status != BackupDestinationStatus::connected &&
        destination.status != BackupDestinationStatus::lowStorage) {
        return saveFailure(BackupJobSnapshot{.id = Uuid::random(), .destinationID = destination.id},
                           notReadyMessage(kCannotPrepare, destination.status));
    }

    const auto scanRunID = m_iCloudScanRepository.fetchLatestScanRunID();
    if (!scanRunID) {
        return saveFailure(BackupJobSnapshot{.id = Uuid::random(), .destinationID = destination.id},
                           kNoScan);
    }
    const auto roots = m_iCloudScanRepository.fetchRoots(false);
    const auto results = m_iCloudScanRepository.fetchFileResults(*scanRunID, std::nullopt);
    if (results.empty()) {
        return saveFailure(BackupJobSnapshot{.id = Uuid::random(),
                                             .destinationID = destination.id,
                                             .sourceScanRunID = scanRunID},
                           kNoResults);
    }

    const std::string backupFolder = ensureBackupFolders(access.path());
    const Uuid jobID = Uuid::random();
    const auto items =
        BackupManifestBuilder::makeItems(jobID, results, roots, backupFolder, m_clock->now());
    std::int64_t eligible = 0;
    std::int64_t preparedBytes = 0;
    for (const auto& item : items) {
        if (item.isEligible) {
            ++eligible;
            preparedBytes += item.fileSize.value_or(0);
        }
    }
    const auto skipped = static_cast<std::int64_t>(items.size()) - eligible;

    // Stored for the screens; a destination that turns out too small still gets its job.
    destination = destinationWithStatus(destination, access, preparedBytes);
    m_backupRepository.updateDestination(destination);

    const Date now = m_clock->now();
    const ManifestPreview preview{.jobID = jobID,
                                  .sourceScanRunID = *scanRunID,
                                  .generatedAt = now,
                                  .eligibleFileCount = eligible,
                                  .skippedFileCount = skipped,
                                  .preparedBytes = preparedBytes,
                                  .note = kPreviewNote};
    const std::string previewText = encodeJson(Json(preview));
    const std::string previewPath =
        path_text::appending(path_text::appending(backupFolder, kManifestFolder),
                             "backup-preview-" + jobID.toString() + ".json");
    const auto previewBytes = std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(previewText.data()), previewText.size());
    if (const auto error = m_fileSystem->writeFileAtomically(previewPath, previewBytes))
        throw std::system_error(error, "cannot write the manifest preview");

    const BackupJobSnapshot job{
        .id = jobID,
        .destinationID = destination.id,
        .sourceScanRunID = scanRunID,
        .status = BackupJobStatus::prepared,
        .startedAt = now,
        .completedAt = now,
        .cancelledAt = std::nullopt,
        .totalFiles = eligible,
        .completedFiles = 0,
        .failedFiles = 0,
        .skippedFiles = skipped,
        .conflictFiles = 0,
        .preparedBytes = preparedBytes,
        .copiedBytes = 0,
        .manifestJSONPath = previewPath,
        .message = "Backup prepared. " + m_formatting->count(eligible) +
                   " local files are ready to copy; " + m_formatting->count(skipped) +
                   " items were skipped.",
    };
    m_backupRepository.saveJob(job);
    m_backupRepository.replaceManifest(jobID, items);
    emit(progressOf(job, false));
    return job;
}

BackupJobSnapshot LocalBackupCoordinator::startBackup() {
    {
        std::lock_guard lock(m_mutex);
        m_pauseRequested = false;
        m_cancellationRequested = false;
    }
    BackupJobSnapshot job;
    const auto stored = m_backupRepository.fetchLatestJobSnapshot();
    if (!stored || stored->status == BackupJobStatus::notStarted ||
        stored->status == BackupJobStatus::failed) {
        job = prepareBackup();
        if (job.status == BackupJobStatus::notStarted || job.status == BackupJobStatus::failed)
            return job;
    } else {
        job = *stored;
    }

    const auto selected = m_backupRepository.fetchSelectedDestination();
    if (!selected)
        return saveFailure(BackupJobSnapshot{.id = job.id}, kNoDestinationToCopy);

    const DestinationAccess access = resolveDestination(*selected);
    const BackupDestination destination =
        destinationWithStatus(*selected, access, job.preparedBytes);
    m_backupRepository.updateDestination(destination);
    if (destination.status != BackupDestinationStatus::connected)
        return saveFailure(job, notReadyMessage(kCannotCopy, destination.status));

    const std::string backupFolder = ensureBackupFolders(access.path());
    removeLeftoverPartialFiles(backupFolder);

    // The counters saved with the running job are the store's, also after a run that
    // ended without saving its own (a crash).
    job = withCounters(job, m_backupRepository.manifestStats(job.id));
    job.status = BackupJobStatus::running;
    if (!job.startedAt)
        job.startedAt = m_clock->now();
    job.completedAt = std::nullopt;
    job.cancelledAt = std::nullopt;
    job.message = kRunningMessage;
    m_backupRepository.saveJob(job);

    const auto items =
        m_backupRepository.fetchManifestItems(job.id, std::set{BackupItemStatus::pending});
    CopyRun run(*this, access, job, backupFolder);
    return run.run(items);
}

BackupJobSnapshot LocalBackupCoordinator::pauseBackup() {
    {
        std::lock_guard lock(m_mutex);
        m_pauseRequested = true;
    }
    const BackupJobSnapshot job = latestSnapshot();
    BackupProgressSnapshot progress = progressOf(job, job.status == BackupJobStatus::running);
    progress.isPaused = true;
    progress.message = kPausingMessage;
    emit(progress);
    return job;
}

BackupJobSnapshot LocalBackupCoordinator::cancelBackup() {
    {
        std::lock_guard lock(m_mutex);
        m_cancellationRequested = true;
    }
    const BackupJobSnapshot job = latestSnapshot();
    BackupProgressSnapshot progress = progressOf(job, job.status == BackupJobStatus::running);
    progress.isCancelling = true;
    progress.message = kCancellingMessage;
    emit(progress);
    return job;
}

}  // namespace tallowmere
