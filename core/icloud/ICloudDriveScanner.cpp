#include "core/icloud/ICloudDriveScanner.h"

#include <utility>

#include "core/icloud/ICloudDriveScanSummary.h"
#include "core/icloud/ICloudFileClassifier.h"
#include "core/icloud/ICloudFileMetadata.h"
#include "core/icloud/ICloudScanFindings.h"
#include "core/platform/PathStandardizing.h"
#include "core/safety/SafetyStatusMapper.h"

namespace tallowmere {
namespace {

constexpr const char* kUnreadableReason = "Tallowmere could not read metadata for this item.";
constexpr const char* kTooDeepReason =
    "This item was skipped because the scan depth safety limit was reached.";
constexpr const char* kUnavailableRootReason = "This scan root was not available.";
constexpr const char* kUnenumerableRootReason = "Tallowmere could not enumerate this folder.";
constexpr const char* kScanningMessage = "Scanning iCloud Drive metadata...";
constexpr std::int64_t kProgressEveryRows = 50;
// Row ids are drawn from the generator this many at a time: one call per id would cost a
// fifth of the whole scan.
constexpr std::size_t kIdBatch = 256;

// The counters of a snapshot, from a tally of the rows so far.
ScanProgressSnapshot countsSnapshot(const ICloudDriveScanSummary& tally) {
    ScanProgressSnapshot snapshot;
    snapshot.scannedItemCount = tally.scannedItemCount;
    snapshot.localAvailableCount = tally.localAvailableCount();
    snapshot.cloudOnlyCount = tally.cloudOnlyCount;
    snapshot.waitingCount = tally.waitingToUploadCount + tally.waitingToDownloadCount;
    snapshot.possibleIssueCount = tally.possibleSyncIssueCount;
    snapshot.unknownCount = tally.unknownCount;
    snapshot.excludedCount = tally.excludedCount;
    return snapshot;
}

const char* finalMessage(ScanRunStatus status) {
    switch (status) {
        case ScanRunStatus::completed:
            break;
        case ScanRunStatus::cancelled:
            return "Scan cancelled. Tallowmere did not modify your files.";
        case ScanRunStatus::failed:
            return "Scan failed. Tallowmere did not modify your files.";
        case ScanRunStatus::limitReached:
            return "Scan limit reached. Tallowmere did not modify your files.";
    }
    return "Scan finished. Tallowmere did not modify your files.";
}

// Whether an examined entry gets a row, and whether the walk goes into it.
struct RecordingDecision {
    bool recorded = false;
    bool descend = false;
};

RecordingDecision decide(const ICloudFileMetadata& m) {
    const bool special = m.isHidden || m.isSymbolicLink || m.isExcludedFromSync;
    if (m.isDirectory) {
        const bool closed = m.isPackage || special;
        return {closed, !closed};
    }
    // Anything else that is neither a regular file nor a link (a socket, a device node) is
    // recorded only when hidden or excluded.
    return {m.isRegularFile || special, false};
}

}  // namespace

// The state of one runScan call. Lives on the scanning thread only.
class ICloudDriveScanner::Scan {
public:
    enum class Stop { none, cancelled, limitReached };

    Scan(const ICloudDriveScanner& scanner, std::stop_token stopToken)
        : m_scanner(scanner), m_stopToken(std::move(stopToken)), m_scanRunID(Uuid::random()) {}

    SafetyScanResult run(ScanTrigger trigger, const std::vector<ICloudScanRoot>& roots) {
        const Date startedAt = m_scanner.m_clock->now();
        std::vector<const ICloudScanRoot*> selected;
        for (const ICloudScanRoot& root : roots) {
            if (root.isSelected)
                selected.push_back(&root);
        }

        ScanProgressSnapshot starting;
        starting.isRunning = true;
        starting.message =
            selected.empty() ? "No scan roots selected." : "Starting iCloud Drive scan...";
        m_scanner.publish(starting);

        for (const ICloudScanRoot* root : selected) {
            if (shouldCancel()) {
                m_stop = Stop::cancelled;
                break;
            }
            scanRoot(*root);
            if (m_stop != Stop::none)
                break;
        }
        return finish(trigger, startedAt, !selected.empty());
    }

private:
    // Stops the root's scoped access when the root is done, on every way out of it.
    class AccessGuard {
    public:
        AccessGuard(const ScanRootAccess& access, std::string path, bool started)
            : m_access(access), m_path(std::move(path)), m_started(started) {}
        ~AccessGuard() {
            if (m_started && m_access.stopAccessing)
                m_access.stopAccessing(m_path);
        }
        AccessGuard(const AccessGuard&) = delete;
        AccessGuard& operator=(const AccessGuard&) = delete;

    private:
        const ScanRootAccess& m_access;
        std::string m_path;
        bool m_started;
    };

