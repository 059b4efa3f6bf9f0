#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/safety/ReportSummary.h"
#include "persistence/DatabaseQueue.h"

namespace tallowmere {

// Stored report summaries. Each call is one statement on the shared connection and
// throws DatabaseError when it fails. Safe to use from any thread.
class ReportRepository {
public:
    explicit ReportRepository(std::shared_ptr<DatabaseQueue> queue) : m_queue(std::move(queue)) {}

    // A report with an id already stored replaces the old row.
    void insert(const ReportSummary& report) const;

    // Newest first. Unparsable stored text reads as: id a new UUID, kind `safety`,
    // status `unknown`.
    std::vector<ReportSummary> fetchRecentReports(std::int64_t limit) const;

private:
    std::shared_ptr<DatabaseQueue> m_queue;
};

}  // namespace tallowmere
