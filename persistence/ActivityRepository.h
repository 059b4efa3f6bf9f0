#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/safety/ActivityEvent.h"
#include "persistence/DatabaseQueue.h"

namespace tallowmere {

// The activity timeline. Events are only ever added; only the newest are read. Each
// call is one statement and throws DatabaseError when it fails. Safe from any thread.
class ActivityRepository {
public:
    explicit ActivityRepository(std::shared_ptr<DatabaseQueue> queue) : m_queue(std::move(queue)) {}

    void insert(const ActivityEvent& event) const;

    // Newest first. Unparsable stored text reads as: id a new UUID, kind `report`,
    // severity `unknown`.
    std::vector<ActivityEvent> fetchRecent(std::int64_t limit) const;

private:
    std::shared_ptr<DatabaseQueue> m_queue;
};

}  // namespace tallowmere
