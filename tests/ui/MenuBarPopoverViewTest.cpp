#include "ui/shell/MenuBarPopoverView.h"

#include <gtest/gtest.h>

#include <QScopeGuard>
#include <QTest>

#include "persistence/ScanRepository.h"
#include "tests/support/InMemoryFileSystem.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMButton.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

using namespace testing;

QString rowValue(const QWidget& view, const char* name) {
    const auto* row = view.findChild<PopoverRow*>(QLatin1String(name));
    return row ? row->value() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

class MenuBarPopoverViewTest : public ::testing::Test {
protected:
    MenuBarPopoverView::Actions countingActions() {
        return {.openDashboard = [this] { ++dashboards; },
                .showSettings = [this] { ++settings; },
                .quit =
                    [this] {
                        ++quits;
                    }};
    }

    ModelFixture fixture;
    int dashboards = 0;
    int settings = 0;
    int quits = 0;
};

TEST_F(MenuBarPopoverViewTest, BeforeAnythingHappenedShowsNeverNotRunAndNotSelected) {
    MenuBarPopoverView view(fixture.model(), {340, 430}, countingActions());
    view.show();
    QApplication::processEvents();

    EXPECT_EQ(view.size(), QSize(340, 430));
    EXPECT_EQ(textOf(view, "popoverTitle"), "Tallowmere");
    EXPECT_EQ(textOf(view, "popoverState"), "Unknown / cannot verify");
    const auto* health = view.findChild<SymbolView*>("popoverHealthSymbol");
    EXPECT_EQ(health->symbolName(), "pause.circle.fill");
    EXPECT_EQ(health->color(), TMTheme::color(ThemeColor::secondaryLabel));
    EXPECT_EQ(health->accessibleName().toStdString(),
              accessibilityDescription(MenuBarHealth::paused));

    const QList<PopoverRow*> rows = view.findChildren<PopoverRow*>();
    ASSERT_EQ(rows.size(), 6);
    const char* titles[] = {"Safety score",      "Last scan",    "Last backup",
                            "Last verification", "Verification", "Destination"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(rows[i]->title(), titles[i]);
    EXPECT_EQ(rowValue(view, "rowSafetyScore"),
              QString::number(DashboardSnapshot::empty().safetyScore) + "%");
    EXPECT_EQ(rowValue(view, "rowLastScan"), "Never");
    EXPECT_EQ(rowValue(view, "rowLastBackup"), "Never");
    EXPECT_EQ(rowValue(view, "rowLastVerification"), "Never");
    EXPECT_EQ(rowValue(view, "rowVerification"), "Not run");
    EXPECT_EQ(rowValue(view, "rowDestination"), "Not selected");

    const char* actions[] = {"popoverScan", "popoverStartBackup", "popoverVerify",
                             "popoverOpenDashboard", "popoverLatestReport"};
    const char* texts[] = {"Run scan", "Start backup", "Verify backup", "Open dashboard",
                           "View latest report"};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(actions[i]);
        auto* button = view.findChild<PopoverActionButton*>(QLatin1String(actions[i]));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), texts[i]);
        // Never disabled: the workflows decide.
        EXPECT_TRUE(button->isEnabled());
    }
}

TEST_F(MenuBarPopoverViewTest, ShowsTheLatestScanBackupAndVerification) {
    MenuBarPopoverView view(fixture.model(), {340, 430}, countingActions());
    view.show();
    fixture.storeScan(SafetyState::cloudOnly);
    fixture.storeDestination(externalDrive());
    const BackupJobSnapshot job = jobIn(BackupJobStatus::completed);
    fixture.storeJob(job);
    const VerificationRun run = finishedRun(VerificationMode::full, VerificationStatus::verified);
    fixture.storeRun(run);
    fixture.refresh();
    settleRedraws(view);

    const DashboardSnapshot& snapshot = fixture.model().dashboardSnapshot();
    ASSERT_EQ(snapshot.menuBarHealth, MenuBarHealth::unsafe);
    EXPECT_EQ(textOf(view, "popoverState"), "Cloud-only");
    const auto* health = view.findChild<SymbolView*>("popoverHealthSymbol");
    EXPECT_EQ(health->symbolName(), "xmark.octagon.fill");
    EXPECT_EQ(health->color(), TMTheme::color(ThemeColor::danger));
    EXPECT_EQ(rowValue(view, "rowSafetyScore"), QString::number(snapshot.safetyScore) + "%");
    EXPECT_EQ(rowValue(view, "rowLastScan").toStdString(),
              fixture.formatting().dateTime(*snapshot.lastScanAt));
    EXPECT_EQ(rowValue(view, "rowLastBackup").toStdString(),
              fixture.formatting().dateTime(*job.completedAt));
    EXPECT_EQ(rowValue(view, "rowLastVerification").toStdString(),
              fixture.formatting().dateTime(*run.completedAt));
    EXPECT_EQ(rowValue(view, "rowVerification"), "Passed");
    EXPECT_EQ(rowValue(view, "rowDestination"), "Backup Drive");
}

