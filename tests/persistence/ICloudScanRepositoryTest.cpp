#include "persistence/ICloudScanRepository.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include <SQLiteCpp/Statement.h>

#include "persistence/ScanRepository.h"
#include "persistence/TallowmereDatabase.h"
#include "tests/support/FixedClock.h"

namespace tallowmere {
namespace {

class ICloudScanRepositoryTest : public ::testing::Test {
protected:
    std::shared_ptr<TallowmereDatabase> database = TallowmereDatabase::inMemory();
    std::shared_ptr<testing::FixedClock> clock =
        std::make_shared<testing::FixedClock>(Date(1'765'000'000.5));
    ICloudScanRepository repository{database->queue(), clock};
    ScanRepository scans{database->queue()};

    void exec(const std::string& statements) {
        database->queue()->write([&](SQLite::Database& db) { db.exec(statements); });
    }
    std::int64_t count(const std::string& query) {
        return database->queue()->read(
            [&](SQLite::Database& db) { return db.execAndGet(query).getInt64(); });
    }

    // A stored scan run, as the scan workflow stores it before its summary.
    Uuid storedRun(double startedAt, std::optional<double> completedAt) {
        ScanRun run;
        run.id = Uuid::random();
        run.startedAt = Date(startedAt);
        if (completedAt)
            run.completedAt = Date(*completedAt);
        scans.insert(run, {});
        return run.id;
    }

    static ICloudScanRoot detectedRoot(const std::string& path, const std::string& name,
                                       ICloudScanRootKind kind) {
        return ICloudScanRoot{.id = Uuid::random(),
                              .path = path,
                              .displayName = name,
                              .kind = kind,
                              .isDetected = true,
                              .isSelected = true,
                              .bookmarkData = std::nullopt,
                              .createdAt = Date(1'700'000'000),
                              .lastScannedAt = std::nullopt};
    }

    static ICloudFileScanResult fileResult(const Uuid& scanRunID, const Uuid& rootID,
                                           const std::string& name,
                                           ICloudFileState state = ICloudFileState::localCurrent) {
        return ICloudFileScanResult{.id = Uuid::random(),
                                    .scanRunID = scanRunID,
                                    .rootID = rootID,
                                    .path = "/data/" + name,
                                    .displayName = name,
                                    .isDirectory = false,
                                    .fileSize = 1234,
                                    .modifiedAt = Date(1'600'000'000.125),
                                    .state = state,
                                    .confidence = ConfidenceLevel::verified,
                                    .reason = "This file appears local and current.",
                                    .scannedAt = Date(1'765'000'001.75)};
    }

    static ICloudDriveScanSummary summaryOf(const Uuid& scanRunID,
                                            std::optional<double> completedAt,
                                            const std::vector<ICloudFileScanResult>& results) {
        return ICloudDriveScanSummary::make(
            scanRunID, completedAt ? std::optional<Date>(Date(*completedAt)) : std::nullopt,
            ScanRunStatus::completed, false, results);
    }

    static std::vector<std::string> names(const std::vector<ICloudFileScanResult>& results) {
        std::vector<std::string> out;
        for (const auto& r : results) out.push_back(r.displayName);
        return out;
    }
};

TEST_F(ICloudScanRepositoryTest, RootsRoundTripWithEveryFieldAndWithAbsentValuesAsNull) {
    ICloudScanRoot full =
        detectedRoot("/home/ada/Trips", "Trips", ICloudScanRootKind::userSelected);
    full.isDetected = false;
    full.isSelected = false;
    full.bookmarkData = Bytes{0x00, 0x01, 0xFF, 0x00};
    full.createdAt = Date(1'700'000'000.5);
    full.lastScannedAt = Date(1'765'000'000.25);
    const ICloudScanRoot bare =
        detectedRoot("/home/ada/Desktop", "Desktop", ICloudScanRootKind::desktop);
    repository.upsertDetectedRoots({full, bare});

    EXPECT_EQ(repository.fetchRoots(true), (std::vector<ICloudScanRoot>{bare, full}));
    EXPECT_EQ(count("SELECT count(*) FROM icloud_scan_roots WHERE bookmark_data IS NULL AND "
                    "last_scanned_at IS NULL "
                    "AND kind = 'desktop'"),
              1);
}

TEST_F(ICloudScanRepositoryTest, DetectingAgainNeverDuplicatesOrReselectsAndKeepsStoredValues) {
    const auto drive =
        detectedRoot("/home/ada/Cloud", "iCloud Drive", ICloudScanRootKind::iCloudDrive);
    const auto desktop =
        detectedRoot("/home/ada/Cloud/Desktop", "Desktop", ICloudScanRootKind::desktop);
    const auto documents =
        detectedRoot("/home/ada/Cloud/Documents", "Documents", ICloudScanRootKind::documents);
    repository.upsertDetectedRoots({drive, desktop, documents});
    repository.deselectRoot(desktop.id);
    exec(
        "UPDATE icloud_scan_roots SET last_scanned_at = 5, bookmark_data = x'AB' WHERE path = "
        "'/home/ada/Cloud'");

    // The next launch detects the same folders with fresh ids; one now has another name and kind.
    auto renamed = detectedRoot("/home/ada/Cloud", "Cloud Drive", ICloudScanRootKind::documents);
    repository.upsertDetectedRoots(
        {renamed, detectedRoot(desktop.path, "Desktop", ICloudScanRootKind::desktop),
         detectedRoot(documents.path, "Documents", ICloudScanRootKind::documents)});

    const auto all = repository.fetchRoots(true);
    ASSERT_EQ(all.size(), 3u);
    std::map<std::string, ICloudScanRoot> byPath;
    for (const auto& root : all) byPath[root.path] = root;
    const auto& updated = byPath.at("/home/ada/Cloud");
    EXPECT_EQ(updated.id, drive.id);
    EXPECT_EQ(updated.displayName, "Cloud Drive");
    EXPECT_EQ(updated.kind, ICloudScanRootKind::documents);
    EXPECT_EQ(updated.lastScannedAt, Date(5));
    EXPECT_EQ(updated.bookmarkData, Bytes{0xAB});
    EXPECT_EQ(updated.createdAt, drive.createdAt);
    EXPECT_EQ(byPath.at(desktop.path).id, desktop.id);
    EXPECT_FALSE(byPath.at(desktop.path).isSelected);

    const auto selected = repository.fetchRoots(false);
    EXPECT_EQ(selected.size(), 2u);
    EXPECT_TRUE(std::none_of(selected.begin(), selected.end(),
                             [&](const auto& r) { return r.id == desktop.id; }));
}

TEST_F(ICloudScanRepositoryTest, UpsertMarksAStoredUserFolderAsDetected) {
    const auto added = repository.addUserRoot("/home/ada/Documents", "Documents", std::nullopt);
    repository.upsertDetectedRoots(
        {detectedRoot("/home/ada/Documents", "Documents", ICloudScanRootKind::documents)});
    const auto roots = repository.fetchRoots(true);
    ASSERT_EQ(roots.size(), 1u);
    EXPECT_EQ(roots[0].id, added.id);
    EXPECT_TRUE(roots[0].isDetected);
    EXPECT_EQ(roots[0].kind, ICloudScanRootKind::documents);
}

TEST_F(ICloudScanRepositoryTest, AddingADetectedFolderMakesItASelectedUserRootWithANewReturnedId) {
    const auto desktop = detectedRoot("/home/ada/Desktop", "Desktop", ICloudScanRootKind::desktop);
    repository.upsertDetectedRoots({desktop});
    repository.deselectRoot(desktop.id);
    exec("UPDATE icloud_scan_roots SET last_scanned_at = 9");

    const Bytes bookmark{1, 2, 3};
    const auto returned = repository.addUserRoot("/home/ada/Desktop/", "My Desktop", bookmark);
    EXPECT_NE(returned.id, desktop.id);
    EXPECT_EQ(returned.path, "/home/ada/Desktop");
    EXPECT_EQ(returned.kind, ICloudScanRootKind::userSelected);
    EXPECT_FALSE(returned.isDetected);
    EXPECT_TRUE(returned.isSelected);
    EXPECT_EQ(returned.createdAt, Date(1'765'000'000.5));
    EXPECT_FALSE(returned.lastScannedAt);

    const auto roots = repository.fetchRoots(false);
    ASSERT_EQ(roots.size(), 1u);
    const ICloudScanRoot expected{.id = desktop.id,
                                  .path = "/home/ada/Desktop",
                                  .displayName = "My Desktop",
                                  .kind = ICloudScanRootKind::userSelected,
                                  .isDetected = true,
                                  .isSelected = true,
                                  .bookmarkData = bookmark,
                                  .createdAt = desktop.createdAt,
                                  .lastScannedAt = Date(9)};
    EXPECT_EQ(roots[0], expected);

    // Adding it again without a bookmark replaces the stored bookmark with none.
    repository.addUserRoot("/home/ada/Desktop", "My Desktop", std::nullopt);
    EXPECT_FALSE(repository.fetchRoots(false).at(0).bookmarkData);
}

TEST_F(ICloudScanRepositoryTest, AddedPathsAreStandardizedSoSpellingsOfOneFolderShareARow) {
    struct Case {
        std::string given;
        std::string stored;
    };
    const std::vector<Case> cases = {
        {"/home/ada/Trips", "/home/ada/Trips"},    {"/home/ada/Trips/", "/home/ada/Trips"},
        {"/home/ada/./Trips", "/home/ada/Trips"},  {"/home/ada/x/../Trips", "/home/ada/Trips"},
        {"/home//ada/Trips//", "/home/ada/Trips"}, {"/", "/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        EXPECT_EQ(repository.addUserRoot(c.given, "Trips", std::nullopt).path, c.stored);
    }
    EXPECT_EQ(count("SELECT count(*) FROM icloud_scan_roots"), 2);
}

TEST_F(ICloudScanRepositoryTest, RootsComeDetectedFirstThenByRawKindThenByName) {
    repository.addUserRoot("/b", "Beta", std::nullopt);
    repository.addUserRoot("/a", "Alpha", std::nullopt);
    repository.upsertDetectedRoots({
        detectedRoot("/cloud", "iCloud Drive", ICloudScanRootKind::iCloudDrive),
        detectedRoot("/docs2", "Documents", ICloudScanRootKind::documents),
        detectedRoot("/desk", "Desktop", ICloudScanRootKind::desktop),
        detectedRoot("/docs1", "Aardvark", ICloudScanRootKind::documents),
    });
    std::vector<std::string> paths;
    for (const auto& root : repository.fetchRoots(false)) paths.push_back(root.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"/desk", "/docs1", "/docs2", "/cloud", "/a", "/b"}));
}

TEST_F(ICloudScanRepositoryTest, ScanRoundTripsWithEveryFieldAndWithAbsentValuesAsNull) {
    const Uuid runID = storedRun(100, 200);
    const Uuid rootID = Uuid::random();
    auto full = fileResult(runID, rootID, "full.txt", ICloudFileState::waitingToDownload);
    full.confidence = ConfidenceLevel::likely;
    full.fileSize = 9'000'000'000;
    auto bare = fileResult(runID, rootID, "bare", ICloudFileState::excluded);
    bare.isDirectory = true;
    bare.fileSize.reset();
    bare.modifiedAt.reset();

    ICloudDriveScanSummary summary = summaryOf(runID, 200.5, {full, bare});
    summary.status = ScanRunStatus::limitReached;
    summary.limitReached = true;
    repository.insert(summary, {full, bare});

    EXPECT_EQ(repository.fetchLatestSummary(), summary);
    EXPECT_EQ(repository.fetchLatestScanRunID(), runID);
    EXPECT_EQ(repository.fetchFileResults(runID, std::nullopt),
              (std::vector<ICloudFileScanResult>{bare, full}));
    EXPECT_EQ(count("SELECT count(*) FROM icloud_file_results WHERE file_size IS NULL AND "
                    "modified_at IS NULL AND "
                    "is_directory = 1 AND state = 'excluded'"),
              1);

    const Uuid interimRun = storedRun(300, std::nullopt);
    const auto interim = summaryOf(interimRun, std::nullopt, {});
    repository.insert(interim, {});
    EXPECT_EQ(repository.fetchLatestSummary(), interim);
    EXPECT_EQ(count("SELECT count(*) FROM icloud_scan_summaries WHERE completed_at IS NULL"), 1);
}

TEST_F(ICloudScanRepositoryTest, ASummaryWithoutScanRunIdStoresNothing) {
    const Uuid runID = storedRun(100, 200);
    const auto result = fileResult(runID, Uuid::random(), "a");
    auto summary = summaryOf(runID, 200, {result});
    summary.scanRunID.reset();
    repository.insert(summary, {result});
    EXPECT_EQ(count("SELECT count(*) FROM icloud_scan_summaries"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM icloud_file_results"), 0);
    EXPECT_FALSE(repository.fetchLatestSummary());
}

TEST_F(ICloudScanRepositoryTest, StoringARunTwiceLeavesOneSummaryAndOneSetOfResults) {
    const Uuid runID = storedRun(100, 200);
    const Uuid rootID = Uuid::random();
    const std::vector<ICloudFileScanResult> first = {fileResult(runID, rootID, "a"),
                                                     fileResult(runID, rootID, "b")};
    repository.insert(summaryOf(runID, 200, first), first);
    const std::vector<ICloudFileScanResult> second = {fileResult(runID, rootID, "c")};
    repository.insert(summaryOf(runID, 210, second), second);

    EXPECT_EQ(count("SELECT count(*) FROM icloud_scan_summaries"), 1);
    EXPECT_EQ(repository.fetchLatestSummary()->completedAt, Date(210));
    EXPECT_EQ(repository.fetchFileResults(runID, std::nullopt), second);
}

TEST_F(ICloudScanRepositoryTest, OnlyRootsThatProducedResultsAreStampedAndOnlyWithACompletionTime) {
    const auto scanned = repository.addUserRoot("/scanned", "Scanned", std::nullopt);
    const auto alsoScanned = repository.addUserRoot("/also", "Also", std::nullopt);
    repository.addUserRoot("/quiet", "Quiet", std::nullopt);
    exec("UPDATE icloud_scan_roots SET last_scanned_at = 50 WHERE path = '/quiet'");

    const Uuid runID = storedRun(100, 200);
    const std::vector<ICloudFileScanResult> results = {fileResult(runID, scanned.id, "a"),
                                                       fileResult(runID, alsoScanned.id, "b"),
                                                       fileResult(runID, scanned.id, "c")};
    repository.insert(summaryOf(runID, 200.25, results), results);

    std::map<std::string, std::optional<Date>> stamps;
    for (const auto& root : repository.fetchRoots(true)) stamps[root.path] = root.lastScannedAt;
    EXPECT_EQ(stamps.at("/scanned"), Date(200.25));
    EXPECT_EQ(stamps.at("/also"), Date(200.25));
    EXPECT_EQ(stamps.at("/quiet"), Date(50));

    const Uuid unfinished = storedRun(300, std::nullopt);
    const std::vector<ICloudFileScanResult> more = {fileResult(unfinished, scanned.id, "d")};
    repository.insert(summaryOf(unfinished, std::nullopt, more), more);
    for (const auto& root : repository.fetchRoots(true)) stamps[root.path] = root.lastScannedAt;
    EXPECT_EQ(stamps.at("/scanned"), Date(200.25));
}

TEST_F(ICloudScanRepositoryTest, ARunWithoutSummaryDoesNotChangeTheLatestSummaryOrResults) {
    const Uuid runID = storedRun(100, 200);
    const std::vector<ICloudFileScanResult> results = {fileResult(runID, Uuid::random(), "a")};
    repository.insert(summaryOf(runID, 200, results), results);

    const Uuid failedRun = storedRun(500, 600);
    EXPECT_EQ(scans.fetchLatestScanRun()->id, failedRun);
    EXPECT_EQ(repository.fetchLatestScanRunID(), runID);
    EXPECT_EQ(repository.fetchLatestSummary()->scanRunID, runID);
    EXPECT_EQ(repository.fetchRecentFileResults(100), results);
    EXPECT_EQ(repository.fetchLatestFileResults(std::nullopt), results);
}

TEST_F(ICloudScanRepositoryTest, NothingStoredGivesNothingBack) {
    EXPECT_FALSE(repository.fetchLatestScanRunID());
    EXPECT_FALSE(repository.fetchLatestSummary());
    EXPECT_TRUE(repository.fetchRecentFileResults(100).empty());
    EXPECT_TRUE(repository.fetchLatestFileResults(10).empty());
    EXPECT_TRUE(repository.fetchRoots(true).empty());
}

TEST_F(ICloudScanRepositoryTest, LatestIsTheGreatestCompletionOrElseStartTimeOfARunWithSummary) {
    const Uuid finishedLast = storedRun(100, 900);
    const Uuid startedLater = storedRun(500, std::nullopt);
    const Uuid startedLatest = storedRun(950, std::nullopt);
    for (const Uuid& id : {finishedLast, startedLater}) {
        const std::vector<ICloudFileScanResult> results = {fileResult(id, Uuid::random(), "x")};
        repository.insert(summaryOf(id, std::nullopt, results), results);
    }
    EXPECT_EQ(repository.fetchLatestScanRunID(), finishedLast);
    repository.insert(summaryOf(startedLatest, std::nullopt, {}), {});
    EXPECT_EQ(repository.fetchLatestScanRunID(), startedLatest);
    EXPECT_TRUE(repository.fetchRecentFileResults(100).empty());
}

TEST_F(ICloudScanRepositoryTest, RecentResultsPutAttentionFirstThenNameAndStopAtTheLimit) {
    using S = ICloudFileState;
    const Uuid olderRun = storedRun(10, 20);
    const std::vector<ICloudFileScanResult> old = {
        fileResult(olderRun, Uuid::random(), "0 old", S::possibleSyncIssue)};
    repository.insert(summaryOf(olderRun, 20, old), old);

    const Uuid runID = storedRun(100, 200);
    const Uuid rootID = Uuid::random();
    std::vector<ICloudFileScanResult> results;
    // 150 rows: 3 sync issues, 2 uploads, 2 downloads, 2 cloud-only, 2 unknown, and the rest
    // local, downloaded or excluded, stored in an order that is neither rank nor name.
    const std::vector<std::pair<std::string, S>> attention = {
        {"z issue", S::possibleSyncIssue},
        {"b issue", S::possibleSyncIssue},
        {"m issue", S::possibleSyncIssue},
        {"y upload", S::waitingToUpload},
        {"a upload", S::waitingToUpload},
        {"x download", S::waitingToDownload},
        {"c download", S::waitingToDownload},
        {"w cloud", S::cloudOnly},
        {"d cloud", S::cloudOnly},
        {"v unknown", S::unknown},
        {"e unknown", S::unknown},
    };
    for (int i = 149; i >= 11; --i) {
        const S state = i % 3 == 0 ? S::localCurrent : i % 3 == 1 ? S::downloaded : S::excluded;
        char name[16];
        std::snprintf(name, sizeof name, "file %03d", i);
        results.push_back(fileResult(runID, rootID, name, state));
    }
    for (const auto& [name, state] : attention)
        results.push_back(fileResult(runID, rootID, name, state));
    ASSERT_EQ(results.size(), 150u);
    repository.insert(summaryOf(runID, 200, results), results);

    const auto recent = repository.fetchRecentFileResults(100);
    ASSERT_EQ(recent.size(), 100u);
    std::vector<std::string> expected = {"b issue",  "m issue",    "z issue",    "a upload",
                                         "y upload", "c download", "x download", "d cloud",
                                         "w cloud",  "e unknown",  "v unknown"};
    for (int i = 11; i < 100; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "file %03d", i);
        expected.push_back(name);
    }
    EXPECT_EQ(names(recent), expected);
    EXPECT_TRUE(std::all_of(recent.begin(), recent.end(),
                            [&](const auto& r) { return r.scanRunID == runID; }));

    EXPECT_EQ(repository.fetchRecentFileResults(2).size(), 2u);
    EXPECT_TRUE(repository.fetchRecentFileResults(0).empty());
}

TEST_F(ICloudScanRepositoryTest, FileResultsComeByPathWithAnOptionalLimit) {
    const Uuid runID = storedRun(100, 200);
    const Uuid otherRun = storedRun(10, 20);
    const Uuid rootID = Uuid::random();
    const std::vector<ICloudFileScanResult> results = {fileResult(runID, rootID, "c"),
                                                       fileResult(runID, rootID, "a"),
                                                       fileResult(runID, rootID, "b")};
    repository.insert(summaryOf(runID, 200, results), results);
    const std::vector<ICloudFileScanResult> other = {fileResult(otherRun, rootID, "0")};
    repository.insert(summaryOf(otherRun, 20, other), other);

    EXPECT_EQ(names(repository.fetchFileResults(runID, std::nullopt)),
              (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(names(repository.fetchFileResults(runID, 2)), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(names(repository.fetchLatestFileResults(1)), (std::vector<std::string>{"a"}));
    EXPECT_EQ(names(repository.fetchFileResults(otherRun, std::nullopt)),
              (std::vector<std::string>{"0"}));
}

TEST_F(ICloudScanRepositoryTest, UnparsableStoredTextReadsAsTheFallbacks) {
    const Uuid runID = storedRun(100, 200);
    repository.insert(summaryOf(runID, 200, {}), {});
    exec("INSERT INTO icloud_file_results VALUES ('bad', '" + runID.toString() +
         "', 'also bad', '/p', 'p', 0, NULL, NULL, 'floating', 'certain', 'r', 1)");
    exec(
        "INSERT INTO icloud_scan_roots VALUES ('nope', '/r', 'r', 'network', 1, 1, NULL, 1, NULL)");

    const auto results = repository.fetchRecentFileResults(10);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_NE(results[0].id, Uuid());
    EXPECT_EQ(results[0].scanRunID, runID);
    EXPECT_NE(results[0].rootID, Uuid());
    EXPECT_EQ(results[0].state, ICloudFileState::unknown);
    EXPECT_EQ(results[0].confidence, ConfidenceLevel::unknown);

    const auto roots = repository.fetchRoots(true);
    ASSERT_EQ(roots.size(), 1u);
    EXPECT_NE(roots[0].id, Uuid());
    EXPECT_EQ(roots[0].kind, ICloudScanRootKind::userSelected);

    // A run whose stored id is not a UUID: its summary reads with no run id, and no
    // latest run id (so no recent results) can be named.
    exec(
        "INSERT INTO scan_runs (id, trigger, started_at, completed_at, overall_state, "
        "safety_score) "
        "VALUES ('garbage', 'manual', 1, 900, 'unknown', 0)");
    exec(
        "INSERT INTO icloud_scan_summaries VALUES ('garbage', 900, 'exploded', 1, 0, 0, 0, 0, 0, "
        "0, 0, 1, 0, 0)");
    const auto summary = repository.fetchLatestSummary();
    ASSERT_TRUE(summary);
    EXPECT_FALSE(summary->scanRunID);
    EXPECT_EQ(summary->status, ScanRunStatus::completed);
    EXPECT_EQ(summary->unknownCount, 1);
    EXPECT_FALSE(repository.fetchLatestScanRunID());
    EXPECT_TRUE(repository.fetchRecentFileResults(10).empty());
}

TEST_F(ICloudScanRepositoryTest, AFailingResultInsertRollsBackTheWholeScan) {
    const auto root = repository.addUserRoot("/root", "Root", std::nullopt);
    const Uuid runID = storedRun(100, 200);
    std::vector<ICloudFileScanResult> results;
    for (const char* name : {"a", "b", "c", "d"})
        results.push_back(fileResult(runID, root.id, name));
    results[3].id = results[1].id;  // the fourth insert breaks the primary key

    EXPECT_THROW(repository.insert(summaryOf(runID, 200, results), results), DatabaseError);
    EXPECT_EQ(count("SELECT count(*) FROM icloud_scan_summaries"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM icloud_file_results"), 0);
    EXPECT_FALSE(repository.fetchRoots(true).at(0).lastScannedAt);

    // Storing the run again fails the same way and leaves the earlier stored version whole.
    const std::vector<ICloudFileScanResult> good = {fileResult(runID, root.id, "kept")};
    repository.insert(summaryOf(runID, 150, good), good);
    EXPECT_THROW(repository.insert(summaryOf(runID, 200, results), results), DatabaseError);
    EXPECT_EQ(repository.fetchLatestSummary()->completedAt, Date(150));
    EXPECT_EQ(repository.fetchFileResults(runID, std::nullopt), good);
    EXPECT_EQ(repository.fetchRoots(true).at(0).lastScannedAt, Date(150));
}

TEST_F(ICloudScanRepositoryTest, ASummaryOfARunThatIsNotStoredFails) {
    const Uuid unknownRun = Uuid::random();
    const std::vector<ICloudFileScanResult> results = {fileResult(unknownRun, Uuid::random(), "a")};
    EXPECT_THROW(repository.insert(summaryOf(unknownRun, 200, results), results), DatabaseError);
    EXPECT_EQ(count("SELECT count(*) FROM icloud_file_results"), 0);
}

}  // namespace
}  // namespace tallowmere
