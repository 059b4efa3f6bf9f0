#include "app/LocalVerificationCoordinator.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <map>
#include <set>
#include <system_error>
#include <thread>

#include "core/platform/PathStandardizing.h"
#include "core/verification/BackupVerificationEngine.h"
#include "core/verification/FileChecksumCalculator.h"
#include "core/verification/VerificationSampler.h"

namespace tallowmere {
namespace {

using ChunkBuffer = std::unique_ptr<std::uint8_t[]>;

ChunkBuffer newChunkBuffer() {
    return std::make_unique_for_overwrite<std::uint8_t[]>(FileChecksumCalculator::chunkSize);
}

std::span<std::uint8_t> spanOf(const ChunkBuffer& buffer) {
    return {buffer.get(), FileChecksumCalculator::chunkSize};
}

std::size_t defaultParallelChecks() {
    const unsigned processors = std::thread::hardware_concurrency();
    return std::clamp<std::size_t>(processors, 1, LocalVerificationCoordinator::kMaxParallelChecks);
}

// Reads and hashes backup files on a few threads of its own and hands back what it found
// by item index. The coordinator takes the findings in item order and makes the results
// from them itself, so what it reports and stores is the same as checking one item after
// another. The destructor drops inspections not started yet and waits for running ones.
class InspectionPool {
public:
    InspectionPool(std::size_t threads, const std::vector<BackupManifestItem>& items,
                   const FileSystem& fileSystem)
        : m_items(items), m_fileSystem(fileSystem) {
        m_threads.reserve(threads);
        for (std::size_t i = 0; i < threads; ++i) m_threads.emplace_back([this] { work(); });
    }

    ~InspectionPool() {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        for (auto& thread : m_threads) thread.join();
    }

    InspectionPool(const InspectionPool&) = delete;
    InspectionPool& operator=(const InspectionPool&) = delete;

    // Waits for the item's findings; rethrows what inspecting it threw.
    BackupVerificationEngine::DestinationFileFacts take(std::size_t index) {
        std::unique_lock lock(m_mutex);
        m_resultReady.wait(lock, [&] { return m_done.contains(index); });
        auto node = m_done.extract(index);
        lock.unlock();
        if (node.mapped().error)
            std::rethrow_exception(node.mapped().error);
        return std::move(*node.mapped().facts);
    }

private:
    struct Outcome {
        std::optional<BackupVerificationEngine::DestinationFileFacts> facts;
        std::exception_ptr error;
    };

    void work() {
        const ChunkBuffer buffer = newChunkBuffer();
        for (;;) {
            std::size_t index = 0;
            {
                std::lock_guard lock(m_mutex);
                // Items are handed out in order, so the next one the coordinator waits for
                // is always among the first taken.
                if (m_stopping || m_next == m_items.size())
                    return;
                index = m_next++;
            }
            Outcome outcome;
            try {
                outcome.facts = BackupVerificationEngine::inspectDestinationFile(
                    m_items[index], m_fileSystem, spanOf(buffer));
            } catch (...) {
                outcome.error = std::current_exception();
            }
            {
                std::lock_guard lock(m_mutex);
                m_done.emplace(index, std::move(outcome));
            }
            m_resultReady.notify_all();
        }
    }

    // Constant after construction.
    const std::vector<BackupManifestItem>& m_items;
    const FileSystem& m_fileSystem;

