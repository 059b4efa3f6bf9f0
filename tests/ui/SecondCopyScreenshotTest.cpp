// Renders every screen of the second copy and the account, the onboarding steps and the
// status popover into build/screenshots, in their main states, for people to look at.
#include <gtest/gtest.h>

#include <QScopeGuard>
#include <QTest>

#include "tests/support/InMemoryFileSystem.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/MainWindow.h"
#include "ui/RootView.h"
#include "ui/components/TMButton.h"
#include "ui/onboarding/OnboardingView.h"
#include "ui/screens/BackupDestinationView.h"
#include "ui/screens/ReportCardView.h"
#include "ui/screens/ReportsView.h"
#include "ui/screens/SettingsView.h"
#include "ui/screens/VerificationView.h"
#include "ui/shell/MenuBarPopoverView.h"

namespace tallowmere {
namespace {

using namespace testing;

// The detail area of the main window: the window less its sidebar.
const QSize kScreen{884, 740};

// A state with something in every area.
void storeBusyState(ModelFixture& fixture) {
    fixture.storeScan(SafetyState::needsAttention);
    fixture.storeDestination(externalDrive());
    const BackupJobSnapshot job = jobIn(BackupJobStatus::completedWithSkipped, 3);
    fixture.storeJob(
        job,
        {manifestItem(job, "Documents/Taxes/2024/return.pdf", BackupItemStatus::copied, "Copied."),
         manifestItem(job, "Desktop/Notes.txt", BackupItemStatus::alreadyCopied,
                      "Already in the second copy."),
         manifestItem(job, "Documents/Cloud report.key", BackupItemStatus::skipped,
                      "Cloud-only. Download it before copying.")});
    VerificationRun run = finishedRun(VerificationMode::quick, VerificationStatus::failed);
    fixture.storeRun(run, {failedResult(run, "Documents/Taxes/2024/return.pdf",
                                        VerificationItemStatus::checksumMismatch,
                                        "The checksum does not match the last passed check."),
                           failedResult(run, "Desktop/Notes.txt", VerificationItemStatus::missing,
                                        std::nullopt)});
    VerificationRun restore =
        finishedRun(VerificationMode::restoreTest, VerificationStatus::failed);
    restore.restoreTestPath =
        "/home/alex/.local/share/Tallowmere/Restore Tests/8D2F0C1E-5B7A-4F43-9E0B-3C1D2A4B5E6F";
    fixture.storeRun(restore);
    fixture.storeReport(storedReport("Safety report", kNow.addingSeconds(-86'400)));
    fixture.refresh();
}

TEST(SecondCopyScreenshotTest, BackupDestinationScreen) {
    ModelFixture empty;
    BackupDestinationView emptyView(empty.model(), std::make_shared<FakeFileChooser>());
    showAt(emptyView, kScreen);
    saveFullScreenshot(emptyView, "backup-destination-empty.png");

    // An internal folder without local test mode: refused, in red and orange.
    ModelFixture internal;
    BackupDestination folder = internalFolder();
    folder.availableBytes = 412'000'000'000;
    internal.storeDestination(folder);
    internal.storeJob(jobIn(BackupJobStatus::prepared));
    internal.refresh();
    BackupDestinationView internalView(internal.model(), std::make_shared<FakeFileChooser>());
    showAt(internalView, kScreen);
    saveFullScreenshot(internalView, "backup-destination-internal.png");

    ModelFixture fixture;
    storeBusyState(fixture);
    BackupJobSnapshot paused = jobIn(BackupJobStatus::paused, 3);
    paused.startedAt = kNow.addingSeconds(60);
    paused.completedFiles = 400;
    paused.preparedBytes = 8'400'000'000;
    paused.message = "Copy paused. 400 of 1,204 files are in the second copy.";
    fixture.storeJob(
        paused,
        {manifestItem(paused, "Documents/Taxes/2024/return.pdf", BackupItemStatus::copied,
                      "Copied."),
         manifestItem(paused, "Documents/Projects/Plans/budget.numbers", BackupItemStatus::conflict,
                      "A different file already exists at the destination."),
         manifestItem(paused, "Desktop/Notes.txt", BackupItemStatus::pending, "Ready to copy."),
         manifestItem(paused, "Documents/Cloud report.key", BackupItemStatus::skipped,
                      "Cloud-only. Download it before copying.")});
    fixture.refresh();
    BackupDestinationView view(fixture.model(), std::make_shared<FakeFileChooser>());
    showAt(view, kScreen);
    saveFullScreenshot(view, "backup-destination.png");
}

TEST(SecondCopyScreenshotTest, ReportsScreen) {
    ModelFixture empty;
    ReportsView emptyView(empty.model());
    showAt(emptyView, kScreen);
    saveFullScreenshot(emptyView, "reports-empty.png");

    ModelFixture fixture;
    storeBusyState(fixture);
    ReportsView view(fixture.model());
    showAt(view, kScreen);
    QList<ReportCardView*> cards = view.findChildren<ReportCardView*>();
    ASSERT_GE(cards.size(), 2);
    for (ReportCardView* card : cards) {
        if (card->card().kind == LocalReportKind::backupJob)
            card->setExpanded(true);
    }
    saveFullScreenshot(view, "reports.png");
}

TEST(SecondCopyScreenshotTest, SettingsScreenAndWindow) {
    ModelFixture fixture;
    SettingsView view(fixture.model());
    showAt(view, kScreen);
    saveFullScreenshot(view, "settings.png");

    fixture.model().setAllowLocalBackupTestDestination(true);
    SettingsView wide(fixture.model());
    showAt(wide, {1180, 620});
    saveFullScreenshot(wide, "settings-test-mode-wide.png");

    // The settings window's own size.
    SettingsView window(fixture.model());
    showAt(window, {560, 440});
    EXPECT_TRUE(saveScreenshot(window, "settings-window.png"));
}

TEST(SecondCopyScreenshotTest, VerificationScreen) {
    ModelFixture empty;
    VerificationView emptyView(empty.model());
    showAt(emptyView, kScreen);
    saveFullScreenshot(emptyView, "verification-empty.png");

    ModelFixture fixture;
    storeBusyState(fixture);
    VerificationView view(fixture.model());
    showAt(view, kScreen);
    saveFullScreenshot(view, "verification.png");
}

TEST(SecondCopyScreenshotTest, VerificationScreenWhileACheckRuns) {
    auto files = std::make_shared<InMemoryFileSystem>();
    const BackupJobSnapshot job = jobIn(BackupJobStatus::completed);
    std::vector<BackupManifestItem> items;
    for (int i = 0; i < 4; ++i) {
        BackupManifestItem item =
            manifestItem(job, "Documents/Projects/report-" + std::to_string(i + 1) + ".pdf",
                         BackupItemStatus::copied, "Copied.");
        item.fileSize = 5;
        files->addFile(item.destinationPath, "hello");
        items.push_back(item);
    }
    Gate gate;
    ModelFixture fixture(std::make_shared<GatedReads>(files, gate));
    const auto release = qScopeGuard([&gate] { gate.open(); });
    fixture.storeDestination(externalDrive());
    fixture.storeJob(job, items);
    fixture.refresh();
    VerificationView view(fixture.model());
    showAt(view, kScreen);
    QTest::mouseClick(view.findChild<TMButton*>("fullVerificationButton"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&gate] { return gate.reached(); }, 5000));
    settleRedraws(view);
    saveFullScreenshot(view, "verification-running.png");
}

TEST(SecondCopyScreenshotTest, MainWindowWithTheSecondCopyAndAccountSections) {
    ModelFixture fixture;
    storeBusyState(fixture);
    fixture.model().completeOnboarding();
    MainWindow window(fixture.model(), std::make_shared<FakeFileChooser>());
    showAt(window, {1120, 740});
    const std::pair<AppSection, const char*> sections[] = {
        {AppSection::backupDestination, "window-backup-destination.png"},
        {AppSection::verification, "window-verification.png"},
        {AppSection::reports, "window-reports.png"},
        {AppSection::settings, "window-settings.png"},
    };
    for (const auto& [section, file] : sections) {
        window.rootView()->setSelection(section);
        showAt(window, {1120, 740});
        EXPECT_TRUE(saveScreenshot(window, file)) << file;
    }
    // The smallest window.
    window.rootView()->setSelection(AppSection::backupDestination);
    showAt(window, window.minimumSizeHint().expandedTo({940, 620}));
    EXPECT_TRUE(saveScreenshot(window, "window-backup-destination-small.png"));
}

TEST(SecondCopyScreenshotTest, OnboardingSteps) {
    ModelFixture fixture;
    QWidget window;
    showAt(window, {1120, 740});
    OnboardingSheet sheet(fixture.model(), &window);
    sheet.show();
    for (int step = 0; step < 5; ++step) {
        QApplication::processEvents();
        const std::string file = "onboarding-" + std::to_string(step + 1) + ".png";
        EXPECT_TRUE(saveScreenshot(sheet, file.c_str())) << file;
        if (step < 4) {
            QTest::mouseClick(sheet.findChild<TMButton*>("onboardingPrimaryButton"),
                              Qt::LeftButton);
        }
    }
    EXPECT_EQ(sheet.view()->step(), 4);
}

TEST(SecondCopyScreenshotTest, MenuBarPopover) {
    ModelFixture empty;
    MenuBarPopoverView emptyView(empty.model(), {340, 430}, {});
    showAt(emptyView, {340, 430});
    EXPECT_TRUE(saveScreenshot(emptyView, "popover-empty.png"));

    ModelFixture fixture;
    storeBusyState(fixture);
    MenuBarPopoverView view(fixture.model(), {340, 430}, {});
    showAt(view, {340, 430});
    EXPECT_TRUE(saveScreenshot(view, "popover.png"));
}

}  // namespace
}  // namespace tallowmere
