#include "persistence/TallowmereDatabase.h"

#include <filesystem>

#include <SQLiteCpp/Statement.h>

#include "persistence/Migrations.h"

namespace tallowmere {
namespace {

constexpr const char* kBookkeepingTable = "schema_migrations";

}  // namespace

TallowmereDatabase::TallowmereDatabase(std::shared_ptr<DatabaseQueue> queue)
    : m_queue(std::move(queue)) {}

std::shared_ptr<TallowmereDatabase> TallowmereDatabase::open(const std::string& path) {
    auto database = std::make_shared<TallowmereDatabase>(DatabaseQueue::open(path));
    database->migrate();
    return database;
}

std::shared_ptr<TallowmereDatabase> TallowmereDatabase::applicationSupportDatabase(
    const std::string& applicationSupportDirectory) {
    if (applicationSupportDirectory.empty())
        throw DatabaseError("No Application Support folder is known", 0);
    const auto folder = std::filesystem::path(applicationSupportDirectory) / kFolderName;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw DatabaseError("Could not create " + folder.string() + ": " + error.message(), 0);
    return open((folder / kFileName).string());
}

std::shared_ptr<TallowmereDatabase> TallowmereDatabase::inMemory() {
    auto database = std::make_shared<TallowmereDatabase>(DatabaseQueue::openInMemory());
    database->migrate();
    return database;
}

void TallowmereDatabase::migrate() {
    m_queue->write([](SQLite::Database& db) {
        db.exec(std::string("CREATE TABLE IF NOT EXISTS ") + kBookkeepingTable +
                " (identifier TEXT NOT NULL PRIMARY KEY)");
    });
    for (const Migration& migration : registeredMigrations()) {
        m_queue->write([&](SQLite::Database& db) {
            SQLite::Statement recorded(
                db, std::string("SELECT 1 FROM ") + kBookkeepingTable + " WHERE identifier = ?");
            recorded.bind(1, std::string(migration.identifier));
            if (recorded.executeStep())
                return;
            // Foreign keys are checked when the migration commits, not statement by statement.
            db.exec("PRAGMA defer_foreign_keys = ON");
            for (const auto statement : migration.statements) db.exec(std::string(statement));
            SQLite::Statement record(
                db, std::string("INSERT INTO ") + kBookkeepingTable + " (identifier) VALUES (?)");
            record.bind(1, std::string(migration.identifier));
            record.exec();
        });
    }
}

std::set<std::string> TallowmereDatabase::tableNames() const {
    return m_queue->read([](SQLite::Database& db) {
        std::set<std::string> names;
        SQLite::Statement query(db, "SELECT name FROM sqlite_master WHERE type = 'table'");
        while (query.executeStep()) names.insert(query.getColumn(0).getString());
        return names;
    });
}

std::vector<std::string> TallowmereDatabase::appliedMigrationIdentifiers() const {
    return m_queue->read([](SQLite::Database& db) {
        std::vector<std::string> identifiers;
        SQLite::Statement query(
            db, std::string("SELECT identifier FROM ") + kBookkeepingTable + " ORDER BY rowid");
        while (query.executeStep()) identifiers.push_back(query.getColumn(0).getString());
        return identifiers;
    });
}

}  // namespace tallowmere
