// The Backup Destination screen driving the real second-copy workflows on folders of this
// machine: choose, prepare, copy with a pause, resume.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <QScopeGuard>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "persistence/ICloudScanRepository.h"
#include "persistence/ScanRepository.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/components/CountView.h"
#include "ui/components/ElidedLabel.h"
#include "ui/components/SymbolLabel.h"
#include "ui/components/TMButton.h"
#include "ui/screens/BackupDestinationView.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using namespace testing;

void writeFile(const fs::path& path, const std::string& contents) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

class BackupDestinationWorkflowTest : public ::testing::Test {
protected:
    BackupDestinationWorkflowTest()
        : files(std::make_shared<GatedCopyFileSystem>(
              linuxFileSystemWith(home.string(), (temp / "data").string()), "notes-3.txt")),
          fixture(files) {}

    void SetUp() override {
        for (int i = 0; i < 5; ++i)
            writeFile(documents / ("notes-" + std::to_string(i) + ".txt"),
                      "note " + std::to_string(i));
        fs::create_directories(drive);
        storeScan();
        fixture.setSetting("allowLocalBackupTestDestination", "true");
        fixture.refresh();
    }

    // What a scan of the documents folder stores: one local row per file.
    void storeScan() {
        ICloudScanRoot root{Uuid::random(), documents.string(),
                            "Documents",    ICloudScanRootKind::documents,
                            true,           true,
                            std::nullopt,   kNow,
                            std::nullopt};
        ICloudScanRepository scans(fixture.database().queue());
        scans.upsertDetectedRoots({root});
        ScanRun run;
        run.id = Uuid::random();
        run.startedAt = kNow;
        run.completedAt = kNow;
        run.overallState = SafetyState::protected_;
        run.safetyScore = 100;
        std::vector<ICloudFileScanResult> results;
        for (const auto& entry : fs::directory_iterator(documents)) {
            results.push_back({Uuid::random(), run.id, root.id, entry.path().string(),
                               entry.path().filename().string(), false,
                               static_cast<std::int64_t>(entry.file_size()), Date(1'700'000'000),
                               ICloudFileState::localCurrent, ConfidenceLevel::verified,
                               "This file appears local.", kNow});
        }
        run.scannedItemCount = static_cast<std::int64_t>(results.size());
        ScanRepository(fixture.database().queue()).insert(run, {});
        scans.insert(ICloudDriveScanSummary::make(run.id, run.completedAt, ScanRunStatus::completed,
                                                  false, results),
                     results);
    }

    TemporaryDirectory temp;
    const fs::path home = temp / "home";
    const fs::path documents = home / "Documents";
    const fs::path drive = temp / "Backup Drive";
    std::shared_ptr<GatedCopyFileSystem> files;
    ModelFixture fixture;
    std::shared_ptr<FakeFileChooser> chooser = std::make_shared<FakeFileChooser>();
};

TEST_F(BackupDestinationWorkflowTest, ChoosePrepareCopyPauseAndResumeFromTheScreen) {
    const auto release = qScopeGuard([this] {
        files->spaceGate.open();
        files->copyGate.open();
    });
    BackupDestinationView view(fixture.model(), chooser);
    showAt(view, {900, 900});

    // Choose the folder.
    chooser->answer = drive.string();
    QTest::mouseClick(button(view, "chooseDestinationButton"), Qt::LeftButton);
    QTRY_VERIFY(fixture.model().backupDestination().has_value());
    settleRedraws(view);
    EXPECT_EQ(fixture.model().backupDestination()->path, drive.string());
    EXPECT_EQ(textOf(*view.findChild<QWidget*>("selectedDriveTile"), "metricValue"),
              "Backup Drive");
    EXPECT_EQ(view.findChild<ElidedLabel*>("destinationPath")->text().toStdString(),
              drive.string());
    // On this machine's disk, allowed only as a local test: the notice in orange.
    EXPECT_EQ(view.findChild<SymbolLabel*>("policyWarning")->color(),
              TMTheme::color(ThemeColor::amber));
    EXPECT_TRUE(button(view, "refreshDestinationButton")->isEnabled());

    // Prepare the manifest.
    QTest::mouseClick(button(view, "prepareBackupButton"), Qt::LeftButton);
    QTRY_COMPARE(fixture.model().backupSnapshot().status, BackupJobStatus::prepared);
    settleRedraws(view);
    EXPECT_EQ(textOf(view, "jobStatus"), "Prepared");
    EXPECT_EQ(textOf(view, "jobMessage").toStdString(), fixture.model().backupSnapshot().message);
    EXPECT_EQ(countValue(view, "Ready"), "5");
    EXPECT_EQ(view.findChildren<QWidget*>("manifestRow").size(), 5);

    // Start copying: the evaluation at the start shows a bar without a total yet.
    files->armSpaceGate();
    QTest::mouseClick(button(view, "startCopyButton"), Qt::LeftButton);
    QTRY_VERIFY(files->spaceGate.reached());
    settleRedraws(view);
    EXPECT_TRUE(fixture.model().isBackupRunning());
    EXPECT_TRUE(shows(view, "copyProgress"));
    const auto* bar = view.findChild<QProgressBar*>("copyProgressBar");
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 0);  // indeterminate
    EXPECT_EQ(view.findChild<ElidedLabel*>("copyProgressText")->text(), "Starting backup...");
    EXPECT_FALSE(button(view, "prepareBackupButton")->isEnabled());
    EXPECT_FALSE(button(view, "startCopyButton")->isEnabled());
    EXPECT_TRUE(shows(view, "pauseCopyButton"));
    EXPECT_TRUE(shows(view, "cancelCopyButton"));

