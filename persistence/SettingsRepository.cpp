#include "persistence/SettingsRepository.h"

#include "persistence/SqlValues.h"

namespace tallowmere {

std::optional<std::string> SettingsRepository::string(const std::string& key) const {
    return m_queue->read([&](SQLite::Database& db) -> std::optional<std::string> {
        SQLite::Statement query(db, "SELECT value FROM settings WHERE key = ?");
        sql::bindAll(query, key);
        if (!query.executeStep())
            return std::nullopt;
        return sql::text(query.getColumn(0));
    });
}

void SettingsRepository::setString(const std::string& value, const std::string& key) const {
    const Date now = m_clock->now();
    m_queue->write([&](SQLite::Database& db) {
        SQLite::Statement statement(
            db, "INSERT OR REPLACE INTO settings (key, value, updated_at) VALUES (?, ?, ?)");
        sql::bindAll(statement, key, value, now);
        statement.exec();
    });
}

bool SettingsRepository::boolean(const std::string& key, bool defaultValue) const {
    const auto stored = string(key);
    return stored ? *stored == "true" : defaultValue;
}

void SettingsRepository::setBool(bool value, const std::string& key) const {
    setString(value ? "true" : "false", key);
}

}  // namespace tallowmere
