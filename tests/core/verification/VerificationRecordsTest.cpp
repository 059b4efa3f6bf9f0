#include <gtest/gtest.h>

#include "core/verification/VerificationItemResult.h"
#include "core/verification/VerificationProgressSnapshot.h"
#include "core/verification/VerificationRun.h"
#include "tests/support/EnumTableCheck.h"
#include "tests/support/SampleRecords.h"

namespace tallowmere {
namespace {

using testing::expectEnumCases;

TEST(VerificationRecordsTest, EnumerationsListEveryCaseWithRawValueAndDisplayName) {
    {
        SCOPED_TRACE("VerificationItemStatus");
        using S = VerificationItemStatus;
        expectEnumCases<S>({{S::passed, "passed", "Passed"},
                            {S::missing, "missing", "Missing"},
                            {S::sizeMismatch, "sizeMismatch", "Size mismatch"},
                            {S::checksumMismatch, "checksumMismatch", "Checksum mismatch"},
                            {S::unreadable, "unreadable", "Unreadable"},
                            {S::skipped, "skipped", "Skipped"},
                            {S::unknown, "unknown", "Unknown"}});
    }
    {
        SCOPED_TRACE("ChecksumAlgorithm");
        expectEnumCases<ChecksumAlgorithm>({{ChecksumAlgorithm::sha256, "sha256", "SHA-256"}});
    }
    {
        SCOPED_TRACE("VerificationMode");
        using M = VerificationMode;
        expectEnumCases<M>(
            {{M::quick, "quick", ""}, {M::full, "full", ""}, {M::restoreTest, "restoreTest", ""}});
    }
    {
        SCOPED_TRACE("VerificationStatus");
        using S = VerificationStatus;
        expectEnumCases<S>({{S::notRun, "notRun", ""},
                            {S::running, "running", ""},
                            {S::verified, "verified", ""},
                            {S::failed, "failed", ""},
                            {S::unknown, "unknown", ""}});
    }
}

TEST(VerificationRecordsTest, OnlyPassedAndSkippedAreNotFailures) {
    using S = VerificationItemStatus;
    const std::vector<std::pair<S, bool>> cases{
        {S::passed, false},          {S::missing, true},    {S::sizeMismatch, true},
        {S::checksumMismatch, true}, {S::unreadable, true}, {S::skipped, false},
        {S::unknown, true}};
    ASSERT_EQ(cases.size(), allCases<S>().size());
    for (const auto& [status, failure] : cases) {
        SCOPED_TRACE(rawValue(status));
        EXPECT_EQ(isFailure(status), failure);
    }
}

VerificationItemResult result(VerificationItemStatus status,
                              std::optional<std::int64_t> expectedSize,
                              std::optional<std::int64_t> actualSize) {
    return VerificationItemResult{.id = Uuid::random(),
                                  .runID = Uuid::random(),
                                  .backupJobID = Uuid::random(),
                                  .manifestItemID = Uuid::random(),
                                  .checkedPath = "/media/drive/Tallowmere Backup/a.txt",
                                  .relativePath = "a.txt",
                                  .expectedSize = expectedSize,
                                  .actualSize = actualSize,
                                  .status = status,
                                  .createdAt = Date(1'765'000'000),
                                  .updatedAt = Date(1'765'000'000)};
}

TEST(VerificationRecordsTest, TallyCountsResultsAndPrefersActualSizeOverRecordedSize) {
    using S = VerificationItemStatus;
    const std::vector<VerificationItemResult> results{
        result(S::passed, 100, 100),                     // 100
        result(S::sizeMismatch, 100, 90),                // actual size wins: 90
        result(S::missing, 40, std::nullopt),            // recorded size stands in: 40
        result(S::unknown, std::nullopt, std::nullopt),  // neither: 0
        result(S::skipped, 1'000, 1'000),                // skipped results add no bytes
        result(S::skipped, std::nullopt, std::nullopt),
    };
    const auto tally = VerificationTally::of(results);
    EXPECT_EQ(tally,
              (VerificationTally{
                  .checkedFiles = 4, .failedFiles = 3, .skippedFiles = 2, .bytesChecked = 230}));
    EXPECT_EQ(VerificationTally::of({}), VerificationTally{});
}

TEST(VerificationRecordsTest, RestoredSampleFilesCountOnlyForRestoreTests) {
    const auto tally =
        VerificationTally::of({result(VerificationItemStatus::passed, 1, 1),
                               result(VerificationItemStatus::missing, 1, std::nullopt),
                               result(VerificationItemStatus::skipped, 1, 1)});
    ASSERT_EQ(tally.checkedFiles, 2);
    EXPECT_EQ(tally.restoredSampleFiles(VerificationMode::quick), 0);
    EXPECT_EQ(tally.restoredSampleFiles(VerificationMode::full), 0);
    EXPECT_EQ(tally.restoredSampleFiles(VerificationMode::restoreTest), 2);
}

TEST(VerificationRecordsTest, ItemResultRoundTripsWithAndWithoutOptionalValues) {
    auto full = result(VerificationItemStatus::checksumMismatch, 2'048, 2'048);
    full.expectedChecksum = std::string(64, 'a');
    full.actualChecksum = std::string(64, 'b');
    full.failureReason = "The checksum does not match.";
    full.updatedAt = Date(1'765'000'001);
    const Json json = full;
    EXPECT_EQ(json.at("algorithm"), "sha256");
    EXPECT_EQ(json.at("status"), "checksumMismatch");
    EXPECT_EQ(json.at("manifestItemID"), full.manifestItemID.toString());
    EXPECT_EQ(json.get<VerificationItemResult>(), full);

    const auto bare = result(VerificationItemStatus::passed, std::nullopt, std::nullopt);
    const Json bareJson = bare;
    for (const char* key :
         {"expectedSize", "actualSize", "expectedChecksum", "actualChecksum", "failureReason"}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(bareJson.contains(key));
    }
    EXPECT_EQ(bareJson.get<VerificationItemResult>(), bare);
}

TEST(VerificationRecordsTest, RunRoundTripsWithAndWithoutOptionalValues) {
    const auto full = testing::everyFieldVerificationRun(Date(1'765'000'000));
    const Json json = full;
    EXPECT_EQ(json.at("mode"), "restoreTest");
    EXPECT_EQ(json.at("completedAt"), "2025-12-06T05:48:10Z");
    EXPECT_EQ(json.get<VerificationRun>(), full);

    const VerificationRun bare{.id = Uuid::random(),
                               .mode = VerificationMode::quick,
                               .status = VerificationStatus::notRun,
                               .startedAt = Date(1'765'000'000),
                               .message = "No verification has been run yet."};
    const Json bareJson = bare;
    for (const char* key : {"backupJobID", "completedAt", "restoreTestPath"}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(bareJson.contains(key));
    }
    EXPECT_EQ(bareJson.get<VerificationRun>(), bare);
}

TEST(VerificationRecordsTest, IdleProgressIsQuickAndAtRest) {
    const auto idle = VerificationProgressSnapshot::idle();
    EXPECT_EQ(idle, (VerificationProgressSnapshot{.mode = VerificationMode::quick,
                                                  .message = "No verification is running."}));
    EXPECT_FALSE(idle.isRunning);
    EXPECT_FALSE(idle.currentFile);
    EXPECT_EQ(idle.totalFiles + idle.checkedFiles + idle.failedFiles + idle.skippedFiles +
                  idle.bytesChecked,
              0);
    const Json json = idle;
    EXPECT_FALSE(json.contains("currentFile"));
    EXPECT_EQ(json.get<VerificationProgressSnapshot>(), idle);

    const VerificationProgressSnapshot running{
        .mode = VerificationMode::full,
        .isRunning = true,
        .currentFile = "Docs/a.txt",
        .totalFiles = 3,
        .checkedFiles = 2,
        .failedFiles = 1,
        .skippedFiles = 1,
        .bytesChecked = 77,
        .message = "Verification checks that Tallowmere can read the second copy."};
    const Json runningJson = running;
    EXPECT_EQ(runningJson.at("mode"), "full");
    EXPECT_EQ(runningJson.get<VerificationProgressSnapshot>(), running);
}

}  // namespace
}  // namespace tallowmere
