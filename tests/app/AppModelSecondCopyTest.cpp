#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/AppModel.h"
#include "persistence/ICloudScanRepository.h"
#include "persistence/ScanRepository.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/JsonPrinting.h"
#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using testing::waitUntil;

constexpr const char* kInternalDiskWarning =
    "This folder appears to be on the internal disk. Choose an external drive, or enable local "
    "test destinations in Settings for testing only.";

void writeFile(const fs::path& path, const std::string& contents) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

// A home folder with a few documents, an Application Support folder and a "drive" folder,
// all on this machine's disk, and a store holding one finished scan of the documents.
class AppModelSecondCopyTest : public ::testing::Test {
protected:
    testing::TemporaryDirectory temp;
    const fs::path home = temp / "home";
    const fs::path documents = home / "Documents";
    const fs::path drive = temp / "drive";
    testing::TestEnvironment test;

    void SetUp() override {
        writeFile(documents / "letter.txt", "Dear reader");
        writeFile(documents / "taxes/2024.csv", "income,1\n");
        writeFile(documents / "taxes/2025.csv", "income,2\n");
        fs::create_directories(drive);
        test.fileSystem = testing::linuxFileSystemWith(home.string(), (temp / "data").string());
        storeScan();
    }

    // What a scan of the documents folder stores: the run, its summary and one local row
    // per file, plus one cloud-only row that the manifest skips.
    void storeScan() {
        ICloudScanRoot root{Uuid::random(), documents.string(),
                            "Documents",    ICloudScanRootKind::documents,
                            true,           true,
                            std::nullopt,   test.clock->now(),
                            std::nullopt};
        ICloudScanRepository scans(test.database->queue(), test.clock);
        scans.upsertDetectedRoots({root});
        ScanRun run;
        run.id = Uuid::random();
        run.startedAt = test.clock->now();
        run.completedAt = test.clock->now();
        run.overallState = SafetyState::cloudOnly;
        run.safetyScore = 46;
        std::vector<ICloudFileScanResult> results;
        for (const auto& entry : fs::recursive_directory_iterator(documents)) {
            if (!entry.is_regular_file())
                continue;
            results.push_back({Uuid::random(), run.id, root.id, entry.path().string(),
                               entry.path().filename().string(), false,
                               static_cast<std::int64_t>(entry.file_size()), Date(1'700'000'000),
                               ICloudFileState::localCurrent, ConfidenceLevel::verified,
                               "This file appears local.", test.clock->now()});
        }
        results.push_back({Uuid::random(), run.id, root.id, (documents / "remote.pdf").string(),
                           "remote.pdf", false, 5000, Date(1'700'000'000),
                           ICloudFileState::cloudOnly, ConfidenceLevel::likely,
                           "This file may only exist in iCloud.", test.clock->now()});
        run.scannedItemCount = static_cast<std::int64_t>(results.size());
        ScanRepository(test.database->queue()).insert(run, {});
        scans.insert(ICloudDriveScanSummary::make(run.id, run.completedAt, ScanRunStatus::completed,
                                                  false, results),
                     results);
    }

    // Runs a workflow to its end, the clock a second later than the last one.
    void finish(QFuture<void> future) {
        ASSERT_TRUE(waitUntil([&] { return future.isFinished(); }));
        test.clock->advance(1);
    }

    std::unique_ptr<AppModel> makeModel() { return std::make_unique<AppModel>(test.make()); }
};

TEST_F(AppModelSecondCopyTest, CopyingWithoutAnAcceptableDestinationOnlySaysWhy) {
    auto model = makeModel();
    const auto jobBefore = model->backupSnapshot();
    finish(model->startBackup());
    EXPECT_EQ(model->statusMessage(),
              "Choose an available external backup destination before copying.");
    EXPECT_FALSE(model->isBackupRunning());
    EXPECT_EQ(model->backupSnapshot(), jobBefore);
    EXPECT_TRUE(model->activityEvents().empty());

    // A folder on the internal disk needs local test mode.
    finish(model->selectBackupDestination(drive.string()));
    const auto placeholder = model->backupSnapshot();
    finish(model->startBackup());
    EXPECT_EQ(model->statusMessage(), kInternalDiskWarning);
    EXPECT_FALSE(model->isBackupRunning());
    EXPECT_EQ(model->backupSnapshot(), placeholder);
    EXPECT_EQ(model->activityEvents().size(), 1u);
    EXPECT_TRUE(fs::is_empty(drive));
}

TEST_F(AppModelSecondCopyTest, ChoosingAnInternalFolderWarnsAndRecordsIt) {
    auto model = makeModel();
    finish(model->selectBackupDestination((drive / "." / "").string()));
    ASSERT_TRUE(model->backupDestination());
    EXPECT_EQ(model->backupDestination()->path, drive.string());
    EXPECT_EQ(model->backupDestination()->status, BackupDestinationStatus::connected);
    EXPECT_FALSE(model->backupDestination()->isRemovable);
    EXPECT_TRUE(model->backupDestination()->bookmarkData);
    EXPECT_EQ(model->statusMessage(), "This folder does not appear to be on an external drive.");
    ASSERT_EQ(model->activityEvents().size(), 1u);
    const auto& event = model->activityEvents()[0];
    EXPECT_EQ(event.kind, ActivityEventKind::destination);
    EXPECT_EQ(event.title, "Backup destination selected");
    EXPECT_EQ(event.message, "This folder does not appear to be on an external drive.");
    EXPECT_EQ(event.severity, SafetyState::needsAttention);
    EXPECT_EQ(event.localActionTarget, "backupDestination");
    EXPECT_EQ(model->dashboardSnapshot().connectedDestinationName, "drive");
}

TEST_F(AppModelSecondCopyTest, PrepareCopyAndCheckInLocalTestMode) {
    auto model = makeModel();
    model->setAllowLocalBackupTestDestination(true);
    finish(model->selectBackupDestination(drive.string()));

    auto preparing = model->prepareBackup();
    EXPECT_TRUE(model->isBackupRunning());
    EXPECT_TRUE(model->backupProgress().isRunning);
    EXPECT_EQ(model->backupProgress().message, "Preparing backup manifest...");
    // Copying cannot start while the manifest is being prepared.
    EXPECT_TRUE(model->startBackup().isFinished());
    finish(preparing);
    EXPECT_FALSE(model->isBackupRunning());
    EXPECT_EQ(model->backupSnapshot().status, BackupJobStatus::prepared);
    EXPECT_EQ(model->backupSnapshot().totalFiles, 3);
    EXPECT_EQ(model->backupSnapshot().skippedFiles, 1);
    EXPECT_EQ(model->statusMessage(),
              "Backup prepared. 3 local files are ready to copy; 1 items were skipped.");
    EXPECT_EQ(model->backupManifestItems().size(), 4u);
    auto event = model->activityEvents().at(0);
    EXPECT_EQ(event.title, "Backup manifest prepared");
    EXPECT_EQ(event.message, model->statusMessage());
    EXPECT_EQ(event.severity, SafetyState::needsAttention);

    auto copying = model->startBackup();
    EXPECT_EQ(model->backupProgress().message, "Starting backup...");
    // Preparing cannot start while files are copied.
    EXPECT_TRUE(model->prepareBackup().isFinished());
    finish(copying);
    EXPECT_EQ(model->backupSnapshot().status, BackupJobStatus::completedWithSkipped);
    EXPECT_EQ(model->backupSnapshot().completedFiles, 3);
    EXPECT_EQ(model->statusMessage(),
              "Backup copied eligible local files with skipped or conflict items. Run "
              "verification to check the second copy.");
    event = model->activityEvents().at(0);
    EXPECT_EQ(event.kind, ActivityEventKind::backup);
    EXPECT_EQ(event.title, "Backup copy updated");
    EXPECT_EQ(event.severity, SafetyState::protected_);
    EXPECT_TRUE(fs::exists(drive / "Tallowmere Backup"));
    EXPECT_TRUE(model->dashboardSnapshot().lastBackupAt);

    auto verifying = model->runQuickVerification();
    EXPECT_TRUE(model->isVerificationRunning());
    EXPECT_EQ(model->verificationProgress().mode, VerificationMode::quick);
    EXPECT_EQ(model->verificationProgress().message, "Starting quick verification...");
    finish(verifying);
    EXPECT_FALSE(model->isVerificationRunning());
    EXPECT_EQ(model->verificationSnapshot().status, VerificationStatus::verified);
    EXPECT_EQ(model->statusMessage(), model->verificationSnapshot().message);
    event = model->activityEvents().at(0);
    EXPECT_EQ(event.kind, ActivityEventKind::verification);
    EXPECT_EQ(event.title, "Quick verification finished");
    EXPECT_EQ(event.severity, SafetyState::protected_);
    EXPECT_EQ(event.localActionTarget, "verification");

    finish(model->runRestoreTest());
    EXPECT_EQ(model->restoreTestSnapshot().status, VerificationStatus::verified);
    event = model->activityEvents().at(0);
    EXPECT_EQ(event.kind, ActivityEventKind::restoreTest);
    EXPECT_EQ(event.title, "Restore test finished");
    EXPECT_EQ(event.message, model->restoreTestSnapshot().message);
}

TEST_F(AppModelSecondCopyTest, OneCheckAtATime) {
    auto model = makeModel();
    model->setAllowLocalBackupTestDestination(true);
    finish(model->selectBackupDestination(drive.string()));
    finish(model->startBackup());
    const auto restoreBefore = model->restoreTestSnapshot();

    auto full = model->runFullVerification();
    EXPECT_EQ(model->verificationProgress().mode, VerificationMode::full);
    auto restore = model->runRestoreTest();
    auto quick = model->runQuickVerification();
    EXPECT_TRUE(restore.isFinished());
    EXPECT_TRUE(quick.isFinished());
    EXPECT_EQ(model->verificationProgress().mode, VerificationMode::full);
    finish(full);

    EXPECT_EQ(model->verificationSnapshot().mode, VerificationMode::full);
    EXPECT_EQ(model->restoreTestSnapshot().message, restoreBefore.message);
    EXPECT_EQ(model->restoreTestSnapshot().status, VerificationStatus::notRun);
    EXPECT_EQ(testing::rowCount(*test.database, "verification_runs"), 1);
    EXPECT_EQ(model->activityEvents().at(0).title, "Full verification finished");
}

TEST_F(AppModelSecondCopyTest, AQuickVerificationThatFindsAProblemStillFinishes) {
    auto model = makeModel();
    model->setAllowLocalBackupTestDestination(true);
    finish(model->selectBackupDestination(drive.string()));
    finish(model->startBackup());
    fs::remove_all(drive / "Tallowmere Backup" / "iCloud Drive");

    finish(model->runQuickVerification());
    EXPECT_EQ(model->verificationSnapshot().status, VerificationStatus::failed);
    EXPECT_FALSE(model->verificationResults().empty());
    const auto& event = model->activityEvents().at(0);
    EXPECT_EQ(event.title, "Quick verification finished");
    EXPECT_EQ(event.message, model->verificationSnapshot().message);
    EXPECT_EQ(event.severity, SafetyState::needsAttention);
}

TEST_F(AppModelSecondCopyTest, StoreFailuresBecomeFixedMessagesAndEvents) {
    struct Case {
        const char* table;
        std::function<QFuture<void>(AppModel&)> run;
        const char* message;
        const char* title;
        ActivityEventKind kind;
    };
    const std::vector<Case> cases = {
        {"backup_jobs", [](AppModel& m) { return m.prepareBackup(); },
         "Tallowmere could not prepare backup.", "Backup preparation failed",
         ActivityEventKind::backup},
        {"backup_jobs", [](AppModel& m) { return m.startBackup(); },
         "Tallowmere could not start backup.", "Backup copy failed", ActivityEventKind::backup},
        {"verification_runs", [](AppModel& m) { return m.runQuickVerification(); },
         "Tallowmere could not run verification.", "Quick verification failed",
         ActivityEventKind::verification},
        {"verification_runs", [](AppModel& m) { return m.runFullVerification(); },
         "Tallowmere could not run full verification.", "Full verification failed",
         ActivityEventKind::verification},
        {"verification_runs", [](AppModel& m) { return m.runRestoreTest(); },
         "Tallowmere could not run the restore test.", "Restore test failed",
         ActivityEventKind::restoreTest},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.message);
        test.database = TallowmereDatabase::inMemory();
        storeScan();
        auto model = makeModel();
        model->setAllowLocalBackupTestDestination(true);
        finish(model->selectBackupDestination(drive.string()));
        if (std::string(testCase.table) == "verification_runs")
            finish(model->startBackup());
        testing::failWritesTo(*test.database, testCase.table);

        finish(testCase.run(*model));
        EXPECT_EQ(model->statusMessage(), testCase.message);
        EXPECT_FALSE(model->isBackupRunning() || model->isVerificationRunning());
        const bool isCheck = testCase.kind != ActivityEventKind::backup;
        const std::string progressMessage =
            isCheck ? model->verificationProgress().message : model->backupProgress().message;
        EXPECT_EQ(progressMessage, testCase.message);
        EXPECT_FALSE(isCheck ? model->verificationProgress().isRunning
                             : model->backupProgress().isRunning);
        const auto& event = model->activityEvents().at(0);
        EXPECT_EQ(event.kind, testCase.kind);
        EXPECT_EQ(event.title, testCase.title);
        EXPECT_EQ(event.message, testCase.message);
        EXPECT_EQ(event.severity, SafetyState::needsAttention);
    }
}

TEST_F(AppModelSecondCopyTest, DestinationStoreFailuresRecordNothing) {
    auto model = makeModel();
    finish(model->selectBackupDestination(drive.string()));
    testing::failWritesTo(*test.database, "backup_destinations");
    const auto events = model->activityEvents();

    finish(model->selectBackupDestination(home.string()));
    EXPECT_EQ(model->statusMessage(), "Tallowmere could not select that backup destination.");
    finish(model->refreshBackupDestinationStatus());
    EXPECT_EQ(model->statusMessage(), "Tallowmere could not refresh the backup destination.");
    EXPECT_EQ(model->backupDestination()->path, drive.string());
    EXPECT_EQ(model->activityEvents(), events);
}

TEST_F(AppModelSecondCopyTest, StartUpRechecksTheDestination) {
    {
        auto model = makeModel();
        finish(model->selectBackupDestination(drive.string()));
    }
    fs::remove_all(drive);
    AppModel model(test.make());
    EXPECT_EQ(model.backupDestination()->status, BackupDestinationStatus::connected);
    ASSERT_TRUE(waitUntil(
        [&] { return model.backupDestination()->status == BackupDestinationStatus::missing; }));
    EXPECT_EQ(model.statusMessage(), "Ready");
}

}  // namespace
}  // namespace tallowmere
