#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/platform/Bytes.h"
#include "core/secondcopy/BackupDestination.h"
#include "core/secondcopy/BackupJobSnapshot.h"
#include "core/secondcopy/BackupProgressSnapshot.h"

namespace tallowmere {

// What the application model asks of the engine that makes the second copy. Every
// operation is synchronous and may throw: store errors and failures of the program's own
// folders on the destination. Unmet preconditions are returned as `failed` jobs instead.
class BackupCoordinating {
public:
    using ProgressHandler = std::function<void(const BackupProgressSnapshot&)>;

    virtual ~BackupCoordinating() = default;

    // Re-evaluates and stores the selected destination; none when nothing is selected.
    virtual std::optional<BackupDestination> refreshDestinationStatus() = 0;
    // Makes the folder at `path` the selected destination, evaluated and stored.
    virtual BackupDestination selectDestination(const std::string& path,
                                                const std::optional<Bytes>& bookmarkData) = 0;
    // The job saved last, or an unsaved "not started" placeholder.
    virtual BackupJobSnapshot latestSnapshot() = 0;
    virtual BackupJobSnapshot prepareBackup() = 0;
    // Copies the pending files of the latest job (preparing one first when needed) and
    // returns the job as this run left it.
    virtual BackupJobSnapshot startBackup() = 0;
    // Ask a running copy to stop at the next file boundary; return latestSnapshot().
    virtual BackupJobSnapshot pauseBackup() = 0;
    virtual BackupJobSnapshot cancelBackup() = 0;

    // Called on the thread that runs an operation, never while a lock is held.
    virtual void setProgressHandler(ProgressHandler handler) = 0;
};

}  // namespace tallowmere
