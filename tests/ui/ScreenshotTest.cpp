// Writes the main window's screens at 1120 x 740 into build/screenshots, fresh and after a
// scan, so that anyone can look at them without starting the application. The *-full
// images hold each screen's whole scrolling content.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <utility>

#include "tests/support/StoredStateFixtures.h"
#include "tests/ui/UiTestModel.h"
#include "ui/MainWindow.h"
#include "ui/RootView.h"
#include "ui/components/TMScreen.h"
#include "ui/navigation/AppSidebarView.h"

namespace tallowmere {
namespace {

using testing::settle;

void shoot(MainWindow& window, AppSection section, const char* file, const char* fullFile,
           QSize size = {1120, 740}) {
    window.rootView()->setSelection(section);
    settle();
    QImage shot = window.grab().toImage();
    EXPECT_EQ(shot.size() / shot.devicePixelRatio(), size);
    EXPECT_TRUE(testing::saveScreenshot(window, file)) << file;
    if (auto* screen = qobject_cast<TMScreen*>(window.rootView()->sectionView(section))) {
        QWidget* content = screen->widget();
        EXPECT_TRUE(testing::saveScreenshot(*content, fullFile)) << fullFile;
    }
}

void seedScannedState(testing::UiTestModel& model) {
    model.upsertDetectedRoot("/home/tester/Desktop", "Desktop", ICloudScanRootKind::desktop);
    model.addUserRoot("/home/tester/Projects/Client Work/2025 Quarterly Reports and Archives");
    model.storeActivity(3);
    PhotosScanSummary photos = testing::photosScan(PhotosAuthorizationState::authorized, 12345);
    photos.photoCount = 11804;
    photos.videoCount = 541;
    photos.livePhotoCount = 2300;
    photos.favoriteCount = 1024;
    photos.screenshotCount = 77;
    photos.approximateResourceCount = 14650;
    photos.videoDurationSeconds = 3725;
    photos.oldestCreationDate = Date(1'262'304'000);
    photos.newestCreationDate = model.clock->now().addingSeconds(3 * 86400);
    model.storePhotosScan(photos);
    // A realistic mix: mostly local files, some cloud-only, a few waiting or uncertain.
    std::vector<ICloudFileState> states(1204, ICloudFileState::localCurrent);
    const std::pair<ICloudFileState, int> others[] = {
        {ICloudFileState::possibleSyncIssue, 2}, {ICloudFileState::waitingToUpload, 5},
        {ICloudFileState::waitingToDownload, 4}, {ICloudFileState::cloudOnly, 38},
        {ICloudFileState::unknown, 6},           {ICloudFileState::excluded, 12},
        {ICloudFileState::downloaded, 140},
    };
    std::size_t next = 3;
    for (const auto& [state, count] : others) {
        for (int i = 0; i < count; ++i, next += 11) states[next % states.size()] = state;
    }
    model.storeICloudScan(testing::UiTestModel::fileResults(1204, states));
}

TEST(ScreenshotTest, WritesTheDashboardAndSafetyScreens) {
    testing::UiTestModel model;
    MainWindow window(*model, std::make_shared<testing::FakeFileChooser>());
    window.resize(1120, 740);
    window.show();
    settle();

    shoot(window, AppSection::dashboard, "dashboard-fresh.png", "dashboard-fresh-full.png");
    shoot(window, AppSection::iCloudDriveSafety, "icloud-drive-safety-fresh.png",
          "icloud-drive-safety-fresh-full.png");
    shoot(window, AppSection::photosSafety, "photos-safety-fresh.png",
          "photos-safety-fresh-full.png");

    seedScannedState(model);
    shoot(window, AppSection::dashboard, "dashboard-scanned.png", "dashboard-scanned-full.png");
    shoot(window, AppSection::iCloudDriveSafety, "icloud-drive-safety.png",
          "icloud-drive-safety-full.png");
    shoot(window, AppSection::photosSafety, "photos-safety.png", "photos-safety-full.png");

    // The smallest window the content allows.
    window.resize(window.minimumSizeHint());
    settle();
    const QSize smallest = window.size();
    EXPECT_LE(smallest.width(), 960);
    shoot(window, AppSection::dashboard, "dashboard-smallest.png", "dashboard-smallest-full.png",
          smallest);
    shoot(window, AppSection::iCloudDriveSafety, "icloud-drive-safety-smallest.png",
          "icloud-drive-safety-smallest-full.png", smallest);
    shoot(window, AppSection::photosSafety, "photos-safety-smallest.png",
          "photos-safety-smallest-full.png", smallest);

    window.resize(1120, 740);
    window.rootView()->setSidebarVisible(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.rootView()->sidebar()->isVisible(); }, 3000));
    shoot(window, AppSection::dashboard, "dashboard-no-sidebar.png",
          "dashboard-no-sidebar-full.png");
}

}  // namespace
}  // namespace tallowmere
