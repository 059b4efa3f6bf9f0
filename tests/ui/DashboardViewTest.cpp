#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <vector>

#include "persistence/BackupRepository.h"
#include "persistence/DatabaseError.h"
#include "persistence/VerificationRepository.h"
#include "tests/support/StoredStateFixtures.h"
#include "tests/ui/UiTestModel.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMActionCard.h"
#include "ui/components/TMActivityTimeline.h"
#include "ui/components/TMBadge.h"
#include "ui/components/TMButton.h"
#include "ui/screens/dashboard/DashboardPanels.h"
#include "ui/screens/dashboard/DashboardView.h"
#include "ui/theme/StatePresentation.h"

namespace tallowmere {
namespace {

using testing::child;
using testing::settle;
using testing::shownText;
using testing::shownWidgets;

class DashboardViewTest : public ::testing::Test {
protected:
    // The dashboard at the width it has in a 1120-wide window beside the sidebar.
    DashboardView& show() {
        m_view = std::make_unique<DashboardView>(*m_model,
                                                 [this](AppSection s) { navigated.push_back(s); });
        m_view->resize(884, 700);
        m_view->show();
        settle();
        return *m_view;
    }

    std::vector<QString> shownTexts(const char* objectName) const {
        std::vector<QString> texts;
        for (QWidget* widget : shownWidgets(*m_view, QLatin1String(objectName)))
            texts.push_back(static_cast<QLabel*>(widget)->text());
        return texts;
    }

