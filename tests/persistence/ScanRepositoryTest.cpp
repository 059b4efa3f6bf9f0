#include "persistence/ScanRepository.h"

#include <gtest/gtest.h>

#include <SQLiteCpp/Statement.h>

#include "core/icloud/ICloudDriveScanSummary.h"
#include "persistence/ICloudScanRepository.h"
#include "persistence/TallowmereDatabase.h"

namespace tallowmere {
namespace {

class ScanRepositoryTest : public ::testing::Test {
protected:
    std::shared_ptr<TallowmereDatabase> database = TallowmereDatabase::inMemory();
    ScanRepository repository{database->queue()};

    void exec(const std::string& statements) {
        database->queue()->write([&](SQLite::Database& db) { db.exec(statements); });
    }
    std::int64_t count(const std::string& query) {
        return database->queue()->read(
            [&](SQLite::Database& db) { return db.execAndGet(query).getInt64(); });
    }

    static ScanRun run(double startedAt, std::optional<double> completedAt) {
        ScanRun run;
        run.id = Uuid::random();
        run.trigger = ScanTrigger::scheduled;
        run.startedAt = Date(startedAt);
        if (completedAt)
            run.completedAt = Date(*completedAt);
        run.overallState = SafetyState::cloudOnly;
        run.safetyScore = 34;
        run.status = ScanRunStatus::limitReached;
        run.scannedItemCount = 50'000;
        run.errorMessage = "Scan cancelled by user.";
        run.limitReached = true;
        return run;
    }

