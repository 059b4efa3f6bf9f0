#include "persistence/DatabaseQueue.h"

namespace tallowmere {
namespace {

std::shared_ptr<DatabaseQueue> openWith(const std::string& path, int flags) {
    try {
        auto connection = std::make_unique<SQLite::Database>(path, flags);
        connection->exec("PRAGMA foreign_keys = ON");
        // Other threads wait for the connection's mutex, not for SQLite; the timeout
        // only matters when another process holds the file.
        connection->setBusyTimeout(5000);
        // Reading the schema fails here, not later, when the file is not a database.
        connection->exec("SELECT count(*) FROM sqlite_master");
        return std::make_shared<DatabaseQueue>(std::move(connection));
    } catch (const SQLite::Exception& error) {
        throw DatabaseError(error.what(), error.getErrorCode());
    }
}

}  // namespace

std::shared_ptr<DatabaseQueue> DatabaseQueue::open(const std::string& path) {
    return openWith(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE | SQLite::OPEN_FULLMUTEX);
}

std::shared_ptr<DatabaseQueue> DatabaseQueue::openInMemory() {
    return openWith(":memory:", SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE | SQLite::OPEN_MEMORY);
}

DatabaseQueue::DatabaseQueue(std::unique_ptr<SQLite::Database> connection)
    : m_connection(std::move(connection)) {}

}  // namespace tallowmere