    std::mutex m_mutex;
    std::condition_variable m_resultReady;
    // Guarded by m_mutex.
    bool m_stopping = false;
    std::size_t m_next = 0;
    std::map<std::size_t, Outcome> m_done;
    // Started in the constructor, joined in the destructor.
    std::vector<std::thread> m_threads;
};

VerificationProgressSnapshot progressOf(VerificationMode mode, bool isRunning,
                                        std::optional<std::string> currentFile,
                                        std::int64_t totalFiles, const VerificationTally& tally,
                                        std::string message) {
    return VerificationProgressSnapshot{.mode = mode,
                                        .isRunning = isRunning,
                                        .currentFile = std::move(currentFile),
                                        .totalFiles = totalFiles,
                                        .checkedFiles = tally.checkedFiles,
                                        .failedFiles = tally.failedFiles,
                                        .skippedFiles = tally.skippedFiles,
                                        .bytesChecked = tally.bytesChecked,
                                        .message = std::move(message)};
}

std::string finalFileMessage(VerificationMode mode, VerificationStatus status,
                             const VerificationTally& tally) {
    // Plain integers: these sentences are stored, and a store must not depend on the
    // locale that happened to be active.
    if (status == VerificationStatus::verified) {
        return (mode == VerificationMode::quick ? "Sample verification passed for "
                                                : "Full verification passed for ") +
               std::to_string(tally.checkedFiles) + " copied files.";
    }
    if (tally.failedFiles == 1)
        return "Verification found 1 file that could not be checked.";
    return "Verification found " + std::to_string(tally.failedFiles) +
           " files that could not be checked.";
}

}  // namespace

LocalVerificationCoordinator::LocalVerificationCoordinator(
    BackupRepository backupRepository, VerificationRepository verificationRepository,
    std::shared_ptr<FileSystem> fileSystem, std::shared_ptr<const Clock> clock, Options options)
    : m_backupRepository(std::move(backupRepository)),
      m_verificationRepository(std::move(verificationRepository)),
      m_fileSystem(std::move(fileSystem)),
      m_clock(std::move(clock)),
      m_resolveDestination(std::move(options.resolveDestination)),
      m_parallelChecks(options.parallelChecks == 0 ? defaultParallelChecks()
                                                   : options.parallelChecks) {}

LocalVerificationCoordinator::LocalVerificationCoordinator(
    BackupRepository backupRepository, VerificationRepository verificationRepository,
    std::shared_ptr<FileSystem> fileSystem, std::shared_ptr<const Clock> clock)
    : LocalVerificationCoordinator(std::move(backupRepository), std::move(verificationRepository),
                                   std::move(fileSystem), std::move(clock), Options{}) {}

void LocalVerificationCoordinator::setProgressHandler(ProgressHandler handler) {
    std::lock_guard lock(m_mutex);
    m_progressHandler = std::move(handler);
}

void LocalVerificationCoordinator::emit(const VerificationProgressSnapshot& progress) {
    ProgressHandler handler;
    {
        std::lock_guard lock(m_mutex);
        handler = m_progressHandler;
    }
    if (handler)
        handler(progress);
}

VerificationRun LocalVerificationCoordinator::latestVerification() const {
    if (auto run = m_verificationRepository.fetchLatestRun())
        return *run;
    return VerificationRun{.id = Uuid::random(),
                           .mode = VerificationMode::quick,
                           .status = VerificationStatus::notRun,
                           .startedAt = m_clock->now(),
                           .message = "No verification has been run yet."};
}

VerificationRun LocalVerificationCoordinator::runQuickVerification() {
    return runFileVerification(VerificationMode::quick);
}

VerificationRun LocalVerificationCoordinator::runFullVerification() {
    return runFileVerification(VerificationMode::full);
}

std::optional<LocalVerificationCoordinator::Context> LocalVerificationCoordinator::makeContext(
    VerificationMode mode) {
    auto job = m_backupRepository.fetchLatestJobSnapshot();
    if (!job)
        return std::nullopt;
    switch (job->status) {
        case BackupJobStatus::prepared:
        case BackupJobStatus::paused:
        case BackupJobStatus::completed:
        case BackupJobStatus::completedWithSkipped:
            break;
        case BackupJobStatus::notStarted:
        case BackupJobStatus::preparing:
        case BackupJobStatus::running:
        case BackupJobStatus::cancelled:
        case BackupJobStatus::failed:
            return std::nullopt;
    }

    auto items = m_backupRepository.fetchManifestItems(
        job->id, std::set{BackupItemStatus::copied, BackupItemStatus::alreadyCopied});
    if (items.empty())
        return Context{std::move(*job), {}};

    if (const auto destination = m_backupRepository.fetchSelectedDestination();
        destination && destination->path) {
        std::optional<std::string> folder;
        if (destination->bookmarkData && m_resolveDestination)
            folder = m_resolveDestination(*destination);
        const std::string prefix =
            PathStandardizing::standardizedPath(folder ? *folder : *destination->path);
        // Items copied to an earlier destination drop out.
        std::erase_if(items, [&](const BackupManifestItem& item) {
            return !PathStandardizing::beginsWithFolder(item.destinationPath, prefix);
        });
    }

    emit(progressOf(mode, false, std::nullopt, static_cast<std::int64_t>(items.size()), {},
                    "Tallowmere does not modify your original files."));
    return Context{std::move(*job), std::move(items)};
}

VerificationRun LocalVerificationCoordinator::failedRun(VerificationMode mode,
                                                        std::optional<Uuid> jobID,
                                                        std::string message) {
    const Date started = m_clock->now();
    VerificationRun run{.id = Uuid::random(),
                        .mode = mode,
                        .status = VerificationStatus::failed,
                        .backupJobID = jobID,
                        .startedAt = started,
                        .completedAt = m_clock->now(),
                        .message = std::move(message)};
    m_verificationRepository.saveRun(run);
    return run;
}

VerificationRun LocalVerificationCoordinator::runFileVerification(VerificationMode mode) {
    const auto context = makeContext(mode);
    if (!context) {
        return failedRun(mode, std::nullopt,
                         "Copy files into a backup destination before running verification.");
    }
    const std::vector<BackupManifestItem> items =
        mode == VerificationMode::quick ? VerificationSampler::quickSample(context->items)
                                        : context->items;
    if (items.empty()) {
        return failedRun(mode, context->job.id,
                         "There are no copied files available for verification.");
    }
    const std::size_t count = items.size();
    const auto total = static_cast<std::int64_t>(count);

    // Reading starts at once, while the run is being stored; only the disk is touched
    // before the results are made below, in item order.
    std::optional<InspectionPool> pool;
    if (const std::size_t threads = std::min(m_parallelChecks, count); threads > 1)
        pool.emplace(threads, items, *m_fileSystem);

    VerificationRun run{.id = Uuid::random(),
                        .mode = mode,
                        .status = VerificationStatus::running,
                        .backupJobID = context->job.id,
                        .startedAt = m_clock->now(),
                        .message = mode == VerificationMode::quick
                                       ? "Quick verification checks a sample."
                                       : "Full verification checks every copied file."};
    m_verificationRepository.saveRun(run);
    emit(progressOf(mode, true, std::nullopt, total, {},
                    mode == VerificationMode::quick ? "Starting quick verification..."
                                                    : "Starting full verification..."));

    std::vector<VerificationItemResult> results;
    results.reserve(count);
    VerificationTally tally;
    const ChunkBuffer buffer = pool ? nullptr : newChunkBuffer();
    for (std::size_t i = 0; i < count; ++i) {
        const auto& item = items[i];
        const auto expected = m_verificationRepository.fetchLatestPassedChecksum(item.id);
        const auto facts = pool ? pool->take(i)
                                : BackupVerificationEngine::inspectDestinationFile(
                                      item, *m_fileSystem, spanOf(buffer));
        auto result = BackupVerificationEngine::destinationFileResult(item, run.id, expected, facts,
                                                                      m_clock->now());
        tally.add(result);
        results.push_back(std::move(result));
        emit(progressOf(mode, true, item.relativePath, total, tally,
                        "Verification checks that Tallowmere can read the second copy."));
    }
    pool.reset();
    m_verificationRepository.replaceResults(run.id, results);

    run.status = tally.checkedFiles >= 1 && tally.failedFiles == 0 ? VerificationStatus::verified
                                                                   : VerificationStatus::failed;
    run.message = finalFileMessage(mode, run.status, tally);
    run.completedAt = m_clock->now();
    run.checkedFiles = tally.checkedFiles;
    run.failedFiles = tally.failedFiles;
    run.skippedFiles = tally.skippedFiles;
    run.restoredSampleFiles = tally.restoredSampleFiles(mode);
    run.bytesChecked = tally.bytesChecked;
    run.restoreTestPath = std::nullopt;
    m_verificationRepository.saveRun(run);
    emit(progressOf(mode, false, std::nullopt, total, tally, run.message));
    return run;
}

std::string LocalVerificationCoordinator::restoreRoot(const Uuid& runID) {
    const auto support = m_fileSystem->applicationSupportDirectory();
    if (!support)
        throw std::system_error(support.error(), "cannot find the Application Support folder");
    const std::string folder = PathStandardizing::standardizedPath(*support) +
                               "/Tallowmere/Restore Tests/" + runID.toString();
    if (const auto error = m_fileSystem->createDirectory(folder))
        throw std::system_error(error, "cannot create the restore-test folder");
    return folder;
}

VerificationRun LocalVerificationCoordinator::runRestoreTest() {
    constexpr auto mode = VerificationMode::restoreTest;
    const auto context = makeContext(mode);
    if (!context) {
        return failedRun(mode, std::nullopt,
                         "Copy files into a backup destination before running a restore test.");
    }
    const auto sample = VerificationSampler::restoreSample(context->items);
    if (sample.empty()) {
        return failedRun(mode, context->job.id,
                         "There are no copied files available for a restore test.");
    }
    const auto total = static_cast<std::int64_t>(sample.size());

    VerificationRun run{.id = Uuid::random(), .mode = mode};
    const std::string folder = restoreRoot(run.id);
    run.status = VerificationStatus::running;
    run.backupJobID = context->job.id;
    run.startedAt = m_clock->now();
    run.message =
        "Restore test copies a sample from the backup into a temporary folder and "
        "checks it.";
    m_verificationRepository.saveRun(run);
    emit(progressOf(mode, true, std::nullopt, total, {}, "Starting sample restore test..."));

    std::vector<VerificationItemResult> results;
    VerificationTally tally;
    const ChunkBuffer buffer = newChunkBuffer();
    for (const auto& item : sample) {
        const auto expected = m_verificationRepository.fetchLatestPassedChecksum(item.id);
        auto result = BackupVerificationEngine::restoreTest(
            item, run.id, folder, expected, *m_fileSystem, m_clock->now(), spanOf(buffer));
        tally.add(result);
        results.push_back(std::move(result));
        emit(
            progressOf(mode, true, item.relativePath, total, tally, "Checking restored sample..."));
    }
    m_verificationRepository.replaceResults(run.id, results);

    run.checkedFiles = tally.checkedFiles;
    run.failedFiles = tally.failedFiles;
    run.skippedFiles = tally.skippedFiles;
    run.restoredSampleFiles = tally.restoredSampleFiles(mode);
    run.bytesChecked = tally.bytesChecked;
    if (tally.failedFiles == 0 && tally.checkedFiles >= 1) {
        // A leftover folder is harmless and is not worth failing a passed test for.
        m_fileSystem->remove(folder);
        run.status = VerificationStatus::verified;
        run.restoreTestPath = std::nullopt;
        run.message =
            "Sample restore test passed. Tallowmere checked restored copies in a "
            "temporary folder.";
    } else {
        run.status = VerificationStatus::failed;
        run.restoreTestPath = folder;
        run.message = "Sample restore test found files that could not be restored or checked.";
    }
    run.completedAt = m_clock->now();
    m_verificationRepository.saveRun(run);
    emit(progressOf(mode, false, std::nullopt, total, tally, run.message));
    return run;
}

}  // namespace tallowmere
