#include "ui/screens/BackupDestinationView.h"

#include <gtest/gtest.h>

#include <QTest>

#include "tests/ui/UiTestSupport.h"
#include "ui/components/CountView.h"
#include "ui/components/Divider.h"
#include "ui/components/ElidedLabel.h"
#include "ui/components/SymbolLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMButton.h"
#include "ui/theme/SecondCopyPresentation.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

using namespace testing;

constexpr char kInternalWarning[] =
    "This folder appears to be on the internal disk. Choose an external drive, or enable local "
    "test destinations in Settings for testing only.";
constexpr char kLocalTestNotice[] =
    "Local test destination is enabled. This is useful for testing only; use an external drive "
    "for a real second copy.";

const SymbolLabel* symbolLabel(const QWidget& view, const char* name) {
    return view.findChild<SymbolLabel*>(QLatin1String(name));
}

class BackupDestinationViewTest : public ::testing::Test {
protected:
    std::unique_ptr<BackupDestinationView> makeView() {
        auto view = std::make_unique<BackupDestinationView>(fixture.model(), chooser);
        showAt(*view, {900, 900});
        return view;
    }

    ModelFixture fixture;
    std::shared_ptr<FakeFileChooser> chooser = std::make_shared<FakeFileChooser>();
};

TEST_F(BackupDestinationViewTest, WithoutADestinationOnlyChoosingIsPossible) {
    auto view = makeView();

    EXPECT_EQ(textOf(*view, "screenTitle"), "Backup Destination");
    EXPECT_EQ(tileValue(*view, "selectedDriveTile"), "Not selected");
    EXPECT_EQ(tileDetail(*view, "selectedDriveTile"), "External backup destination not selected.");
    EXPECT_TRUE(shows(*view, "noDestination"));
    EXPECT_EQ(textOf(*view, "noDestination"), "No backup destination is selected.");
    EXPECT_FALSE(shows(*view, "destinationStatus"));
    EXPECT_FALSE(shows(*view, "destinationPath"));
    EXPECT_FALSE(shows(*view, "policyWarning"));
    EXPECT_FALSE(shows(*view, "copyWarning"));
    EXPECT_TRUE(button(*view, "chooseDestinationButton")->isEnabled());
    EXPECT_FALSE(button(*view, "refreshDestinationButton")->isEnabled());
    EXPECT_FALSE(button(*view, "prepareBackupButton")->isEnabled());
    EXPECT_FALSE(button(*view, "startCopyButton")->isEnabled());
    EXPECT_EQ(button(*view, "startCopyButton")->text(), "Start Copy");
    EXPECT_FALSE(shows(*view, "pauseCopyButton"));
    EXPECT_FALSE(shows(*view, "cancelCopyButton"));
    EXPECT_FALSE(shows(*view, "copyProgress"));
    EXPECT_EQ(textOf(*view, "jobMessage"), "No backup has been prepared yet.");
    EXPECT_EQ(textOf(*view, "jobStatus"), "Not started");
    EXPECT_TRUE(shows(*view, "noManifestItems"));
    EXPECT_EQ(textOf(*view, "noManifestItems"),
              "Prepare a backup to see eligible, skipped, conflict, and copied items.");
}

