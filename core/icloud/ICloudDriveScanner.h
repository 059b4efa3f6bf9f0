#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "core/icloud/ICloudScanRoot.h"
#include "core/icloud/SafetyScanResult.h"
#include "core/icloud/SafetyScanning.h"
#include "core/icloud/ScanProgressSnapshot.h"
#include "core/platform/Bytes.h"
#include "core/platform/Clock.h"
#include "core/platform/FileSystem.h"

namespace tallowmere {

// How far one scan may go, so that a huge or looping tree cannot make it run without end.
struct ICloudScanLimits {
    // Directory entries the whole scan may examine, counted across all roots.
    std::int64_t maxEntries = 50'000;
    // The deepest level below a root that is examined; a root's direct children are level 1.
    int maxDepth = 64;

    bool operator==(const ICloudScanLimits&) const = default;
};

// How the scanner regains access to a folder the user added, through the bookmark stored
// with the root. Every function may be empty: then bookmarks are not resolved and roots are
// read by their stored path.
struct ScanRootAccess {
    // The folder the bookmark points to now; none when it no longer resolves.
    std::function<std::optional<std::string>(const Bytes& bookmark)> resolveBookmark;
    // Starts access to a resolved folder; true when access was started and must be stopped.
    std::function<bool(const std::string& path)> startAccessing;
    std::function<void(const std::string& path)> stopAccessing;
};

// The read-only iCloud Drive safety scan: walks every selected root, classifies each item
// from its metadata, records one row per item and per problem met, and returns the scan
// run, its summary and findings. It only lists folders and reads item values through a
// const FileSystem; it never creates, changes, moves or deletes anything.
//
// The scan stops at `maxEntries` entries over all roots (status limitReached) and records
// items deeper than `maxDepth` as skipped without walking into them. Package contents,
// hidden folders, symbolic links and folders excluded from sync are never walked into.
//
// Thread safety: runScan is synchronous and runs the whole scan on the calling thread.
// cancelScan and setProgressHandler may be called from any thread at any time. The progress
// handler is called on the thread that publishes (the scanning thread, or the caller of
// cancelScan), never while the scanner's lock is held, so it may call back into the scanner.
class ICloudDriveScanner final : public SafetyScanning {
public:
    using ProgressHandler = std::function<void(const ScanProgressSnapshot&)>;

    // `fileSystem` must outlive the scanner. A null clock means the system clock.
    explicit ICloudDriveScanner(const FileSystem& fileSystem, ICloudScanLimits limits = {},
                                std::shared_ptr<const Clock> clock = nullptr,
                                ScanRootAccess rootAccess = {});

    // Replaces the handler (an empty function removes it).
    void setProgressHandler(ProgressHandler handler);

    // Publishes "Cancelling scan..." and makes a running scan end as cancelled at its next
    // root or entry. A request made while no scan runs is forgotten when the next starts.
    void cancelScan() override;

    // Walks the roots whose isSelected is true, in the given order. Every problem (a missing
    // root, a folder that cannot be listed, an item whose values cannot be read, an item too
    // deep) becomes an excluded row and the scan goes on. Publishes progress at the start,
    // at each root, whenever an examined entry leaves the row count at a multiple of 50, and
    // at the end.
    SafetyScanResult runScan(ScanTrigger trigger, const std::vector<ICloudScanRoot>& roots,
                             std::stop_token stopToken) override;
    SafetyScanResult runScan(ScanTrigger trigger, const std::vector<ICloudScanRoot>& roots);

    const ICloudScanLimits& limits() const { return m_limits; }

private:
    class Scan;

    bool cancellationRequested() const;
    ProgressHandler currentHandler() const;
    void publish(const ScanProgressSnapshot& snapshot) const;

    // Constant after construction.
    const FileSystem& m_fileSystem;
    const ICloudScanLimits m_limits;
    const std::shared_ptr<const Clock> m_clock;
    const ScanRootAccess m_rootAccess;

    mutable std::mutex m_mutex;
    // Guarded by m_mutex.
    bool m_cancellationRequested = false;
    ProgressHandler m_progressHandler;
};

}  // namespace tallowmere
