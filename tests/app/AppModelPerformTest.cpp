#include <gtest/gtest.h>

#include <QCoreApplication>

#include "app/AppModel.h"
#include "persistence/ScanRepository.h"
#include "tests/app/AppTestSupport.h"

namespace tallowmere {
namespace {

using testing::TestEnvironment;
using testing::waitUntil;

NextBestAction actionOf(NextBestActionKind kind, std::string title = "Title") {
    return NextBestAction(kind, std::move(title), "Detail.", "Go", "symbol", 50, true);
}

TEST(AppModelPerformTest, GuidanceActionsOnlySayWhereToContinue) {
    const std::vector<std::pair<NextBestActionKind, std::string>> cases = {
        {NextBestActionKind::downloadCloudOnlyFiles,
         "Open iCloud Drive Safety to review cloud-only files. Tallowmere will not force "
         "downloads."},
        {NextBestActionKind::chooseExternalDrive,
         "Open Backup Destination to continue: Choose an external drive"},
        {NextBestActionKind::prepareBackup,
         "Open Backup Destination to continue: Choose an external drive"},
        {NextBestActionKind::startCopy,
         "Open Backup Destination to continue: Choose an external drive"},
    };
    for (const auto& [kind, message] : cases) {
        SCOPED_TRACE(std::string(rawValue(kind)));
        TestEnvironment test;
        AppModel model(test.make());
        const auto actions = model.nextBestActions();
        model.perform(actionOf(kind, "Choose an external drive"));
        EXPECT_EQ(model.statusMessage(), message);
        // Anything queued by perform() runs now.
        QCoreApplication::processEvents();
        EXPECT_FALSE(model.isScanning() || model.isScanningPhotos() || model.isBackupRunning() ||
                     model.isVerificationRunning());
        EXPECT_EQ(model.nextBestActions(), actions);
        EXPECT_TRUE(model.activityEvents().empty());
        EXPECT_EQ(testing::rowCount(*test.database, "scan_runs"), 0);
    }
}

TEST(AppModelPerformTest, WorkflowActionsStartTheirWorkflowOnALaterTurn) {
    struct Case {
        NextBestActionKind kind;
        std::function<bool(const AppModel&)> running;
        const char* eventTitle;
    };
    const std::vector<Case> cases = {
        {NextBestActionKind::runICloudScan, [](const AppModel& m) { return m.isScanning(); },
         "iCloud scan finished"},
        {NextBestActionKind::scanPhotos, [](const AppModel& m) { return m.isScanningPhotos(); },
         "Photos safety scan finished"},
        {NextBestActionKind::quickVerify,
         [](const AppModel& m) { return m.isVerificationRunning(); },
         "Quick verification finished"},
        {NextBestActionKind::restoreTest,
         [](const AppModel& m) { return m.isVerificationRunning(); }, "Restore test finished"},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(std::string(rawValue(testCase.kind)));
        TestEnvironment test;
        AppModel model(test.make());
        model.perform(actionOf(testCase.kind));
        EXPECT_FALSE(testCase.running(model));
        ASSERT_TRUE(
            waitUntil([&] { return !model.activityEvents().empty() && !testCase.running(model); }));
        EXPECT_EQ(model.activityEvents().at(0).title, testCase.eventTitle);
    }

    TestEnvironment test;
    AppModel model(test.make());
    model.perform(actionOf(NextBestActionKind::runICloudScan));
    ASSERT_TRUE(waitUntil([&] { return !model.activityEvents().empty(); }));
    EXPECT_EQ(ScanRepository(test.database->queue()).fetchLatestScanRun()->trigger,
              ScanTrigger::manual);
}

}  // namespace
}  // namespace tallowmere
