#include "persistence/ActivityRepository.h"

#include "persistence/SqlValues.h"

namespace tallowmere {

void ActivityRepository::insert(const ActivityEvent& event) const {
    m_queue->write([&](SQLite::Database& db) {
        SQLite::Statement statement(
            db,
            "INSERT OR REPLACE INTO activity_events (id, kind, title, message, severity, "
            "local_action_target, created_at) VALUES (?, ?, ?, ?, ?, ?, ?)");
        sql::bindAll(statement, event.id, event.kind, event.title, event.message, event.severity,
                     event.localActionTarget, event.createdAt);
        statement.exec();
    });
}

std::vector<ActivityEvent> ActivityRepository::fetchRecent(std::int64_t limit) const {
    return m_queue->read([&](SQLite::Database& db) {
        SQLite::Statement query(db,
                                "SELECT * FROM activity_events ORDER BY created_at DESC LIMIT ?");
        sql::bindAll(query, limit);
        std::vector<ActivityEvent> events;
        while (query.executeStep()) {
            events.emplace_back(sql::uuidOrRandom(query.getColumn("id")),
                                sql::enumOr(query.getColumn("kind"), ActivityEventKind::report),
                                sql::text(query.getColumn("title")),
                                sql::text(query.getColumn("message")),
                                sql::enumOr(query.getColumn("severity"), SafetyState::unknown),
                                sql::optionalText(query.getColumn("local_action_target")),
                                sql::date(query.getColumn("created_at")));
        }
        return events;
    });
}

}  // namespace tallowmere
