#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "core/safety/SafetyFinding.h"
#include "core/safety/ScanRun.h"
#include "persistence/DatabaseQueue.h"

namespace tallowmere {

// Stored scan runs and their findings. Each call is one read or one write transaction
// on the shared connection; a failing write is rolled back whole and throws
// DatabaseError. Safe to use from any thread.
class ScanRepository {
public:
    explicit ScanRepository(std::shared_ptr<DatabaseQueue> queue) : m_queue(std::move(queue)) {}

    // Stores the run and then each finding, in one transaction. A run already stored is
    // updated in place, so the iCloud Drive summary and file results stored under it
    // survive; its findings are replaced by the given ones.
    void insert(const ScanRun& scanRun, const std::vector<SafetyFinding>& findings) const;

    // The run of any kind that completed (or, without a completion time, started) last.
    std::optional<ScanRun> fetchLatestScanRun() const;

    // The run's findings, most severe first, then oldest first.
    std::vector<SafetyFinding> fetchFindings(const Uuid& scanRunID) const;

private:
    std::shared_ptr<DatabaseQueue> m_queue;
};

}  // namespace tallowmere
