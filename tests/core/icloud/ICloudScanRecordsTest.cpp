#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "core/icloud/ICloudDriveScanSummary.h"
#include "core/icloud/ICloudFileScanResult.h"
#include "core/icloud/ICloudScanRoot.h"
#include "core/icloud/ScanProgressSnapshot.h"
#include "tests/support/EnumTableCheck.h"

namespace tallowmere {
namespace {

using testing::expectEnumCases;

TEST(ICloudEnumerationTest, ScanRootKindCasesRawValuesAndNames) {
    expectEnumCases<ICloudScanRootKind>({
        {ICloudScanRootKind::iCloudDrive, "iCloudDrive", "iCloud Drive"},
        {ICloudScanRootKind::desktop, "desktop", "Desktop"},
        {ICloudScanRootKind::documents, "documents", "Documents"},
        {ICloudScanRootKind::userSelected, "userSelected", "Added folder"},
    });
}

TEST(ICloudEnumerationTest, FileStateCasesRawValuesAndNames) {
    expectEnumCases<ICloudFileState>({
        {ICloudFileState::localCurrent, "localCurrent", "Local / current"},
        {ICloudFileState::downloaded, "downloaded", "Downloaded"},
        {ICloudFileState::cloudOnly, "cloudOnly", "Cloud-only"},
        {ICloudFileState::waitingToUpload, "waitingToUpload", "Waiting to upload"},
        {ICloudFileState::waitingToDownload, "waitingToDownload", "Waiting to download"},
        {ICloudFileState::possibleSyncIssue, "possibleSyncIssue", "Possible sync issue"},
        {ICloudFileState::excluded, "excluded", "Excluded"},
        {ICloudFileState::unknown, "unknown", "Unknown"},
    });
}

ICloudFileScanResult row(ICloudFileState state) {
    ICloudFileScanResult result;
    result.id = Uuid::random();
    result.state = state;
    return result;
}

TEST(ICloudDriveScanSummaryTest, MakeTalliesEveryRowByState) {
    using S = ICloudFileState;
    std::vector<ICloudFileScanResult> rows;
    // 1 local, 2 downloaded, 3 cloud-only, 4 uploads, 5 downloads, 6 sync issues, 7 excluded, 8
    // unknown.
    int n = 1;
    for (S state : {S::localCurrent, S::downloaded, S::cloudOnly, S::waitingToUpload,
                    S::waitingToDownload, S::possibleSyncIssue, S::excluded, S::unknown}) {
        for (int i = 0; i < n; ++i) rows.push_back(row(state));
        ++n;
    }
    const Uuid runID = Uuid::random();
    const auto summary = ICloudDriveScanSummary::make(runID, Date(1'765'000'000),
                                                      ScanRunStatus::limitReached, true, rows);

    EXPECT_EQ(summary.scanRunID, runID);
    EXPECT_EQ(summary.completedAt, Date(1'765'000'000));
    EXPECT_EQ(summary.status, ScanRunStatus::limitReached);
    EXPECT_TRUE(summary.limitReached);
    EXPECT_FALSE(summary.didModifyFiles);
    EXPECT_EQ(summary.scannedItemCount, 36);
    EXPECT_EQ(summary.localCurrentCount, 1);
    EXPECT_EQ(summary.downloadedCount, 2);
    EXPECT_EQ(summary.cloudOnlyCount, 3);
    EXPECT_EQ(summary.waitingToUploadCount, 4);
    EXPECT_EQ(summary.waitingToDownloadCount, 5);
    EXPECT_EQ(summary.possibleSyncIssueCount, 6);
    EXPECT_EQ(summary.excludedCount, 7);
    EXPECT_EQ(summary.unknownCount, 8);
    EXPECT_EQ(summary.localAvailableCount(), 3);
    EXPECT_EQ(summary.attentionCount(), 3 + 4 + 5 + 6 + 8);
}

TEST(ICloudDriveScanSummaryTest, MakeWithoutRowsIsTheEmptySummaryForAnInterimTally) {
    const auto summary = ICloudDriveScanSummary::make(std::nullopt, std::nullopt,
                                                      ScanRunStatus::completed, false, {});
    EXPECT_EQ(summary, ICloudDriveScanSummary::empty());
    EXPECT_FALSE(summary.scanRunID);
    EXPECT_FALSE(summary.completedAt);
    EXPECT_EQ(summary.safetyState(), SafetyState::unknown);
    EXPECT_EQ(summary.safetyScore(), 0);
}

TEST(ICloudDriveScanSummaryTest, DerivedValuesFromCounts) {
    struct Case {
        const char* name;
        // scanned, local, downloaded, cloudOnly, upload, download, syncIssue, excluded, unknown
        std::array<std::int64_t, 9> counts;
        std::int64_t localAvailable;
        std::int64_t attention;
        SafetyState state;
        std::int64_t score;
    };
    const std::vector<Case> cases = {
        {"no rows", {0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, 0, SafetyState::unknown, 0},
        {"two local two cloud-only", {4, 2, 0, 2, 0, 0, 0, 0, 0}, 2, 2, SafetyState::cloudOnly, 70},
        {"all local", {3, 1, 2, 0, 0, 0, 0, 0, 0}, 3, 0, SafetyState::protected_, 100},
        {"only excluded", {2, 0, 0, 0, 0, 0, 0, 2, 0}, 0, 0, SafetyState::protected_, 75},
        {"unknown drops fraction",
         {2, 1, 0, 0, 0, 0, 0, 0, 1},
         1,
         1,
         SafetyState::needsAttention,
         77},
        {"waiting upload outranks cloud-only",
         {2, 0, 0, 1, 1, 0, 0, 0, 0},
         0,
         2,
         SafetyState::stuckSyncing,
         42},
        {"waiting download alone",
         {1, 0, 0, 0, 0, 1, 0, 0, 0},
         0,
         1,
         SafetyState::stuckSyncing,
         45},
        {"sync issue", {4, 3, 0, 0, 0, 0, 1, 0, 0}, 3, 1, SafetyState::stuckSyncing, 81},
        {"cloud-only outranks unknown",
         {2, 0, 0, 1, 0, 0, 0, 0, 1},
         0,
         2,
         SafetyState::cloudOnly,
         47},
        {"excluded never needs attention",
         {3, 1, 0, 0, 0, 0, 0, 2, 0},
         1,
         0,
         SafetyState::protected_,
         83},
        {"negative item count", {-1, 0, 0, 0, 0, 0, 0, 0, 0}, 0, 0, SafetyState::protected_, 0},
        {"inconsistent counts clamp high",
         {1, 5, 0, 0, 0, 0, 0, 0, 0},
         5,
         0,
         SafetyState::protected_,
         100},
        {"negative counts clamp low",
         {1, 0, 0, 0, 0, 0, 0, -10, 0},
         0,
         0,
         SafetyState::protected_,
         0},
        {"huge counts do not overflow",
         {1, INT64_MAX / 2, INT64_MAX / 2, 0, 0, 0, 0, INT64_MAX, 0},
         INT64_MAX / 2 * 2,
         0,
         SafetyState::protected_,
         100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ICloudDriveScanSummary summary;
        summary.scannedItemCount = c.counts[0];
        summary.localCurrentCount = c.counts[1];
        summary.downloadedCount = c.counts[2];
        summary.cloudOnlyCount = c.counts[3];
        summary.waitingToUploadCount = c.counts[4];
        summary.waitingToDownloadCount = c.counts[5];
        summary.possibleSyncIssueCount = c.counts[6];
        summary.excludedCount = c.counts[7];
        summary.unknownCount = c.counts[8];
        EXPECT_EQ(summary.localAvailableCount(), c.localAvailable);
        EXPECT_EQ(summary.attentionCount(), c.attention);
        EXPECT_EQ(summary.safetyState(), c.state);
        EXPECT_EQ(summary.safetyScore(), c.score);
    }
}

TEST(ICloudDriveScanSummaryTest, JsonRoundTripsWithFieldNamesAndOmitsAbsentValues) {
    ICloudDriveScanSummary full;
    full.scanRunID = Uuid::random();
    full.completedAt = Date(1'765'444'205);
    full.status = ScanRunStatus::cancelled;
    full.scannedItemCount = 9;
    full.localCurrentCount = 1;
    full.downloadedCount = 1;
    full.cloudOnlyCount = 1;
    full.waitingToUploadCount = 1;
    full.waitingToDownloadCount = 1;
    full.possibleSyncIssueCount = 1;
    full.excludedCount = 2;
    full.unknownCount = 1;
    full.limitReached = true;

    const Json json = full;
    EXPECT_EQ(json.at("scanRunID"), full.scanRunID->toString());
    EXPECT_EQ(json.at("completedAt"), "2025-12-11T09:10:05Z");
    EXPECT_EQ(json.at("status"), "cancelled");
    EXPECT_EQ(json.at("waitingToDownloadCount"), 1);
    EXPECT_EQ(json.at("didModifyFiles"), false);
    EXPECT_EQ(json.get<ICloudDriveScanSummary>(), full);

    const Json emptyJson = ICloudDriveScanSummary::empty();
    EXPECT_FALSE(emptyJson.contains("scanRunID"));
    EXPECT_FALSE(emptyJson.contains("completedAt"));
    EXPECT_EQ(emptyJson.size(), 12u);
    EXPECT_EQ(emptyJson.get<ICloudDriveScanSummary>(), ICloudDriveScanSummary::empty());
}

TEST(ICloudFileScanResultTest, JsonRoundTripsWithAndWithoutOptionalValues) {
    ICloudFileScanResult full;
    full.id = Uuid::random();
    full.scanRunID = Uuid::random();
    full.rootID = Uuid::random();
    full.path = "/home/ada/Documents/Report, final.pdf";
    full.displayName = "Report, final.pdf";
    full.isDirectory = false;
    full.fileSize = 5'000'000'000;
    full.modifiedAt = Date(1'700'000'000);
    full.state = ICloudFileState::waitingToDownload;
    full.confidence = ConfidenceLevel::likely;
    full.reason = "This item may be waiting to download.";
    full.scannedAt = Date(1'765'000'000);

    const Json json = full;
    EXPECT_EQ(json.at("rootID"), full.rootID.toString());
    EXPECT_EQ(json.at("fileSize"), 5'000'000'000);
    EXPECT_EQ(json.at("state"), "waitingToDownload");
    EXPECT_EQ(json.get<ICloudFileScanResult>(), full);

    ICloudFileScanResult bare = full;
    bare.isDirectory = true;
    bare.fileSize.reset();
    bare.modifiedAt.reset();
    const Json bareJson = bare;
    EXPECT_FALSE(bareJson.contains("fileSize"));
    EXPECT_FALSE(bareJson.contains("modifiedAt"));
    EXPECT_EQ(bareJson.get<ICloudFileScanResult>(), bare);
}

TEST(ICloudScanRootTest, JsonRoundTripsBookmarkBytesOfEveryPaddingLength) {
    ICloudScanRoot root;
    root.id = Uuid::random();
    root.path = "/home/ada/Pictures/Trips";
    root.displayName = "Trips";
    root.kind = ICloudScanRootKind::userSelected;
    root.isDetected = false;
    root.isSelected = true;
    root.createdAt = Date(1'765'000'000);
    root.lastScannedAt = Date(1'765'000'600);

    struct Case {
        Bytes bytes;
        const char* text;
    };
    const std::vector<Case> cases = {
        {{}, ""},
        {{'f'}, "Zg=="},
        {{'f', 'o'}, "Zm8="},
        {{'f', 'o', 'o'}, "Zm9v"},
        {{0x00, 0xFF, 0xFE, 0x80}, "AP/+gA=="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        root.bookmarkData = c.bytes;
        const Json json = root;
        EXPECT_EQ(json.at("bookmarkData"), c.text);
        EXPECT_EQ(json.get<ICloudScanRoot>(), root);
    }

    Bytes everyByte;
    for (int b = 0; b < 256; ++b) everyByte.push_back(static_cast<std::uint8_t>(b));
    root.bookmarkData = everyByte;
    EXPECT_EQ(Json(root).get<ICloudScanRoot>(), root);

    root.bookmarkData.reset();
    root.lastScannedAt.reset();
    const Json bare = root;
    EXPECT_FALSE(bare.contains("bookmarkData"));
    EXPECT_FALSE(bare.contains("lastScannedAt"));
    EXPECT_EQ(bare.at("kind"), "userSelected");
    EXPECT_EQ(bare.get<ICloudScanRoot>(), root);
}

TEST(ICloudScanRootTest, MalformedBookmarkTextIsRejected) {
    ICloudScanRoot root;
    root.id = Uuid::random();
    Json json = root;
    for (const char* bad : {"Zg=", "Z===", "Zg==Zg==", "Zm9v!A==", "=Zm9"}) {
        SCOPED_TRACE(bad);
        json["bookmarkData"] = bad;
        EXPECT_THROW(json.get<ICloudScanRoot>(), Json::exception);
    }
}

TEST(ScanProgressSnapshotTest, IdleSaysReadyAndRoundTrips) {
    const auto idle = ScanProgressSnapshot::idle();
    EXPECT_FALSE(idle.isRunning);
    EXPECT_FALSE(idle.currentRoot);
    EXPECT_EQ(idle.scannedItemCount + idle.localAvailableCount + idle.cloudOnlyCount +
                  idle.waitingCount + idle.possibleIssueCount + idle.unknownCount +
                  idle.excludedCount,
              0);
    EXPECT_FALSE(idle.isCancelling);
    EXPECT_FALSE(idle.limitReached);
    EXPECT_EQ(idle.message, "Ready");
    EXPECT_EQ(Json(idle).get<ScanProgressSnapshot>(), idle);

    ScanProgressSnapshot running{true, "iCloud Drive",
                                 7,    1,
                                 2,    3,
                                 1,    0,
                                 0,    false,
                                 true, "Scanning iCloud Drive metadata..."};
    const Json json = running;
    EXPECT_EQ(json.at("currentRoot"), "iCloud Drive");
    EXPECT_EQ(json.at("possibleIssueCount"), 1);
    EXPECT_EQ(json.get<ScanProgressSnapshot>(), running);
}

}  // namespace
}  // namespace tallowmere
