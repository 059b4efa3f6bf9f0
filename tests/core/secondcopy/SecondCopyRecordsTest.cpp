#include <gtest/gtest.h>

#include "core/secondcopy/BackupDestination.h"
#include "core/secondcopy/BackupJobSnapshot.h"
#include "core/secondcopy/BackupManifestItem.h"
#include "core/secondcopy/BackupProgressSnapshot.h"
#include "tests/support/EnumTableCheck.h"
#include "tests/support/SampleRecords.h"

namespace tallowmere {
namespace {

using testing::expectEnumCases;

TEST(SecondCopyRecordsTest, EnumerationsListEveryCaseWithRawValueAndDisplayName) {
    {
        SCOPED_TRACE("BackupDestinationStatus");
        using S = BackupDestinationStatus;
        expectEnumCases<S>({{S::notSelected, "notSelected", "Not selected"},
                            {S::connected, "connected", "Available"},
                            {S::missing, "missing", "Missing"},
                            {S::lowStorage, "lowStorage", "Low space"},
                            {S::permissionIssue, "permissionIssue", "Permission issue"},
                            {S::unknown, "unknown", "Unknown"}});
    }
    {
        SCOPED_TRACE("BackupItemStatus");
        using S = BackupItemStatus;
        expectEnumCases<S>({{S::pending, "pending", "Pending"},
                            {S::copied, "copied", "Copied"},
                            {S::alreadyCopied, "alreadyCopied", "Already copied"},
                            {S::skipped, "skipped", "Skipped"},
                            {S::conflict, "conflict", "Conflict"},
                            {S::failed, "failed", "Failed"}});
    }
    {
        // The manifest item's source state, stored with every item.
        SCOPED_TRACE("ICloudFileState");
        using S = ICloudFileState;
        expectEnumCases<S>({{S::localCurrent, "localCurrent", "Local / current"},
                            {S::downloaded, "downloaded", "Downloaded"},
                            {S::cloudOnly, "cloudOnly", "Cloud-only"},
                            {S::waitingToUpload, "waitingToUpload", "Waiting to upload"},
                            {S::waitingToDownload, "waitingToDownload", "Waiting to download"},
                            {S::possibleSyncIssue, "possibleSyncIssue", "Possible sync issue"},
                            {S::excluded, "excluded", "Excluded"},
                            {S::unknown, "unknown", "Unknown"}});
    }
    {
        SCOPED_TRACE("BackupJobStatus");
        using S = BackupJobStatus;
        expectEnumCases<S>(
            {{S::notStarted, "notStarted", "Not started"},
             {S::preparing, "preparing", "Preparing"},
             {S::prepared, "prepared", "Prepared"},
             {S::running, "running", "Running"},
             {S::paused, "paused", "Paused"},
             {S::cancelled, "cancelled", "Cancelled"},
             {S::completed, "completed", "Completed"},
             {S::completedWithSkipped, "completedWithSkipped", "Completed with skipped items"},
             {S::failed, "failed", "Failed"}});
    }
}

BackupDestination fullDestination() {
    return BackupDestination{
        .id = Uuid::random(),
        .displayName = "Backup Drive",
        .path = "/media/alex/Backup Drive",
        // Every byte value a bookmark can hold, with a length that needs padding.
        .bookmarkData = Bytes{0x00, 0xFF, 0x10, 0x80, 0x7F, 0xFB, 0xEF},
        .availableBytes = 9'000'000'000'000,
        .status = BackupDestinationStatus::lowStorage,
        .isSelected = true,
        .isRemovable = true,
        .volumeName = "Backup Drive",
        .warningMessage = "Low space",
        .selectedAt = Date(1'765'000'000),
        .lastSeenAt = Date(1'765'000'100),
        .updatedAt = Date(1'765'000'200),
    };
}

TEST(SecondCopyRecordsTest, DestinationRoundTripsThroughJsonWithEveryField) {
    const auto destination = fullDestination();
    const Json json = destination;
    EXPECT_EQ(json.at("id"), destination.id.toString());
    EXPECT_EQ(json.at("status"), "lowStorage");
    EXPECT_EQ(json.at("selectedAt"), "2025-12-06T05:46:40Z");
    EXPECT_EQ(json.at("bookmarkData"), "AP8QgH/77w==");
    EXPECT_EQ(json.get<BackupDestination>(), destination);
}

TEST(SecondCopyRecordsTest, BookmarkOfEveryLengthRoundTrips) {
    for (std::size_t length = 0; length <= 7; ++length) {
        SCOPED_TRACE(length);
        auto destination = fullDestination();
        destination.bookmarkData = Bytes(length);
        for (std::size_t i = 0; i < length; ++i)
            (*destination.bookmarkData)[i] = static_cast<std::uint8_t>(251 + i);
        EXPECT_EQ(Json(destination).get<BackupDestination>(), destination);
    }
}

TEST(SecondCopyRecordsTest, MalformedBookmarkTextIsRejected) {
    for (const char* bad : {"A", "AB=C", "A*==", "=AAA", "AA=A"}) {
        SCOPED_TRACE(bad);
        Json json = fullDestination();
        json["bookmarkData"] = bad;
        EXPECT_THROW(json.get<BackupDestination>(), Json::exception);
    }
}

TEST(SecondCopyRecordsTest, DestinationWithoutOptionalValuesOmitsTheirKeys) {
    BackupDestination destination{.id = Uuid::random(),
                                  .displayName = "/",
                                  .status = BackupDestinationStatus::unknown,
                                  .selectedAt = Date(1'765'000'000),
                                  .updatedAt = Date(1'765'000'000)};
    const Json json = destination;
    for (const char* key :
         {"path", "bookmarkData", "availableBytes", "volumeName", "warningMessage", "lastSeenAt"}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(json.contains(key));
    }
    EXPECT_EQ(json.size(), 7u);
    EXPECT_EQ(json.get<BackupDestination>(), destination);
}

TEST(SecondCopyRecordsTest, ManifestItemRoundTripsWithAndWithoutOptionalValues) {
    const BackupManifestItem full{
        .id = Uuid::random(),
        .jobID = Uuid::random(),
        .sourceResultID = Uuid::random(),
        .rootID = Uuid::random(),
        .sourcePath = "/home/alex/Documents/Tax/2025.pdf",
        .relativePath = "Documents/Tax/2025.pdf",
        .destinationPath = "/media/alex/Drive/Tallowmere Backup/Documents/Tax/2025.pdf",
        .fileSize = 4'294'967'296,
        .modifiedAt = Date(1'700'000'000),
        .sourceState = ICloudFileState::waitingToUpload,
        .isEligible = true,
        .status = BackupItemStatus::alreadyCopied,
        .message = "Already in the backup.",
        .createdAt = Date(1'765'000'000),
        .updatedAt = Date(1'765'000'060),
    };
    const Json json = full;
    EXPECT_EQ(json.at("jobID"), full.jobID.toString());
    EXPECT_EQ(json.at("sourceState"), "waitingToUpload");
    EXPECT_EQ(json.at("status"), "alreadyCopied");
    EXPECT_EQ(json.at("fileSize"), 4'294'967'296);
    EXPECT_EQ(json.get<BackupManifestItem>(), full);

    auto bare = full;
    bare.sourceResultID.reset();
    bare.rootID.reset();
    bare.fileSize.reset();
    bare.modifiedAt.reset();
    const Json bareJson = bare;
    for (const char* key : {"sourceResultID", "rootID", "fileSize", "modifiedAt"}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(bareJson.contains(key));
    }
    EXPECT_EQ(bareJson.get<BackupManifestItem>(), bare);
}

TEST(SecondCopyRecordsTest, JobRoundTripsWithAndWithoutOptionalValues) {
    const auto full = testing::everyFieldBackupJob(Date(1'765'000'000));
    const Json json = full;
    EXPECT_EQ(json.at("status"), "completedWithSkipped");
    EXPECT_EQ(json.at("manifestJSONPath"), *full.manifestJSONPath);
    EXPECT_EQ(json.get<BackupJobSnapshot>(), full);

    const BackupJobSnapshot bare{
        .id = Uuid::random(), .status = BackupJobStatus::notStarted, .message = "None"};
    const Json bareJson = bare;
    for (const char* key : {"destinationID", "sourceScanRunID", "startedAt", "completedAt",
                            "cancelledAt", "manifestJSONPath"}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(bareJson.contains(key));
    }
    EXPECT_EQ(bareJson.get<BackupJobSnapshot>(), bare);
}

TEST(SecondCopyRecordsTest, IdleProgressIsAtRestWithItsMessage) {
    const auto idle = BackupProgressSnapshot::idle();
    EXPECT_EQ(idle, (BackupProgressSnapshot{.message = "Backup has not started."}));
    EXPECT_FALSE(idle.isRunning);
    EXPECT_FALSE(idle.currentFile);
    EXPECT_FALSE(idle.isCancelling);
    EXPECT_FALSE(idle.isPaused);
    EXPECT_EQ(idle.totalFiles + idle.completedFiles + idle.skippedFiles + idle.failedFiles +
                  idle.conflictFiles + idle.copiedBytes + idle.totalBytes,
              0);

    const Json json = idle;
    EXPECT_FALSE(json.contains("currentFile"));
    EXPECT_EQ(json.at("message"), "Backup has not started.");
    EXPECT_EQ(json.get<BackupProgressSnapshot>(), idle);
}

TEST(SecondCopyRecordsTest, RunningProgressRoundTrips) {
    const BackupProgressSnapshot progress{.isRunning = true,
                                          .currentFile = "Photos/IMG_0001.HEIC",
                                          .totalFiles = 9,
                                          .completedFiles = 4,
                                          .skippedFiles = 1,
                                          .failedFiles = 2,
                                          .conflictFiles = 3,
                                          .copiedBytes = 123,
                                          .totalBytes = 456,
                                          .isCancelling = true,
                                          .isPaused = true,
                                          .message = "Copying..."};
    const Json json = progress;
    EXPECT_EQ(json.at("currentFile"), "Photos/IMG_0001.HEIC");
    EXPECT_EQ(json.size(), 12u);
    EXPECT_EQ(json.get<BackupProgressSnapshot>(), progress);
}

}  // namespace
}  // namespace tallowmere
