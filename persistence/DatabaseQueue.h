#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <utility>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Transaction.h>

#include "persistence/DatabaseError.h"

namespace tallowmere {

// The one SQLite connection, serialized: read() and write() run their body one at a
// time under a mutex, on the calling thread, which waits for the result. write() runs
// its body in one transaction: it commits when the body returns and rolls everything
// back when the body throws. SQLite failures reach the caller as DatabaseError.
//
// Safe to use from any number of threads. A body must not call back into the queue:
// it is given the connection to work with.
class DatabaseQueue {
public:
    // Opens (creating if needed) the file read-write with foreign keys on and the
    // default rollback journal. Throws DatabaseError when the file cannot be opened or
    // is not a database.
    static std::shared_ptr<DatabaseQueue> open(const std::string& path);

    // A private database that lives as long as the queue.
    static std::shared_ptr<DatabaseQueue> openInMemory();

    explicit DatabaseQueue(std::unique_ptr<SQLite::Database> connection);

    template <typename Body>
    auto read(Body&& body) {
        std::lock_guard lock(m_mutex);
        return translatingErrors([&] { return body(*m_connection); });
    }

    template <typename Body>
    auto write(Body&& body) {
        std::lock_guard lock(m_mutex);
        return translatingErrors([&] {
            SQLite::Transaction transaction(*m_connection);
            if constexpr (std::is_void_v<decltype(body(*m_connection))>) {
                body(*m_connection);
                transaction.commit();
            } else {
                auto result = body(*m_connection);
                transaction.commit();
                return result;
            }
        });
    }

private:
    template <typename Work>
    static auto translatingErrors(Work&& work) {
        try {
            return work();
        } catch (const SQLite::Exception& error) {
            throw DatabaseError(error.what(), error.getErrorCode());
        }
    }

    // Guarded by m_mutex.
    std::mutex m_mutex;
    std::unique_ptr<SQLite::Database> m_connection;
};

}  // namespace tallowmere
