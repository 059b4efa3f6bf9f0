#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/AppModel.h"
#include "persistence/ActivityRepository.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/FileTreeSnapshot.h"
#include "tests/support/GatedCopyFileSystem.h"
#include "tests/support/JsonPrinting.h"
#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using testing::waitUntil;

void writeFile(const fs::path& path, const std::string& contents) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

// One user's whole first session, on real folders of this machine: a folder of their own
// documents, a "drive" folder on the same disk (so local test destinations are on), and
// everything the program offers, in the order a user meets it.
class AppModelJourneyTest : public ::testing::Test {
protected:
    testing::TemporaryDirectory temp;
    const fs::path home = temp / "home";
    const fs::path plans = home / "Quarterly Plans";
    const fs::path drive = temp / "BackupDrive";
    const fs::path exports = temp / "exports";
    // Names a user would not want to see leave the machine.
    const std::vector<std::string> privateNames = {
        "Quarterly Plans", "Zebra Merger", "invoice-zebra", "salary-review", ".secret-diary"};
    std::shared_ptr<testing::GatedCopyFileSystem> fileSystem;
    testing::TestEnvironment test;

    void SetUp() override {
        for (int i = 0; i < 12; ++i) {
            writeFile(plans / "Zebra Merger" / ("invoice-zebra-" + std::to_string(i) + ".txt"),
                      "invoice " + std::to_string(i) + std::string(1000 * i, 'x'));
        }
        writeFile(plans / "salary-review.csv", "name,salary\nann,1\n");
        writeFile(plans / ".secret-diary", "dear diary");
        fs::create_directories(drive);
        fs::create_directories(exports);
        fileSystem = std::make_shared<testing::GatedCopyFileSystem>(
            testing::linuxFileSystemWith(home.string(), (temp / "data").string()),
            "invoice-zebra-5.txt");
        test.fileSystem = fileSystem;
    }

    void finish(QFuture<void> future) {
        ASSERT_TRUE(waitUntil([&] { return future.isFinished(); }));
        test.clock->advance(1);
    }

    static void expectEvent(const AppModel& model, ActivityEventKind kind, const std::string& title,
                            const std::string& message, SafetyState severity,
                            const std::string& target) {
        ASSERT_FALSE(model.activityEvents().empty());
        const auto& event = model.activityEvents().front();
        EXPECT_EQ(event.kind, kind);
        EXPECT_EQ(event.title, title);
        EXPECT_EQ(event.message, message);
        EXPECT_EQ(event.severity, severity);
        EXPECT_EQ(event.localActionTarget, target);
    }

    void expectPrivate(const std::string& text, const std::string& what) {
        SCOPED_TRACE(what);
        for (const auto& name : privateNames) EXPECT_EQ(text.find(name), std::string::npos) << name;
        EXPECT_EQ(text.find(temp.path().string()), std::string::npos);
    }
};

