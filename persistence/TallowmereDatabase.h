#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "persistence/DatabaseQueue.h"

namespace tallowmere {

// Owns the one serialized connection to the local store and brings its schema up to
// date. Every repository is given the same queue. Safe to share between threads.
class TallowmereDatabase {
public:
    static constexpr const char* kFolderName = "Tallowmere";
    static constexpr const char* kFileName = "Tallowmere.sqlite";

    // Wraps an open connection; does not migrate.
    explicit TallowmereDatabase(std::shared_ptr<DatabaseQueue> queue);

    // Opens or creates the file at `path` and migrates it. Throws DatabaseError when the
    // file cannot be opened, is not a database, or a migration fails. A file that is
    // not a database is left exactly as it was.
    static std::shared_ptr<TallowmereDatabase> open(const std::string& path);

    // Creates "<applicationSupportDirectory>/Tallowmere" when missing, then opens and
    // migrates "Tallowmere.sqlite" there. Throws DatabaseError on the first failing step.
    static std::shared_ptr<TallowmereDatabase> applicationSupportDatabase(
        const std::string& applicationSupportDirectory);

    // A private in-memory store, migrated; nothing survives the process.
    static std::shared_ptr<TallowmereDatabase> inMemory();

    // Applies, in order and each in its own transaction, every migration not yet
    // recorded. A failing migration is rolled back whole and not recorded, earlier ones
    // stay applied, and DatabaseError is thrown. Never erases anything.
    void migrate();

    std::set<std::string> tableNames() const;
    std::vector<std::string> appliedMigrationIdentifiers() const;

    const std::shared_ptr<DatabaseQueue>& queue() const { return m_queue; }

private:
    // Constant after construction.
    std::shared_ptr<DatabaseQueue> m_queue;
};

}  // namespace tallowmere
