#include "tests/app/AppTestSupport.h"

#include <fstream>
#include <sstream>

#include <QTest>

namespace tallowmere::testing {

TestEnvironment::TestEnvironment()
    : fileSystem(linuxFileSystemWith("/nonexistent/home", "/nonexistent/data")) {}

AppEnvironment TestEnvironment::make() const {
    AppEnvironment environment;
    auto store = database;
    environment.openStore = [store] {
        return store;
    };
    environment.fileSystem = fileSystem;
    environment.bookmarks = bookmarks;
    environment.photoLibrary = photoLibrary;
    environment.clock = clock;
    environment.formatting = std::make_shared<EnglishFormatting>();
    environment.prompts = prompts;
    environment.desktop = desktop;
    environment.environment = processEnvironment;
    environment.bundle = bundle;
    environment.operatingSystemVersion = "Test OS 1.0 (6.1.0-test)";
    return environment;
}

void failWritesTo(TallowmereDatabase& database, const std::string& table) {
    database.queue()->write([&](SQLite::Database& db) {
        for (const char* event : {"INSERT", "UPDATE"}) {
            db.exec("CREATE TRIGGER fail_" + std::string(event) + "_" + table + " BEFORE " + event +
                    " ON " + table + " BEGIN SELECT RAISE(ABORT, 'injected'); END");
        }
    });
}

void failReadsOf(TallowmereDatabase& database, const std::string& table) {
    database.queue()->write([&](SQLite::Database& db) {
        db.exec("PRAGMA legacy_alter_table = ON");
        db.exec("ALTER TABLE " + table + " RENAME TO hidden_" + table);
    });
}

std::int64_t rowCount(TallowmereDatabase& database, const std::string& table) {
    return database.queue()->read([&](SQLite::Database& db) {
        return db.execAndGet("SELECT count(*) FROM " + table).getInt64();
    });
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    return QTest::qWaitFor(condition, static_cast<int>(timeout.count()));
}

std::optional<std::string> fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

}  // namespace tallowmere::testing