    bool shouldCancel() const {
        return m_scanner.cancellationRequested() || m_stopToken.stop_requested();
    }

    void scanRoot(const ICloudScanRoot& root) {
        m_root = &root;
        publishCounts();

        // A bookmark that no longer resolves is not an error: the stored path is read
        // instead, without scoped access.
        const ScanRootAccess& access = m_scanner.m_rootAccess;
        std::string rootPath;
        bool accessStarted = false;
        std::optional<std::string> resolved;
        if (root.bookmarkData && access.resolveBookmark)
            resolved = access.resolveBookmark(*root.bookmarkData);
        if (resolved) {
            accessStarted = access.startAccessing && access.startAccessing(*resolved);
            rootPath = PathStandardizing::standardizedPath(*resolved);
        } else {
            rootPath = PathStandardizing::standardizedPath(root.path);
        }
        const AccessGuard guard(access, resolved.value_or(std::string()), accessStarted);

        const FileSystem& fileSystem = m_scanner.m_fileSystem;
        if (!fileSystem.exists(rootPath)) {
            addProblemRow(rootPath, kUnavailableRootReason);
            return;
        }
        const std::error_code error = fileSystem.enumerate(
            rootPath, [this](const DirectoryEntry& entry) { return visit(entry); },
            [this](const std::string& path, std::error_code) {
                // Reported folders are not entries: the entry counter stays.
                addProblemRow(path, kUnreadableReason);
            });
        if (error)
            addProblemRow(rootPath, kUnenumerableRootReason);
    }

    WalkAction visit(const DirectoryEntry& entry) {
        if (shouldCancel()) {
            m_stop = Stop::cancelled;
            return WalkAction::stop;
        }
        if (++m_entryCount > m_scanner.m_limits.maxEntries) {
            m_stop = Stop::limitReached;
            return WalkAction::stop;
        }
        // The entry's path is the root's joined with one name per level, so its depth is
        // the difference of their component counts.
        if (entry.depth > m_scanner.m_limits.maxDepth) {
            addProblemRow(entry.path, kTooDeepReason);
            return WalkAction::skipDescendants;
        }

        WalkAction action = WalkAction::skipDescendants;
        if (!entry.values.ok()) {
            addProblemRow(entry.path, kUnreadableReason);
        } else {
            const ResourceValues& values = *entry.values;
            const ICloudFileMetadata metadata = ICloudFileMetadata::fromResourceValues(values);
            const RecordingDecision decision = decide(metadata);
            if (decision.descend)
                action = WalkAction::descend;
            if (decision.recorded)
                addClassifiedRow(entry.path, values, metadata);
        }
        if (m_tally.scannedItemCount % kProgressEveryRows == 0)
            publishCounts();
        return action;
    }

    void addClassifiedRow(const std::string& path, const ResourceValues& values,
                          const ICloudFileMetadata& metadata) {
        ICloudClassification classification = ICloudFileClassifier::classify(metadata);
        addRow(ICloudFileScanResult{
            .id = nextRowID(),
            .scanRunID = m_scanRunID,
            .rootID = m_root->id,
            .path = path,
            .displayName =
                values.name.empty() ? PathStandardizing::lastPathComponent(path) : values.name,
            .isDirectory = values.isDirectory,
            .fileSize = values.fileSize,
            .modifiedAt = values.contentModificationDate,
            .state = classification.state,
            .confidence = classification.confidence,
            .reason = std::move(classification.reason),
            .scannedAt = m_scanner.m_clock->now(),
        });
    }

    // A row for something that could not be examined: a folder, excluded, with the reason.
    void addProblemRow(const std::string& path, const char* reason) {
        addRow(ICloudFileScanResult{
            .id = nextRowID(),
            .scanRunID = m_scanRunID,
            .rootID = m_root->id,
            .path = path,
            .displayName = PathStandardizing::lastPathComponent(path),
            .isDirectory = true,
            .fileSize = std::nullopt,
            .modifiedAt = std::nullopt,
            .state = ICloudFileState::excluded,
            .confidence = ConfidenceLevel::verified,
            .reason = reason,
            .scannedAt = m_scanner.m_clock->now(),
        });
    }

    Uuid nextRowID() {
        if (m_nextID == m_ids.size()) {
            m_ids.resize(kIdBatch);
            Uuid::fillRandom(m_ids);
            m_nextID = 0;
        }
        return m_ids[m_nextID++];
    }

    void addRow(ICloudFileScanResult row) {
        m_tally.count(row.state);
        m_rows.push_back(std::move(row));
    }

