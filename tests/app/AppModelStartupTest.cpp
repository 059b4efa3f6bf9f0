#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QSignalSpy>

#include "app/AppModel.h"
#include "persistence/ReportRepository.h"
#include "persistence/SettingsRepository.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {
namespace {

using testing::TemporaryDirectory;
using testing::TestEnvironment;

// An environment whose store is the Application Support database of a temporary data folder.
AppEnvironment applicationSupportEnvironment(const TemporaryDirectory& folder,
                                             TestEnvironment& test) {
    test.fileSystem =
        testing::linuxFileSystemWith((folder / "home").string(), (folder / "data").string());
    AppEnvironment environment = test.make();
    environment.openStore = nullptr;
    return environment;
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(AppModelStartupTest, FirstLaunchCreatesTheStoreAndPublishesTheDefaults) {
    TemporaryDirectory folder;
    const auto cloudDocs = folder / "home/Library/Mobile Documents/com~apple~CloudDocs";
    std::filesystem::create_directories(cloudDocs);
    TestEnvironment test;
    AppModel model(applicationSupportEnvironment(folder, test));

    // The detected default roots are stored and published.
    ASSERT_EQ(model.iCloudScanRoots().size(), 1u);
    EXPECT_EQ(model.iCloudScanRoots()[0].path, cloudDocs.string());
    EXPECT_EQ(model.iCloudScanRoots()[0].kind, ICloudScanRootKind::iCloudDrive);
    EXPECT_TRUE(model.iCloudScanRoots()[0].isDetected);

    const auto file = folder / "data/Tallowmere/Tallowmere.sqlite";
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
    EXPECT_TRUE(model.database()->tableNames().contains("activity_events"));
    EXPECT_FALSE(model.startupErrorMessage());
    EXPECT_EQ(model.statusMessage(), "Ready");

    const auto& dashboard = model.dashboardSnapshot();
    EXPECT_EQ(dashboard.safetyScore, 0);
    EXPECT_EQ(dashboard.overallState, SafetyState::unknown);
    EXPECT_EQ(dashboard.menuBarHealth, MenuBarHealth::paused);
    EXPECT_FALSE(dashboard.lastScanAt || dashboard.lastBackupAt || dashboard.lastVerificationAt);
    ASSERT_EQ(dashboard.findings.size(), 1u);
    EXPECT_EQ(dashboard.findings[0].domain, SafetyDomain::photos);
    EXPECT_TRUE(model.reportCards().empty());
    ASSERT_FALSE(model.nextBestActions().empty());
    EXPECT_EQ(model.nextBestActions()[0].kind, NextBestActionKind::runICloudScan);
    EXPECT_TRUE(model.nextBestActions()[0].isPrimary);

    EXPECT_EQ(model.backupSnapshot().status, BackupJobStatus::notStarted);
    EXPECT_EQ(model.backupSnapshot().message, "No backup has been prepared yet.");
    EXPECT_FALSE(model.backupDestination());
    EXPECT_EQ(model.verificationSnapshot().status, VerificationStatus::notRun);
    EXPECT_EQ(model.verificationSnapshot().mode, VerificationMode::quick);
    EXPECT_EQ(model.verificationSnapshot().message, "No verification has been run yet.");
    EXPECT_EQ(model.verificationSnapshot().startedAt, test.clock->now());
    EXPECT_EQ(model.restoreTestSnapshot().mode, VerificationMode::restoreTest);
    EXPECT_EQ(model.restoreTestSnapshot().message, "No restore test has been run yet.");
    EXPECT_EQ(model.backupProgress(), BackupProgressSnapshot::idle());
    EXPECT_EQ(model.verificationProgress(), VerificationProgressSnapshot::idle());
    EXPECT_EQ(model.scanProgress(), ScanProgressSnapshot::idle());
    EXPECT_EQ(model.photosProgress(), PhotosScanProgressSnapshot::idle());
    EXPECT_FALSE(model.isScanning() || model.isScanningPhotos() || model.isBackupRunning() ||
                 model.isVerificationRunning());
    EXPECT_FALSE(model.iCloudSummary());
    EXPECT_FALSE(model.photosSummary());
    EXPECT_FALSE(model.selectedPhotosLibraryPath());
    EXPECT_TRUE(model.reports().empty());
    EXPECT_TRUE(model.activityEvents().empty());
    EXPECT_FALSE(model.hasCompletedOnboarding());
    EXPECT_TRUE(model.localReminderBackupCompleted());
    EXPECT_TRUE(model.localReminderDriveMissing());
    EXPECT_EQ(model.backupStaleReminderDays(), 7);
    EXPECT_FALSE(model.allowLocalBackupTestDestination());
    // Defaults are not written until a setter runs.
    EXPECT_EQ(testing::rowCount(*model.database(), "settings"), 0);
}

TEST(AppModelStartupTest, WhatWasStoredIsPublishedAtTheNextLaunch) {
    TemporaryDirectory folder;
    {
        TestEnvironment test;
        AppModel model(applicationSupportEnvironment(folder, test));
        model.completeOnboarding();
        model.setBackupStaleReminderDays(12);
        model.addScanRoot((folder / "home/Projects").string());
    }
    TestEnvironment test;
    AppModel model(applicationSupportEnvironment(folder, test));
    EXPECT_TRUE(model.hasCompletedOnboarding());
    EXPECT_EQ(model.backupStaleReminderDays(), 12);
    ASSERT_EQ(model.iCloudScanRoots().size(), 1u);
    EXPECT_EQ(model.iCloudScanRoots()[0].displayName, "Projects");
    ASSERT_EQ(model.activityEvents().size(), 1u);
    EXPECT_EQ(model.activityEvents()[0].title, "Scan folder added");
}

// A store that cannot be used must leave the launch on temporary storage and the file on
// disk exactly as it was.
TEST(AppModelStartupTest, UnusableStoreFallsBackToTemporaryStorageAndLeavesTheFileAlone) {
    struct Case {
        const char* name;
        // Prepares the data folder; returns the file whose bytes must not change.
        std::function<std::filesystem::path(const std::filesystem::path& data)> prepare;
    };
    const std::vector<Case> cases = {
        {"not a database",
         [](const auto& data) {
             const auto file = data / "Tallowmere/Tallowmere.sqlite";
             writeFile(file, std::string(4096, 'x') + "my notes");
             return file;
         }},
        {"truncated database",
         [](const auto& data) {
             const auto file = data / "Tallowmere/Tallowmere.sqlite";
             TallowmereDatabase::applicationSupportDatabase(data.string());
             std::filesystem::resize_file(file, 1000);
             return file;
         }},
        {"folder is a file",
         [](const auto& data) {
             const auto file = data / "Tallowmere";
             writeFile(file, "in the way");
             return file;
         }},
        {"store is a folder",
         [](const auto& data) {
             const auto file = data / "Tallowmere/Tallowmere.sqlite/keep";
             writeFile(file, "inside");
             return file;
         }},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        TemporaryDirectory folder;
        const auto kept = testCase.prepare(folder / "data");
        const auto before = testing::fileBytes(kept.string());
        ASSERT_TRUE(before);

        TestEnvironment test;
        {
            AppModel model(applicationSupportEnvironment(folder, test));
            EXPECT_EQ(model.startupErrorMessage(),
                      std::optional<std::string>(AppModel::kTemporaryStorageMessage));
            EXPECT_EQ(model.statusMessage(), "Ready");

            // Everything works against the temporary store.
            model.setAllowLocalBackupTestDestination(true);
            model.addScanRoot((folder / "home/Projects").string());
            EXPECT_EQ(model.iCloudScanRoots().size(), 1u);
            EXPECT_EQ(model.activityEvents().size(), 2u);
            model.refreshFromStore();
            EXPECT_TRUE(model.allowLocalBackupTestDestination());
            EXPECT_EQ(model.statusMessage(), "Added Projects to scan roots.");
        }
        EXPECT_EQ(testing::fileBytes(kept.string()), before);
    }
}

TEST(AppModelStartupTest, TheSharedModelStartsOnce) {
    TemporaryDirectory folder;
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString((folder / "data").string()));
    auto prompts = std::make_shared<testing::FakePrompts>();
    AppModel::provideUserInterfaceServices(prompts, std::make_shared<testing::FakeDesktop>());

    AppModel& first = AppModel::shared();
    first.setBackupStaleReminderDays(9);
    AppModel& second = AppModel::shared();
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(second.backupStaleReminderDays(), 9);
    EXPECT_FALSE(second.startupErrorMessage());
    EXPECT_TRUE(std::filesystem::exists(folder / "data/Tallowmere/Tallowmere.sqlite"));

    delete &first;
    qputenv("XDG_DATA_HOME", oldData);
}

TEST(AppModelStartupTest, FailedRefreshKeepsWhatItHadNotReachedYet) {
    TestEnvironment test;
    AppModel model(test.make());
    model.setAllowLocalBackupTestDestination(true);
    const auto eventsBefore = model.activityEvents();
    ASSERT_EQ(eventsBefore.size(), 1u);
    const auto dashboardBefore = model.dashboardSnapshot();
    const auto cardsBefore = model.reportCards();
    const auto actionsBefore = model.nextBestActions();

    ReportSummary report;
    report.id = Uuid::random();
    report.title = "Last scan report";
    report.generatedAt = test.clock->now();
    ReportRepository(test.database->queue()).insert(report);
    SettingsRepository(test.database->queue(), test.clock).setBool(true, "hasCompletedOnboarding");
    testing::failReadsOf(*test.database, "activity_events");

    QSignalSpy eventsChanged(&model, &AppModel::activityEventsChanged);
    model.refreshFromStore();
    EXPECT_EQ(model.statusMessage(), "Tallowmere could not load local history.");
    EXPECT_TRUE(model.hasCompletedOnboarding());
    ASSERT_EQ(model.reports().size(), 1u);
    EXPECT_EQ(model.reports()[0], report);
    EXPECT_EQ(model.activityEvents(), eventsBefore);
    EXPECT_EQ(eventsChanged.count(), 0);
    // The later steps did not run: the Photos finding would have a new id, and the stored
    // report would have a card.
    EXPECT_EQ(model.dashboardSnapshot(), dashboardBefore);
    EXPECT_EQ(model.reportCards(), cardsBefore);
    EXPECT_EQ(model.nextBestActions(), actionsBefore);
}

TEST(AppModelStartupTest, StaleReminderDaysAreReadAsStoredWithoutClamping) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"14", 14}, {"+3", 3},  {"-2", -2}, {"45", 45}, {"abc", 7},
        {"", 7},    {"3.5", 7}, {" 4", 7},  {"+-3", 7}, {"99999999999", 7},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        TestEnvironment test;
        SettingsRepository(test.database->queue(), test.clock)
            .setString(text, "backupStaleReminderDays");
        AppModel model(test.make());
        EXPECT_EQ(model.backupStaleReminderDays(), expected);
    }
}

}  // namespace
}  // namespace tallowmere
