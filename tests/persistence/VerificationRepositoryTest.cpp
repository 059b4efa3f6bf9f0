#include "persistence/VerificationRepository.h"

#include <gtest/gtest.h>

#include <SQLiteCpp/Statement.h>

#include "persistence/TallowmereDatabase.h"
#include "tests/support/FixedClock.h"
#include "tests/support/JsonPrinting.h"
#include "tests/support/SampleRecords.h"

namespace tallowmere {
namespace {

using S = VerificationItemStatus;
using M = VerificationMode;

class VerificationRepositoryTest : public ::testing::Test {
protected:
    std::shared_ptr<TallowmereDatabase> database = TallowmereDatabase::inMemory();
    std::shared_ptr<testing::FixedClock> clock =
        std::make_shared<testing::FixedClock>(Date(1'765'000'000));
    VerificationRepository repository{database->queue(), clock};

    void exec(const std::string& statements) {
        database->queue()->write([&](SQLite::Database& db) { db.exec(statements); });
    }

    std::int64_t scalar(const std::string& query) {
        return database->queue()->read(
            [&](SQLite::Database& db) { return db.execAndGet(query).getInt64(); });
    }

    VerificationRun storedRun(M mode, Date startedAt, std::optional<Date> completedAt) {
        VerificationRun run{.id = Uuid::random(),
                            .mode = mode,
                            .status = VerificationStatus::verified,
                            .startedAt = startedAt,
                            .completedAt = completedAt,
                            .message = "Done."};
        repository.saveRun(run);
        return run;
    }
};

VerificationItemResult result(const Uuid& runID, const std::string& relativePath, S status) {
    return VerificationItemResult{
        .id = Uuid::random(),
        .runID = runID,
        .backupJobID = Uuid::random(),
        .manifestItemID = Uuid::random(),
        .checkedPath = "/media/alex/Drive/Tallowmere Backup/" + relativePath,
        .relativePath = relativePath,
        .algorithm = ChecksumAlgorithm::sha256,
        .expectedSize = 2'048,
        .actualSize = 2'048,
        .expectedChecksum = std::string(64, 'a'),
        .actualChecksum = std::string(64, 'a'),
        .status = status,
        .createdAt = Date(1'765'000'000.5),
        .updatedAt = Date(1'765'000'000.5)};
}

std::vector<std::string> paths(const std::vector<VerificationItemResult>& results) {
    std::vector<std::string> out;
    for (const auto& r : results) out.push_back(r.relativePath);
    return out;
}

TEST_F(VerificationRepositoryTest,
       RunRoundTripsWithEveryFieldAndWithAbsentValuesAndIsStampedWithNow) {
    EXPECT_FALSE(repository.fetchLatestRun());
    // Times with a fraction of a second, which the store keeps.
    const auto full = testing::everyFieldVerificationRun(Date(1'765'000'000.25));
    repository.saveRun(full);
    EXPECT_EQ(repository.fetchLatestRun(), full);
    EXPECT_EQ(scalar("SELECT updated_at FROM verification_runs"), 1'765'000'000);

    const VerificationRun bare{.id = Uuid::random(),
                               .mode = M::quick,
                               .status = VerificationStatus::running,
                               .startedAt = Date(1'765'000'100),
                               .message = "Running."};
    repository.saveRun(bare);
    EXPECT_EQ(repository.fetchLatestRun(), bare);
    EXPECT_EQ(scalar("SELECT count(*) FROM verification_runs WHERE backup_job_id IS NULL AND "
                     "completed_at IS NULL "
                     "AND restore_test_path IS NULL"),
              1);
}

TEST_F(VerificationRepositoryTest, SavingARunAgainUpdatesItsRowInPlaceAndKeepsItsResults) {
    auto run = storedRun(M::full, Date(100), std::nullopt);
    repository.replaceResults(run.id,
                              {result(run.id, "a", S::passed), result(run.id, "b", S::missing)});
    clock->advance(30);
    run.status = VerificationStatus::failed;
    run.completedAt = Date(130);
    run.checkedFiles = 2;
    run.failedFiles = 1;
    repository.saveRun(run);

    EXPECT_EQ(scalar("SELECT count(*) FROM verification_runs"), 1);
    EXPECT_EQ(scalar("SELECT updated_at FROM verification_runs"), 1'765'000'030);
    EXPECT_EQ(repository.fetchLatestRun(), run);
    EXPECT_EQ(repository.fetchResults(run.id).size(), 2u);
}

TEST_F(VerificationRepositoryTest, ResultsRoundTripAndAreReplacedPerRun) {
    const auto run = storedRun(M::quick, Date(100), Date(110));
    const auto other = storedRun(M::full, Date(50), Date(60));
    auto full = result(run.id, "full", S::checksumMismatch);
    full.actualChecksum = std::string(64, 'b');
    full.failureReason = "The checksum does not match the last verified copy.";
    full.updatedAt = Date(1'765'000'001.5);
    auto bare = result(run.id, "bare", S::passed);
    bare.expectedSize.reset();
    bare.actualSize.reset();
    bare.expectedChecksum.reset();
    bare.actualChecksum.reset();
    repository.replaceResults(run.id, {bare, full});
    repository.replaceResults(other.id, {result(other.id, "other", S::passed)});
    EXPECT_EQ(repository.fetchResults(run.id), (std::vector<VerificationItemResult>{full, bare}));

    const auto replacement = result(run.id, "new", S::passed);
    repository.replaceResults(run.id, {replacement});
    EXPECT_EQ(repository.fetchResults(run.id), std::vector<VerificationItemResult>{replacement});
    EXPECT_EQ(paths(repository.fetchResults(other.id)), std::vector<std::string>{"other"});
}

TEST_F(VerificationRepositoryTest, FailingResultInsertLeavesThePreviousResultsInPlace) {
    const auto run = storedRun(M::quick, Date(100), Date(110));
    const std::vector<VerificationItemResult> previous{result(run.id, "a", S::missing),
                                                       result(run.id, "b", S::passed)};
    repository.replaceResults(run.id, previous);

    const auto first = result(run.id, "c", S::passed);
    auto duplicate = result(run.id, "d", S::passed);
    duplicate.id = first.id;
    auto orphan = result(Uuid::random(), "e", S::passed);  // no such run
    for (const auto& bad : {duplicate, orphan}) {
        SCOPED_TRACE(bad.relativePath);
        EXPECT_THROW(repository.replaceResults(run.id, {first, bad}), DatabaseError);
        EXPECT_EQ(repository.fetchResults(run.id), previous);
        EXPECT_EQ(scalar("SELECT count(*) FROM verification_item_results"), 2);
    }
}

TEST_F(VerificationRepositoryTest, LatestRunIsChosenAmongTheRequestedModesByEndElseStart) {
    const auto quick = storedRun(M::quick, Date(100), Date(110));
    const auto full = storedRun(M::full, Date(200), Date(210));
    const auto restore = storedRun(M::restoreTest, Date(300), Date(310));

    EXPECT_EQ(repository.fetchLatestRun(std::set<M>{M::quick, M::full})->id, full.id);
    EXPECT_EQ(repository.fetchLatestRun(std::set<M>{M::quick})->id, quick.id);
    EXPECT_EQ(repository.fetchLatestRun(std::set<M>{M::restoreTest})->id, restore.id);
    EXPECT_EQ(repository.fetchLatestRun()->id, restore.id);
    EXPECT_EQ(repository.fetchLatestRun(std::set<M>{})->id, restore.id);

    // A run still going counts from its start.
    const auto running = storedRun(M::quick, Date(250), std::nullopt);
    EXPECT_EQ(repository.fetchLatestRun(std::set<M>{M::quick, M::full})->id, running.id);
    EXPECT_EQ(repository.fetchLatestRun()->id, restore.id);
}

TEST_F(VerificationRepositoryTest, ResultsListWorstFirstThenByPath) {
    const auto run = storedRun(M::full, Date(100), Date(110));
    repository.replaceResults(
        run.id, {result(run.id, "p-b", S::passed), result(run.id, "skip", S::skipped),
                 result(run.id, "unk", S::unknown), result(run.id, "unr", S::unreadable),
                 result(run.id, "size", S::sizeMismatch),
                 result(run.id, "sum", S::checksumMismatch), result(run.id, "m2", S::missing),
                 result(run.id, "m1", S::missing), result(run.id, "p-a", S::passed)});
    EXPECT_EQ(
        paths(repository.fetchResults(run.id)),
        (std::vector<std::string>{"m1", "m2", "sum", "size", "unr", "unk", "skip", "p-a", "p-b"}));
    EXPECT_EQ(paths(repository.fetchResults(run.id, std::set<S>{}, 2)),
              (std::vector<std::string>{"m1", "m2"}));
    EXPECT_EQ(paths(repository.fetchResults(run.id, std::set<S>{S::passed, S::unknown})),
              (std::vector<std::string>{"unk", "p-a", "p-b"}));
}

TEST_F(VerificationRepositoryTest,
       LatestFailureResultsComeFromTheLatestRunOfAnyModeWithoutPassedOnes) {
    EXPECT_TRUE(repository.fetchLatestFailureResults(100).empty());
    const auto quick = storedRun(M::quick, Date(100), Date(110));
    repository.replaceResults(quick.id, {result(quick.id, "quick-missing", S::missing)});
    const auto restore = storedRun(M::restoreTest, Date(200), Date(210));
    repository.replaceResults(
        restore.id,
        {result(restore.id, "ok", S::passed), result(restore.id, "skip", S::skipped),
         result(restore.id, "gone", S::missing), result(restore.id, "odd", S::unknown)});

    EXPECT_EQ(paths(repository.fetchLatestFailureResults(100)),
              (std::vector<std::string>{"gone", "odd", "skip"}));
    EXPECT_EQ(paths(repository.fetchLatestFailureResults(1)), std::vector<std::string>{"gone"});

    // A later run with nothing but passes leaves nothing to report.
    const auto clean = storedRun(M::full, Date(300), Date(310));
    repository.replaceResults(clean.id, {result(clean.id, "fine", S::passed)});
    EXPECT_TRUE(repository.fetchLatestFailureResults(100).empty());
}

TEST_F(VerificationRepositoryTest, LatestPassedChecksumIsTheNewestConfirmedOne) {
    const auto run = storedRun(M::full, Date(100), Date(110));
    const auto itemID = Uuid::random();
    auto at = [&](const std::string& path, S status, std::optional<std::string> expected,
                  std::optional<std::string> actual, double updated, double created) {
        auto r = result(run.id, path, status);
        r.manifestItemID = itemID;
        r.expectedChecksum = std::move(expected);
        r.actualChecksum = std::move(actual);
        r.createdAt = Date(created);
        r.updatedAt = Date(updated);
        return r;
    };
    EXPECT_FALSE(repository.fetchLatestPassedChecksum(itemID));

    auto elsewhere = result(run.id, "other item", S::passed);
    elsewhere.expectedChecksum = "other";
    elsewhere.updatedAt = Date(900);
    repository.replaceResults(run.id,
                              {
                                  at("oldest", S::passed, "first", "ignored", 10, 10),
                                  at("baseline", S::passed, std::nullopt, "baseline", 20, 20),
                                  at("tie-older", S::passed, "tie-old", std::nullopt, 30, 25),
                                  at("tie-newer", S::passed, "tie-new", std::nullopt, 30, 26),
                                  at("failed", S::checksumMismatch, "mismatch", "x", 40, 40),
                                  at("no-sums", S::passed, std::nullopt, std::nullopt, 50, 50),
                                  elsewhere,
                              });
    EXPECT_EQ(repository.fetchLatestPassedChecksum(itemID), "tie-new");

    repository.replaceResults(run.id, {at("oldest", S::passed, "first", "ignored", 10, 10),
                                       at("baseline", S::passed, std::nullopt, "baseline", 20, 20),
                                       at("failed", S::missing, "mismatch", std::nullopt, 40, 40)});
    EXPECT_EQ(repository.fetchLatestPassedChecksum(itemID), "baseline");

    repository.replaceResults(run.id, {at("failed", S::sizeMismatch, "mismatch", "x", 40, 40)});
    EXPECT_FALSE(repository.fetchLatestPassedChecksum(itemID));
}

TEST_F(VerificationRepositoryTest, UnparsableStoredTextReadsAsTheFallbacks) {
    exec(
        "INSERT INTO verification_runs (id, mode, status, started_at, checked_files, failed_files, "
        "message, "
        "backup_job_id) VALUES ('run?', 'sideways', 'meh', 5, 0, 0, 'm', 'job?')");
    const auto run = repository.fetchLatestRun();
    ASSERT_TRUE(run);
    EXPECT_NE(run->id, Uuid());
    EXPECT_EQ(run->mode, M::quick);
    EXPECT_EQ(run->status, VerificationStatus::unknown);
    EXPECT_FALSE(run->backupJobID);

    const auto real = storedRun(M::full, Date(100), Date(110));
    repository.replaceResults(real.id, {result(real.id, "odd", S::passed)});
    exec(
        "UPDATE verification_item_results SET id = '', backup_job_id = 'j', manifest_item_id = "
        "'m', "
        "algorithm = 'md5', status = 'smelly'");
    const auto results = repository.fetchResults(real.id);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_NE(results[0].id, Uuid());
    EXPECT_NE(results[0].backupJobID, Uuid());
    EXPECT_NE(results[0].manifestItemID, Uuid());
    EXPECT_EQ(results[0].algorithm, ChecksumAlgorithm::sha256);
    EXPECT_EQ(results[0].status, S::unknown);
    EXPECT_EQ(results[0].relativePath, "odd");
}

}  // namespace
}  // namespace tallowmere
