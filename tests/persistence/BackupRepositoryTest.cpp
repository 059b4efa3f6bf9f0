#include "persistence/BackupRepository.h"

#include <gtest/gtest.h>

#include <SQLiteCpp/Statement.h>

#include "persistence/TallowmereDatabase.h"
#include "tests/support/FixedClock.h"
#include "tests/support/JsonPrinting.h"
#include "tests/support/SampleRecords.h"

namespace tallowmere {
namespace {

class BackupRepositoryTest : public ::testing::Test {
protected:
    std::shared_ptr<TallowmereDatabase> database = TallowmereDatabase::inMemory();
    std::shared_ptr<testing::FixedClock> clock =
        std::make_shared<testing::FixedClock>(Date(1'765'000'000));
    BackupRepository repository{database->queue(), clock};

    void exec(const std::string& statements) {
        database->queue()->write([&](SQLite::Database& db) { db.exec(statements); });
    }

    std::int64_t scalar(const std::string& query) {
        return database->queue()->read(
            [&](SQLite::Database& db) { return db.execAndGet(query).getInt64(); });
    }

    // A job row for items to belong to.
    BackupJobSnapshot storedJob(BackupJobStatus status = BackupJobStatus::prepared) {
        BackupJobSnapshot job{.id = Uuid::random(), .status = status, .message = "Prepared."};
        repository.saveJob(job);
        return job;
    }
};

BackupDestination destination(const std::string& name, Date selectedAt) {
    return BackupDestination{.id = Uuid::random(),
                             .displayName = name,
                             .path = "/media/alex/" + name,
                             .status = BackupDestinationStatus::connected,
                             .isSelected = true,
                             .selectedAt = selectedAt,
                             .updatedAt = selectedAt};
}

BackupManifestItem item(const Uuid& jobID, const std::string& relativePath, BackupItemStatus status,
                        std::optional<std::int64_t> size = 10, bool eligible = true) {
    return BackupManifestItem{
        .id = Uuid::random(),
        .jobID = jobID,
        .sourceResultID = Uuid::random(),
        .rootID = Uuid::random(),
        .sourcePath = "/home/alex/Documents/" + relativePath,
        .relativePath = relativePath,
        .destinationPath = "/media/alex/Drive/Tallowmere Backup/" + relativePath,
        .fileSize = size,
        .modifiedAt = Date(1'700'000'000.25),
        .sourceState = ICloudFileState::localCurrent,
        .isEligible = eligible,
        .status = status,
        .message = "Ready to copy.",
        .createdAt = Date(1'765'000'000.5),
        .updatedAt = Date(1'765'000'001.5)};
}

std::vector<std::string> paths(const std::vector<BackupManifestItem>& items) {
    std::vector<std::string> result;
    for (const auto& i : items) result.push_back(i.relativePath);
    return result;
}

TEST_F(BackupRepositoryTest, DestinationRoundTripsWithEveryFieldAndWithAbsentValues) {
    EXPECT_FALSE(repository.fetchSelectedDestination());

    const BackupDestination full{.id = Uuid::random(),
                                 .displayName = "Backup Drive",
                                 .path = "/media/alex/Backup Drive",
                                 .bookmarkData = Bytes{0x00, 0x01, 0xFE, 0x00, 0xFF},
                                 .availableBytes = 9'000'000'000'000,
                                 .status = BackupDestinationStatus::lowStorage,
                                 .isSelected = true,
                                 .isRemovable = true,
                                 .volumeName = "BACKUP",
                                 .warningMessage = "Low space",
                                 .selectedAt = Date(1'765'000'000.125),
                                 .lastSeenAt = Date(1'765'000'100.5),
                                 .updatedAt = Date(1'765'000'200.75)};
    repository.saveSelectedDestination(full);
    EXPECT_EQ(repository.fetchSelectedDestination(), full);

    BackupDestination bare{.id = Uuid::random(),
                           .displayName = "/",
                           .status = BackupDestinationStatus::notSelected,
                           .isSelected = true,
                           .selectedAt = Date(1'765'001'000),
                           .updatedAt = Date(1'765'001'000)};
    repository.saveSelectedDestination(bare);
    EXPECT_EQ(repository.fetchSelectedDestination(), bare);
    EXPECT_EQ(
        scalar(
            "SELECT count(*) FROM backup_destinations WHERE path IS NULL AND bookmark_data IS NULL "
            "AND available_bytes IS NULL AND volume_name IS NULL AND warning_message IS NULL "
            "AND last_seen_at IS NULL"),
        1);

    // Empty bookmark data is data, not an absent bookmark.
    bare.bookmarkData = Bytes{};
    repository.updateDestination(bare);
    EXPECT_EQ(repository.fetchSelectedDestination(), bare);
}

TEST_F(BackupRepositoryTest,
       SelectingLeavesOnlyTheNewDestinationSelectedAndKeepsFirstSelectionTime) {
    auto a = destination("A", Date(100));
    auto b = destination("B", Date(200));
    repository.saveSelectedDestination(a);
    repository.saveSelectedDestination(b);
    EXPECT_EQ(scalar("SELECT count(*) FROM backup_destinations WHERE is_selected = 1"), 1);
    EXPECT_EQ(repository.fetchSelectedDestination()->id, b.id);

    // Choosing A again: a later selection time and a fresh evaluation.
    auto again = a;
    again.selectedAt = Date(300);
    again.updatedAt = Date(300);
    again.status = BackupDestinationStatus::permissionIssue;
    again.warningMessage = "Not writable";
    repository.saveSelectedDestination(again);

    EXPECT_EQ(scalar("SELECT count(*) FROM backup_destinations"), 2);
    EXPECT_EQ(scalar("SELECT count(*) FROM backup_destinations WHERE is_selected = 1"), 1);
    auto expected = again;
    expected.selectedAt = Date(100);
    EXPECT_EQ(repository.fetchSelectedDestination(), expected);
}

TEST_F(BackupRepositoryTest, UpdatingADestinationLeavesOtherSelectionsAndNewestSelectionWins) {
    auto a = destination("A", Date(100));
    auto b = destination("B", Date(200));
    repository.saveSelectedDestination(b);
    repository.updateDestination(a);  // also selected, but chosen earlier
    EXPECT_EQ(scalar("SELECT count(*) FROM backup_destinations WHERE is_selected = 1"), 2);
    EXPECT_EQ(repository.fetchSelectedDestination()->id, b.id);

    b.isSelected = false;
    repository.updateDestination(b);
    EXPECT_EQ(repository.fetchSelectedDestination()->id, a.id);

    a.isSelected = false;
    repository.updateDestination(a);
    EXPECT_FALSE(repository.fetchSelectedDestination());
}

TEST_F(BackupRepositoryTest, JobRoundTripsWithEveryFieldAndWithAbsentValuesAndIsStampedWithNow) {
    // Times with a fraction of a second, which the store keeps.
    const auto full = testing::everyFieldBackupJob(Date(1'765'000'000.5));
    repository.saveJob(full);
    EXPECT_EQ(repository.fetchLatestJobSnapshot(), full);
    EXPECT_EQ(scalar("SELECT count(*) FROM backup_jobs WHERE updated_at = 1765000000"), 1);

    clock->advance(10);
    const BackupJobSnapshot bare{
        .id = Uuid::random(), .status = BackupJobStatus::failed, .message = "No scan."};
    repository.saveJob(bare);
    EXPECT_EQ(repository.fetchLatestJobSnapshot(), bare);
    EXPECT_EQ(scalar("SELECT count(*) FROM backup_jobs WHERE destination_id IS NULL AND "
                     "source_scan_run_id IS NULL "
                     "AND started_at IS NULL AND completed_at IS NULL AND cancelled_at IS NULL "
                     "AND manifest_json_path IS NULL"),
              1);
}

TEST_F(BackupRepositoryTest, SavingAJobAgainUpdatesItsRowInPlaceAndKeepsItsItems) {
    auto job = storedJob();
    repository.replaceManifest(job.id, {item(job.id, "a", BackupItemStatus::pending),
                                        item(job.id, "b", BackupItemStatus::pending),
                                        item(job.id, "c", BackupItemStatus::skipped)});
    clock->advance(60);
    job.status = BackupJobStatus::running;
    job.completedFiles = 2;
    job.copiedBytes = 20;
    repository.saveJob(job);

    EXPECT_EQ(scalar("SELECT count(*) FROM backup_jobs"), 1);
    EXPECT_EQ(scalar("SELECT updated_at FROM backup_jobs"), 1'765'000'060);
    EXPECT_EQ(repository.fetchLatestJobSnapshot(), job);
    EXPECT_EQ(repository.fetchManifestItems(job.id).size(), 3u);
}

TEST_F(BackupRepositoryTest, LatestJobIsTheOneSavedMostRecently) {
    EXPECT_FALSE(repository.fetchLatestJobSnapshot());

    BackupJobSnapshot older{.id = Uuid::random(),
                            .status = BackupJobStatus::completed,
                            .startedAt = Date(5'000),
                            .completedAt = Date(9'000),
                            .message = "Done."};
    repository.saveJob(older);
    clock->advance(1);
    BackupJobSnapshot newer{
        .id = Uuid::random(), .status = BackupJobStatus::prepared, .message = "Prepared."};
    repository.saveJob(newer);
    EXPECT_EQ(repository.fetchLatestJobSnapshot()->id, newer.id);

    clock->advance(1);
    repository.saveJob(older);
    EXPECT_EQ(repository.fetchLatestJobSnapshot()->id, older.id);

    // Saved in the same instant: the later completion, else start, decides.
    newer.startedAt = Date(9'500);
    repository.saveJob(newer);
    EXPECT_EQ(repository.fetchLatestJobSnapshot()->id, newer.id);
}

TEST_F(BackupRepositoryTest, ManifestItemsRoundTripWithEveryFieldAndWithAbsentValues) {
    const auto job = storedJob();
    auto full = item(job.id, "Tax/2025.pdf", BackupItemStatus::alreadyCopied, 4'294'967'296);
    full.sourceState = ICloudFileState::waitingToUpload;
    auto bare = item(job.id, "Notes.txt", BackupItemStatus::skipped, std::nullopt, false);
    bare.sourceResultID.reset();
    bare.rootID.reset();
    bare.modifiedAt.reset();
    repository.replaceManifest(job.id, {full, bare});

    const auto items = repository.fetchManifestItems(job.id);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0], bare);  // skipped ranks before already copied
    EXPECT_EQ(items[1], full);
}

TEST_F(BackupRepositoryTest, ReplacingAManifestLeavesExactlyTheNewItemsAndOtherJobsAlone) {
    const auto job = storedJob();
    const auto other = storedJob();
    std::vector<BackupManifestItem> ten;
    for (int i = 0; i < 10; ++i)
        ten.push_back(item(job.id, "old" + std::to_string(i), BackupItemStatus::pending));
    repository.replaceManifest(job.id, ten);
    repository.replaceManifest(other.id, {item(other.id, "keep", BackupItemStatus::pending)});

    repository.replaceManifest(job.id, {item(job.id, "x", BackupItemStatus::pending),
                                        item(job.id, "y", BackupItemStatus::pending),
                                        item(job.id, "z", BackupItemStatus::pending)});
    EXPECT_EQ(paths(repository.fetchManifestItems(job.id)),
              (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(paths(repository.fetchManifestItems(other.id)), std::vector<std::string>{"keep"});

    repository.replaceManifest(job.id, {});
    EXPECT_TRUE(repository.fetchManifestItems(job.id).empty());
}

TEST_F(BackupRepositoryTest, FailingItemInsertLeavesThePreviousManifestInPlace) {
    const auto job = storedJob();
    // Listed in the order they are read back: pending before copied.
    const std::vector<BackupManifestItem> previous{item(job.id, "b", BackupItemStatus::pending),
                                                   item(job.id, "a", BackupItemStatus::copied)};
    repository.replaceManifest(job.id, previous);

    const auto first = item(job.id, "c", BackupItemStatus::pending);
    auto duplicate = item(job.id, "d", BackupItemStatus::pending);
    duplicate.id = first.id;
    auto orphan = item(Uuid::random(), "e", BackupItemStatus::pending);  // no such job

    for (const auto& bad : {duplicate, orphan}) {
        SCOPED_TRACE(bad.relativePath);
        EXPECT_THROW(repository.replaceManifest(
                         job.id, {first, item(job.id, "f", BackupItemStatus::pending), bad}),
                     DatabaseError);
        EXPECT_EQ(repository.fetchManifestItems(job.id), previous);
        EXPECT_EQ(scalar("SELECT count(*) FROM backup_manifest_items"), 2);
    }
}

TEST_F(BackupRepositoryTest, ItemsNeedingAttentionComeFirstThenByPath) {
    const auto job = storedJob();
    using S = BackupItemStatus;
    repository.replaceManifest(
        job.id, {item(job.id, "p2", S::pending), item(job.id, "copied-b", S::copied),
                 item(job.id, "s1", S::skipped), item(job.id, "f1", S::failed),
                 item(job.id, "already-a", S::alreadyCopied), item(job.id, "p1", S::pending),
                 item(job.id, "c2", S::conflict), item(job.id, "c1", S::conflict),
                 item(job.id, "a-failed", S::failed)});
    const std::vector<std::string> attentionFirst{"c1", "c2", "a-failed",  "f1",      "s1",
                                                  "p1", "p2", "already-a", "copied-b"};
    EXPECT_EQ(paths(repository.fetchManifestItems(job.id)), attentionFirst);
    EXPECT_EQ(paths(repository.fetchManifestItems(job.id, std::set<S>{}, 3)),
              (std::vector<std::string>{"c1", "c2", "a-failed"}));
    EXPECT_EQ(paths(repository.fetchManifestItems(
                  job.id, std::set<S>{S::copied, S::pending, S::alreadyCopied})),
              (std::vector<std::string>{"p1", "p2", "already-a", "copied-b"}));
    EXPECT_EQ(paths(repository.fetchManifestItems(job.id, std::set<S>{S::failed}, 1)),
              std::vector<std::string>{"a-failed"});
    EXPECT_TRUE(repository.fetchManifestItems(job.id, std::set<S>{S::failed}, 0).empty());
    EXPECT_TRUE(repository.fetchManifestItems(Uuid::random()).empty());
}

TEST_F(BackupRepositoryTest, LatestManifestItemsAreThoseOfTheLatestJob) {
    EXPECT_TRUE(repository.fetchLatestManifestItems(100).empty());
    const auto first = storedJob();
    repository.replaceManifest(first.id, {item(first.id, "old", BackupItemStatus::pending)});
    clock->advance(1);
    const auto latest = storedJob();
    repository.replaceManifest(latest.id, {item(latest.id, "b", BackupItemStatus::pending),
                                           item(latest.id, "a", BackupItemStatus::pending)});

    EXPECT_EQ(paths(repository.fetchLatestManifestItems(100)),
              (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(paths(repository.fetchLatestManifestItems(1)), std::vector<std::string>{"a"});
    EXPECT_EQ(repository.fetchLatestManifestItems(std::nullopt).size(), 2u);
}

TEST_F(BackupRepositoryTest, UpdatingAnItemChangesOnlyItsStatusMessageAndTime) {
    const auto job = storedJob();
    const auto target = item(job.id, "a", BackupItemStatus::pending);
    const auto bystander = item(job.id, "b", BackupItemStatus::pending);
    repository.replaceManifest(job.id, {target, bystander});

    repository.updateManifestItem(target.id, BackupItemStatus::failed,
                                  "Tallowmere could not read this source file.",
                                  Date(1'765'000'999.5));
    auto expected = target;
    expected.status = BackupItemStatus::failed;
    expected.message = "Tallowmere could not read this source file.";
    expected.updatedAt = Date(1'765'000'999.5);
    EXPECT_EQ(repository.fetchManifestItems(job.id),
              (std::vector<BackupManifestItem>{expected, bystander}));

    EXPECT_NO_THROW(
        repository.updateManifestItem(Uuid::random(), BackupItemStatus::copied, "x", Date(1)));
    EXPECT_EQ(repository.fetchManifestItems(job.id),
              (std::vector<BackupManifestItem>{expected, bystander}));
}

TEST_F(BackupRepositoryTest, AGroupOfItemUpdatesIsStoredWholeOrNotAtAll) {
    const auto job = storedJob();
    using S = BackupItemStatus;
    const std::vector<BackupManifestItem> items{item(job.id, "a", S::pending),
                                                item(job.id, "b", S::pending),
                                                item(job.id, "c", S::pending)};
    repository.replaceManifest(job.id, items);
    exec(
        "CREATE TRIGGER refuse BEFORE UPDATE ON backup_manifest_items "
        "WHEN NEW.message = 'refused' BEGIN SELECT RAISE(ABORT, 'refused'); END");

    EXPECT_THROW(repository.updateManifestItems({{items[0].id, S::copied, "Copied.", Date(5)},
                                                 {items[1].id, S::failed, "refused", Date(5)}}),
                 DatabaseError);
    EXPECT_EQ(repository.fetchManifestItems(job.id), items);

    repository.updateManifestItems({{items[0].id, S::copied, "Copied.", Date(5)},
                                    {Uuid::random(), S::copied, "Copied.", Date(5)},
                                    {items[2].id, S::conflict, "Conflict.", Date(6)}});
    const auto stats = repository.manifestStats(job.id);
    EXPECT_EQ(stats.pendingFiles, 1);
    EXPECT_EQ(stats.completedFiles, 1);
    EXPECT_EQ(stats.conflictFiles, 1);
    const auto stored = repository.fetchManifestItems(job.id, std::set<S>{S::conflict});
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].message, "Conflict.");
    EXPECT_EQ(stored[0].updatedAt, Date(6));
}

TEST_F(BackupRepositoryTest, ManifestStatsCountEveryRowAndSizeOnlyEligibleOrCompletedOnes) {
    const auto job = storedJob();
    EXPECT_EQ(repository.manifestStats(job.id), BackupManifestStats{});

    using S = BackupItemStatus;
    repository.replaceManifest(
        job.id,
        {item(job.id, "a", S::copied, 100), item(job.id, "b", S::alreadyCopied, std::nullopt),
         item(job.id, "c", S::skipped, 50, false), item(job.id, "d", S::conflict, 10)});
    EXPECT_EQ(repository.manifestStats(job.id), (BackupManifestStats{.totalEligibleFiles = 3,
                                                                     .pendingFiles = 0,
                                                                     .completedFiles = 2,
                                                                     .skippedFiles = 1,
                                                                     .failedFiles = 0,
                                                                     .conflictFiles = 1,
                                                                     .preparedBytes = 110,
                                                                     .copiedBytes = 100}));

    // Statuses count whether eligible or not; an unreadable status counts as failed.
    const auto other = storedJob();
    repository.replaceManifest(
        other.id,
        {item(other.id, "p", S::pending, 7), item(other.id, "f", S::failed, 3),
         item(other.id, "x", S::copied, 1'000, false), item(other.id, "junk", S::pending, 5)});
    exec("UPDATE backup_manifest_items SET status = 'exploded' WHERE relative_path = 'junk'");
    EXPECT_EQ(repository.manifestStats(other.id), (BackupManifestStats{.totalEligibleFiles = 3,
                                                                       .pendingFiles = 1,
                                                                       .completedFiles = 1,
                                                                       .skippedFiles = 0,
                                                                       .failedFiles = 2,
                                                                       .conflictFiles = 0,
                                                                       .preparedBytes = 15,
                                                                       .copiedBytes = 1'000}));
    EXPECT_EQ(repository.manifestStats(job.id).completedFiles, 2);
}

TEST_F(BackupRepositoryTest, UnparsableStoredTextReadsAsTheFallbacks) {
    exec(
        "INSERT INTO backup_destinations (id, display_name, status, selected_at, is_selected, "
        "updated_at) "
        "VALUES ('not-a-uuid', 'Drive', 'evaporated', 5, 1, 5)");
    const auto destination = repository.fetchSelectedDestination();
    ASSERT_TRUE(destination);
    EXPECT_NE(destination->id, Uuid());
    EXPECT_EQ(destination->status, BackupDestinationStatus::unknown);
    EXPECT_EQ(destination->displayName, "Drive");

    exec(
        "INSERT INTO backup_jobs (id, status, total_files, completed_files, failed_files, "
        "skipped_files, message, "
        "destination_id, source_scan_run_id, updated_at) "
        "VALUES ('job?', 'halfway', 0, 0, 0, 0, 'm', 'nope', '', 99)");
    const auto job = repository.fetchLatestJobSnapshot();
    ASSERT_TRUE(job);
    EXPECT_NE(job->id, Uuid());
    EXPECT_EQ(job->status, BackupJobStatus::notStarted);
    EXPECT_FALSE(job->destinationID);
    EXPECT_FALSE(job->sourceScanRunID);

    const auto real = storedJob();
    auto stored = item(real.id, "odd", BackupItemStatus::copied);
    repository.replaceManifest(real.id, {stored});
    exec(
        "UPDATE backup_manifest_items SET id = 'x', source_result_id = 'y', root_id = 'z', "
        "source_state = 'levitating', status = 'teleported'");
    const auto items = repository.fetchManifestItems(real.id);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_NE(items[0].id, Uuid());
    EXPECT_NE(items[0].id, stored.id);
    EXPECT_FALSE(items[0].sourceResultID);
    EXPECT_FALSE(items[0].rootID);
    EXPECT_EQ(items[0].sourceState, ICloudFileState::unknown);
    EXPECT_EQ(items[0].status, BackupItemStatus::failed);
    EXPECT_EQ(items[0].relativePath, "odd");
}

}  // namespace
}  // namespace tallowmere
