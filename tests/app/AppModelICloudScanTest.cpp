#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/AppModel.h"
#include "persistence/ICloudScanRepository.h"
#include "persistence/ScanRepository.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/FakeBookmarks.h"
#include "tests/support/InMemoryFileSystem.h"
#include "tests/support/JsonPrinting.h"
#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using testing::waitUntil;

constexpr const char* kFinished = "Scan finished. Tallowmere did not modify your files.";
constexpr const char* kCancelled = "Scan cancelled. Tallowmere did not modify your files.";
constexpr const char* kFailed = "Tallowmere could not finish the safety scan.";

void writeFile(const fs::path& path, const std::string& contents) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

// A home folder on this machine's disk with a folder of documents added to the scan.
class AppModelICloudScanTest : public ::testing::Test {
protected:
    testing::TemporaryDirectory temp;
    const fs::path home = temp / "home";
    const fs::path projects = home / "Projects";
    testing::TestEnvironment test;

    void SetUp() override {
        for (int i = 0; i < 120; ++i)
            writeFile(projects / ("draft-" + std::to_string(i) + ".txt"), "text");
        writeFile(projects / ".hidden", "x");
        test.fileSystem = testing::linuxFileSystemWith(home.string(), (temp / "data").string());
    }

    void finish(QFuture<void> future) {
        ASSERT_TRUE(waitUntil([&] { return future.isFinished(); }));
        test.clock->advance(1);
    }
};

TEST_F(AppModelICloudScanTest, AScanIsStoredReportedAndPublished) {
    AppModel model(test.make());
    model.addScanRoot(projects.string());
    std::vector<std::string> statuses;
    QObject::connect(&model, &AppModel::statusMessageChanged,
                     [&] { statuses.push_back(model.statusMessage()); });
    std::vector<std::int64_t> counts;
    QObject::connect(&model, &AppModel::scanProgressChanged,
                     [&] { counts.push_back(model.scanProgress().scannedItemCount); });

    auto scan = model.runScan(ScanTrigger::manual);
    EXPECT_TRUE(model.isScanning());
    EXPECT_EQ(model.statusMessage(), "Starting iCloud Drive scan...");
    EXPECT_TRUE(model.scanProgress().isRunning);
    EXPECT_EQ(model.scanProgress().message, "Starting iCloud Drive scan...");
    // A second scan does not start while one runs.
    EXPECT_TRUE(model.runScan(ScanTrigger::manual).isFinished());
    finish(scan);

    EXPECT_FALSE(model.isScanning());
    EXPECT_EQ(model.statusMessage(), kFinished);
    EXPECT_EQ(testing::rowCount(*test.database, "scan_runs"), 1);
    EXPECT_EQ(testing::rowCount(*test.database, "icloud_file_results"), 121);
    ASSERT_TRUE(model.iCloudSummary());
    EXPECT_EQ(model.iCloudSummary()->scannedItemCount, 121);
    EXPECT_EQ(model.iCloudSummary()->localCurrentCount, 120);
    EXPECT_EQ(model.iCloudSummary()->excludedCount, 1);
    EXPECT_EQ(model.iCloudFileResults().size(), 100u);
    ASSERT_EQ(model.reports().size(), 1u);
    EXPECT_EQ(model.reports()[0].protectedFilesCount, 120);
    EXPECT_FALSE(model.scanProgress().isRunning);
    EXPECT_EQ(model.scanProgress().scannedItemCount, 121);
    EXPECT_EQ(model.scanProgress().message, kFinished);
    EXPECT_TRUE(model.iCloudScanRoots().at(0).lastScannedAt);

    // Every change of the status line was announced, the final sentence last, and each
    // progress snapshot reached the published progress in order.
    EXPECT_EQ(statuses, (std::vector<std::string>{"Starting iCloud Drive scan...",
                                                  "Scanning iCloud Drive metadata...", kFinished}));
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
    EXPECT_NE(std::find(counts.begin(), counts.end(), 50), counts.end());
    EXPECT_NE(std::find(counts.begin(), counts.end(), 100), counts.end());
    EXPECT_EQ(counts.back(), 121);

    const auto& dashboard = model.dashboardSnapshot();
    EXPECT_EQ(dashboard.overallState, SafetyState::backupStale);
    EXPECT_EQ(dashboard.safetyScore, 58);
    EXPECT_TRUE(dashboard.lastScanAt);
    EXPECT_FALSE(model.reportCards().empty());

    ASSERT_EQ(model.activityEvents().size(), 2u);
    const auto& event = model.activityEvents()[0];
    EXPECT_EQ(event.kind, ActivityEventKind::iCloudScan);
    EXPECT_EQ(event.title, "iCloud scan finished");
    EXPECT_EQ(event.message, kFinished);
    EXPECT_EQ(event.severity, SafetyState::backupStale);
    EXPECT_EQ(event.localActionTarget, "iCloudDriveSafety");
}

