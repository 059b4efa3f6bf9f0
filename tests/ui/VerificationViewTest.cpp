#include "ui/screens/VerificationView.h"

#include <gtest/gtest.h>

#include <QProgressBar>
#include <QScopeGuard>
#include <QTest>

#include "tests/support/InMemoryFileSystem.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/components/CountView.h"
#include "ui/components/Divider.h"
#include "ui/components/ElidedLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMButton.h"
#include "ui/theme/SecondCopyPresentation.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

using namespace testing;

// The rows and dividers of the findings list, top to bottom.
std::vector<QWidget*> findingsList(const QWidget& view) {
    const auto* list = view.findChild<QWidget*>(QStringLiteral("findings"));
    std::vector<QWidget*> entries;
    for (QWidget* child : list->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisibleTo(list))
            entries.push_back(child);
    }
    std::sort(entries.begin(), entries.end(),
              [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    return entries;
}

TEST(VerificationViewTest, BeforeAnyCheckShowsNeverNotRunAndNoFailures) {
    ModelFixture fixture;
    VerificationView view(fixture.model());
    showAt(view, {900, 800});

    EXPECT_EQ(textOf(view, "screenTitle"), "Verification");
    EXPECT_EQ(textOf(view, "screenSubtitle"),
              "Checksum checks, sample restore tests, and restore confidence.");
    EXPECT_EQ(tileValue(view, "lastVerificationTile"), "Never");
    EXPECT_EQ(tileDetail(view, "lastVerificationTile"), "No verification has been run yet.");
    EXPECT_EQ(tileValue(view, "restoreTestTile"), "Not run");
    EXPECT_EQ(tileDetail(view, "restoreTestTile"),
              "Your backup has not passed a sample restore test yet.");
    EXPECT_EQ(textOf(view, "verificationStatus"), "Not run");
    EXPECT_FALSE(shows(view, "verificationProgress"));
    EXPECT_EQ(countValue(view, "Checked"), "0");
    EXPECT_EQ(countValue(view, "Bytes read"), "0 bytes");
    EXPECT_TRUE(shows(view, "noFindings"));
    EXPECT_EQ(textOf(view, "noFindings"), "No verification failures have been recorded.");
    EXPECT_FALSE(shows(view, "findings"));
    for (const char* button :
         {"quickVerificationButton", "fullVerificationButton", "restoreTestButton"}) {
        EXPECT_TRUE(view.findChild<TMButton*>(QLatin1String(button))->isEnabled()) << button;
    }
    EXPECT_EQ(view.findChild<TMButton*>("quickVerificationButton")->text(), "Quick Verification");
    EXPECT_EQ(view.findChild<TMButton*>("fullVerificationButton")->text(), "Full Verification");
    EXPECT_EQ(view.findChild<TMButton*>("restoreTestButton")->text(), "Restore Test");
}

TEST(VerificationViewTest, ShowsTheLatestRunsCountsAndFailuresWithoutADividerAfterTheLast) {
    ModelFixture fixture;
    VerificationView view(fixture.model());
    showAt(view, {900, 800});
    VerificationRun run = finishedRun(VerificationMode::full, VerificationStatus::failed);
    run.checkedFiles = 12'345;
    run.failedFiles = 3;
    run.skippedFiles = 1'002;
    run.bytesChecked = 2'500'000'000;
    fixture.storeRun(
        run, {failedResult(run, "Documents/a.pdf", VerificationItemStatus::checksumMismatch,
                           "The checksum does not match."),
              failedResult(run, "Documents/b.txt", VerificationItemStatus::missing, std::nullopt),
              failedResult(run, "Desktop/c.key", VerificationItemStatus::unreadable,
                           "Tallowmere could not read this file.")});
    fixture.refresh();
    settleRedraws(view);

    EXPECT_EQ(tileValue(view, "lastVerificationTile").toStdString(),
              fixture.formatting().dateTime(*run.completedAt));
    EXPECT_EQ(tileDetail(view, "lastVerificationTile"), "Verification found problems.");
    auto* status = view.findChild<QLabel*>("verificationStatus");
    EXPECT_EQ(status->text(), "Needs attention");
    EXPECT_EQ(status->palette().color(QPalette::WindowText), TMTheme::color(ThemeColor::danger));
    EXPECT_EQ(countValue(view, "Checked"), "12,345");
    EXPECT_EQ(countValue(view, "Failed"), "3");
    EXPECT_EQ(countValue(view, "Skipped"), "1,002");
    EXPECT_EQ(countValue(view, "Bytes read"), "2.5 GB");

    EXPECT_FALSE(shows(view, "noFindings"));
    const std::vector<VerificationItemResult>& results = fixture.model().verificationResults();
    const std::vector<QWidget*> entries = findingsList(view);
    ASSERT_EQ(entries.size(), results.size() * 2 - 1);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        if (i % 2 == 1) {
            EXPECT_NE(qobject_cast<Divider*>(entries[i]), nullptr);
            continue;
        }
        const VerificationItemResult& result = results[i / 2];
        QWidget& row = *entries[i];
        EXPECT_EQ(row.findChild<ElidedLabel*>("findingPath")->text().toStdString(),
                  result.relativePath);
        EXPECT_EQ(textOf(row, "findingReason").toStdString(),
                  result.failureReason.value_or(std::string(displayName(result.status))));
        EXPECT_EQ(textOf(row, "findingStatus").toStdString(), displayName(result.status));
        const auto* symbol = row.findChild<SymbolView*>("findingSymbol");
        EXPECT_EQ(symbol->symbolName(), statusSymbol(result.status));
        EXPECT_EQ(symbol->color(), TMTheme::color(ThemeColor::danger));
    }
    EXPECT_EQ(qobject_cast<Divider*>(entries.back()), nullptr);
}

