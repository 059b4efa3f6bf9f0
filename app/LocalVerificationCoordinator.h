#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/VerificationCoordinating.h"
#include "core/platform/Clock.h"
#include "core/platform/FileSystem.h"
#include "core/secondcopy/BackupDestination.h"
#include "core/secondcopy/BackupJobSnapshot.h"
#include "core/secondcopy/BackupManifestItem.h"
#include "core/verification/VerificationProgressSnapshot.h"
#include "persistence/BackupRepository.h"
#include "persistence/VerificationRepository.h"

namespace tallowmere {

// Runs the quick verification (an evenly spread sample of the copied files), the full
// verification (every copied file) and the sample restore test (a few files copied back
// out of the backup into "<Application Support>/Tallowmere/Restore Tests/<run id>") of the
// latest backup job, and stores each run with its per-file results. It never changes a
// source file or a backup copy; the only thing it deletes is a restore-test folder of its
// own that passed.
//
// Thread safety: the run operations are synchronous and meant for a worker thread; one
// run at a time per coordinator. The progress handler may be replaced from any thread
// while a run goes on; it is called on the thread running the operation. Quick and full
// verification may hash several files at once on threads of their own, but results,
// their order, the progress reported and everything stored are those of checking the
// files one after another.
class LocalVerificationCoordinator final : public VerificationCoordinating {
public:
    using ProgressHandler = std::function<void(const VerificationProgressSnapshot&)>;
    // The selected destination's current folder from its bookmark; none when the bookmark
    // cannot be resolved. Only asked for a destination that has a bookmark.
    using DestinationResolver = std::function<std::optional<std::string>(const BackupDestination&)>;

    struct Options {
        // Without a resolver the destination's stored path is used.
        DestinationResolver resolveDestination;
        // Files hashed at once by quick and full verification; 0 picks the processor count
        // (at most kMaxParallelChecks), 1 checks one file after another. Several at once pay
        // off when hashing, not the drive, is the limit: a spinning disk may prefer 1.
        std::size_t parallelChecks = 0;
    };

    static constexpr std::size_t kMaxParallelChecks = 4;

    LocalVerificationCoordinator(BackupRepository backupRepository,
                                 VerificationRepository verificationRepository,
                                 std::shared_ptr<FileSystem> fileSystem,
                                 std::shared_ptr<const Clock> clock, Options options);
    LocalVerificationCoordinator(BackupRepository backupRepository,
                                 VerificationRepository verificationRepository,
                                 std::shared_ptr<FileSystem> fileSystem,
                                 std::shared_ptr<const Clock> clock);

    void setProgressHandler(ProgressHandler handler);

    VerificationRun latestVerification() const override;
    VerificationRun runQuickVerification() override;
    VerificationRun runFullVerification() override;
    // Throws when the restore-test folder cannot be made (std::system_error), before
    // anything is stored.
    VerificationRun runRestoreTest() override;

    // The files quick and full verification hash at once.
    std::size_t parallelChecks() const { return m_parallelChecks; }

private:
    struct Context {
        BackupJobSnapshot job;
        std::vector<BackupManifestItem> items;
    };

    // The latest job when it is finished enough to check (prepared, paused, completed,
    // completed with skipped items) and its copied items under the selected destination.
    std::optional<Context> makeContext(VerificationMode mode);
    VerificationRun runFileVerification(VerificationMode mode);
    // "<Application Support>/Tallowmere/Restore Tests/<run id>", made with every folder
    // above it. Throws std::system_error when that fails.
    std::string restoreRoot(const Uuid& runID);
    // Saves a run that could not start.
    VerificationRun failedRun(VerificationMode mode, std::optional<Uuid> jobID,
                              std::string message);
    void emit(const VerificationProgressSnapshot& progress);

    // Constant after construction.
    const BackupRepository m_backupRepository;
    const VerificationRepository m_verificationRepository;
    const std::shared_ptr<FileSystem> m_fileSystem;
    const std::shared_ptr<const Clock> m_clock;
    const DestinationResolver m_resolveDestination;
    const std::size_t m_parallelChecks;

    std::mutex m_mutex;
    // Guarded by m_mutex.
    ProgressHandler m_progressHandler;
};

}  // namespace tallowmere