    testing::UiTestModel m_model;
    std::unique_ptr<DashboardView> m_view;
    std::vector<AppSection> navigated;
};

TEST_F(DashboardViewTest, FreshInstallShowsTheBaselineState) {
    DashboardView& view = show();

    EXPECT_EQ(child<TMButton>(view, "scanButton")->text(), "Run Scan");
    EXPECT_FALSE(child<QWidget>(view, "startupWarning")->isVisibleTo(&view));

    auto* badge = child<TMBadge>(view, "healthBadge");
    EXPECT_EQ(shownText(*badge, "badgeText"), "Unknown / cannot verify");
    EXPECT_EQ(shownText(view, "healthHeadline"), "Create your first local safety baseline.");
    EXPECT_EQ(shownText(view, "healthDestination"),
              "Tallowmere keeps scans, reports, and backup manifests local to this Mac.");
    EXPECT_EQ(shownTexts("bannerMetricTitle"),
              (std::vector<QString>{"Last scan", "Last backup", "Last verified"}));
    EXPECT_EQ(shownTexts("bannerMetricValue"), (std::vector<QString>{"Never", "Never", "Never"}));

    auto* ring = child<ScoreRing>(view, "scoreRing");
    EXPECT_EQ(ring->fraction(), 0.0);
    EXPECT_EQ(shownText(*ring, "scorePercent"), "0%");
    EXPECT_EQ(shownText(*ring, "scoreCaption"), "protected");
    EXPECT_EQ(shownTexts("breakdownTitle"),
              (std::vector<QString>{"iCloud Drive", "Photos", "Second copy", "Verification"}));
    EXPECT_EQ(shownTexts("breakdownValue"),
              (std::vector<QString>{"Not scanned", "Not scanned", "Not selected", "Not passed"}));

    struct Tile {
        const char* name;
        const char* title;
        const char* value;
        const char* detail;
    };
    const Tile tiles[] = {
        {"modulePhotos", "Photos", "Unknown / cannot verify",
         "Photos metadata has not been scanned yet."},
        {"moduleICloudDrive", "iCloud Drive", "Unknown / cannot verify",
         "Run a read-only scan to classify local and cloud-only files."},
        {"moduleSecondCopy", "Second Copy", "Unknown / cannot verify",
         "Select an external drive so your second copy is separate from this Mac."},
        {"moduleVerification", "Verification", "Backup stale",
         "No backup verification has passed yet."},
    };
    for (const Tile& tile : tiles) {
        SCOPED_TRACE(tile.name);
        auto* module = child<QWidget>(view, tile.name);
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(shownText(*module, "moduleTitle"), tile.title);
        EXPECT_EQ(shownText(*module, "moduleValue"), tile.value);
        EXPECT_EQ(shownText(*module, "moduleDetail"), tile.detail);
    }

    const auto cards = shownWidgets(view, QStringLiteral("actionCard"));
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(shownText(*cards[0], "actionTitle"), "Create your iCloud safety baseline");
    EXPECT_EQ(shownText(*cards[1], "actionTitle"), "Scan Photos metadata");
    EXPECT_EQ(shownText(*cards[2], "actionTitle"), "Choose an external backup drive");
    EXPECT_EQ(child<TMButton>(*cards[0], "actionButton")->kind(), TMButton::Kind::prominent);
    EXPECT_EQ(child<TMButton>(*cards[1], "actionButton")->kind(), TMButton::Kind::bordered);
    EXPECT_FALSE(child<QWidget>(view, "calmActions")->isVisibleTo(&view));

    EXPECT_EQ(shownText(view, "timelineEmpty"),
              "Run a scan or prepare a backup to build a local activity trail.");
}

TEST_F(DashboardViewTest, ScannedStateRedrawsFromTheModel) {
    DashboardView& view = show();
    auto results = testing::UiTestModel::fileResults(
        12, {ICloudFileState::localCurrent, ICloudFileState::localCurrent,
             ICloudFileState::cloudOnly, ICloudFileState::downloaded});
    m_model.storeICloudScan(results);
    settle();

    // 12 rows: 6 local, 3 downloaded, 3 cloud-only; the run's state is cloud-only.
    auto* badge = child<TMBadge>(view, "healthBadge");
    EXPECT_EQ(shownText(*badge, "badgeText"), "Cloud-only");
    EXPECT_EQ(shownText(view, "healthHeadline"), "Some files may only be in iCloud.");
    auto* ring = child<ScoreRing>(view, "scoreRing");
    EXPECT_EQ(shownText(*ring, "scorePercent"), "34%");
    EXPECT_DOUBLE_EQ(ring->fraction(), 0.34);
    EXPECT_EQ(ring->color(), stateColor(SafetyState::cloudOnly));
    EXPECT_EQ(shownTexts("bannerMetricValue")[0].toStdString(),
              m_model->formatting().dateTime(m_model.clock->now().addingSeconds(-60)));
    EXPECT_EQ(shownText(*child<QWidget>(view, "moduleICloudDrive"), "moduleDetail"),
              "3 files may only exist in iCloud.");
    EXPECT_EQ(shownTexts("breakdownDetail")[0], "9 local, 3 cloud-only, 0 issue.");

    const auto cards = shownWidgets(view, QStringLiteral("actionCard"));
    ASSERT_FALSE(cards.empty());
    EXPECT_EQ(shownText(*cards[0], "actionTitle"), "Scan Photos metadata");
}

TEST_F(DashboardViewTest, ScanButtonStartsAScanAndThenCancelsIt) {
    testing::Gate gate;
    m_model.addScannableFolder("/home/tester/Documents", 30, &gate, 10);
    DashboardView& view = show();
    auto* button = child<TMButton>(view, "scanButton");

    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(m_model->isScanning());
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate.reached(); }, 20000));
    settle();
    EXPECT_EQ(button->text(), "Cancel Scan");

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(m_model->statusMessage(), "Cancelling scan...");
    EXPECT_TRUE(m_model->isScanning()) << "the scan stops at its next entry";
    gate.open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_model->isScanning(); }, 20000));
    settle();
    EXPECT_EQ(button->text(), "Run Scan");
    EXPECT_EQ(m_model->statusMessage(), "Scan cancelled. Tallowmere did not modify your files.");
    EXPECT_EQ(shownText(view, "eventTitle"), "iCloud scan cancelled");
}

