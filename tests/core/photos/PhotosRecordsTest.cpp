#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/photos/PhotosScanProgressSnapshot.h"
#include "core/photos/PhotosScanSummary.h"
#include "core/photos/PhotosVocabulary.h"
#include "tests/support/EnumTableCheck.h"
#include "tests/support/SampleRecords.h"

namespace tallowmere {
namespace {

TEST(PhotosVocabularyTest, AuthorizationStatesRawValuesNamesAndMetadataAccess) {
    struct Case {
        PhotosAuthorizationState value;
        const char* raw;
        const char* display;
        bool canRead;
    };
    const std::vector<Case> cases = {
        {PhotosAuthorizationState::notDetermined, "notDetermined", "Not requested", false},
        {PhotosAuthorizationState::denied, "denied", "Access denied", false},
        {PhotosAuthorizationState::restricted, "restricted", "Access restricted", false},
        {PhotosAuthorizationState::limited, "limited", "Limited access", true},
        {PhotosAuthorizationState::authorized, "authorized", "Authorized", true},
        {PhotosAuthorizationState::unknown, "unknown", "Unknown", false},
    };
    std::vector<testing::ExpectedCase<PhotosAuthorizationState>> expected;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(canReadMetadata(c.value), c.canRead);
        expected.push_back({c.value, c.raw, c.display});
    }
    testing::expectEnumCases(expected);
    for (const char* other : {"", "Authorized", "authorised", "full", "limited "}) {
        SCOPED_TRACE(other);
        EXPECT_FALSE(fromRaw<PhotosAuthorizationState>(other));
        EXPECT_THROW(Json(other).get<PhotosAuthorizationState>(), Json::exception);
    }
}

TEST(PhotosVocabularyTest, SafetyStatesRawValuesAndNames) {
    testing::expectEnumCases<PhotosSafetyState>({
        {PhotosSafetyState::accessNeeded, "accessNeeded", "Photos access needed"},
        {PhotosSafetyState::libraryDetected, "libraryDetected", "Library detected"},
        {PhotosSafetyState::libraryNotFound, "libraryNotFound", "Library not found"},
        {PhotosSafetyState::metadataScanned, "metadataScanned", "Metadata scanned"},
        {PhotosSafetyState::localPackageSizeAvailable, "localPackageSizeAvailable",
         "Local package size available"},
        {PhotosSafetyState::localityUnknown, "localityUnknown", "Originals unknown"},
        {PhotosSafetyState::needsReview, "needsReview", "Needs review"},
        {PhotosSafetyState::unknown, "unknown", "Unknown"},
    });
    for (const char* other : {"", "Unknown", "needs review", "libraryFound"}) {
        SCOPED_TRACE(other);
        EXPECT_FALSE(fromRaw<PhotosSafetyState>(other));
    }
}

PhotosScanSummary fullSummary() {
    return testing::everyFieldPhotosScan(Date(1'765'000'000));
}

TEST(PhotosScanSummaryTest, JsonRoundTripsWithFieldNamesAsKeys) {
    const auto summary = fullSummary();
    const Json json = summary;
    EXPECT_EQ(json.size(), 26u);
    EXPECT_EQ(json.at("authorizationStatus"), "limited");
    EXPECT_EQ(json.at("scanStatus"), "completed");
    EXPECT_EQ(json.at("iCloudPhotosStatusUnknown"), true);
    EXPECT_EQ(json.at("localLibrarySizeBytes"), 12'345'678'901);
    EXPECT_EQ(json.at("videoDurationSeconds"), 1234.5);
    EXPECT_EQ(json.at("oldestCreationDate"), "2014-05-13T16:53:20Z");
    EXPECT_EQ(json.get<PhotosScanSummary>(), summary);
}

TEST(PhotosScanSummaryTest, AbsentValuesAreLeftOutAndReadBackAbsent) {
    auto summary = fullSummary();
    summary.completedAt.reset();
    summary.libraryPath.reset();
    summary.libraryDisplayName.reset();
    summary.localLibrarySizeBytes.reset();
    summary.oldestCreationDate.reset();
    summary.newestCreationDate.reset();
    const Json json = summary;
    EXPECT_EQ(json.size(), 20u);
    for (const char* key : {"completedAt", "libraryPath", "libraryDisplayName",
                            "localLibrarySizeBytes", "oldestCreationDate", "newestCreationDate"}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(json.contains(key));
    }
    EXPECT_EQ(json.get<PhotosScanSummary>(), summary);

    Json withNulls = json;
    withNulls["libraryPath"] = nullptr;
    withNulls["completedAt"] = nullptr;
    EXPECT_EQ(withNulls.get<PhotosScanSummary>(), summary);
}

TEST(PhotosScanProgressSnapshotTest, IdleAndRunningRoundTrip) {
    const auto idle = PhotosScanProgressSnapshot::idle();
    EXPECT_FALSE(idle.isRunning);
    EXPECT_EQ(idle.scannedAssetCount, 0);
    EXPECT_EQ(idle.totalAssetCount, 0);
    EXPECT_FALSE(idle.currentStage);
    EXPECT_EQ(idle.message, "Photos scan has not started.");
    EXPECT_FALSE(Json(idle).contains("currentStage"));
    EXPECT_EQ(Json(idle).get<PhotosScanProgressSnapshot>(), idle);

    const PhotosScanProgressSnapshot running{true, 50, 2113, "Assets",
                                             "Reading Photos metadata..."};
    const Json json = running;
    EXPECT_EQ(json.at("currentStage"), "Assets");
    EXPECT_EQ(json.at("scannedAssetCount"), 50);
    EXPECT_EQ(json.get<PhotosScanProgressSnapshot>(), running);
}

}  // namespace
}  // namespace tallowmere