TEST_F(AppModelJourneyTest, FromFirstLaunchToAVerifiedSecondCopy) {
    const auto originals = testing::FileTreeSnapshot::of(plans);
    AppModel model(test.make());
    finish(model.startupDestinationCheck());
    EXPECT_EQ(model.statusMessage(), "Ready");

    // Settings: this test's "drive" is a folder on the internal disk.
    model.setAllowLocalBackupTestDestination(true);
    expectEvent(model, ActivityEventKind::destination, "Local test destination mode enabled",
                model.statusMessage(), SafetyState::needsAttention, "settings");

    // Add a folder.
    model.addScanRoot(plans.string());
    EXPECT_EQ(model.statusMessage(), "Added Quarterly Plans to scan roots.");
    ASSERT_EQ(model.iCloudScanRoots().size(), 1u);
    EXPECT_TRUE(model.iCloudScanRoots()[0].bookmarkData);
    expectEvent(model, ActivityEventKind::iCloudScan, "Scan folder added",
                "Added a folder to the read-only scan list.", SafetyState::needsAttention,
                "iCloudDriveSafety");

    // Scan.
    finish(model.runScan(ScanTrigger::manual));
    EXPECT_EQ(model.statusMessage(), "Scan finished. Tallowmere did not modify your files.");
    ASSERT_TRUE(model.iCloudSummary());
    EXPECT_EQ(model.iCloudSummary()->localCurrentCount, 13);
    EXPECT_EQ(model.iCloudSummary()->excludedCount, 1);
    EXPECT_EQ(model.dashboardSnapshot().safetyScore, 58);
    EXPECT_EQ(model.dashboardSnapshot().menuBarHealth, MenuBarHealth::unsafe);
    for (const auto& action : model.nextBestActions())
        EXPECT_NE(action.kind, NextBestActionKind::runICloudScan);
    expectEvent(model, ActivityEventKind::iCloudScan, "iCloud scan finished",
                "Scan finished. Tallowmere did not modify your files.", SafetyState::backupStale,
                "iCloudDriveSafety");

    // Choose the destination.
    finish(model.selectBackupDestination(drive.string()));
    ASSERT_TRUE(model.backupDestination());
    EXPECT_EQ(model.backupDestination()->status, BackupDestinationStatus::connected);
    EXPECT_EQ(model.statusMessage(), "This folder does not appear to be on an external drive.");
    expectEvent(model, ActivityEventKind::destination, "Backup destination selected",
                "This folder does not appear to be on an external drive.",
                SafetyState::needsAttention, "backupDestination");

    // Prepare.
    finish(model.prepareBackup());
    EXPECT_EQ(model.backupSnapshot().status, BackupJobStatus::prepared);
    EXPECT_EQ(model.statusMessage(),
              "Backup prepared. 13 local files are ready to copy; 1 items were skipped.");
    expectEvent(model, ActivityEventKind::backup, "Backup manifest prepared", model.statusMessage(),
                SafetyState::needsAttention, "backupDestination");

    // Copy, and pause while the sixth invoice is being copied.
    auto copying = model.startBackup();
    EXPECT_TRUE(model.isBackupRunning());
    ASSERT_TRUE(waitUntil([&] { return fileSystem->copyGate.reached(); }));
    finish(model.pauseBackup());
    EXPECT_EQ(model.statusMessage(), "Pausing backup...");
    EXPECT_TRUE(model.isBackupRunning());
    fileSystem->copyGate.open();
    finish(copying);
    EXPECT_FALSE(model.isBackupRunning());
    EXPECT_EQ(model.backupSnapshot().status, BackupJobStatus::paused);
    EXPECT_EQ(model.statusMessage(),
              "Backup paused. Tallowmere can continue from the remaining files.");
    EXPECT_TRUE(model.backupProgress().isPaused);
    EXPECT_LT(model.backupSnapshot().completedFiles, 13);
    expectEvent(model, ActivityEventKind::backup, "Backup copy updated",
                "Backup paused. Tallowmere can continue from the remaining files.",
                SafetyState::protected_, "backupDestination");

    // Resume.
    const Uuid jobID = model.backupSnapshot().id;
    finish(model.startBackup());
    EXPECT_EQ(model.backupSnapshot().id, jobID);
    EXPECT_EQ(model.backupSnapshot().status, BackupJobStatus::completedWithSkipped);
    EXPECT_EQ(model.backupSnapshot().completedFiles, 13);
    EXPECT_EQ(model.statusMessage(),
              "Backup copied eligible local files with skipped or conflict items. Run "
              "verification to check the second copy.");
    expectEvent(model, ActivityEventKind::backup, "Backup copy updated", model.statusMessage(),
                SafetyState::protected_, "backupDestination");
    EXPECT_TRUE(model.dashboardSnapshot().lastBackupAt);
    const auto copies = drive / "Tallowmere Backup" / "iCloud Drive";
    EXPECT_EQ(testing::FileTreeSnapshot::of(copies).entries().size(),
              testing::FileTreeSnapshot::of(plans).entries().size() + 1);

    // Quick and full verification, then a restore test.
    finish(model.runQuickVerification());
    EXPECT_EQ(model.verificationSnapshot().mode, VerificationMode::quick);
    EXPECT_EQ(model.verificationSnapshot().status, VerificationStatus::verified);
    EXPECT_EQ(model.statusMessage(), model.verificationSnapshot().message);
    expectEvent(model, ActivityEventKind::verification, "Quick verification finished",
                model.statusMessage(), SafetyState::protected_, "verification");

    finish(model.runFullVerification());
    EXPECT_EQ(model.verificationSnapshot().mode, VerificationMode::full);
    EXPECT_EQ(model.verificationSnapshot().status, VerificationStatus::verified);
    EXPECT_EQ(model.verificationSnapshot().checkedFiles, 13);
    expectEvent(model, ActivityEventKind::verification, "Full verification finished",
                model.statusMessage(), SafetyState::protected_, "verification");
    EXPECT_TRUE(model.dashboardSnapshot().lastVerificationAt);

    finish(model.runRestoreTest());
    EXPECT_EQ(model.restoreTestSnapshot().status, VerificationStatus::verified);
    EXPECT_EQ(model.statusMessage(), model.restoreTestSnapshot().message);
    expectEvent(model, ActivityEventKind::restoreTest, "Restore test finished",
                model.statusMessage(), SafetyState::protected_, "verification");
    EXPECT_FALSE(model.isVerificationRunning());

    // Export every report card, then the support diagnostics.
    ASSERT_FALSE(model.reportCards().empty());
    const auto cards = model.reportCards();
    std::vector<fs::path> exported;
    for (const auto& card : cards) {
        exported.push_back(exports / (std::string(rawValue(card.kind)) + "-" +
                                      std::to_string(exported.size()) + ".json"));
        test.prompts->saveAnswer = exported.back().string();
        model.exportReportCard(card);
        EXPECT_EQ(model.statusMessage(),
                  "Report exported without file paths, manifests, checksums, files, or photos.");
        expectEvent(model, ActivityEventKind::report, std::string(label(card.kind)) + " exported",
                    model.statusMessage(), card.status, "reports");
    }
    exported.push_back(exports / "diagnostics.json");
    test.prompts->saveAnswer = exported.back().string();
    model.exportSupportDiagnostics();
    expectEvent(model, ActivityEventKind::diagnostics, "Support diagnostics exported",
                "Support diagnostics exported without file paths or local media data.",
                SafetyState::protected_, "settings");
    const Json diagnostics = Json::parse(testing::fileBytes(exported.back().string()).value());
    EXPECT_EQ(diagnostics["backupStatus"], "completedWithSkipped");
    EXPECT_EQ(diagnostics["verificationStatus"], "verified");
    EXPECT_EQ(diagnostics["lastScanAt"], model.dashboardSnapshot().lastScanAt->iso8601());

    // The originals were only read.
    EXPECT_EQ(testing::FileTreeSnapshot::of(plans), originals);

    // Nothing that left the program, or went into its timeline, names the user's files.
    for (const auto& file : exported)
        expectPrivate(testing::fileBytes(file.string()).value(), file);
    const auto events = ActivityRepository(test.database->queue()).fetchRecent(1000);
    EXPECT_GE(events.size(), 14u);
    for (const auto& event : events) expectPrivate(event.title + "\n" + event.message, event.title);
}

}  // namespace
}  // namespace tallowmere
