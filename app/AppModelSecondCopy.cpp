#include "app/AppModel.h"
#include "core/platform/PathStandardizing.h"
#include "core/secondcopy/LocalBackupDestinationPolicy.h"

namespace tallowmere {
namespace {

// A progress snapshot for the start of a step, or for a step that failed.
BackupProgressSnapshot copyProgress(bool running, std::string message) {
    BackupProgressSnapshot progress = BackupProgressSnapshot::idle();
    progress.isRunning = running;
    progress.message = std::move(message);
    return progress;
}

}  // namespace

QFuture<void> AppModel::selectBackupDestination(const std::string& folderPath) {
    const std::string path = PathStandardizing::standardizedPath(folderPath);
    // The bookmark is made on the worker too: a sleeping drive may take a while to answer.
    auto work = [coordinator = m_backupCoordinator, bookmarks = m_environment.bookmarks, path] {
        std::optional<Bytes> bookmark;
        if (auto created = bookmarks->create(path))
            bookmark = std::move(*created);
        return coordinator->selectDestination(path, bookmark);
    };
    return inBackground(std::move(work), [this](std::optional<BackupDestination> destination) {
        if (!destination) {
            setStatusMessage("Tallowmere could not select that backup destination.");
            return;
        }
        publish(m_backupDestination, std::move(destination), &AppModel::backupDestinationChanged);
        refreshFromStore();
        const auto& refreshed = m_backupDestination;
        setStatusMessage(refreshed && refreshed->warningMessage ? *refreshed->warningMessage
                                                                : "Backup destination selected.");
        recordEvent(ActivityEventKind::destination, "Backup destination selected", m_statusMessage,
                    refreshed && refreshed->isRemovable ? SafetyState::protected_
                                                        : SafetyState::needsAttention,
                    AppSection::backupDestination);
    });
}

QFuture<void> AppModel::refreshBackupDestinationStatus() {
    auto work = [coordinator = m_backupCoordinator] {
        return coordinator->refreshDestinationStatus();
    };
    return inBackground(
        std::move(work), [this](std::optional<std::optional<BackupDestination>> destination) {
            if (!destination) {
                setStatusMessage("Tallowmere could not refresh the backup destination.");
                return;
            }
            publish(m_backupDestination, std::move(*destination),
                    &AppModel::backupDestinationChanged);
            refreshFromStore();
        });
}

QFuture<void> AppModel::prepareBackup() {
    if (m_isBackupRunning)
        return QtFuture::makeReadyFuture();
    publish(m_isBackupRunning, true, &AppModel::isBackupRunningChanged);
    publish(m_backupProgress, copyProgress(true, "Preparing backup manifest..."),
            &AppModel::backupProgressChanged);

    auto work = [coordinator = m_backupCoordinator] {
        return coordinator->prepareBackup();
    };
    return inBackground(std::move(work), [this](std::optional<BackupJobSnapshot> job) {
        if (job) {
            const bool skippedItems = job->skippedFiles > 0;
            publish(m_backupSnapshot, std::move(*job), &AppModel::backupSnapshotChanged);
            refreshFromStore();
            setStatusMessage(m_backupSnapshot.message);
            recordEvent(ActivityEventKind::backup, "Backup manifest prepared", m_statusMessage,
                        skippedItems ? SafetyState::needsAttention : SafetyState::protected_,
                        AppSection::backupDestination);
        } else {
            setStatusMessage("Tallowmere could not prepare backup.");
            publish(m_backupProgress, copyProgress(false, m_statusMessage),
                    &AppModel::backupProgressChanged);
            recordEvent(ActivityEventKind::backup, "Backup preparation failed", m_statusMessage,
                        SafetyState::needsAttention, AppSection::backupDestination);
        }
        publish(m_isBackupRunning, false, &AppModel::isBackupRunningChanged);
    });
}

QFuture<void> AppModel::startBackup() {
    if (m_isBackupRunning)
        return QtFuture::makeReadyFuture();
    if (!LocalBackupDestinationPolicy::canStartCopy(m_backupDestination,
                                                    m_allowLocalBackupTestDestination)) {
        setStatusMessage(
            LocalBackupDestinationPolicy::warning(m_backupDestination,
                                                  m_allowLocalBackupTestDestination)
                .value_or("Choose an available external backup destination before copying."));
        return QtFuture::makeReadyFuture();
    }
    publish(m_isBackupRunning, true, &AppModel::isBackupRunningChanged);
    publish(m_backupProgress, copyProgress(true, "Starting backup..."),
            &AppModel::backupProgressChanged);

    auto work = [coordinator = m_backupCoordinator] {
        return coordinator->startBackup();
    };
    return inBackground(std::move(work), [this](std::optional<BackupJobSnapshot> job) {
        if (job) {
            publish(m_backupSnapshot, std::move(*job), &AppModel::backupSnapshotChanged);
            refreshFromStore();
            setStatusMessage(m_backupSnapshot.message);
            const bool troubled =
                m_backupSnapshot.failedFiles > 0 || m_backupSnapshot.conflictFiles > 0;
            recordEvent(ActivityEventKind::backup, "Backup copy updated", m_statusMessage,
                        troubled ? SafetyState::needsAttention : SafetyState::protected_,
                        AppSection::backupDestination);
        } else {
            setStatusMessage("Tallowmere could not start backup.");
            publish(m_backupProgress, copyProgress(false, m_statusMessage),
                    &AppModel::backupProgressChanged);
            recordEvent(ActivityEventKind::backup, "Backup copy failed", m_statusMessage,
                        SafetyState::needsAttention, AppSection::backupDestination);
        }
        publish(m_isBackupRunning, false, &AppModel::isBackupRunningChanged);
    });
}

QFuture<void> AppModel::pauseBackup() {
    auto work = [coordinator = m_backupCoordinator] {
        return coordinator->pauseBackup();
    };
    return inBackground(std::move(work), [this](std::optional<BackupJobSnapshot> job) {
        if (!job) {
            setStatusMessage("Tallowmere could not pause backup.");
            return;
        }
        publish(m_backupSnapshot, std::move(*job), &AppModel::backupSnapshotChanged);
        setStatusMessage("Pausing backup...");
    });
}

QFuture<void> AppModel::cancelBackup() {
    auto work = [coordinator = m_backupCoordinator] {
        return coordinator->cancelBackup();
    };
    return inBackground(std::move(work), [this](std::optional<BackupJobSnapshot> job) {
        if (!job) {
            setStatusMessage("Tallowmere could not cancel backup.");
            return;
        }
        publish(m_backupSnapshot, std::move(*job), &AppModel::backupSnapshotChanged);
        setStatusMessage("Cancelling backup...");
    });
}

}  // namespace tallowmere
