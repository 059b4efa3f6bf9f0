#include <gtest/gtest.h>

#include "app/AppModel.h"
#include "persistence/PhotosScanRepository.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/JsonPrinting.h"

namespace tallowmere {
namespace {

using testing::TestEnvironment;

constexpr const char* kMetadataMessage =
    "Tallowmere read Photos metadata only. Some iCloud Photos/local-original details cannot be "
    "fully verified from your Mac yet.";

std::vector<PhotoAssetMetadata> threePhotos() {
    PhotoAssetMetadata photo;
    photo.mediaType = PhotoMediaType::image;
    photo.resourceCount = 1;
    photo.creationDate = Date(1'600'000'000);
    return {photo, photo, photo};
}

TEST(AppModelPhotosScanTest, ScanIsStoredPublishedAndRecorded) {
    TestEnvironment test;
    test.photoLibrary->setAssets(threePhotos());
    AppModel model(test.make());
    std::vector<std::string> statuses;
    QObject::connect(&model, &AppModel::statusMessageChanged,
                     [&] { statuses.push_back(model.statusMessage()); });

    auto scan = model.runPhotosScan();
    EXPECT_TRUE(model.isScanningPhotos());
    EXPECT_TRUE(model.photosProgress().isRunning);
    EXPECT_EQ(model.photosProgress().message, "Starting Photos safety scan...");
    EXPECT_EQ(model.statusMessage(), "Ready");
    // A second scan does not start while one runs.
    EXPECT_TRUE(model.runPhotosScan().isFinished());
    ASSERT_TRUE(testing::waitUntil([&] { return scan.isFinished(); }));

    EXPECT_FALSE(model.isScanningPhotos());
    ASSERT_TRUE(model.photosSummary());
    EXPECT_EQ(model.photosSummary()->totalAssetCount, 3);
    EXPECT_EQ(testing::rowCount(*test.database, "photos_scan_summaries"), 1);
    EXPECT_EQ(model.statusMessage(), kMetadataMessage);
    // The scanner's messages reached the status line in order, each once per snapshot.
    ASSERT_GE(statuses.size(), 3u);
    EXPECT_EQ(statuses[0], "Checking Photos access...");
    EXPECT_EQ(statuses[1], "Reading Photos metadata only...");
    EXPECT_EQ(statuses.back(), kMetadataMessage);
    EXPECT_FALSE(model.photosProgress().isRunning);
    EXPECT_EQ(model.photosProgress().totalAssetCount, 3);

    ASSERT_EQ(model.activityEvents().size(), 1u);
    const auto& event = model.activityEvents()[0];
    EXPECT_EQ(event.kind, ActivityEventKind::photosScan);
    EXPECT_EQ(event.title, "Photos safety scan finished");
    EXPECT_EQ(event.message, kMetadataMessage);
    EXPECT_EQ(event.severity, SafetyState::needsAttention);
    EXPECT_EQ(event.localActionTarget, "photosSafety");
    // The dashboard's Photos finding speaks about this scan.
    EXPECT_EQ(model.dashboardSnapshot().findings.at(0).domain, SafetyDomain::photos);
    EXPECT_EQ(model.dashboardSnapshot().findings.at(0).state, SafetyState::needsAttention);
}

TEST(AppModelPhotosScanTest, SelectedLibraryIsScannedAndNoSelectionStillScans) {
    TestEnvironment test;
    AppModel model(test.make());
    auto scan = model.runPhotosScan();
    ASSERT_TRUE(testing::waitUntil([&] { return scan.isFinished(); }));
    EXPECT_TRUE(model.photosSummary());

    model.selectPhotosLibrary("/srv/photos/Family.photoslibrary");
    test.clock->advance(60);
    scan = model.runPhotosScan();
    ASSERT_TRUE(testing::waitUntil([&] { return scan.isFinished(); }));
    const auto paths = test.photoLibrary->pathsSeen();
    ASSERT_FALSE(paths.empty());
    EXPECT_EQ(paths.front(), std::nullopt);
    EXPECT_EQ(paths.back(), "/srv/photos/Family.photoslibrary");
    EXPECT_EQ(model.photosSummary()->libraryPath, "/srv/photos/Family.photoslibrary");
    EXPECT_EQ(testing::rowCount(*test.database, "photos_scan_summaries"), 2);
}

TEST(AppModelPhotosScanTest, DeniedAccessIsAnOrdinaryOutcome) {
    TestEnvironment test;
    test.photoLibrary->setStatus(PhotosAuthorizationState::denied);
    AppModel model(test.make());
    auto scan = model.runPhotosScan();
    ASSERT_TRUE(testing::waitUntil([&] { return scan.isFinished(); }));
    EXPECT_EQ(model.statusMessage(),
              "Photos access is needed before Tallowmere can read Photos metadata.");
    EXPECT_EQ(model.activityEvents().at(0).title, "Photos safety scan finished");
    EXPECT_EQ(test.photoLibrary->requestCount(), 0);
}

TEST(AppModelPhotosScanTest, ASummaryThatCannotBeStoredIsReported) {
    TestEnvironment test;
    AppModel model(test.make());
    testing::failWritesTo(*test.database, "photos_scan_summaries");
    auto scan = model.runPhotosScan();
    ASSERT_TRUE(testing::waitUntil([&] { return scan.isFinished(); }));

    EXPECT_FALSE(model.isScanningPhotos());
    EXPECT_FALSE(model.photosSummary());
    EXPECT_EQ(model.statusMessage(), "Tallowmere could not save the Photos safety scan.");
    EXPECT_FALSE(model.photosProgress().isRunning);
    EXPECT_EQ(model.photosProgress().message, "Tallowmere could not save the Photos safety scan.");
    EXPECT_EQ(model.photosProgress().scannedAssetCount, 0);
    ASSERT_EQ(model.activityEvents().size(), 1u);
    const auto& event = model.activityEvents()[0];
    EXPECT_EQ(event.title, "Photos scan failed");
    EXPECT_EQ(event.message, "Tallowmere could not save the Photos safety scan.");
    EXPECT_EQ(event.severity, SafetyState::needsAttention);
}

}  // namespace
}  // namespace tallowmere
