#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/platform/Clock.h"
#include "persistence/DatabaseQueue.h"

namespace tallowmere {

// The user's settings as key/value text; Booleans are the words "true" and "false".
// Each call is one statement and throws DatabaseError when it fails. Safe from any thread.
class SettingsRepository {
public:
    SettingsRepository(std::shared_ptr<DatabaseQueue> queue, std::shared_ptr<const Clock> clock)
        : m_queue(std::move(queue)), m_clock(std::move(clock)) {}

    std::optional<std::string> string(const std::string& key) const;
    // Stores the value with the current time; a key keeps one row.
    void setString(const std::string& value, const std::string& key) const;

    // The default when no row exists; otherwise true exactly when the text is "true".
    bool boolean(const std::string& key, bool defaultValue) const;
    void setBool(bool value, const std::string& key) const;

private:
    std::shared_ptr<DatabaseQueue> m_queue;
    std::shared_ptr<const Clock> m_clock;
};

}  // namespace tallowmere