TEST_F(BackupDestinationViewTest, AnInternalFolderIsRefusedUnlessLocalTestsAreAllowed) {
    BackupDestination internal = internalFolder();
    internal.availableBytes = 512'000'000'000;
    fixture.storeDestination(internal);
    fixture.refresh();
    auto view = makeView();

    EXPECT_EQ(tileValue(*view, "selectedDriveTile"), "Backups");
    EXPECT_EQ(tileDetail(*view, "selectedDriveTile"), kInternalWarning);
    EXPECT_EQ(textOf(*view, "destinationStatus"), "Available");
    EXPECT_EQ(view->findChild<ElidedLabel*>("destinationPath")->text(), "/media/alex/Backups");
    EXPECT_EQ(textOf(*view, "destinationAvailable").toStdString(),
              fixture.formatting().byteCount(512'000'000'000) + " available.");
    ASSERT_TRUE(shows(*view, "policyWarning"));
    EXPECT_EQ(symbolLabel(*view, "policyWarning")->text(), kInternalWarning);
    EXPECT_EQ(symbolLabel(*view, "policyWarning")->symbolName(), "internaldrive");
    EXPECT_EQ(symbolLabel(*view, "policyWarning")->color(), TMTheme::color(ThemeColor::danger));
    ASSERT_TRUE(shows(*view, "copyWarning"));
    EXPECT_EQ(symbolLabel(*view, "copyWarning")->text(), kInternalWarning);
    EXPECT_EQ(symbolLabel(*view, "copyWarning")->color(), TMTheme::color(ThemeColor::amber));
    EXPECT_TRUE(button(*view, "refreshDestinationButton")->isEnabled());
    EXPECT_TRUE(button(*view, "prepareBackupButton")->isEnabled());
    EXPECT_FALSE(button(*view, "startCopyButton")->isEnabled());

    fixture.model().setAllowLocalBackupTestDestination(true);
    settleRedraws(*view);

    EXPECT_EQ(tileDetail(*view, "selectedDriveTile"), kLocalTestNotice);
    EXPECT_EQ(symbolLabel(*view, "policyWarning")->text(), kLocalTestNotice);
    EXPECT_EQ(symbolLabel(*view, "policyWarning")->color(), TMTheme::color(ThemeColor::amber));
    EXPECT_FALSE(shows(*view, "copyWarning"));
    EXPECT_TRUE(button(*view, "startCopyButton")->isEnabled());
}

TEST_F(BackupDestinationViewTest, AnUnavailableDestinationSaysItsStatusAndCannotBeCopiedTo) {
    struct Case {
        BackupDestinationStatus status;
        std::optional<std::string> warning;
        const char* detail;
        ThemeColor statusColor;
    };
    const Case cases[] = {
        {BackupDestinationStatus::missing, std::nullopt, "Destination status: Missing.",
         ThemeColor::danger},
        {BackupDestinationStatus::permissionIssue, std::nullopt,
         "Destination status: Permission issue.", ThemeColor::danger},
        {BackupDestinationStatus::lowStorage, "The destination has less free space than needed.",
         "The destination has less free space than needed.", ThemeColor::amber},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.detail);
        BackupDestination drive = destination(c.status, true, "Backup Drive");
        drive.warningMessage = c.warning;
        fixture.storeDestination(drive);
        fixture.refresh();
        auto view = makeView();

        EXPECT_EQ(tileDetail(*view, "selectedDriveTile"), c.detail);
        auto* status = view->findChild<QLabel*>("destinationStatus");
        EXPECT_EQ(status->text().toStdString(), displayName(c.status));
        EXPECT_EQ(status->palette().color(QPalette::WindowText), TMTheme::color(c.statusColor));
        EXPECT_EQ(shows(*view, "destinationWarning"), c.warning.has_value());
        if (c.warning) {
            EXPECT_EQ(symbolLabel(*view, "destinationWarning")->text().toStdString(), *c.warning);
            EXPECT_EQ(symbolLabel(*view, "destinationWarning")->symbolName(),
                      "exclamationmark.triangle");
        }
        EXPECT_FALSE(shows(*view, "policyWarning"));
        EXPECT_FALSE(button(*view, "startCopyButton")->isEnabled());
        ASSERT_TRUE(shows(*view, "copyWarning"));
        EXPECT_EQ(symbolLabel(*view, "copyWarning")->text(),
                  "Choose an available external destination before copying.");
    }
}

TEST_F(BackupDestinationViewTest, PreparationShowsTheJobsCountsAndResumesAPausedCopy) {
    fixture.storeDestination(externalDrive());
    BackupJobSnapshot job = jobIn(BackupJobStatus::paused, 12);
    job.totalFiles = 12'345;
    job.completedFiles = 4'321;
    job.conflictFiles = 2;
    job.failedFiles = 1;
    job.preparedBytes = 7'500'000'000;
    fixture.storeJob(job);
    fixture.refresh();
    auto view = makeView();

    EXPECT_EQ(tileValue(*view, "preparedFilesTile"), "12,345");
    EXPECT_EQ(tileDetail(*view, "preparedFilesTile"), "7.5 GB ready to copy.");
    EXPECT_EQ(textOf(*view, "jobStatus"), "Paused");
    EXPECT_EQ(textOf(*view, "jobMessage").toStdString(), job.message);
    EXPECT_EQ(countValue(*view, "Ready"), "12,345");
    EXPECT_EQ(countValue(*view, "Copied"), "4,321");
    EXPECT_EQ(countValue(*view, "Skipped"), "12");
    EXPECT_EQ(countValue(*view, "Conflicts"), "2");
    EXPECT_EQ(countValue(*view, "Failed"), "1");
    EXPECT_EQ(button(*view, "startCopyButton")->text(), "Resume Copy");
    EXPECT_TRUE(button(*view, "startCopyButton")->isEnabled());
    EXPECT_FALSE(shows(*view, "copyWarning"));

    for (BackupJobStatus other : {BackupJobStatus::prepared, BackupJobStatus::cancelled,
                                  BackupJobStatus::completed, BackupJobStatus::failed}) {
        SCOPED_TRACE(rawValue(other));
        BackupJobSnapshot next = jobIn(other);
        next.startedAt = kNow.addingSeconds(60);  // the newest job
        fixture.storeJob(next);
        fixture.refresh();
        settleRedraws(*view);
        EXPECT_EQ(button(*view, "startCopyButton")->text(), "Start Copy");
    }
}

TEST_F(BackupDestinationViewTest, ManifestRowsShowEachItemsStatusWithADividerAfterEveryRow) {
    fixture.storeDestination(externalDrive());
    const BackupJobSnapshot job = jobIn(BackupJobStatus::running);
    std::vector<BackupManifestItem> items;
    for (const auto& entry : allCases<BackupItemStatus>()) {
        items.push_back(manifestItem(job, "Documents/" + std::string(entry.raw) + ".txt",
                                     entry.value, "Message for " + std::string(entry.raw)));
    }
    fixture.storeJob(job, items);
    fixture.refresh();
    auto view = makeView();

    const std::vector<BackupManifestItem>& shown = fixture.model().backupManifestItems();
    ASSERT_EQ(shown.size(), items.size());
    EXPECT_FALSE(shows(*view, "noManifestItems"));
    auto* list = view->findChild<QWidget*>("manifestItems");
    std::vector<QWidget*> entries;
    for (QWidget* child : list->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        entries.push_back(child);
    std::sort(entries.begin(), entries.end(),
              [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    ASSERT_EQ(entries.size(), shown.size() * 2);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const BackupManifestItem& item = shown[i];
        SCOPED_TRACE(item.relativePath);
        QWidget& row = *entries[2 * i];
        EXPECT_EQ(row.findChild<ElidedLabel*>("itemPath")->text().toStdString(), item.relativePath);
        EXPECT_EQ(row.findChild<ElidedLabel*>("itemDestination")->text().toStdString(),
                  item.destinationPath);
        EXPECT_EQ(textOf(row, "itemMessage").toStdString(), item.message);
        EXPECT_EQ(textOf(row, "itemStatus").toStdString(), displayName(item.status));
        const auto* symbol = row.findChild<SymbolView*>("itemSymbol");
        EXPECT_EQ(symbol->symbolName(), statusSymbol(item.status));
        EXPECT_EQ(symbol->color(), TMTheme::color(statusColor(item.status)));
        EXPECT_NE(qobject_cast<Divider*>(entries[2 * i + 1]), nullptr);
    }
}

TEST_F(BackupDestinationViewTest, ALongPathIsShortenedInTheMiddle) {
    BackupDestination drive = externalDrive();
    drive.path = "/media/alex/Backup Drive/" + std::string(150, 'x') + "/Second Copies/Tallowmere";
    fixture.storeDestination(drive);
    fixture.refresh();
    auto view = makeView();
    view->resize(700, 900);
    QApplication::processEvents();

    const auto* path = view->findChild<ElidedLabel*>("destinationPath");
    EXPECT_EQ(path->text().toStdString(), *drive.path);
    EXPECT_TRUE(path->shownText().contains(QChar(0x2026))) << path->shownText().toStdString();
    EXPECT_TRUE(path->shownText().startsWith(QStringLiteral("/media/alex")));
    EXPECT_TRUE(path->shownText().endsWith(QStringLiteral("Tallowmere")));
}

TEST_F(BackupDestinationViewTest, ChooseDestinationAsksForOneFolderAndCancellingChangesNothing) {
    auto view = makeView();
    chooser->answer.reset();

    QTest::mouseClick(button(*view, "chooseDestinationButton"), Qt::LeftButton);

    ASSERT_EQ(chooser->requests.size(), 1u);
    const OpenPanelRequest& asked = chooser->requests[0];
    EXPECT_EQ(asked.title, "Choose a Backup Destination");
    EXPECT_EQ(asked.prompt, "Use Folder");
    EXPECT_TRUE(asked.canChooseDirectories);
    EXPECT_FALSE(asked.canChooseFiles);
    EXPECT_TRUE(asked.canCreateDirectories);
    QApplication::processEvents();
    EXPECT_FALSE(fixture.model().backupDestination().has_value());
}

}  // namespace
}  // namespace tallowmere
