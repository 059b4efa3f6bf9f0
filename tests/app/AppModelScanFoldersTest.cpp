#include <gtest/gtest.h>

#include "app/AppModel.h"
#include "core/platform/PathStandardizing.h"
#include "persistence/ICloudScanRepository.h"
#include "persistence/SettingsRepository.h"
#include "tests/app/AppTestSupport.h"

namespace tallowmere {
namespace {

using testing::TestEnvironment;

TEST(AppModelScanFoldersTest, AddingAFolderSelectsItAndKeepsItsNameOutOfTheTimeline) {
    TestEnvironment test;
    AppModel model(test.make());
    model.addScanRoot("/home/ann/Secret Plans/./");

    ASSERT_EQ(model.iCloudScanRoots().size(), 1u);
    const auto& root = model.iCloudScanRoots()[0];
    EXPECT_EQ(root.path, "/home/ann/Secret Plans");
    EXPECT_EQ(root.displayName, "Secret Plans");
    EXPECT_EQ(root.kind, ICloudScanRootKind::userSelected);
    EXPECT_TRUE(root.isSelected);
    // The folder is not on this disk, so no bookmark could be made; it is added all the same.
    EXPECT_FALSE(root.bookmarkData);
    EXPECT_EQ(model.statusMessage(), "Added Secret Plans to scan roots.");

    ASSERT_EQ(model.activityEvents().size(), 1u);
    const auto& event = model.activityEvents()[0];
    EXPECT_EQ(event.kind, ActivityEventKind::iCloudScan);
    EXPECT_EQ(event.title, "Scan folder added");
    EXPECT_EQ(event.message, "Added a folder to the read-only scan list.");
    EXPECT_EQ(event.severity, SafetyState::needsAttention);
    EXPECT_EQ(event.localActionTarget, "iCloudDriveSafety");
}

TEST(AppModelScanFoldersTest, RemovingAFolderOnlyDeselectsIt) {
    TestEnvironment test;
    AppModel model(test.make());
    model.addScanRoot("/home/ann/Secret Plans");
    model.addScanRoot("/home/ann/Other");
    ASSERT_EQ(model.iCloudScanRoots().size(), 2u);
    const auto removed = model.iCloudScanRoots()[1].displayName == "Secret Plans"
                             ? model.iCloudScanRoots()[1]
                             : model.iCloudScanRoots()[0];

    model.removeScanRoot(removed);
    ASSERT_EQ(model.iCloudScanRoots().size(), 1u);
    EXPECT_EQ(model.iCloudScanRoots()[0].displayName, "Other");
    EXPECT_EQ(model.statusMessage(),
              "Removed Secret Plans from scan roots. Files were not modified.");
    const auto all = ICloudScanRepository(test.database->queue()).fetchRoots(true);
    EXPECT_EQ(all.size(), 2u);

    const auto& event = model.activityEvents()[0];
    EXPECT_EQ(event.title, "Scan folder removed");
    EXPECT_EQ(event.message, "Removed a folder from the scan list. Files were not modified.");
    EXPECT_EQ(event.severity, SafetyState::unknown);
}

TEST(AppModelScanFoldersTest, FolderChangesThatCannotBeStoredRecordNothing) {
    TestEnvironment test;
    AppModel model(test.make());
    model.addScanRoot("/home/ann/Kept");
    const auto kept = model.iCloudScanRoots().at(0);
    const auto eventsBefore = model.activityEvents();
    testing::failWritesTo(*test.database, "icloud_scan_roots");

    model.addScanRoot("/home/ann/New");
    EXPECT_EQ(model.statusMessage(), "Tallowmere could not add that folder.");
    model.removeScanRoot(kept);
    EXPECT_EQ(model.statusMessage(), "Tallowmere could not remove that scan root.");
    EXPECT_EQ(model.iCloudScanRoots(), std::vector{kept});
    EXPECT_EQ(model.activityEvents(), eventsBefore);
}

TEST(AppModelScanFoldersTest, SelectingAPhotosLibraryRemembersItsPath) {
    TestEnvironment test;
    AppModel model(test.make());
    model.selectPhotosLibrary("/home/ann/Pictures/Family.photoslibrary/");
    EXPECT_EQ(model.selectedPhotosLibraryPath(), "/home/ann/Pictures/Family.photoslibrary");
    EXPECT_EQ(
        SettingsRepository(test.database->queue(), test.clock).string("selectedPhotosLibraryPath"),
        "/home/ann/Pictures/Family.photoslibrary");
    EXPECT_EQ(model.statusMessage(), "Selected Family.photoslibrary for Photos safety scans.");
    ASSERT_EQ(model.activityEvents().size(), 1u);
    const auto& event = model.activityEvents()[0];
    EXPECT_EQ(event.kind, ActivityEventKind::photosScan);
    EXPECT_EQ(event.title, "Photos library selected");
    EXPECT_EQ(event.message, "Selected a Photos library for Photos safety scans.");
    EXPECT_EQ(event.severity, SafetyState::needsAttention);
    EXPECT_EQ(event.localActionTarget, "photosSafety");
}

}  // namespace
}  // namespace tallowmere