TEST_F(DashboardViewTest, TimelineShowsTheFirstSixOfNineEvents) {
    DashboardView& view = show();
    m_model.storeActivity(9);
    settle();
    ASSERT_EQ(m_model->activityEvents().size(), 9u);
    const auto rows = shownWidgets(view, QStringLiteral("timelineRow"));
    ASSERT_EQ(rows.size(), 6u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(shownText(*rows[i], "eventTitle").toStdString(),
                  m_model->activityEvents()[i].title);
    }
    EXPECT_FALSE(child<QLabel>(view, "timelineEmpty")->isVisibleTo(&view));
}

TEST_F(DashboardViewTest, EverythingCheckedShowsTheCalmMessageInsteadOfCards) {
    const auto queue = m_model.database->queue();
    BackupRepository backups(queue, m_model.clock);
    backups.saveSelectedDestination(testing::externalDrive());
    auto job = testing::jobIn(BackupJobStatus::completed);
    job.destinationID = backups.fetchSelectedDestination()->id;
    backups.saveJob(job);
    VerificationRepository verifications(queue, m_model.clock);
    for (const auto mode : {VerificationMode::quick, VerificationMode::restoreTest}) {
        auto run = testing::finishedRun(mode, VerificationStatus::verified);
        run.backupJobID = job.id;
        verifications.saveRun(run);
    }
    m_model.storePhotosScan(testing::photosScan());
    m_model.storeICloudScan(testing::UiTestModel::fileResults(4, {ICloudFileState::localCurrent}));
    ASSERT_TRUE(m_model->nextBestActions().empty());

    DashboardView& view = show();
    EXPECT_TRUE(shownWidgets(view, QStringLiteral("actionCard")).empty());
    EXPECT_TRUE(child<QWidget>(view, "calmActions")->isVisibleTo(&view));
    EXPECT_EQ(shownText(view, "calmText"),
              "Everything checked looks calm. Re-scan after major file changes or run "
              "verification after copying.");
    EXPECT_EQ(child<SymbolView>(view, "calmSymbol")->symbolName(), "checkmark.shield");
    EXPECT_EQ(shownText(*child<QWidget>(view, "moduleVerification"), "moduleValue"), "Protected");
}

TEST_F(DashboardViewTest, StorageWarningShowsOnTemporaryStorage) {
    // A store that cannot be opened: the model falls back to temporary storage.
    AppEnvironment environment;
    environment.openStore = []() -> std::shared_ptr<TallowmereDatabase> {
        throw DatabaseError("unavailable", 14);
    };
    environment.fileSystem = m_model.fileSystem;
    environment.clock = m_model.clock;
    environment.formatting = std::make_shared<EnglishFormatting>();
    AppModel temporary(std::move(environment));
    DashboardView view(temporary, {});
    view.resize(884, 700);
    view.show();
    settle();
    EXPECT_TRUE(child<QWidget>(view, "startupWarning")->isVisibleTo(&view));
    EXPECT_EQ(shownText(view, "startupWarningText"), AppModel::kTemporaryStorageMessage);
}

TEST_F(DashboardViewTest, ActionsSitBesideTheScoreOnlyWhenTheWindowIsWide) {
    DashboardView& view = show();
    auto* row = child<ResponsiveRow>(view, "actionsAndScore");
    EXPECT_FALSE(row->isSideBySide()) << "884 wide: stacked";
    const auto actionsTop = child<QWidget>(view, "nextBestActions")->mapTo(&view, QPoint()).y();
    const auto scoreTop = child<QWidget>(view, "scoreBreakdown")->mapTo(&view, QPoint()).y();
    EXPECT_LT(actionsTop, scoreTop) << "actions first";

    view.resize(1300, 700);
    settle();
    EXPECT_TRUE(row->isSideBySide());
    const QPoint actions = child<QWidget>(view, "nextBestActions")->mapTo(&view, QPoint());
    const QPoint score = child<QWidget>(view, "scoreBreakdown")->mapTo(&view, QPoint());
    EXPECT_EQ(actions.y(), score.y());
    EXPECT_LT(actions.x(), score.x()) << "actions first, the score on the right";
}

}  // namespace
}  // namespace tallowmere