TEST_F(AppModelICloudScanTest, AReportThatCannotBeStoredFailsTheScanButKeepsTheRun) {
    AppModel model(test.make());
    finish(model.startupDestinationCheck());
    model.addScanRoot(projects.string());
    testing::failWritesTo(*test.database, "reports");
    finish(model.runScan(ScanTrigger::manual));

    EXPECT_EQ(model.statusMessage(), kFailed);
    EXPECT_FALSE(model.isScanning());
    EXPECT_FALSE(model.scanProgress().isRunning);
    EXPECT_EQ(model.scanProgress().message, kFailed);
    EXPECT_EQ(model.scanProgress().scannedItemCount, 0);
    const auto& event = model.activityEvents().at(0);
    EXPECT_EQ(event.title, "iCloud scan failed");
    EXPECT_EQ(event.message, kFailed);
    EXPECT_EQ(event.severity, SafetyState::needsAttention);

    // The run and its rows stay stored; no refresh happened, the next one shows them.
    EXPECT_EQ(testing::rowCount(*test.database, "scan_runs"), 1);
    EXPECT_EQ(testing::rowCount(*test.database, "icloud_file_results"), 121);
    EXPECT_EQ(testing::rowCount(*test.database, "reports"), 0);
    EXPECT_FALSE(model.iCloudSummary());
    model.refreshFromStore();
    ASSERT_TRUE(model.iCloudSummary());
    EXPECT_EQ(model.iCloudSummary()->scannedItemCount, 121);
}

TEST_F(AppModelICloudScanTest, RemovedRootsAreNotScanned) {
    AppModel model(test.make());
    model.addScanRoot(projects.string());
    model.removeScanRoot(model.iCloudScanRoots().at(0));
    finish(model.runScan(ScanTrigger::manual));
    EXPECT_EQ(model.iCloudSummary()->scannedItemCount, 0);
    EXPECT_EQ(model.statusMessage(), kFinished);
    EXPECT_EQ(model.dashboardSnapshot().findings.at(0).title, "Create first second copy");
}

TEST(AppModelICloudScanCancelTest, ACancelledScanIsStoredAsCancelled) {
    testing::TestEnvironment test;
    auto fileSystem = std::make_shared<testing::InMemoryFileSystem>();
    for (int i = 0; i < 10; ++i) fileSystem->addFile("/home/tester/Work/file-" + std::to_string(i));
    testing::Gate gate;
    fileSystem->setEnumerationHook([&](const std::string& path) {
        if (path == "/home/tester/Work/file-5")
            gate.pass();
    });
    test.fileSystem = fileSystem;
    AppModel model(test.make());
    model.cancelScan();  // nothing runs: nothing happens
    EXPECT_EQ(model.statusMessage(), "Ready");
    model.addScanRoot("/home/tester/Work");

    auto scan = model.runScan(ScanTrigger::manual);
    ASSERT_TRUE(waitUntil([&] { return gate.reached(); }));
    model.cancelScan();
    EXPECT_EQ(model.statusMessage(), "Cancelling scan...");
    gate.open();
    ASSERT_TRUE(waitUntil([&] { return scan.isFinished(); }));

    EXPECT_EQ(model.statusMessage(), kCancelled);
    ASSERT_TRUE(model.iCloudSummary());
    EXPECT_EQ(model.iCloudSummary()->status, ScanRunStatus::cancelled);
    EXPECT_LT(model.iCloudSummary()->scannedItemCount, 10);
    EXPECT_EQ(model.reports().size(), 1u);
    const auto& event = model.activityEvents().at(0);
    EXPECT_EQ(event.title, "iCloud scan cancelled");
    EXPECT_EQ(event.message, kCancelled);
    EXPECT_EQ(event.severity, SafetyState::backupStale);
    // Nothing was changed on the way.
    EXPECT_TRUE(fileSystem->changes().empty());
}

TEST(AppModelICloudScanBookmarkTest, AnAddedFolderIsFoundAgainThroughItsBookmark) {
    testing::TestEnvironment test;
    auto fileSystem = std::make_shared<testing::InMemoryFileSystem>();
    fileSystem->addFile("/media/usb/Photos/one.jpg");
    fileSystem->addFile("/media/usb/Photos/two.jpg");
    auto bookmarks = std::make_shared<testing::FakeBookmarks>();
    // The drive was mounted somewhere else when the folder was added.
    bookmarks->setResolution(testing::FakeBookmarks::bookmarkOf("/media/old/Photos"),
                             ResolvedBookmark{"/media/usb/Photos", true});
    test.fileSystem = fileSystem;
    test.bookmarks = bookmarks;
    AppModel model(test.make());
    model.addScanRoot("/media/old/Photos");
    EXPECT_EQ(model.iCloudScanRoots().at(0).bookmarkData,
              testing::FakeBookmarks::bookmarkOf("/media/old/Photos"));

    auto scan = model.runScan(ScanTrigger::manual);
    ASSERT_TRUE(waitUntil([&] { return scan.isFinished(); }));
    EXPECT_EQ(model.iCloudSummary()->localCurrentCount, 2);
}

}  // namespace
}  // namespace tallowmere