    // The counts so far, kept as rows are added; the numbers are those of
    // ICloudDriveScanSummary::make over the rows.
    void publishCounts() const {
        const ProgressHandler handler = m_scanner.currentHandler();
        if (!handler)
            return;
        ScanProgressSnapshot snapshot = countsSnapshot(m_tally);
        snapshot.isRunning = true;
        snapshot.currentRoot = m_root->displayName;
        snapshot.message = kScanningMessage;
        handler(snapshot);
    }

    SafetyScanResult finish(ScanTrigger trigger, Date startedAt, bool hasSelectedRoots) {
        const Clock& clock = *m_scanner.m_clock;
        const Date completedAt = clock.now();
        const ScanRunStatus status = m_stop == Stop::cancelled      ? ScanRunStatus::cancelled
                                     : m_stop == Stop::limitReached ? ScanRunStatus::limitReached
                                                                    : ScanRunStatus::completed;
        const bool limitReached = m_stop == Stop::limitReached;
        ICloudDriveScanSummary summary =
            ICloudDriveScanSummary::make(m_scanRunID, completedAt, status, limitReached, m_rows);
        std::vector<SafetyFinding> findings =
            ICloudScanFindings::makeFindings(m_scanRunID, clock.now(), hasSelectedRoots, summary);
        const SafetyState overallState = SafetyStatusMapper::overallState(findings);

        ScanRun run{
            .id = m_scanRunID,
            .trigger = trigger,
            .startedAt = startedAt,
            .completedAt = completedAt,
            .overallState = overallState,
            .safetyScore = SafetyStatusMapper::score(overallState),
            .status = status,
            .scannedItemCount = summary.scannedItemCount,
            .errorMessage = status == ScanRunStatus::cancelled
                                ? std::optional<std::string>("Scan cancelled by user.")
                                : std::nullopt,
            .limitReached = limitReached,
        };

        ScanProgressSnapshot done = countsSnapshot(summary);
        done.limitReached = summary.limitReached;
        done.message = finalMessage(summary.status);
        m_scanner.publish(done);

        return SafetyScanResult{
            .scanRun = std::move(run),
            .findings = std::move(findings),
            .iCloudSummary = std::move(summary),
            .iCloudFileResults = std::move(m_rows),
        };
    }

    const ICloudDriveScanner& m_scanner;
    const std::stop_token m_stopToken;
    const Uuid m_scanRunID;
    const ICloudScanRoot* m_root = nullptr;
    // One counter for the whole scan, not reset per root.
    std::int64_t m_entryCount = 0;
    Stop m_stop = Stop::none;
    std::vector<ICloudFileScanResult> m_rows;
    ICloudDriveScanSummary m_tally;
    std::vector<Uuid> m_ids;
    std::size_t m_nextID = 0;
};

ICloudDriveScanner::ICloudDriveScanner(const FileSystem& fileSystem, ICloudScanLimits limits,
                                       std::shared_ptr<const Clock> clock,
                                       ScanRootAccess rootAccess)
    : m_fileSystem(fileSystem),
      m_limits(limits),
      m_clock(clock ? std::move(clock) : std::make_shared<const SystemClock>()),
      m_rootAccess(std::move(rootAccess)) {}

void ICloudDriveScanner::setProgressHandler(ProgressHandler handler) {
    std::lock_guard lock(m_mutex);
    m_progressHandler = std::move(handler);
}

void ICloudDriveScanner::cancelScan() {
    ProgressHandler handler;
    {
        std::lock_guard lock(m_mutex);
        m_cancellationRequested = true;
        handler = m_progressHandler;
    }
    if (!handler)
        return;
    ScanProgressSnapshot snapshot;
    snapshot.isRunning = true;
    snapshot.isCancelling = true;
    snapshot.message = "Cancelling scan...";
    handler(snapshot);
}

SafetyScanResult ICloudDriveScanner::runScan(ScanTrigger trigger,
                                             const std::vector<ICloudScanRoot>& roots,
                                             std::stop_token stopToken) {
    {
        // A request made before this scan started is not meant for it.
        std::lock_guard lock(m_mutex);
        m_cancellationRequested = false;
    }
    Scan scan(*this, std::move(stopToken));
    return scan.run(trigger, roots);
}

SafetyScanResult ICloudDriveScanner::runScan(ScanTrigger trigger,
                                             const std::vector<ICloudScanRoot>& roots) {
    return runScan(trigger, roots, std::stop_token());
}

bool ICloudDriveScanner::cancellationRequested() const {
    std::lock_guard lock(m_mutex);
    return m_cancellationRequested;
}

ICloudDriveScanner::ProgressHandler ICloudDriveScanner::currentHandler() const {
    std::lock_guard lock(m_mutex);
    return m_progressHandler;
}

void ICloudDriveScanner::publish(const ScanProgressSnapshot& snapshot) const {
    if (const ProgressHandler handler = currentHandler())
        handler(snapshot);
}

}  // namespace tallowmere
