#include "app/LocalBackupCoordinator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <atomic>
#include <mutex>

#include <SQLiteCpp/Database.h>

#include "app/ManifestPreview.h"
#include "tests/app/BackupTestSupport.h"
#include "tests/support/ForwardingFileSystem.h"
#include "tests/support/InMemoryFileSystem.h"
#include "tests/support/JsonPrinting.h"

namespace tallowmere {
namespace {

using testing::BackupStore;
using testing::expectCountersMatchStore;
using testing::FakeBookmarks;
using testing::InMemoryFileSystem;
using Operation = InMemoryFileSystem::Operation;
using S = BackupItemStatus;
using J = BackupJobStatus;

constexpr const char* kDocuments = "/home/ann/Documents";
constexpr const char* kDrive = "/media/drive";
constexpr const char* kDestination = "/media/drive/Backups";
constexpr const char* kBackup = "/media/drive/Backups/Tallowmere Backup";
constexpr const char* kCopies = "/media/drive/Backups/Tallowmere Backup/iCloud Drive/Documents";
const Date kModified(1'600'000'000.25);

std::string source(const std::string& relative) {
    return std::string(kDocuments) + "/" + relative;
}
std::string copyOf(const std::string& relative) {
    return std::string(kCopies) + "/" + relative;
}

// A removable drive with room, a destination folder on it, and a Documents folder of files.
class LocalBackupCoordinatorTest : public ::testing::Test {
protected:
    LocalBackupCoordinatorTest() {
        fs->addVolume(kDrive, VolumeValues{true, "Drive"}, 500'000'000'000);
        fs->addVolume("/", VolumeValues{false, std::nullopt}, 100'000'000'000);
        fs->addFolder(kDestination);
        fs->addFolder(kDocuments);
    }

    void addSource(const std::string& relative, const std::string& contents,
                   Date modified = kModified) {
        fs->addFile(source(relative), contents, modified);
    }

    // A scan that found each given file (relative to Documents) as it is now.
    Uuid scanFiles(const std::vector<std::string>& relatives) {
        std::vector<ICloudFileScanResult> results;
        for (const auto& relative : relatives) {
            const auto values = fs->storedValues(source(relative)).value();
            results.push_back(BackupStore::result(source(relative), values.fileSize,
                                                  values.contentModificationDate));
        }
        return store.storeScan(root, results);
    }

    BackupDestination selectDrive() {
        return coordinator->selectDestination(kDestination,
                                              FakeBookmarks::bookmarkOf(kDestination));
    }

    void recordProgress() {
        coordinator->setProgressHandler(
            [this](const BackupProgressSnapshot& snapshot) { progress.push_back(snapshot); });
    }

    // Every path below the destination that is a leftover of an unfinished copy.
    std::vector<std::string> partialFiles() const {
        std::vector<std::string> found;
        for (const auto& path : fs->pathsBelow(kDestination)) {
            if (path.find(FileSystem::kPartialFilePrefix) != std::string::npos)
                found.push_back(path);
        }
        return found;
    }

    // Each item's status agrees with the disk: a copied item's copy holds its source's
    // bytes, an item never copied has nothing of ours at its path.
    void expectStoreMatchesDisk(const Uuid& jobID,
                                const std::map<std::string, std::string>& sourceContents) {
        for (const auto& item : store.backups.fetchManifestItems(jobID)) {
            SCOPED_TRACE(item.relativePath);
            const auto copied = fs->contents(item.destinationPath);
            if (item.status == S::copied) {
                ASSERT_TRUE(copied.has_value());
                EXPECT_EQ(*copied, sourceContents.at(item.relativePath));
                EXPECT_EQ(fs->storedValues(item.destinationPath)->contentModificationDate,
                          item.modifiedAt);
            }
            if (item.status == S::pending || item.status == S::failed) {
                EXPECT_FALSE(fs->exists(item.destinationPath));
            }
        }
        EXPECT_THAT(partialFiles(), ::testing::IsEmpty());
    }

    BackupStore store;
    std::shared_ptr<InMemoryFileSystem> fs = std::make_shared<InMemoryFileSystem>();
    ICloudScanRoot root = BackupStore::documentsRoot(kDocuments);
    std::unique_ptr<LocalBackupCoordinator> coordinator = store.coordinator(fs);
    std::vector<BackupProgressSnapshot> progress;
};

// ---------------------------------------------------------------- destinations

TEST_F(LocalBackupCoordinatorTest, SelectingAFolderEvaluatesAndStoresIt) {
    fs->addVolume("/mnt/small", VolumeValues{true, "Small"}, 999'999'999);
    fs->addFolder("/mnt/small/b");
    fs->addFolder("/home/ann/internal");
    fs->addFolder("/media/drive/locked");
    fs->setWritable("/media/drive/locked", false);
    fs->addFile("/media/drive/file.txt", "x");
    fs->failOperation(Operation::volumeValues, "/media/drive/unknown-volume",
                      std::make_error_code(std::errc::io_error));
    fs->addFolder("/media/drive/unknown-volume");
    using DS = BackupDestinationStatus;
    struct Case {
        std::string path;
        std::string displayName;
        DS status;
        bool removable;
        std::optional<std::string> volume;
        std::optional<std::int64_t> free;
        std::optional<std::string> warning;
    };
    const std::string internalWarning = "This folder does not appear to be on an external drive.";
    const std::string lowWarning =
        "This destination may not have enough free space for the prepared backup.";
    for (const Case& c : std::vector<Case>{
             {"/media/drive/Backups/", "Backups", DS::connected, true, "Drive", 500'000'000'000,
              std::nullopt},
             {"/home/ann/./internal", "internal", DS::connected, false, std::nullopt,
              100'000'000'000, internalWarning},
             {"/mnt/small/b", "b", DS::lowStorage, true, "Small", 999'999'999, lowWarning},
             {"/media/drive/locked", "locked", DS::permissionIssue, true, "Drive", 500'000'000'000,
              std::nullopt},
             {"/media/drive/file.txt", "file.txt", DS::missing, true, "Drive", 500'000'000'000,
              std::nullopt},
             {"/media/drive/unknown-volume", "unknown-volume", DS::connected, false, std::nullopt,
              500'000'000'000, internalWarning},
             {"/", "/", DS::connected, false, std::nullopt, 100'000'000'000, internalWarning},
         }) {
        SCOPED_TRACE(c.path);
        store.clock->advance(10);
        const auto chosen = coordinator->selectDestination(c.path, Bytes{1, 2, 3});
        EXPECT_EQ(chosen.displayName, c.displayName);
        EXPECT_EQ(chosen.status, c.status);
        EXPECT_EQ(chosen.isRemovable, c.removable);
        EXPECT_EQ(chosen.volumeName, c.volume);
        EXPECT_EQ(chosen.availableBytes, c.free);
        EXPECT_EQ(chosen.warningMessage, c.warning);
        EXPECT_EQ(chosen.bookmarkData, (Bytes{1, 2, 3}));
        EXPECT_TRUE(chosen.isSelected);
        EXPECT_EQ(chosen.selectedAt, store.clock->now());
        const bool usable = c.status == DS::connected || c.status == DS::lowStorage;
        EXPECT_EQ(chosen.lastSeenAt,
                  usable ? std::optional<Date>(store.clock->now()) : std::nullopt);
        EXPECT_EQ(store.backups.fetchSelectedDestination(), chosen);
    }
    EXPECT_TRUE(fs->changes().empty());
}

TEST_F(LocalBackupCoordinatorTest, RefreshFollowsTheBookmarkAndNeverTakesAnotherDisksFolder) {
    EXPECT_EQ(coordinator->refreshDestinationStatus(), std::nullopt);
    store.bookmarks->setGrantsAccess(true);
    const auto selected = selectDrive();
    const Date firstSeen = *selected.lastSeenAt;
    const Bytes bookmark = FakeBookmarks::bookmarkOf(kDestination);

    // The drive now shows up at another mount point.
    fs->addVolume("/media/drive1", VolumeValues{true, "Drive"}, 400'000'000'000);
    fs->addFolder("/media/drive1/Backups");
    store.bookmarks->setResolution(bookmark, ResolvedBookmark{"/media/drive1/Backups/", true});
    store.clock->advance(60);
    auto refreshed = coordinator->refreshDestinationStatus().value();
    EXPECT_EQ(refreshed.id, selected.id);
    EXPECT_EQ(refreshed.path, "/media/drive1/Backups");
    EXPECT_EQ(refreshed.status, BackupDestinationStatus::connected);
    EXPECT_EQ(refreshed.availableBytes, 400'000'000'000);
    EXPECT_EQ(refreshed.selectedAt, selected.selectedAt);
    EXPECT_EQ(refreshed.lastSeenAt, store.clock->now());
    EXPECT_EQ(store.bookmarks->started(), 1);
    EXPECT_EQ(store.bookmarks->stopped(), 1);

    // The drive's file system is not mounted; the old mount point is an empty folder on the
    // internal disk. It is missing, and the old path is not even looked at.
    store.bookmarks->setResolution(bookmark,
                                   std::make_error_code(std::errc::no_such_file_or_directory));
    fs->addFolder("/media/drive1/Backups");
    store.clock->advance(60);
    refreshed = coordinator->refreshDestinationStatus().value();
    EXPECT_EQ(refreshed.status, BackupDestinationStatus::missing);
    EXPECT_EQ(refreshed.path, "/media/drive1/Backups");
    EXPECT_EQ(refreshed.availableBytes, std::nullopt);
    EXPECT_EQ(refreshed.lastSeenAt, store.clock->now().addingSeconds(-60));
    EXPECT_EQ(store.backups.fetchSelectedDestination(), refreshed);

    // A bookmark that cannot be read at all: the stored path is evaluated, without access.
    store.bookmarks->setResolution(bookmark, std::make_error_code(std::errc::invalid_argument));
    refreshed = coordinator->refreshDestinationStatus().value();
    EXPECT_EQ(refreshed.status, BackupDestinationStatus::connected);
    EXPECT_EQ(store.bookmarks->started(), 1);
    EXPECT_EQ(store.bookmarks->stopped(), 1);
    EXPECT_GT(*refreshed.lastSeenAt, firstSeen);
    EXPECT_TRUE(fs->changes().empty());
}

TEST_F(LocalBackupCoordinatorTest, AStoredDestinationWithoutAPathIsNotSelected) {
    // An empty path must not turn into "the working folder".
    store.backups.saveSelectedDestination(BackupDestination{
        .id = Uuid::random(), .displayName = "?", .isSelected = true, .lastSeenAt = Date(5)});
    const auto refreshed = coordinator->refreshDestinationStatus().value();
    EXPECT_EQ(refreshed.status, BackupDestinationStatus::notSelected);
    EXPECT_EQ(refreshed.lastSeenAt, Date(5));
}

TEST_F(LocalBackupCoordinatorTest, ScopedAccessIsStoppedWhenTheStoreFails) {
    store.bookmarks->setGrantsAccess(true);
    selectDrive();
    addSource("a.txt", "a");
    scanFiles({"a.txt"});
    store.database->queue()->write([](SQLite::Database& db) {
        db.exec(
            "CREATE TRIGGER refuse BEFORE UPDATE ON backup_destinations "
            "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    });
    EXPECT_THROW(coordinator->refreshDestinationStatus(), DatabaseError);
    EXPECT_THROW(coordinator->prepareBackup(), DatabaseError);
    EXPECT_THROW(coordinator->startBackup(), DatabaseError);
    EXPECT_EQ(store.bookmarks->started(), 3);
    EXPECT_EQ(store.bookmarks->stopped(), 3);
}

// ---------------------------------------------------------------- prepare

TEST_F(LocalBackupCoordinatorTest, PreconditionsOfPrepareAreStoredAsFailedJobs) {
    recordProgress();
    const auto job = coordinator->prepareBackup();
    EXPECT_EQ(job.status, J::failed);
    EXPECT_EQ(job.message, "Choose a backup destination before preparing a backup.");
    EXPECT_EQ(job.destinationID, std::nullopt);
    EXPECT_EQ(job.startedAt, std::nullopt);
    EXPECT_EQ(job.completedAt, store.clock->now());
    EXPECT_EQ(store.latestJob(), job);
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_TRUE(progress[0].isRunning);
    EXPECT_EQ(progress[0].message, "Preparing backup manifest...");

    struct Case {
        const char* label;
        std::function<void()> arrange;
        std::string message;
        bool hasScanRun;
    };
    const std::vector<Case> cases = {
        {"destination missing", [&] { fs->erase(kDestination); },
         "Tallowmere cannot prepare this destination yet: missing.", false},
        {"destination not writable",
         [&] {
             fs->addFolder(kDestination);
             fs->setWritable(kDestination, false);
         },
         "Tallowmere cannot prepare this destination yet: permission issue.", false},
        {"no scan", [&] { fs->setWritable(kDestination, true); },
         "Run an iCloud Drive scan before preparing a backup.", false},
        {"a scan without results", [&] { store.storeScan(root, {}); },
         "The latest iCloud Drive scan did not include file results to prepare.", true},
    };
    const auto destinationID = selectDrive().id;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        c.arrange();
        store.clock->advance(1);
        const auto failed = coordinator->prepareBackup();
        EXPECT_EQ(failed.status, J::failed);
        EXPECT_EQ(failed.message, c.message);
        EXPECT_NE(failed.id, job.id);
        EXPECT_EQ(failed.destinationID, destinationID);
        EXPECT_EQ(failed.sourceScanRunID.has_value(), c.hasScanRun);
        EXPECT_EQ(failed.totalFiles, 0);
        EXPECT_EQ(failed.manifestJSONPath, std::nullopt);
        EXPECT_EQ(store.latestJob(), failed);
    }
    // Nothing was made on the destination by a prepare that could not run.
    EXPECT_EQ(fs->pathsBelow(kDestination), std::vector<std::string>{kDestination});
}

TEST_F(LocalBackupCoordinatorTest, PrepareLaysOutTheBackupFolderAndWritesAPreviewWithoutPaths) {
    // 1,204 eligible files, a folder and a cloud-only file; the drive is too small for them,
    // which does not stop a prepare.
    fs->addVolume(kDrive, VolumeValues{true, "Drive"}, 1'000'000'000);
    selectDrive();
    std::vector<ICloudFileScanResult> results;
    for (int i = 0; i < 1204; ++i) {
        results.push_back(
            BackupStore::result(source("f" + std::to_string(i) + ".bin"), 1'000'000, kModified));
    }
    results.push_back(BackupStore::result(source("Folder"), std::nullopt, kModified,
                                          ICloudFileState::localCurrent, true));
    results.push_back(
        BackupStore::result(source("remote.pdf"), 5, kModified, ICloudFileState::cloudOnly));
    const Uuid runID = store.storeScan(root, results);
    recordProgress();

    const auto job = coordinator->prepareBackup();
    EXPECT_EQ(job.status, J::prepared);
    EXPECT_EQ(job.message,
              "Backup prepared. 1,204 local files are ready to copy; 2 items were skipped.");
    EXPECT_EQ(job.sourceScanRunID, runID);
    EXPECT_EQ(job.totalFiles, 1204);
    EXPECT_EQ(job.skippedFiles, 2);
    EXPECT_EQ(job.preparedBytes, 1'204'000'000);
    EXPECT_EQ(job.startedAt, store.clock->now());
    EXPECT_EQ(job.completedAt, store.clock->now());
    const std::string previewPath =
        std::string(kBackup) + "/Manifest/backup-preview-" + job.id.toString() + ".json";
    EXPECT_EQ(job.manifestJSONPath, previewPath);
    EXPECT_EQ(store.latestJob(), job);
    expectCountersMatchStore(job, store.backups);
    for (const char* folder : {"Manifest", "Reports", "iCloud Drive"})
        EXPECT_TRUE(fs->isDirectory(std::string(kBackup) + "/" + folder)) << folder;

    const std::string text = fs->contents(previewPath).value();
    const Json preview = Json::parse(text);
    EXPECT_EQ(preview.get<ManifestPreview>(),
              (ManifestPreview{job.id, runID, store.clock->now(), 1204, 2, 1'204'000'000,
                               "Tallowmere prepared this manifest without modifying source "
                               "files. Verification can check the second copy after copying."}));
    // Pretty-printed, keys in alphabetical order, no path or name of the user's.
    EXPECT_LT(text.find("\"eligibleFileCount\""), text.find("\"generatedAt\""));
    EXPECT_LT(text.find("\"generatedAt\""), text.find("\"jobID\""));
    EXPECT_LT(text.find("\"note\""), text.find("\"preparedBytes\""));
    EXPECT_LT(text.find("\"skippedFileCount\""), text.find("\"sourceScanRunID\""));
    EXPECT_NE(text.find("\n  \"jobID\": \"" + job.id.toString() + "\""), std::string::npos);
    EXPECT_EQ(text.find("f1.bin"), std::string::npos);
    EXPECT_EQ(text.find("home"), std::string::npos);

    const auto items = store.backups.fetchManifestItems(job.id);
    EXPECT_EQ(items.size(), 1206u);
    // The destination was stored with the prepared size as its need.
    EXPECT_EQ(store.backups.fetchSelectedDestination()->status,
              BackupDestinationStatus::lowStorage);

    ASSERT_EQ(progress.size(), 2u);
    EXPECT_FALSE(progress[1].isRunning);
    EXPECT_EQ(progress[1].totalFiles, 1204);
    EXPECT_EQ(progress[1].skippedFiles, 2);
    EXPECT_EQ(progress[1].totalBytes, 1'204'000'000);
    EXPECT_EQ(progress[1].message, job.message);
}

TEST_F(LocalBackupCoordinatorTest, AScanOfOnlyFoldersAndCloudOnlyFilesCompletesAtOnce) {
    selectDrive();
    store.storeScan(
        root, {BackupStore::result(source("A"), std::nullopt, kModified,
                                   ICloudFileState::localCurrent, true),
               BackupStore::result(source("b.pdf"), 10, kModified, ICloudFileState::cloudOnly)});
    const auto prepared = coordinator->prepareBackup();
    EXPECT_EQ(prepared.totalFiles, 0);
    EXPECT_EQ(prepared.skippedFiles, 2);
    recordProgress();
    const auto done = coordinator->startBackup();
    EXPECT_EQ(done.id, prepared.id);
    EXPECT_EQ(done.status, J::completedWithSkipped);
    EXPECT_EQ(done.message,
              "Backup copied eligible local files with skipped or conflict items. Run "
              "verification to check the second copy.");
    EXPECT_TRUE(progress.empty());
    EXPECT_TRUE(fs->pathsBelow(kCopies).empty());
}

// ---------------------------------------------------------------- copying

TEST_F(LocalBackupCoordinatorTest, EachItemGetsItsOutcomeAndTheRunGoesOn) {
    selectDrive();
    std::map<std::string, std::string> contents = {{"a.txt", "alpha"},
                                                   {"b/already.txt", "same bytes"},
                                                   {"c/conflict.txt", "mine"},
                                                   {"d-deleted.txt", "gone soon"},
                                                   {"e-now-a-folder", "was a file"},
                                                   {"f/deep/z.txt", "zed"}};
    for (const auto& [relative, text] : contents) addSource(relative, text);
    scanFiles({"a.txt", "b/already.txt", "c/conflict.txt", "d-deleted.txt", "e-now-a-folder",
               "f/deep/z.txt"});
    const auto prepared = coordinator->prepareBackup();
    // What changed since the scan: a matching copy 1 s apart is there, a different file
    // sits at another item's path, one source went away and one became a folder.
    fs->addFile(copyOf("b/already.txt"), "same bytes", kModified.addingSeconds(1));
    fs->addFile(copyOf("c/conflict.txt"), "someone else's", kModified);
    fs->erase(source("d-deleted.txt"));
    fs->erase(source("e-now-a-folder"));
    fs->addFolder(source("e-now-a-folder"));
    const auto sourcesBefore = fs->pathsBelow(kDocuments);
    // Small groups, so that counts move while the run goes on.
    coordinator = store.coordinator(fs, {.maxFiles = 2});

    // Every published count is the store's own at that moment.
    coordinator->setProgressHandler([&](const BackupProgressSnapshot& snapshot) {
        progress.push_back(snapshot);
        const auto stats = store.backups.manifestStats(prepared.id);
        EXPECT_EQ(snapshot.completedFiles, stats.completedFiles);
        EXPECT_EQ(snapshot.failedFiles, stats.failedFiles);
        EXPECT_EQ(snapshot.skippedFiles, stats.skippedFiles);
        EXPECT_EQ(snapshot.conflictFiles, stats.conflictFiles);
        EXPECT_EQ(snapshot.copiedBytes, stats.copiedBytes);
        EXPECT_EQ(snapshot.totalFiles, stats.totalEligibleFiles);
    });
    const auto done = coordinator->startBackup();

    EXPECT_EQ(done.id, prepared.id);
    EXPECT_EQ(done.status, J::completedWithSkipped);
    EXPECT_EQ(done.completedFiles, 3);
    EXPECT_EQ(done.failedFiles, 1);
    EXPECT_EQ(done.skippedFiles, 1);
    EXPECT_EQ(done.conflictFiles, 1);
    EXPECT_EQ(done.copiedBytes, 5 + 10 + 3);
    EXPECT_EQ(done.startedAt, prepared.startedAt);
    EXPECT_EQ(done.cancelledAt, std::nullopt);
    expectCountersMatchStore(done, store.backups);
    EXPECT_EQ(store.latestJob(), done);

    std::map<std::string, std::pair<S, std::string>> outcomes;
    for (const auto& item : store.backups.fetchManifestItems(done.id))
        outcomes[item.relativePath] = {item.status, item.message};
    const std::map<std::string, std::pair<S, std::string>> expected = {
        {"a.txt", {S::copied, "Copied."}},
        {"b/already.txt",
         {S::alreadyCopied, "A matching file already exists in the Tallowmere backup folder."}},
        {"c/conflict.txt",
         {S::conflict,
          "A different file already exists at the backup path. Tallowmere did not overwrite it."}},
        {"d-deleted.txt", {S::failed, "Tallowmere could not read this source file."}},
        {"e-now-a-folder",
         {S::skipped,
          "Folders are represented by their files and are not copied as standalone backup "
          "items."}},
        {"f/deep/z.txt", {S::copied, "Copied."}},
    };
    EXPECT_EQ(outcomes, expected);
    EXPECT_EQ(fs->contents(copyOf("c/conflict.txt")), "someone else's");
    EXPECT_EQ(fs->storedValues(copyOf("b/already.txt"))->contentModificationDate,
              kModified.addingSeconds(1));
    contents.erase("d-deleted.txt");
    expectStoreMatchesDisk(done.id, contents);
    // Sources were only read.
    EXPECT_EQ(fs->pathsBelow(kDocuments), sourcesBefore);
    EXPECT_EQ(fs->contents(source("a.txt")), "alpha");
    for (const auto& change : fs->changes()) {
        const auto arrow = change.find(" -> ");
        const std::string changed = arrow == std::string::npos ? change.substr(change.find(' ') + 1)
                                                               : change.substr(arrow + 4);
        EXPECT_NE(changed.rfind(kDocuments, 0), 0u) << change;
    }

    // One progress line per item, in relative-path order, then the final one.
    ASSERT_EQ(progress.size(), 7u);
    EXPECT_EQ(progress[0].currentFile, "a.txt");
    EXPECT_EQ(progress[5].currentFile, "f/deep/z.txt");
    EXPECT_TRUE(progress[5].isRunning);
    EXPECT_EQ(progress[5].message,
              "Copying eligible local files. Tallowmere will not delete or change your original "
              "files.");
    EXPECT_FALSE(progress[6].isRunning);
    EXPECT_EQ(progress[6].message, done.message);
    EXPECT_EQ(progress[6].totalBytes, done.preparedBytes);
}

// A group's copies get their names only once their data is flushed, and their statuses are
// written only once the names are flushed too; each item's status is written once. Groups
// are made durable on a second thread while the next is copied, so this checks the order
// of what actually happened, item by item.
TEST_F(LocalBackupCoordinatorTest, StatusesAreWrittenOnlyAfterTheCopiesAreDurable) {
    selectDrive();
    std::vector<std::string> names;
    for (int i = 0; i < 7; ++i) {
        names.push_back("file" + std::to_string(i) + ".txt");
        addSource(names.back(), std::string(i + 1, 'x'));
    }
    scanFiles(names);
    auto observed = std::make_shared<testing::ForwardingFileSystem>(fs);
    coordinator = store.coordinator(observed, {.maxFiles = 2});
    const auto prepared = coordinator->prepareBackup();

    struct Event {
        std::string what;  // "copy done", "publish", "publish done", "sync", "sync done", "status"
        std::string path;  // the destination; for "status" the row id
    };
    std::mutex mutex;
    std::vector<Event> events;
    const auto log = [&](std::string what, std::string path) {
        std::lock_guard lock(mutex);
        events.push_back({std::move(what), std::move(path)});
    };
    observed->observe = [&](std::string_view operation, const std::string& path, bool finished) {
        if (operation == "copy" && !finished)
            return;
        log(std::string(operation) + (finished ? " done" : ""), path);
    };
    std::function<void(sqlite3_int64)> onStatus = [&](sqlite3_int64 row) {
        log("status", std::to_string(row));
    };
    store.database->queue()->read([&](SQLite::Database& db) {
        sqlite3_update_hook(
            db.getHandle(),
            [](void* context, int operation, const char*, const char* table, sqlite3_int64 row) {
                if (operation == SQLITE_UPDATE && std::string(table) == "backup_manifest_items")
                    (*static_cast<std::function<void(sqlite3_int64)>*>(context))(row);
            },
            &onStatus);
    });
    const auto done = coordinator->startBackup();
    store.database->queue()->read(
        [](SQLite::Database& db) { sqlite3_update_hook(db.getHandle(), nullptr, nullptr); });
    EXPECT_EQ(done.status, J::completed);
    EXPECT_EQ(done.completedFiles, 7);

    std::map<std::string, std::string> pathOfRow;
    store.database->queue()->read([&](SQLite::Database& db) {
        SQLite::Statement rows(db, "SELECT rowid, destination_path FROM backup_manifest_items");
        while (rows.executeStep())
            pathOfRow[std::to_string(rows.getColumn(0).getInt64())] = rows.getColumn(1).getString();
    });
    const auto indexOf = [&](const std::string& what, const std::string& path) {
        std::vector<std::size_t> found;
        for (std::size_t i = 0; i < events.size(); ++i) {
            const auto& e = events[i];
            if (e.what == what && (what == "status" ? pathOfRow[e.path] : e.path) == path)
                found.push_back(i);
        }
        return found;
    };
    // A flush that began after `after` and finished before `before`.
    const auto flushedBetween = [&](std::size_t after, std::size_t before) {
        std::optional<std::size_t> began;
        for (std::size_t i = after + 1; i < before; ++i) {
            if (events[i].what == "sync")
                began = i;
            if (events[i].what == "sync done" && began)
                return true;
        }
        return false;
    };
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        const std::string path = copyOf(name);
        const auto copied = indexOf("copy done", path);
        const auto publishing = indexOf("publish", path);
        const auto published = indexOf("publish done", path);
        const auto status = indexOf("status", path);
        ASSERT_EQ(copied.size(), 1u);
        ASSERT_EQ(publishing.size(), 1u);
        ASSERT_EQ(published.size(), 1u);
        // Written exactly once.
        ASSERT_EQ(status.size(), 1u);
        EXPECT_TRUE(flushedBetween(copied[0], publishing[0]));
        EXPECT_TRUE(flushedBetween(published[0], status[0]));
    }
}

TEST_F(LocalBackupCoordinatorTest, PauseThenStartCopiesOnlyTheRest) {
    selectDrive();
    std::map<std::string, std::string> contents;
    for (const char* name : {"1.txt", "2.txt", "3.txt", "4.txt"}) {
        contents[name] = std::string("contents of ") + name;
        addSource(name, contents[name]);
    }
    scanFiles({"1.txt", "2.txt", "3.txt", "4.txt"});
    // A request before a run is discarded by the run.
    coordinator->pauseBackup();
    const auto prepared = coordinator->prepareBackup();
    coordinator->setProgressHandler([&](const BackupProgressSnapshot& snapshot) {
        progress.push_back(snapshot);
        if (snapshot.currentFile == "2.txt")
            coordinator->pauseBackup();
    });

    const auto paused = coordinator->startBackup();
    EXPECT_EQ(paused.id, prepared.id);
    EXPECT_EQ(paused.status, J::paused);
    EXPECT_EQ(paused.message, "Backup paused. Tallowmere can continue from the remaining files.");
    EXPECT_EQ(paused.completedAt, std::nullopt);
    EXPECT_EQ(paused.cancelledAt, std::nullopt);
    // The file in progress when the pause came was finished, and made durable.
    EXPECT_EQ(store.statuses(paused.id), (std::map<std::string, S>{{"1.txt", S::copied},
                                                                   {"2.txt", S::copied},
                                                                   {"3.txt", S::pending},
                                                                   {"4.txt", S::pending}}));
    expectCountersMatchStore(paused, store.backups);
    expectStoreMatchesDisk(paused.id, contents);
    const auto pausing = std::find_if(progress.begin(), progress.end(), [](const auto& p) {
        return p.message == "Pausing backup...";
    });
    ASSERT_NE(pausing, progress.end());
    EXPECT_TRUE(pausing->isRunning);
    EXPECT_TRUE(pausing->isPaused);
    EXPECT_TRUE(progress.back().isPaused);
    EXPECT_FALSE(progress.back().isRunning);

    progress.clear();
    const auto copiesBefore = fs->changes().size();
    const auto done = coordinator->startBackup();
    EXPECT_EQ(done.id, prepared.id);
    EXPECT_EQ(done.status, J::completed);
    EXPECT_EQ(done.completedFiles, 4);
    std::vector<std::string> copied;
    for (std::size_t i = copiesBefore; i < fs->changes().size(); ++i) {
        if (fs->changes()[i].rfind("copyToTemporary", 0) == 0)
            copied.push_back(fs->changes()[i]);
    }
    EXPECT_EQ(copied.size(), 2u);
    EXPECT_NE(copied[0].find("3.txt"), std::string::npos);
    expectStoreMatchesDisk(done.id, contents);
}

TEST_F(LocalBackupCoordinatorTest, CancelKeepsWhatWasCopied) {
    selectDrive();
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) addSource(name, name);
    scanFiles({"1.txt", "2.txt", "3.txt"});
    coordinator->prepareBackup();
    coordinator->setProgressHandler([&](const BackupProgressSnapshot& snapshot) {
        progress.push_back(snapshot);
        if (snapshot.currentFile == "1.txt") {
            coordinator->pauseBackup();
            coordinator->cancelBackup();
        }
    });
    const auto cancelled = coordinator->startBackup();
    EXPECT_EQ(cancelled.status, J::cancelled);
    EXPECT_EQ(cancelled.cancelledAt, store.clock->now());
    EXPECT_EQ(cancelled.completedAt, store.clock->now());
    EXPECT_EQ(cancelled.message,
              "Backup cancelled. Files already copied remain in the Tallowmere backup folder.");
    EXPECT_EQ(cancelled.completedFiles, 1);
    EXPECT_EQ(fs->contents(copyOf("1.txt")), "1.txt");
    EXPECT_FALSE(fs->exists(copyOf("2.txt")));
    EXPECT_TRUE(progress.back().isCancelling);
    EXPECT_FALSE(progress.back().isPaused);

    // A cancelled job resumes like a paused one.
    const auto done = coordinator->startBackup();
    EXPECT_EQ(done.id, cancelled.id);
    EXPECT_EQ(done.status, J::completed);
    EXPECT_EQ(done.cancelledAt, std::nullopt);
}

TEST_F(LocalBackupCoordinatorTest, WhatStartDoesDependsOnTheLatestJob) {
    addSource("a.txt", "a");
    scanFiles({"a.txt"});

    // No job yet and no destination: the prepare inside start fails and is returned.
    const auto noDestination = coordinator->startBackup();
    EXPECT_EQ(noDestination.status, J::failed);
    EXPECT_EQ(noDestination.message, "Choose a backup destination before preparing a backup.");

    // After a failed job a new manifest is prepared and copied. (The store tells the latest
    // job by the time it was saved, so time moves on between steps.)
    selectDrive();
    store.clock->advance(1);
    const auto first = coordinator->startBackup();
    EXPECT_NE(first.id, noDestination.id);
    EXPECT_EQ(first.status, J::completed);
    EXPECT_EQ(first.message,
              "Backup copied eligible local files. Run verification to check the second copy.");

    // A completed job is completed again, with the same counters.
    store.clock->advance(30);
    const auto again = coordinator->startBackup();
    EXPECT_EQ(again.id, first.id);
    EXPECT_EQ(again.status, J::completed);
    EXPECT_EQ(again.completedFiles, 1);
    EXPECT_EQ(again.completedAt, store.clock->now());

    // Too little room for the prepared bytes: the job fails, keeping what it has.
    fs->addVolume(kDrive, VolumeValues{true, "Drive"}, 0);
    store.clock->advance(1);
    const auto lowSpace = coordinator->startBackup();
    EXPECT_EQ(lowSpace.id, first.id);
    EXPECT_EQ(lowSpace.status, J::failed);
    EXPECT_EQ(lowSpace.message, "Tallowmere cannot copy to this destination yet: low space.");
    EXPECT_EQ(lowSpace.completedFiles, 1);
    EXPECT_EQ(lowSpace.manifestJSONPath, first.manifestJSONPath);

    // A prepared job whose destination was deselected meanwhile.
    fs->addVolume(kDrive, VolumeValues{true, "Drive"}, 500'000'000'000);
    store.clock->advance(1);
    const auto prepared = coordinator->prepareBackup();
    store.database->queue()->write(
        [](SQLite::Database& db) { db.exec("UPDATE backup_destinations SET is_selected = 0"); });
    store.clock->advance(1);
    const auto deselected = coordinator->startBackup();
    EXPECT_EQ(deselected.id, prepared.id);
    EXPECT_EQ(deselected.status, J::failed);
    EXPECT_EQ(deselected.message, "Choose a backup destination before copying files.");
    EXPECT_EQ(deselected.totalFiles, 0);
    EXPECT_EQ(deselected.manifestJSONPath, std::nullopt);
}

// ---------------------------------------------------------------- faults

TEST_F(LocalBackupCoordinatorTest, FileFaultsFailOnlyTheirItem) {
    selectDrive();
    std::map<std::string, std::string> contents = {{"1-full.bin", "disk fills up here"},
                                                   {"2-ok.txt", "fine"},
                                                   {"3-unreadable.bin", "bad sector"},
                                                   {"4-rename.txt", "no name"},
                                                   {"5-ok.txt", "fine too"}};
    for (const auto& [relative, text] : contents) addSource(relative, text);
    scanFiles({"1-full.bin", "2-ok.txt", "3-unreadable.bin", "4-rename.txt", "5-ok.txt"});
    const auto prepared = coordinator->prepareBackup();
    fs->failOperation(Operation::copy, copyOf("1-full.bin"),
                      std::make_error_code(std::errc::no_space_on_device));
    fs->failOperation(Operation::read, source("3-unreadable.bin"),
                      std::make_error_code(std::errc::io_error));
    fs->failOperation(Operation::publish, copyOf("4-rename.txt"),
                      std::make_error_code(std::errc::io_error));

    const auto done = coordinator->startBackup();
    EXPECT_EQ(done.status, J::completedWithSkipped);
    EXPECT_EQ(store.statuses(done.id), (std::map<std::string, S>{{"1-full.bin", S::failed},
                                                                 {"2-ok.txt", S::copied},
                                                                 {"3-unreadable.bin", S::failed},
                                                                 {"4-rename.txt", S::failed},
                                                                 {"5-ok.txt", S::copied}}));
    for (const auto& item : store.backups.fetchManifestItems(done.id, std::set{S::failed}))
        EXPECT_EQ(item.message, "Tallowmere could not copy this file.");
    expectCountersMatchStore(done, store.backups);
    expectStoreMatchesDisk(done.id, contents);
    for (const auto& [relative, text] : contents) EXPECT_EQ(fs->contents(source(relative)), text);
}

TEST_F(LocalBackupCoordinatorTest, ADestinationThatVanishesEndsTheRunAndTheNextStartGoesOn) {
    selectDrive();
    std::map<std::string, std::string> contents;
    std::vector<std::string> names;
    for (int i = 1; i <= 5; ++i) {
        names.push_back("dir" + std::to_string(i) + "/f.txt");
        contents[names.back()] = "file " + std::to_string(i);
        addSource(names.back(), contents[names.back()]);
    }
    scanFiles(names);
    coordinator = store.coordinator(fs, {.maxFiles = 2});
    const auto prepared = coordinator->prepareBackup();
    // The drive is pulled when the second group of two is about to be flushed.
    std::atomic<int> flushes = 0;
    fs->setChangeHook([&](Operation operation, const std::string&) {
        if (operation == Operation::synchronize && ++flushes == 3)
            fs->erase(kDestination);
    });

    EXPECT_THROW(coordinator->startBackup(), std::system_error);
    const auto stuck = store.latestJob();
    EXPECT_EQ(stuck.id, prepared.id);
    EXPECT_EQ(stuck.status, J::running);
    // What was made durable before is recorded; the copy waiting for its flush is not.
    EXPECT_EQ(store.statuses(stuck.id), (std::map<std::string, S>{{"dir1/f.txt", S::copied},
                                                                  {"dir2/f.txt", S::copied},
                                                                  {"dir3/f.txt", S::pending},
                                                                  {"dir4/f.txt", S::pending},
                                                                  {"dir5/f.txt", S::pending}}));
    // Nothing was made again in its place, and the sources are as they were.
    EXPECT_FALSE(fs->exists(kDestination));
    EXPECT_TRUE(partialFiles().empty());
    for (const auto& [relative, text] : contents) EXPECT_EQ(fs->contents(source(relative)), text);

    // Plugged in again (with what it held): the running job goes on where it stood.
    fs->setChangeHook({});
    fs->addFolder(kDestination);
    fs->addFile(copyOf("dir1/f.txt"), contents["dir1/f.txt"], kModified);
    fs->addFile(copyOf("dir2/f.txt"), contents["dir2/f.txt"], kModified);
    const auto done = coordinator->startBackup();
    EXPECT_EQ(done.id, prepared.id);
    EXPECT_EQ(done.status, J::completed);
    EXPECT_EQ(done.completedFiles, 5);
    expectStoreMatchesDisk(done.id, contents);
}

TEST_F(LocalBackupCoordinatorTest, AFlushThatFailsLeavesItsCopiesPendingAndEndsTheRun) {
    selectDrive();
    addSource("a.txt", "a");
    addSource("b.txt", "b");
    scanFiles({"a.txt", "b.txt"});
    const auto prepared = coordinator->prepareBackup();
    fs->failOperation(Operation::synchronize, kBackup, std::make_error_code(std::errc::io_error));
    EXPECT_THROW(coordinator->startBackup(), std::system_error);
    EXPECT_EQ(store.latestJob().status, J::running);
    EXPECT_EQ(store.statuses(prepared.id),
              (std::map<std::string, S>{{"a.txt", S::pending}, {"b.txt", S::pending}}));
    EXPECT_FALSE(fs->exists(copyOf("a.txt")));
    EXPECT_TRUE(partialFiles().empty());
    EXPECT_EQ(fs->contents(source("a.txt")), "a");
}

TEST_F(LocalBackupCoordinatorTest, AJobPreparedOnAnotherMountPointIsCopiedToTheDrivesNewPlace) {
    selectDrive();
    addSource("a.txt", "a");
    scanFiles({"a.txt"});
    const auto prepared = coordinator->prepareBackup();
    // The drive comes back at /media/drive1; an empty folder is left at the old mount point.
    fs->erase(kDrive);
    fs->addFolder("/media/drive/Backups");
    fs->addVolume("/media/drive1", VolumeValues{true, "Drive"}, 500'000'000'000);
    fs->addFolder("/media/drive1/Backups/Tallowmere Backup/Manifest");
    store.bookmarks->setResolution(FakeBookmarks::bookmarkOf(kDestination),
                                   ResolvedBookmark{"/media/drive1/Backups", true});

    const auto done = coordinator->startBackup();
    EXPECT_EQ(done.id, prepared.id);
    EXPECT_EQ(done.status, J::completed);
    EXPECT_EQ(fs->contents("/media/drive1/Backups/Tallowmere Backup/iCloud Drive/Documents/a.txt"),
              "a");
    EXPECT_EQ(fs->pathsBelow(kDestination), std::vector<std::string>{kDestination});
}

TEST_F(LocalBackupCoordinatorTest, AnItemOutsideTheBackupFolderIsNeverWritten) {
    selectDrive();
    addSource("a.txt", "a");
    scanFiles({"a.txt"});
    const auto prepared = coordinator->prepareBackup();
    store.database->queue()->write([](SQLite::Database& db) {
        db.exec("UPDATE backup_manifest_items SET destination_path = '/media/drive/elsewhere.txt'");
    });
    const auto done = coordinator->startBackup();
    EXPECT_EQ(store.statuses(done.id), (std::map<std::string, S>{{"a.txt", S::failed}}));
    EXPECT_FALSE(fs->exists("/media/drive/elsewhere.txt"));
}

}  // namespace
}  // namespace tallowmere
