#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/icloud/ICloudDriveScanSummary.h"
#include "core/icloud/ICloudFileScanResult.h"
#include "core/icloud/ICloudScanRoot.h"
#include "core/platform/Clock.h"
#include "persistence/DatabaseQueue.h"

namespace tallowmere {

// Stored scan roots, iCloud Drive scan summaries and per-item file results. Each call
// is one read or one write transaction on the shared connection; a failing write is
// rolled back whole and throws DatabaseError. Safe to use from any thread.
//
// "The latest run" is the stored scan run with a summary whose completion time (or,
// without one, start time) is greatest.
class ICloudScanRepository {
public:
    // `clock` stamps the creation time of added roots; null means the system clock.
    explicit ICloudScanRepository(std::shared_ptr<DatabaseQueue> queue,
                                  std::shared_ptr<const Clock> clock = nullptr);

    // Inserts each root; a root whose path is already stored only updates that row's
    // display name and kind and marks it detected. The stored id, selection, bookmark,
    // creation and last-scanned times stay, so detection never re-selects a root the
    // user removed and never duplicates one.
    void upsertDetectedRoots(const std::vector<ICloudScanRoot>& roots) const;

    // Stores a selected user root for the standardized path (absolute, "." and ".."
    // resolved, no trailing separator). When the path is already stored, that row
    // becomes a selected user root with the new name and bookmark, keeping its id,
    // detected flag and times. Returns the root built, whose id is always new.
    ICloudScanRoot addUserRoot(const std::string& path, const std::string& displayName,
                               const std::optional<Bytes>& bookmarkData) const;

    // Clears the root's selection; the row, its bookmark and its past results stay.
    void deselectRoot(const Uuid& id) const;

    // Detected roots first, then by raw kind, then by display name. Unparsable stored
    // text reads as: id a new UUID, kind userSelected.
    std::vector<ICloudScanRoot> fetchRoots(bool includeDeselected) const;

    // Stores the summary and, replacing any stored for the same run, the file results
    // in list order, then stamps every root that produced a result with the summary's
    // completion time (when it has one). One transaction: a failing statement leaves the
    // store as it was. A summary without a scan run id stores nothing. The scan run
    // must already be stored.
    void insert(const ICloudDriveScanSummary& summary,
                const std::vector<ICloudFileScanResult>& fileResults) const;

    // The latest run's id; none when no run has a summary or its stored id is not a UUID.
    std::optional<Uuid> fetchLatestScanRunID() const;

    // The latest run's summary. An unparsable stored run id reads as absent, an
    // unparsable status as completed.
    std::optional<ICloudDriveScanSummary> fetchLatestSummary() const;

    // At most `limit` file results of the latest run, those needing attention first
    // (sync issues, waiting uploads, waiting downloads, cloud-only, unknown, the rest),
    // each group by display name. Empty when there is no latest run.
    std::vector<ICloudFileScanResult> fetchRecentFileResults(std::int64_t limit) const;

    // The run's file results by path, all of them or the first `limit`.
    // Unparsable stored text reads as: ids new UUIDs, state and confidence unknown.
    std::vector<ICloudFileScanResult> fetchFileResults(const Uuid& scanRunID,
                                                       std::optional<std::int64_t> limit) const;

    // fetchFileResults of the latest run, as two separate reads.
    std::vector<ICloudFileScanResult> fetchLatestFileResults(
        std::optional<std::int64_t> limit) const;

private:
    // Constant after construction.
    std::shared_ptr<DatabaseQueue> m_queue;
    std::shared_ptr<const Clock> m_clock;
};

}  // namespace tallowmere