    // Held while the fourth file is copied, then paused.
    files->spaceGate.open();
    QTRY_VERIFY(files->copyGate.reached());
    // The progress of the held file, handed over from the copying thread.
    QTRY_COMPARE(fixture.model().backupProgress().currentFile.value_or(""),
                 std::string("notes-3.txt"));
    settleRedraws(view);
    const BackupProgressSnapshot& progress = fixture.model().backupProgress();
    EXPECT_EQ(bar->maximum(), progress.totalFiles);
    EXPECT_EQ(bar->maximum(), 5);
    EXPECT_EQ(bar->value(), progress.completedFiles);
    EXPECT_EQ(view.findChild<ElidedLabel*>("copyProgressText")->text().toStdString(),
              *progress.currentFile);
    QTest::mouseClick(button(view, "pauseCopyButton"), Qt::LeftButton);
    QTRY_COMPARE(fixture.model().statusMessage(), std::string("Pausing backup..."));
    files->copyGate.open();
    QTRY_VERIFY(!fixture.model().isBackupRunning());
    settleRedraws(view);
    EXPECT_EQ(fixture.model().backupSnapshot().status, BackupJobStatus::paused);
    EXPECT_EQ(textOf(view, "jobStatus"), "Paused");
    EXPECT_EQ(button(view, "startCopyButton")->text(), "Resume Copy");
    EXPECT_TRUE(button(view, "startCopyButton")->isEnabled());
    EXPECT_FALSE(shows(view, "pauseCopyButton"));
    EXPECT_FALSE(shows(view, "copyProgress"));

    // Resume to the end.
    QTest::mouseClick(button(view, "startCopyButton"), Qt::LeftButton);
    QTRY_COMPARE(fixture.model().backupSnapshot().status, BackupJobStatus::completed);
    settleRedraws(view);
    EXPECT_EQ(button(view, "startCopyButton")->text(), "Start Copy");
    EXPECT_EQ(countValue(view, "Copied"), "5");
    EXPECT_TRUE(fs::exists(drive / "Tallowmere Backup"));
}

TEST_F(BackupDestinationWorkflowTest, CancelStopsARunningCopy) {
    const auto release = qScopeGuard([this] { files->copyGate.open(); });
    fixture.model().selectBackupDestination(drive.string());
    QTRY_VERIFY(fixture.model().backupDestination().has_value());
    fixture.model().prepareBackup();
    QTRY_COMPARE(fixture.model().backupSnapshot().status, BackupJobStatus::prepared);
    BackupDestinationView view(fixture.model(), chooser);
    showAt(view, {900, 900});

    QTest::mouseClick(button(view, "startCopyButton"), Qt::LeftButton);
    QTRY_VERIFY(files->copyGate.reached());
    settleRedraws(view);
    QTest::mouseClick(button(view, "cancelCopyButton"), Qt::LeftButton);
    QTRY_COMPARE(fixture.model().statusMessage(), std::string("Cancelling backup..."));
    files->copyGate.open();
    QTRY_VERIFY(!fixture.model().isBackupRunning());
    settleRedraws(view);

    EXPECT_EQ(fixture.model().backupSnapshot().status, BackupJobStatus::cancelled);
    EXPECT_EQ(textOf(view, "jobStatus"), "Cancelled");
    EXPECT_EQ(button(view, "startCopyButton")->text(), "Start Copy");
    EXPECT_FALSE(shows(view, "cancelCopyButton"));
}

}  // namespace
}  // namespace tallowmere
