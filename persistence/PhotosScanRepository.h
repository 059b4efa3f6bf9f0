#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/photos/PhotosScanSummary.h"
#include "persistence/DatabaseQueue.h"

namespace tallowmere {

// Stored Photos scan summaries. Each call is one read or one write on the shared
// connection and throws DatabaseError when it fails. Safe to use from any thread.
class PhotosScanRepository {
public:
    explicit PhotosScanRepository(std::shared_ptr<DatabaseQueue> queue)
        : m_queue(std::move(queue)) {}

    // Adds the summary; one whose id is already stored fails and changes nothing.
    void insert(const PhotosScanSummary& summary) const;

    // The summary that completed (or, without a completion time, started) last.
    // Unparsable stored text reads as: id a new UUID, authorization unknown, status
    // completed.
    std::optional<PhotosScanSummary> fetchLatestSummary() const;

    // At most `limit` summaries, newest first as above.
    std::vector<PhotosScanSummary> fetchRecentSummaries(std::int64_t limit) const;

private:
    std::shared_ptr<DatabaseQueue> m_queue;
};

}  // namespace tallowmere