    static SafetyFinding finding(const Uuid& scanRunID, std::int64_t severity, double createdAt,
                                 std::string title = "A finding") {
        SafetyFinding finding;
        finding.id = Uuid::random();
        finding.scanRunID = scanRunID;
        finding.domain = SafetyDomain::secondCopy;
        finding.state = SafetyState::backupStale;
        finding.confidence = ConfidenceLevel::likely;
        finding.title = std::move(title);
        finding.message = "Your first copied second copy has not been created yet.";
        finding.recommendedAction = "Choose a backup destination and prepare a first backup.";
        finding.severity = severity;
        finding.createdAt = Date(createdAt);
        return finding;
    }
};

TEST_F(ScanRepositoryTest, RunAndFindingsRoundTripWithEveryFieldAndWithAbsentValuesAsNull) {
    const ScanRun full = run(1'765'000'000.25, 1'765'000'090.5);
    const SafetyFinding fullFinding = finding(full.id, 80, 1'765'000'090.5);
    repository.insert(full, {fullFinding});
    EXPECT_EQ(repository.fetchLatestScanRun(), full);
    EXPECT_EQ(repository.fetchFindings(full.id), std::vector<SafetyFinding>{fullFinding});
    EXPECT_EQ(count("SELECT count(*) FROM scan_runs WHERE scan_status = 'limitReached' AND "
                    "scan_limit_reached = 1 "
                    "AND scan_error_message = 'Scan cancelled by user.' AND trigger = 'scheduled'"),
              1);

    ScanRun bare = run(1'765'100'000, std::nullopt);
    bare.errorMessage.reset();
    bare.limitReached = false;
    repository.insert(bare, {});
    EXPECT_EQ(repository.fetchLatestScanRun(), bare);
    EXPECT_TRUE(repository.fetchFindings(bare.id).empty());
    EXPECT_EQ(count("SELECT count(*) FROM scan_runs WHERE id = '" + bare.id.toString() +
                    "' AND completed_at IS NULL AND scan_error_message IS NULL"),
              1);
}

TEST_F(ScanRepositoryTest, LatestRunIsTheGreatestCompletionOrElseStartTime) {
    const ScanRun finishedLast = run(100, 500);
    const ScanRun startedLaterNeverFinished = run(300, std::nullopt);
    const ScanRun finishedEarlier = run(400, 450);
    for (const auto& r : {finishedLast, startedLaterNeverFinished, finishedEarlier})
        repository.insert(r, {});
    EXPECT_EQ(repository.fetchLatestScanRun()->id, finishedLast.id);

    const ScanRun startedAfterAll = run(600, std::nullopt);
    repository.insert(startedAfterAll, {});
    EXPECT_EQ(repository.fetchLatestScanRun()->id, startedAfterAll.id);
}

TEST_F(ScanRepositoryTest, NoRunsStoredMeansNoLatestRun) {
    EXPECT_FALSE(repository.fetchLatestScanRun());
    EXPECT_TRUE(repository.fetchFindings(Uuid::random()).empty());
}

TEST_F(ScanRepositoryTest, FindingsComeMostSevereFirstThenOldestFirstAndOnlyForTheRun) {
    const ScanRun first = run(100, 200);
    const ScanRun other = run(300, 400);
    repository.insert(
        first, {finding(first.id, 35, 30, "low"), finding(first.id, 92, 20, "high later"),
                finding(first.id, 92, 10, "high earlier"), finding(first.id, 80, 5, "middle")});
    repository.insert(other, {finding(other.id, 99, 1, "other run")});

    std::vector<std::string> titles;
    for (const auto& f : repository.fetchFindings(first.id)) titles.push_back(f.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"high earlier", "high later", "middle", "low"}));
}

TEST_F(ScanRepositoryTest, UnparsableStoredTextReadsAsTheFallbacks) {
    exec(
        "INSERT INTO scan_runs (id, trigger, started_at, completed_at, overall_state, "
        "safety_score, scan_status, "
        "scanned_item_count, scan_error_message, scan_limit_reached) "
        "VALUES ('not-a-uuid', 'onLaunch', 10, 20, 'safe', 58, 'paused', 3, NULL, 7)");
    exec(
        "INSERT INTO scan_runs (id, trigger, started_at, overall_state, safety_score) "
        "VALUES ('0F8FAD5B-D9CB-469F-A165-70867728950E', 'manual', 1, 'protected', 100)");
    exec(
        "INSERT INTO safety_findings VALUES ('bad id', '0F8FAD5B-D9CB-469F-A165-70867728950E', "
        "'music', "
        "'fine', 'sure', 't', 'm', 'a', 5, 1)");

    const auto stored = repository.fetchLatestScanRun();
    ASSERT_TRUE(stored);
    EXPECT_NE(stored->id, Uuid());
    EXPECT_EQ(stored->trigger, ScanTrigger::manual);
    EXPECT_EQ(stored->overallState, SafetyState::unknown);
    EXPECT_EQ(stored->status, ScanRunStatus::completed);
    EXPECT_TRUE(stored->limitReached) << "any non-zero flag reads as true";
    EXPECT_EQ(stored->safetyScore, 58);

    const auto findings =
        repository.fetchFindings(*Uuid::fromString("0F8FAD5B-D9CB-469F-A165-70867728950E"));
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_NE(findings[0].id, Uuid());
    EXPECT_EQ(findings[0].domain, SafetyDomain::overall);
    EXPECT_EQ(findings[0].state, SafetyState::unknown);
    EXPECT_EQ(findings[0].confidence, ConfidenceLevel::unknown);
}

TEST_F(ScanRepositoryTest, StoringARunAgainKeepsItsSummaryAndFileResultsAndReplacesItsFindings) {
    ICloudScanRepository iCloud(database->queue());
    ScanRun scanRun = run(100, 200);
    repository.insert(scanRun,
                      {finding(scanRun.id, 80, 1, "old a"), finding(scanRun.id, 35, 2, "old b")});
    ICloudFileScanResult result;
    result.id = Uuid::random();
    result.scanRunID = scanRun.id;
    result.rootID = Uuid::random();
    result.path = "/data/a.txt";
    iCloud.insert(ICloudDriveScanSummary::make(scanRun.id, Date(200), ScanRunStatus::completed,
                                               false, {result}),
                  {result});

    scanRun.safetyScore = 58;
    repository.insert(scanRun, {finding(scanRun.id, 70, 3, "new")});

    EXPECT_EQ(repository.fetchLatestScanRun()->safetyScore, 58);
    ASSERT_EQ(repository.fetchFindings(scanRun.id).size(), 1u);
    EXPECT_EQ(repository.fetchFindings(scanRun.id)[0].title, "new");
    EXPECT_EQ(iCloud.fetchLatestSummary()->scanRunID, scanRun.id);
    EXPECT_EQ(iCloud.fetchFileResults(scanRun.id, std::nullopt),
              std::vector<ICloudFileScanResult>{result});
}

TEST_F(ScanRepositoryTest, AFailingFindingRollsBackTheWholeWrite) {
    const ScanRun scanRun = run(100, 200);
    // The second finding belongs to a run that is not stored: its foreign key fails.
    EXPECT_THROW(
        repository.insert(scanRun, {finding(scanRun.id, 80, 1), finding(Uuid::random(), 35, 2)}),
        DatabaseError);
    EXPECT_FALSE(repository.fetchLatestScanRun());
    EXPECT_EQ(count("SELECT count(*) FROM safety_findings"), 0);
}

}  // namespace
}  // namespace tallowmere
