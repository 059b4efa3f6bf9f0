#include <gtest/gtest.h>

#include <QProgressBar>
#include <QTest>

#include "core/photos/PhotoLibrary.h"

#include "tests/support/StoredStateFixtures.h"
#include "tests/ui/UiTestModel.h"
#include "ui/components/ElidedLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMBadge.h"
#include "ui/components/TMButton.h"
#include "ui/screens/safety/ICloudDriveSafetyView.h"
#include "ui/screens/safety/ICloudFileResultsList.h"
#include "ui/screens/safety/PhotosSafetyView.h"

namespace tallowmere {
namespace {

using testing::child;
using testing::settle;
using testing::shownText;
using testing::shownWidgets;

struct MetricTexts {
    const char* name;
    QString value;
    QString detail;
};

void expectMetrics(const QWidget& view, const std::vector<MetricTexts>& metrics) {
    for (const MetricTexts& metric : metrics) {
        SCOPED_TRACE(metric.name);
        auto* tile = child<QWidget>(view, metric.name);
        ASSERT_NE(tile, nullptr);
        EXPECT_EQ(shownText(*tile, "metricValue"), metric.value);
        EXPECT_EQ(shownText(*tile, "metricDetail"), metric.detail);
    }
}

class ICloudDriveSafetyViewTest : public testing::ScreenTest<ICloudDriveSafetyView> {};

TEST_F(ICloudDriveSafetyViewTest, BeforeAnyScanEverythingIsZero) {
    ICloudDriveSafetyView& view = show();
    expectMetrics(
        view, {
                  {"metricScannedFiles", "0", "Tallowmere did not modify your files."},
                  {"metricLocalFiles", "0", "These files appear local."},
                  {"metricCloudOnlyFiles", "0", "These files may only exist in iCloud."},
                  {"metricWaitingItems", "0", "These items may be waiting to upload or download."},
              });
    EXPECT_FALSE(child<QWidget>(view, "cloudOnlyPanel")->isVisibleTo(&view));
    EXPECT_FALSE(child<QWidget>(view, "scanningPanel")->isVisibleTo(&view));
    EXPECT_EQ(shownText(view, "fileResultsEmpty"),
              "Run a scan to see file-level iCloud Drive results.");
    EXPECT_FALSE(child<QWidget>(view, "fileResultsList")->isVisibleTo(&view));
    EXPECT_EQ(shownText(view, "scanRootsEmpty"),
              "No iCloud Drive folders are selected. Add a folder to start a read-only scan.");
    auto* run = child<TMButton>(view, "runScanButton");
    EXPECT_EQ(run->text(), "Run scan");
    EXPECT_TRUE(run->isEnabled());
}

TEST_F(ICloudDriveSafetyViewTest, ScannedStateShowsCountsPanelAndTheNewestHundredRows) {
    ICloudDriveSafetyView& view = show();
    // 1,204 rows: per five, two local, one downloaded, one cloud-only, one waiting to upload.
    m_model.storeICloudScan(testing::UiTestModel::fileResults(
        1204,
        {ICloudFileState::localCurrent, ICloudFileState::cloudOnly, ICloudFileState::downloaded,
         ICloudFileState::localCurrent, ICloudFileState::waitingToUpload}));
    settle();

    expectMetrics(
        view,
        {
            {"metricScannedFiles", "1,204", "Tallowmere did not modify your files."},
            {"metricLocalFiles", "723", "These files appear local."},
            {"metricCloudOnlyFiles", "241", "These files may only exist in iCloud."},
            {"metricWaitingItems", "240", "These items may be waiting to upload or download."},
        });
    auto* cloudOnly = child<QWidget>(view, "cloudOnlyPanel");
    EXPECT_TRUE(cloudOnly->isVisibleTo(&view));
    EXPECT_EQ(shownText(*cloudOnly, "cloudOnlyHeading"),
              "Cloud-only files need a local copy before backup.");
    EXPECT_EQ(shownText(*cloudOnly, "cloudOnlyCaption"),
              "Tallowmere does not force downloads or change your files.");

    EXPECT_FALSE(child<QLabel>(view, "fileResultsEmpty")->isVisibleTo(&view));
    auto* list = child<ICloudFileResultsList>(view, "fileResultsList");
    ASSERT_TRUE(list->isVisibleTo(&view));
    const auto& results = m_model->iCloudFileResults();
    ASSERT_EQ(results.size(), 100u);
    const QAbstractItemModel* rows = list->model();
    ASSERT_EQ(rows->rowCount(), 100);
    for (const int i : {0, 1, 57, 99}) {
        SCOPED_TRACE(i);
        const QModelIndex index = rows->index(i, 0);
        const auto& result = results[static_cast<std::size_t>(i)];
        EXPECT_EQ(index.data(Qt::DisplayRole).toString().toStdString(), result.displayName);
        EXPECT_EQ(index.data(ICloudFileResultsModel::PathRole).toString().toStdString(),
                  result.path);
        EXPECT_EQ(index.data(ICloudFileResultsModel::ReasonRole).toString().toStdString(),
                  result.reason);
        EXPECT_EQ(index.data(ICloudFileResultsModel::StateTextRole).toString().toStdString(),
                  displayName(result.state));
    }
    // The list is as tall as its rows: the screen scrolls, not the list.
    EXPECT_EQ(list->height(), 100 * list->sizeHintForRow(0));
}

TEST_F(ICloudDriveSafetyViewTest, ACancelledScanOnlyChangesTheScannedFilesDetail) {
    ICloudDriveSafetyView& view = show();
    m_model.storeICloudScan(testing::UiTestModel::fileResults(3, {ICloudFileState::localCurrent}),
                            ScanRunStatus::cancelled);
    settle();
    expectMetrics(view, {
                            {"metricScannedFiles", "3", "Last scan was incomplete."},
                            {"metricLocalFiles", "3", "These files appear local."},
                        });
    EXPECT_FALSE(child<QWidget>(view, "cloudOnlyPanel")->isVisibleTo(&view));
}

TEST_F(ICloudDriveSafetyViewTest, ScanFoldersAreListedOncePerFolderAndRemovedByTheFirst) {
    // The same folder twice: once detected with a trailing separator, once added.
    m_model.upsertDetectedRoot("/home/tester/Desktop/", "Desktop", ICloudScanRootKind::desktop);
    m_model.addUserRoot("/home/tester/Desktop");
    m_model.addUserRoot("/home/tester/Projects");
    ASSERT_EQ(m_model->iCloudScanRoots().size(), 3u);
    const ICloudScanRoot first = m_model->iCloudScanRoots().front();
    ASSERT_TRUE(first.isDetected);

    ICloudDriveSafetyView& view = show();
    const auto rows = shownWidgets(view, QStringLiteral("scanRootRow"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_FALSE(child<QLabel>(view, "scanRootsEmpty")->isVisibleTo(&view));
    EXPECT_EQ(shownText(*rows[0], "rootName"), "Local Desktop");
    EXPECT_EQ(shownText(*rows[0], "rootDetail"), "Local folder");
    EXPECT_EQ(child<ElidedLabel>(*rows[0], "rootPath")->text(), "/home/tester/Desktop/");
    EXPECT_EQ(child<SymbolView>(*rows[0], "rootSymbol")->symbolName(), "icloud");
    EXPECT_EQ(shownText(*rows[1], "rootName"), "Projects");
    EXPECT_EQ(shownText(*rows[1], "rootDetail"), "Added folder");
    EXPECT_EQ(child<SymbolView>(*rows[1], "rootSymbol")->symbolName(), "folder");
    auto* remove = child<TMButton>(*rows[0], "removeRootButton");
    EXPECT_EQ(remove->toolTip(), "Remove from Tallowmere scan list");

    QTest::mouseClick(remove, Qt::LeftButton);
    settle();
    const auto& roots = m_model->iCloudScanRoots();
    EXPECT_TRUE(std::none_of(roots.begin(), roots.end(),
                             [&first](const ICloudScanRoot& r) { return r.id == first.id; }));
    EXPECT_EQ(m_model->statusMessage(),
              "Removed Desktop from scan roots. Files were not modified.");
    // The added root with the same folder is what remains of it.
    const auto after = shownWidgets(view, QStringLiteral("scanRootRow"));
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(shownText(*after[0], "rootName"), "Desktop");
    EXPECT_EQ(shownText(*after[0], "rootDetail"), "Added folder");
}

TEST_F(ICloudDriveSafetyViewTest, AddFolderAsksForAFolderAndAddsTheChosenOne) {
    ICloudDriveSafetyView& view = show();
    auto* add = child<TMButton>(view, "addFolderButton");
    EXPECT_EQ(add->text(), "Add folder");

    m_chooser->answer = std::nullopt;
    QTest::mouseClick(add, Qt::LeftButton);
    settle();
    EXPECT_TRUE(m_model->iCloudScanRoots().empty()) << "cancelling adds nothing";

    m_chooser->answer = "/home/tester/Music/../Photo Exports";
    QTest::mouseClick(add, Qt::LeftButton);
    settle();
    ASSERT_EQ(m_chooser->requests.size(), 2u);
    const OpenPanelRequest& request = m_chooser->requests.back();
    EXPECT_EQ(request.title, "Choose a Folder to Scan");
    EXPECT_EQ(request.prompt, "Add Folder");
    EXPECT_TRUE(request.canChooseDirectories);
    EXPECT_FALSE(request.canChooseFiles);
    EXPECT_FALSE(request.canCreateDirectories);

    ASSERT_EQ(m_model->iCloudScanRoots().size(), 1u);
    EXPECT_EQ(m_model->iCloudScanRoots()[0].path, "/home/tester/Photo Exports");
    EXPECT_EQ(m_model->statusMessage(), "Added Photo Exports to scan roots.");
    const auto rows = shownWidgets(view, QStringLiteral("scanRootRow"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(shownText(*rows[0], "rootName"), "Photo Exports");
}

TEST_F(ICloudDriveSafetyViewTest, WhileAScanRunsItsProgressShowsAndCancelStopsIt) {
    testing::Gate gate;
    m_model.addScannableFolder("/home/tester/Documents", 80, &gate, 60);
    ICloudDriveSafetyView& view = show();
    auto* run = child<TMButton>(view, "runScanButton");
    auto* panel = child<QWidget>(view, "scanningPanel");

    QTest::mouseClick(run, Qt::LeftButton);
    ASSERT_TRUE(m_model->isScanning());
    // The scanner reports the root, then every 50 rows; it waits before the 60th file.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return gate.reached() && m_model->scanProgress().scannedItemCount >= 50; }, 20000));
    settle();
    EXPECT_EQ(run->text(), "Scanning");
    EXPECT_FALSE(run->isEnabled());
    ASSERT_TRUE(panel->isVisibleTo(&view));
    EXPECT_EQ(shownText(*panel, "scanningHeading"), "Scanning iCloud Drive");
    EXPECT_EQ(shownText(*panel, "scanningDetail"), "Documents");
    std::vector<QString> counts;
    for (QWidget* cell : shownWidgets(*panel, QStringLiteral("progressCount"))) {
        counts.push_back(shownText(*cell, "progressCountLabel") + QLatin1Char('=') +
                         shownText(*cell, "progressCountValue"));
    }
    const auto& progress = m_model->scanProgress();
    EXPECT_EQ(counts,
              (std::vector<QString>{QStringLiteral("Scanned=%1").arg(progress.scannedItemCount),
                                    QStringLiteral("Local=%1").arg(progress.localAvailableCount),
                                    QStringLiteral("Cloud-only=0"), QStringLiteral("Unknown=0")}));

    EXPECT_TRUE(testing::saveScreenshot(view, "icloud-drive-safety-scanning.png"));

    QTest::mouseClick(child<TMButton>(*panel, "cancelScanButton"), Qt::LeftButton);
    EXPECT_EQ(m_model->statusMessage(), "Cancelling scan...");
    gate.open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_model->isScanning(); }, 20000));
    settle();
    EXPECT_EQ(m_model->statusMessage(), "Scan cancelled. Tallowmere did not modify your files.");
    EXPECT_FALSE(panel->isVisibleTo(&view));
    EXPECT_EQ(run->text(), "Run scan");
    EXPECT_TRUE(run->isEnabled());
    auto* scanned = child<QWidget>(view, "metricScannedFiles");
    EXPECT_EQ(shownText(*scanned, "metricDetail"), "Last scan was incomplete.");
    EXPECT_LT(m_model->iCloudSummary()->scannedItemCount, 80);
}

TEST_F(ICloudDriveSafetyViewTest, RunScanFillsTheScreen) {
    m_model.addScannableFolder("/home/tester/Documents", 12);
    ICloudDriveSafetyView& view = show();
    QTest::mouseClick(child<TMButton>(view, "runScanButton"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_model->isScanning(); }, 20000));
    settle();
    EXPECT_EQ(m_model->statusMessage(), "Scan finished. Tallowmere did not modify your files.");
    expectMetrics(view, {
                            {"metricScannedFiles", "12", "Tallowmere did not modify your files."},
                            {"metricLocalFiles", "12", "These files appear local."},
                        });
    EXPECT_EQ(child<ICloudFileResultsList>(view, "fileResultsList")->model()->rowCount(), 12);
}

class PhotosSafetyViewTest : public testing::ScreenTest<PhotosSafetyView> {
protected:
    QString detail(const char* row) const {
        return shownText(*child<QWidget>(*m_view, row), "detailValue");
    }
};

TEST_F(PhotosSafetyViewTest, WithoutASummaryEverythingIsUnknown) {
    PhotosSafetyView& view = show();
    expectMetrics(view,
                  {
                      {"metricAuthorization", "Not scanned", "Run Photos scan to request access."},
                      {"metricLibraryItems", "Unknown", "Photos metadata only."},
                      {"metricPhotosVideos", "0 / 0", "Live Photos: 0."},
                      {"metricLibraryPackage", "Unknown", "Default library has not been checked."},
                  });
    EXPECT_FALSE(child<QWidget>(view, "photosScanningPanel")->isVisibleTo(&view));
    EXPECT_EQ(shownText(*child<QWidget>(view, "photosStatusPill"), "pillText"),
              "Unknown / cannot verify");
    EXPECT_EQ(shownText(view, "photosStatusMessage"), "Photos safety has not been scanned yet.");
    EXPECT_EQ(detail("detailSelectedPackage"), "Default Photos library location");
    EXPECT_EQ(detail("detailDetectedPackage"), "Not detected");
    EXPECT_EQ(detail("detailPackageSize"), "Unknown");
    EXPECT_EQ(detail("detailDateRange"), "Unknown");
    EXPECT_FALSE(child<QWidget>(view, "dateRangeNote")->isVisibleTo(&view));
    EXPECT_EQ(detail("detailFavorites"), "0");
    EXPECT_EQ(detail("detailResources"), "Unknown");
    EXPECT_EQ(detail("detailVideoDuration"), "0m");
    auto* scan = child<TMButton>(view, "scanPhotosButton");
    EXPECT_EQ(scan->text(), "Scan Photos");
    EXPECT_TRUE(scan->isEnabled());
}

TEST_F(PhotosSafetyViewTest, ScannedLibraryShowsCountsSizesAndTheFutureDateNote) {
    PhotosSafetyView& view = show();
    PhotosScanSummary summary = testing::photosScan(PhotosAuthorizationState::authorized, 12345);
    summary.photoCount = 11804;
    summary.videoCount = 541;
    summary.livePhotoCount = 2300;
    summary.favoriteCount = 1024;
    summary.screenshotCount = 77;
    summary.hiddenCount = 3;
    summary.approximateResourceCount = 14650;
    summary.videoDurationSeconds = 3725.8;
    summary.oldestCreationDate = Date(1'262'304'000);  // 2010
    // A camera with a wrong clock: two days ahead.
    summary.newestCreationDate = m_model.clock->now().addingSeconds(2 * 86400);
    m_model.storePhotosScan(summary);
    settle();

    const Formatting& formatting = m_model->formatting();
    expectMetrics(view,
                  {
                      {"metricAuthorization", "Authorized", "Tallowmere can read Photos metadata."},
                      {"metricLibraryItems", "12,345", "Photos metadata only."},
                      {"metricPhotosVideos", "11804 / 541", "Live Photos: 2,300."},
                      {"metricLibraryPackage",
                       QString::fromStdString(formatting.byteCount(12'345'678'901)), "Pictures"},
                  });
    EXPECT_EQ(detail("detailDetectedPackage"), "/home/alex/Pictures");
    EXPECT_EQ(detail("detailPackageSize").toStdString(), formatting.byteCount(12'345'678'901));
    EXPECT_EQ(detail("detailFavorites"), "1,024");
    EXPECT_EQ(detail("detailScreenshots"), "77");
    EXPECT_EQ(detail("detailHiddenItems"), "3");
    EXPECT_EQ(detail("detailResources"), "14,650");
    EXPECT_EQ(detail("detailVideoDuration"), "1h 2m");
    auto* note = child<QWidget>(view, "dateRangeNote");
    EXPECT_TRUE(note->isVisibleTo(&view));
    const std::string newest = formatting.dateTime(*summary.newestCreationDate);
    EXPECT_TRUE(shownText(*note, "dateRangeNoteText").contains(QString::fromStdString(newest)));
    EXPECT_EQ(detail("detailDateRange").toStdString(),
              "Oldest: " + formatting.dateTime(Date(1'262'304'000)));

    // The status comes from the Photos finding of the dashboard.
    const auto& findings = m_model->dashboardSnapshot().findings;
    const auto photos = std::find_if(findings.begin(), findings.end(), [](const SafetyFinding& f) {
        return f.domain == SafetyDomain::photos;
    });
    ASSERT_NE(photos, findings.end());
    EXPECT_EQ(shownText(*child<QWidget>(view, "photosStatusPill"), "pillText").toStdString(),
              displayName(photos->state));
    EXPECT_EQ(shownText(view, "photosStatusMessage").toStdString(), photos->message);
}

TEST_F(PhotosSafetyViewTest, AccessDeniedAsksForAccess) {
    PhotosSafetyView& view = show();
    m_model.storePhotosScan(testing::photosScan(PhotosAuthorizationState::denied));
    settle();
    expectMetrics(
        view,
        {
            {"metricAuthorization", "Access denied", "Photos access is needed for this scan."},
            {"metricLibraryPackage", "Not found", "A local Photos library package was not found."},
        });
}

TEST_F(PhotosSafetyViewTest, ChooseLibraryAsksAndRemembersTheChoice) {
    PhotosSafetyView& view = show();
    auto* choose = child<TMButton>(view, "chooseLibraryButton");
    EXPECT_EQ(choose->text(), "Choose Library");

    m_chooser->answer = std::nullopt;
    QTest::mouseClick(choose, Qt::LeftButton);
    settle();
    EXPECT_FALSE(m_model->selectedPhotosLibraryPath().has_value()) << "cancelling does nothing";

    m_chooser->answer = "/home/tester/Pictures/Family/";
    QTest::mouseClick(choose, Qt::LeftButton);
    settle();
    ASSERT_EQ(m_chooser->requests.size(), 2u);
    EXPECT_EQ(m_chooser->requests.back().title, "Choose Photos Library");
    EXPECT_EQ(m_chooser->requests.back().prompt, "Choose");
    EXPECT_FALSE(m_chooser->requests.back().canCreateDirectories);
    EXPECT_EQ(m_model->selectedPhotosLibraryPath(), "/home/tester/Pictures/Family");
    EXPECT_EQ(detail("detailSelectedPackage"), "/home/tester/Pictures/Family");
    EXPECT_EQ(m_model->statusMessage(), "Selected Family for Photos safety scans.");
}

TEST_F(PhotosSafetyViewTest, WhileAScanRunsTheButtonWaitsAndTheProgressShows) {
    testing::Gate gate;
    PhotoAssetMetadata photo;
    photo.mediaType = PhotoMediaType::image;
    photo.resourceCount = 1;
    m_model.photoLibrary->setGeneratedAssets(1500, [&gate, photo](std::int64_t index) {
        if (index == 600)
            gate.pass();
        return photo;
    });
    PhotosSafetyView& view = show();
    auto* scan = child<TMButton>(view, "scanPhotosButton");
    auto* panel = child<QWidget>(view, "photosScanningPanel");
    auto* bar = child<QProgressBar>(view, "photosProgressBar");

    QTest::mouseClick(scan, Qt::LeftButton);
    ASSERT_TRUE(m_model->isScanningPhotos());
    // Before the scanner has counted anything the total is 0, drawn against 1.
    view.redraw();
    EXPECT_TRUE(panel->isVisibleTo(&view));
    EXPECT_EQ(bar->maximum(), 1);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(shownText(*panel, "scanningStage"), "Starting Photos safety scan...");
    EXPECT_EQ(scan->text(), "Scanning");
    EXPECT_FALSE(scan->isEnabled());

    // The scanner reports the first asset and the 500th, then waits at the 600th.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return gate.reached() && m_model->photosProgress().scannedAssetCount >= 500; },
        20000));
    settle();
    const auto& progress = m_model->photosProgress();
    EXPECT_EQ(bar->maximum(), 1500);
    EXPECT_EQ(bar->value(), progress.scannedAssetCount);
    EXPECT_EQ(shownText(*panel, "scanningStage").toStdString(),
              progress.currentStage.value_or(progress.message));
    EXPECT_EQ(shownText(*panel, "progressMessage").toStdString(), progress.message);
    EXPECT_EQ(scan->text(), "Scanning");
    EXPECT_TRUE(testing::saveScreenshot(view, "photos-safety-scanning.png"));

    gate.open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_model->isScanningPhotos(); }, 20000));
    settle();
    EXPECT_FALSE(panel->isVisibleTo(&view));
    EXPECT_EQ(scan->text(), "Scan Photos");
    EXPECT_TRUE(scan->isEnabled());
    expectMetrics(view, {{"metricLibraryItems", "1,500", "Photos metadata only."}});
}

}  // namespace
}  // namespace tallowmere