TEST(VerificationViewTest, RestoreTestTileSaysWhatTheLastRestoreTestFound) {
    struct Case {
        VerificationStatus status;
        bool retainedFolder;
        const char* value;
        const char* detail;
    };
    const Case cases[] = {
        {VerificationStatus::verified, false, "Sample passed", "Verification passed."},
        {VerificationStatus::failed, false, "Needs attention", "Verification found problems."},
        {VerificationStatus::running, false, "Running", "Verification found problems."},
        {VerificationStatus::unknown, false, "Unknown", "Verification found problems."},
        // A kept folder is named whatever the status.
        {VerificationStatus::failed, true, "Needs attention",
         "A failed restore-test folder was retained at /data/Restore Tests/RUN."},
        {VerificationStatus::verified, true, "Sample passed",
         "A failed restore-test folder was retained at /data/Restore Tests/RUN."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        VerificationRun run = finishedRun(VerificationMode::restoreTest, c.status);
        if (c.retainedFolder)
            run.restoreTestPath = "/data/Restore Tests/RUN";
        EXPECT_EQ(restoreTestValue(run.status), c.value);
        EXPECT_EQ(restoreTestDetail(run), c.detail);
    }

    ModelFixture fixture;
    VerificationRun kept = finishedRun(VerificationMode::restoreTest, VerificationStatus::failed);
    kept.restoreTestPath = "/data/Restore Tests/RUN";
    fixture.storeRun(kept);
    fixture.refresh();
    VerificationView view(fixture.model());
    showAt(view, {900, 800});
    EXPECT_EQ(tileValue(view, "restoreTestTile"), "Needs attention");
    EXPECT_EQ(tileDetail(view, "restoreTestTile"),
              "A failed restore-test folder was retained at /data/Restore Tests/RUN.");
    // A restore test is not a verification: the other tile stays as it was.
    EXPECT_EQ(tileValue(view, "lastVerificationTile"), "Never");
}

TEST(VerificationViewTest, EachButtonStartsItsCheck) {
    struct Case {
        const char* button;
        VerificationMode mode;
    };
    for (const Case& c : {Case{"quickVerificationButton", VerificationMode::quick},
                          Case{"fullVerificationButton", VerificationMode::full},
                          Case{"restoreTestButton", VerificationMode::restoreTest}}) {
        SCOPED_TRACE(c.button);
        ModelFixture fixture;
        VerificationView view(fixture.model());
        showAt(view, {900, 800});

        QTest::mouseClick(view.findChild<TMButton*>(QLatin1String(c.button)), Qt::LeftButton);

        // Nothing is copied: each check ends at once as failed, in its own mode.
        const auto published = [&fixture, &c]() -> const VerificationRun& {
            return c.mode == VerificationMode::restoreTest ? fixture.model().restoreTestSnapshot()
                                                           : fixture.model().verificationSnapshot();
        };
        QTRY_COMPARE(published().status, VerificationStatus::failed);
        EXPECT_EQ(published().mode, c.mode);
    }
}

TEST(VerificationViewTest, WhileACheckRunsTheButtonsAreDisabledAndItsProgressShows) {
    auto files = std::make_shared<InMemoryFileSystem>();
    const BackupJobSnapshot job = jobIn(BackupJobStatus::completed);
    BackupManifestItem item =
        manifestItem(job, "Documents/a.txt", BackupItemStatus::copied, "Copied.");
    item.fileSize = 5;
    files->addFile(item.destinationPath, "hello");
    Gate gate;
    ModelFixture fixture(std::make_shared<GatedReads>(files, gate));
    const auto release = qScopeGuard([&gate] { gate.open(); });
    fixture.storeDestination(externalDrive());
    fixture.storeJob(job, {item});
    fixture.refresh();
    VerificationView view(fixture.model());
    showAt(view, {900, 800});
    auto* buttons = view.findChild<QWidget*>("verificationButtons");

    QTest::mouseClick(view.findChild<TMButton*>("fullVerificationButton"), Qt::LeftButton);
    QTRY_VERIFY(gate.reached());
    settleRedraws(view);

    EXPECT_TRUE(fixture.model().isVerificationRunning());
    EXPECT_FALSE(buttons->isEnabled());
    for (const char* name :
         {"quickVerificationButton", "fullVerificationButton", "restoreTestButton"}) {
        EXPECT_FALSE(view.findChild<TMButton*>(QLatin1String(name))->isEnabled()) << name;
    }
    EXPECT_TRUE(shows(view, "verificationProgress"));
    const auto* bar = view.findChild<QProgressBar*>("verificationProgressBar");
    EXPECT_EQ(bar->maximum(), 1);
    const VerificationProgressSnapshot& progress = fixture.model().verificationProgress();
    EXPECT_EQ(view.findChild<ElidedLabel*>("verificationProgressText")->text().toStdString(),
              progress.currentFile.value_or(progress.message));

    gate.open();
    QTRY_VERIFY(!fixture.model().isVerificationRunning());
    settleRedraws(view);
    EXPECT_TRUE(buttons->isEnabled());
    EXPECT_FALSE(shows(view, "verificationProgress"));
    EXPECT_EQ(fixture.model().verificationSnapshot().mode, VerificationMode::full);
    EXPECT_EQ(textOf(view, "verificationStatus").toStdString(),
              verificationStatusLabel(fixture.model().verificationSnapshot().status));
}

}  // namespace
}  // namespace tallowmere
