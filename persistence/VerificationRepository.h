#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/platform/Clock.h"
#include "core/verification/VerificationItemResult.h"
#include "core/verification/VerificationRun.h"
#include "persistence/DatabaseQueue.h"

namespace tallowmere {

// Verification and restore-test runs and their per-file results.
//
// Each call is one read or one write transaction on the shared connection and blocks
// until it is done; a failing statement throws DatabaseError and rolls back the whole
// write. Unparsable stored text never fails a read: a required identifier becomes a new
// UUID, a run's job id becomes absent, a mode `quick`, a run status `unknown`, an
// algorithm `sha256` and a result status `unknown`. Safe to use from any number of
// threads.
class VerificationRepository {
public:
    // `clock` stamps the time a run was last saved.
    explicit VerificationRepository(
        std::shared_ptr<DatabaseQueue> queue,
        std::shared_ptr<const Clock> clock = std::make_shared<SystemClock>());

    // Inserts the run, or updates the stored row with the same id in place, so that its
    // results stay. Stamps the row with the clock's time.
    void saveRun(const VerificationRun& run) const;

    // Removes every result of `runID` and inserts `results` in order, all in one
    // transaction: when any insert fails the previous results stay.
    void replaceResults(const Uuid& runID,
                        const std::vector<VerificationItemResult>& results) const;

    // The run that ended (or, while running, started) last among those of `modes`; an
    // absent or empty set means every mode.
    std::optional<VerificationRun> fetchLatestRun(
        const std::optional<std::set<VerificationMode>>& modes = std::nullopt) const;

    // The run's results, worst first (missing, checksum mismatch, size mismatch,
    // unreadable, unknown, skipped, then passed), each group by relative path. An absent
    // or empty `statuses` does not filter.
    std::vector<VerificationItemResult> fetchResults(
        const Uuid& runID,
        const std::optional<std::set<VerificationItemStatus>>& statuses = std::nullopt,
        std::optional<std::int64_t> limit = std::nullopt) const;

    // Every result but the passed ones of the latest run of any mode; empty when no run
    // is stored.
    std::vector<VerificationItemResult> fetchLatestFailureResults(std::int64_t limit) const;

    // The checksum most recently confirmed by a passed result for the manifest item:
    // its expected checksum, else its actual one. Failed results and results without
    // either checksum are ignored.
    std::optional<std::string> fetchLatestPassedChecksum(const Uuid& manifestItemID) const;

private:
    // Constant after construction.
    std::shared_ptr<DatabaseQueue> m_queue;
    std::shared_ptr<const Clock> m_clock;
};

}  // namespace tallowmere
