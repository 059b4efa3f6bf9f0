#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/platform/Clock.h"
#include "core/secondcopy/BackupDestination.h"
#include "core/secondcopy/BackupJobSnapshot.h"
#include "core/secondcopy/BackupManifestItem.h"
#include "persistence/DatabaseQueue.h"

namespace tallowmere {

// Counts over one job's manifest rows. The status counts cover every row, eligible or
// not; only `totalEligibleFiles` and `preparedBytes` look at eligibility. A missing size
// counts 0.
struct BackupManifestStats {
    std::int64_t totalEligibleFiles = 0;
    std::int64_t pendingFiles = 0;
    // `copied` or `alreadyCopied`.
    std::int64_t completedFiles = 0;
    std::int64_t skippedFiles = 0;
    // `failed`, and rows whose status text is not a known status.
    std::int64_t failedFiles = 0;
    std::int64_t conflictFiles = 0;
    // Sizes of the eligible rows.
    std::int64_t preparedBytes = 0;
    // Sizes of the rows counted in `completedFiles`.
    std::int64_t copiedBytes = 0;

    bool operator==(const BackupManifestStats&) const = default;
};

// A new status for one manifest item, as updateManifestItem() takes it.
struct BackupManifestItemUpdate {
    Uuid id{};
    BackupItemStatus status = BackupItemStatus::pending;
    std::string message{};
    Date updatedAt{};

    bool operator==(const BackupManifestItemUpdate&) const = default;
};

// Backup destinations, backup jobs and their manifest items.
//
// Each call is one read or one write transaction on the shared connection and blocks
// until it is done; a failing statement throws DatabaseError and rolls back the whole
// write. Unparsable stored text never fails a read: a required identifier becomes a new
// UUID, an optional one becomes absent, a destination status `unknown`, a job status
// `notStarted`, an item's source state `unknown` and an item's status `failed`.
// Safe to use from any number of threads.
class BackupRepository {
public:
    // `clock` stamps the time a job was last saved.
    explicit BackupRepository(std::shared_ptr<DatabaseQueue> queue,
                              std::shared_ptr<const Clock> clock = std::make_shared<SystemClock>());

    // Makes `destination` the only selected one: clears every row's selection, then
    // stores it as updateDestination() does.
    void saveSelectedDestination(const BackupDestination& destination) const;

    // Inserts the destination, or updates the stored row with the same id in everything
    // but its first selection time. Other rows keep their selection.
    void updateDestination(const BackupDestination& destination) const;

    // The selected destination chosen most recently, if any.
    std::optional<BackupDestination> fetchSelectedDestination() const;

    // Inserts the job, or updates the stored row with the same id in place, so that its
    // manifest items stay. Stamps the row with the clock's time.
    void saveJob(const BackupJobSnapshot& job) const;

    // The job saved most recently, if any.
    std::optional<BackupJobSnapshot> fetchLatestJobSnapshot() const;

    // Removes every item of `jobID` and inserts `items` in order, each under its own
    // job id, all in one transaction: when any insert fails the previous items stay.
    void replaceManifest(const Uuid& jobID, const std::vector<BackupManifestItem>& items) const;

    // The job's items, those needing attention first (conflict, failed, skipped,
    // pending, then the rest), each group by relative path. An absent or empty
    // `statuses` does not filter.
    std::vector<BackupManifestItem> fetchManifestItems(
        const Uuid& jobID, const std::optional<std::set<BackupItemStatus>>& statuses = std::nullopt,
        std::optional<std::int64_t> limit = std::nullopt) const;

    // fetchManifestItems() of the latest job; empty when no job is stored.
    std::vector<BackupManifestItem> fetchLatestManifestItems(
        std::optional<std::int64_t> limit) const;

    // Sets one item's status, message and change time. An unknown id changes nothing.
    void updateManifestItem(const Uuid& id, BackupItemStatus status, const std::string& message,
                            Date updatedAt) const;

    // Sets the status, message and change time of each item, all in one transaction: when
    // one update fails none is kept. Unknown ids change nothing.
    void updateManifestItems(const std::vector<BackupManifestItemUpdate>& updates) const;

    // All zeros for a job without items.
    BackupManifestStats manifestStats(const Uuid& jobID) const;

private:
    // Constant after construction.
    std::shared_ptr<DatabaseQueue> m_queue;
    std::shared_ptr<const Clock> m_clock;
};

}  // namespace tallowmere
