#include "persistence/PhotosScanRepository.h"

#include <gtest/gtest.h>

#include <SQLiteCpp/Statement.h>

#include "persistence/TallowmereDatabase.h"
#include "tests/support/SampleRecords.h"

namespace tallowmere {
namespace {

class PhotosScanRepositoryTest : public ::testing::Test {
protected:
    std::shared_ptr<TallowmereDatabase> database = TallowmereDatabase::inMemory();
    PhotosScanRepository repository{database->queue()};

    void exec(const std::string& statements) {
        database->queue()->write([&](SQLite::Database& db) { db.exec(statements); });
    }
    std::int64_t count(const std::string& query) {
        return database->queue()->read(
            [&](SQLite::Database& db) { return db.execAndGet(query).getInt64(); });
    }

    // Every field set; another status than the sample's, so that the stored text is seen
    // to follow it, and a date with a fraction of a second, which the store keeps.
    static PhotosScanSummary summary(double startedAt, std::optional<double> completedAt) {
        auto s = testing::everyFieldPhotosScan(Date(startedAt));
        s.completedAt.reset();
        if (completedAt)
            s.completedAt = Date(*completedAt);
        s.scanStatus = ScanRunStatus::cancelled;
        s.oldestCreationDate = Date(1'400'000'000.5);
        return s;
    }
};

TEST_F(PhotosScanRepositoryTest, SummaryRoundTripsWithEveryFieldAndWithAbsentValuesAsNull) {
    const auto full = summary(1'765'000'000.25, 1'765'000'042.75);
    repository.insert(full);
    EXPECT_EQ(repository.fetchLatestSummary(), full);
    EXPECT_EQ(
        count(
            "SELECT count(*) FROM photos_scan_summaries WHERE icloud_photos_status_unknown = 1 AND "
            "scan_status = 'cancelled' AND authorization_status = 'limited'"),
        1);

    auto bare = summary(1'765'100'000, std::nullopt);
    bare.libraryPath.reset();
    bare.libraryDisplayName.reset();
    bare.localLibrarySizeBytes.reset();
    bare.oldestCreationDate.reset();
    bare.newestCreationDate.reset();
    bare.iCloudPhotosStatusUnknown = false;
    bare.canReadMetadata = false;
    repository.insert(bare);
    EXPECT_EQ(repository.fetchLatestSummary(), bare);
    EXPECT_EQ(count("SELECT count(*) FROM photos_scan_summaries WHERE completed_at IS NULL AND "
                    "library_path IS NULL "
                    "AND library_display_name IS NULL AND local_library_size_bytes IS NULL AND "
                    "oldest_creation_date IS NULL AND newest_creation_date IS NULL"),
              1);
}

TEST_F(PhotosScanRepositoryTest, NewestIsTheGreatestCompletionOrElseStartTimeAndTheLimitHolds) {
    EXPECT_FALSE(repository.fetchLatestSummary());
    EXPECT_TRUE(repository.fetchRecentSummaries(5).empty());

    const auto finishedLast = summary(100, 900);
    const auto startedLater = summary(500, std::nullopt);
    const auto finishedEarly = summary(50, 60);
    for (const auto& s : {startedLater, finishedEarly, finishedLast}) repository.insert(s);

    EXPECT_EQ(repository.fetchLatestSummary()->id, finishedLast.id);
    const auto recent = repository.fetchRecentSummaries(2);
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(recent[0].id, finishedLast.id);
    EXPECT_EQ(recent[1].id, startedLater.id);
    EXPECT_EQ(repository.fetchRecentSummaries(10).size(), 3u);
}

TEST_F(PhotosScanRepositoryTest, AnIdAlreadyStoredFailsAndLeavesTheFirstRow) {
    const auto first = summary(100, 200);
    repository.insert(first);
    auto again = first;
    again.message = "Changed";
    again.totalAssetCount = 1;
    EXPECT_THROW(repository.insert(again), DatabaseError);
    EXPECT_EQ(repository.fetchRecentSummaries(10), std::vector<PhotosScanSummary>{first});
}

TEST_F(PhotosScanRepositoryTest, UnparsableStoredTextReadsAsTheFallbacks) {
    exec(
        "INSERT INTO photos_scan_summaries VALUES ('not a uuid', 1, 2, 'granted', 'halfway', 5, 4, "
        "1, 0, 0, 0, 0, "
        "5, 0.5, NULL, NULL, 2, NULL, NULL, NULL, 1, 1, 1, 0, 0, 'm')");
    const auto stored = repository.fetchLatestSummary();
    ASSERT_TRUE(stored);
    EXPECT_NE(stored->id, Uuid());
    EXPECT_EQ(stored->authorizationStatus, PhotosAuthorizationState::unknown);
    EXPECT_EQ(stored->scanStatus, ScanRunStatus::completed);
    EXPECT_TRUE(stored->libraryExists) << "any non-zero flag reads as true";
    EXPECT_EQ(stored->totalAssetCount, 5);
    EXPECT_EQ(stored->videoDurationSeconds, 0.5);
}

}  // namespace
}  // namespace tallowmere