TEST_F(MenuBarPopoverViewTest, DashboardReportSettingsAndQuitCallTheirActions) {
    MenuBarPopoverView view(fixture.model(), {340, 430}, countingActions());
    view.show();
    QApplication::processEvents();

    QTest::mouseClick(view.findChild<QPushButton*>("popoverOpenDashboard"), Qt::LeftButton);
    QTest::mouseClick(view.findChild<QPushButton*>("popoverLatestReport"), Qt::LeftButton);
    EXPECT_EQ(dashboards, 2);
    auto* settingsButton = view.findChild<TMButton*>("popoverSettings");
    auto* quitButton = view.findChild<TMButton*>("popoverQuit");
    EXPECT_EQ(settingsButton->text(), "Settings");
    EXPECT_EQ(quitButton->text(), "Quit");
    QTest::mouseClick(settingsButton, Qt::LeftButton);
    QTest::mouseClick(quitButton, Qt::LeftButton);
    EXPECT_EQ(settings, 1);
    EXPECT_EQ(quits, 1);
}

TEST_F(MenuBarPopoverViewTest, VerifyBackupStartsAQuickVerification) {
    MenuBarPopoverView view(fixture.model(), {340, 430}, countingActions());
    view.show();

    QTest::mouseClick(view.findChild<QPushButton*>("popoverVerify"), Qt::LeftButton);

    // Nothing is copied yet: the check runs, fails and says why.
    QTRY_COMPARE(fixture.model().verificationSnapshot().status, VerificationStatus::failed);
    EXPECT_EQ(fixture.model().verificationSnapshot().mode, VerificationMode::quick);
    EXPECT_EQ(fixture.model().statusMessage(),
              "Copy files into a backup destination before running verification.");
}

TEST_F(MenuBarPopoverViewTest, StartBackupAsksTheCopyWorkflowWhichSaysWhatIsMissing) {
    MenuBarPopoverView view(fixture.model(), {340, 430}, countingActions());
    view.show();

    QTest::mouseClick(view.findChild<QPushButton*>("popoverStartBackup"), Qt::LeftButton);

    QTRY_COMPARE(fixture.model().statusMessage(),
                 std::string("Choose an available external backup destination before copying."));
    EXPECT_FALSE(fixture.model().isBackupRunning());
}

TEST(MenuBarPopoverScanTest, RunScanStartsAManualScanThatCancelScanStops) {
    auto fileSystem = std::make_shared<InMemoryFileSystem>();
    for (int i = 0; i < 10; ++i) fileSystem->addFile("/home/tester/Work/file-" + std::to_string(i));
    Gate gate;
    fileSystem->setEnumerationHook([&gate](const std::string& path) {
        if (path == "/home/tester/Work/file-5")
            gate.pass();
    });
    ModelFixture fixture(fileSystem);
    const auto release = qScopeGuard([&gate] { gate.open(); });
    fixture.model().addScanRoot("/home/tester/Work");
    MenuBarPopoverView view(fixture.model(), {340, 430}, {});
    view.show();
    auto* scan = view.findChild<PopoverActionButton*>("popoverScan");
    ASSERT_EQ(scan->text(), "Run scan");
    EXPECT_EQ(scan->symbolName(), "arrow.clockwise");

    QTest::mouseClick(scan, Qt::LeftButton);
    EXPECT_FALSE(fixture.model().isScanning());  // starts on the next turn of the loop
    QTRY_VERIFY(gate.reached());
    settleRedraws(view);
    EXPECT_EQ(scan->text(), "Cancel scan");
    EXPECT_EQ(scan->symbolName(), "xmark.circle");

    QTest::mouseClick(scan, Qt::LeftButton);
    EXPECT_EQ(fixture.model().statusMessage(), "Cancelling scan...");
    gate.open();
    QTRY_VERIFY(!fixture.model().isScanning());
    settleRedraws(view);
    EXPECT_EQ(scan->text(), "Run scan");
    ASSERT_TRUE(fixture.model().iCloudSummary().has_value());
    EXPECT_EQ(fixture.model().iCloudSummary()->status, ScanRunStatus::cancelled);
    const auto run = ScanRepository(fixture.database().queue()).fetchLatestScanRun();
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(run->trigger, ScanTrigger::manual);
}

TEST(PopoverRowTest, ALongValueShrinksToEightyPercentBeforeItIsCut) {
    const QFont font = TMTheme::font(TextStyle::body);
    const QString value = QStringLiteral("Backup Drive Number Two");
    const int valueWidth = QFontMetrics(font).horizontalAdvance(value);
    const int titleWidth = QFontMetrics(font).horizontalAdvance(QStringLiteral("Destination"));
    PopoverRow row(QStringLiteral("Destination"));
    row.show();

    row.resize(titleWidth + 12 + valueWidth + 20, 24);
    row.setValue(value);
    QApplication::processEvents();
    EXPECT_EQ(row.valueScale(), 1.0);
    EXPECT_EQ(row.shownValue(), value);

    // A little too wide: smaller type, the whole value.
    row.resize(titleWidth + 12 + valueWidth * 92 / 100, 24);
    QApplication::processEvents();
    EXPECT_LT(row.valueScale(), 1.0);
    EXPECT_GE(row.valueScale(), PopoverRow::kMinimumScale);
    EXPECT_EQ(row.shownValue(), value);

    // Far too wide: 80 % and cut.
    row.resize(titleWidth + 12 + valueWidth / 2, 24);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(row.valueScale(), PopoverRow::kMinimumScale);
    EXPECT_NE(row.shownValue(), value);
    EXPECT_TRUE(row.shownValue().endsWith(QChar(0x2026))) << row.shownValue().toStdString();
    EXPECT_EQ(row.value(), value);
}

}  // namespace
}  // namespace tallowmere
