#include "persistence/TallowmereDatabase.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <SQLiteCpp/Statement.h>

#include "persistence/Migrations.h"
#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {
namespace {

const std::vector<std::string> kAllMigrations{"v1_initial",
                                              "v2_icloud_scan",
                                              "v3_backup_manifest",
                                              "v4_backup_verification",
                                              "v5_photos_safety_scan",
                                              "v7_activity_timeline"};

const std::set<std::string> kApplicationTables{"scan_runs",
                                               "safety_findings",
                                               "icloud_scan_roots",
                                               "icloud_scan_summaries",
                                               "icloud_file_results",
                                               "photos_scan_summaries",
                                               "backup_destinations",
                                               "backup_jobs",
                                               "backup_manifest_items",
                                               "verification_runs",
                                               "verification_item_results",
                                               "reports",
                                               "activity_events",
                                               "settings"};

std::int64_t count(TallowmereDatabase& database, const std::string& table) {
    return database.queue()->read([&](SQLite::Database& db) {
        return db.execAndGet("SELECT count(*) FROM " + table).getInt64();
    });
}

void exec(TallowmereDatabase& database, const std::string& statements) {
    database.queue()->write([&](SQLite::Database& db) { db.exec(statements); });
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(TallowmereDatabaseTest, FirstOpenCreatesFolderAndAppliesEveryMigrationOnce) {
    testing::TemporaryDirectory support;
    const auto applicationSupport = (support / "nested" / "Application Support").string();
    {
        auto database = TallowmereDatabase::applicationSupportDatabase(applicationSupport);
        EXPECT_EQ(database->appliedMigrationIdentifiers(), kAllMigrations);
        const auto tables = database->tableNames();
        for (const auto& table : kApplicationTables) EXPECT_TRUE(tables.contains(table)) << table;
        EXPECT_TRUE(tables.contains("schema_migrations"));
        EXPECT_EQ(tables.size(), kApplicationTables.size() + 1);
        exec(*database, "INSERT INTO settings VALUES ('k', 'v', 1)");
    }
    ASSERT_TRUE(std::filesystem::exists(support /
                                        "nested/Application Support/Tallowmere/Tallowmere.sqlite"));

    auto reopened = TallowmereDatabase::applicationSupportDatabase(applicationSupport);
    EXPECT_EQ(reopened->appliedMigrationIdentifiers(), kAllMigrations);
    EXPECT_EQ(count(*reopened, "settings"), 1);
}

TEST(TallowmereDatabaseTest, VersionOneFileMigratesForwardAndOldRowsReadTheAddedDefaults) {
    testing::TemporaryDirectory folder;
    const auto path = (folder / "old.sqlite").string();
    {
        // A file as the first release left it: only v1_initial applied.
        auto queue = DatabaseQueue::open(path);
        queue->write([](SQLite::Database& db) {
            db.exec("CREATE TABLE schema_migrations (identifier TEXT NOT NULL PRIMARY KEY)");
            for (const auto statement : registeredMigrations().front().statements)
                db.exec(std::string(statement));
            db.exec("INSERT INTO schema_migrations VALUES ('v1_initial')");
            db.exec(
                "INSERT INTO scan_runs VALUES ('11111111-1111-4111-8111-111111111111', 'manual', "
                "10, 20, "
                "'protected', 100)");
            db.exec(
                "INSERT INTO backup_jobs VALUES ('22222222-2222-4222-8222-222222222222', "
                "'completed', 1, 2, "
                "3, 3, 0, 0, 'done')");
        });
    }
    auto database = TallowmereDatabase::open(path);
    EXPECT_EQ(database->appliedMigrationIdentifiers(), kAllMigrations);
    database->queue()->read([](SQLite::Database& db) {
        SQLite::Statement run(
            db,
            "SELECT scan_status, scanned_item_count, scan_error_message, scan_limit_reached "
            "FROM scan_runs");
        ASSERT_TRUE(run.executeStep());
        EXPECT_EQ(run.getColumn(0).getString(), "completed");
        EXPECT_EQ(run.getColumn(1).getInt64(), 0);
        EXPECT_TRUE(run.getColumn(2).isNull());
        EXPECT_EQ(run.getColumn(3).getInt64(), 0);
        SQLite::Statement job(
            db,
            "SELECT prepared_bytes, copied_bytes, conflict_files, updated_at, destination_id "
            "FROM backup_jobs");
        ASSERT_TRUE(job.executeStep());
        EXPECT_EQ(job.getColumn(0).getInt64(), 0);
        EXPECT_EQ(job.getColumn(1).getInt64(), 0);
        EXPECT_EQ(job.getColumn(2).getInt64(), 0);
        EXPECT_EQ(job.getColumn(3).getDouble(), 0.0);
        EXPECT_TRUE(job.getColumn(4).isNull());
    });
}

TEST(TallowmereDatabaseTest, FailingMigrationRollsBackWholeAndIsRetriedNextTime) {
    testing::TemporaryDirectory folder;
    const auto path = (folder / "blocked.sqlite").string();
    {
        auto queue = DatabaseQueue::open(path);
        queue->write([](SQLite::Database& db) {
            db.exec("CREATE TABLE schema_migrations (identifier TEXT NOT NULL PRIMARY KEY)");
            for (const auto& migration : registeredMigrations()) {
                if (migration.identifier == "v5_photos_safety_scan")
                    break;
                for (const auto statement : migration.statements) db.exec(std::string(statement));
                db.exec("INSERT INTO schema_migrations VALUES ('" +
                        std::string(migration.identifier) + "')");
            }
            // Something in the way of v5's index makes its second statement fail.
            db.exec("CREATE TABLE photos_scan_summaries_completed_at_idx (x)");
        });
    }
    EXPECT_THROW(TallowmereDatabase::open(path), DatabaseError);
    {
        TallowmereDatabase database(DatabaseQueue::open(path));
        EXPECT_FALSE(database.tableNames().contains("photos_scan_summaries"));
        EXPECT_EQ(database.appliedMigrationIdentifiers().size(), 4u);
        exec(database, "DROP TABLE photos_scan_summaries_completed_at_idx");
    }
    EXPECT_EQ(TallowmereDatabase::open(path)->appliedMigrationIdentifiers(), kAllMigrations);
}

TEST(TallowmereDatabaseTest, FileThatIsNotADatabaseIsRefusedAndLeftUntouched) {
    testing::TemporaryDirectory folder;
    const auto path = folder / "Tallowmere.sqlite";
    std::string garbage(8192, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 131 % 251);
    std::ofstream(path, std::ios::binary) << garbage;

    EXPECT_THROW(TallowmereDatabase::open(path.string()), DatabaseError);
    EXPECT_EQ(fileBytes(path), garbage);
    EXPECT_FALSE(std::filesystem::exists(path.string() + "-journal"));
}

TEST(TallowmereDatabaseTest, UnusableApplicationSupportFolderIsAnError) {
    testing::TemporaryDirectory folder;
    std::ofstream(folder / "file") << "x";
    EXPECT_THROW(TallowmereDatabase::applicationSupportDatabase((folder / "file").string()),
                 DatabaseError);
    EXPECT_THROW(TallowmereDatabase::applicationSupportDatabase(""), DatabaseError);
}

TEST(TallowmereDatabaseTest, DeletingParentsCascadesToTheirRows) {
    auto database = TallowmereDatabase::inMemory();
    exec(*database, R"(
        INSERT INTO scan_runs (id, trigger, started_at, overall_state, safety_score) VALUES ('R', 'manual', 1, 'protected', 100);
        INSERT INTO safety_findings VALUES ('F', 'R', 'overall', 'protected', 'verified', 't', 'm', 'a', 1, 1);
        INSERT INTO icloud_scan_summaries VALUES ('R', 1, 'completed', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        INSERT INTO icloud_file_results VALUES ('I', 'R', 'X', '/p', 'p', 0, 1, 1, 'localCurrent', 'verified', 'r', 1);
        INSERT INTO backup_jobs (id, status, total_files, completed_files, failed_files, skipped_files, message)
            VALUES ('J', 'prepared', 0, 0, 0, 0, '');
        INSERT INTO backup_manifest_items VALUES ('M', 'J', NULL, NULL, '/s', 's', '/d', 1, 1, 'localCurrent', 1, 'pending', '', 1, 1);
        INSERT INTO verification_runs (id, mode, status, started_at, checked_files, failed_files, message)
            VALUES ('V', 'quick', 'passed', 1, 0, 0, '');
        INSERT INTO verification_item_results VALUES ('VI', 'V', 'J', 'M', '/d', 's', 'sha256', 1, 1, NULL, NULL, 'passed', NULL, 1, 1);
    )");
    exec(*database,
         "DELETE FROM scan_runs; DELETE FROM backup_jobs; DELETE FROM verification_runs");
    for (const char* table : {"safety_findings", "icloud_scan_summaries", "icloud_file_results",
                              "backup_manifest_items", "verification_item_results"}) {
        EXPECT_EQ(count(*database, table), 0) << table;
    }
}

TEST(TallowmereDatabaseTest, ScanRootPathIsUnique) {
    auto database = TallowmereDatabase::inMemory();
    const std::string insert =
        "INSERT INTO icloud_scan_roots (id, path, display_name, kind, is_detected, is_selected, "
        "created_at) "
        "VALUES ('%', '/same', 'Same', 'userSelected', 0, 1, 1)";
    exec(*database, std::string(insert).replace(insert.find('%'), 1, "A"));
    EXPECT_THROW(exec(*database, std::string(insert).replace(insert.find('%'), 1, "B")),
                 DatabaseError);
}

}  // namespace
}  // namespace tallowmere
