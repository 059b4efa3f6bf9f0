#include "ui/screens/ReportsView.h"

#include <gtest/gtest.h>

#include <QTest>
#include <fstream>
#include <sstream>

#include "tests/support/TemporaryDirectory.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/components/DetailRow.h"
#include "ui/components/TMButton.h"
#include "ui/screens/ReportCardView.h"

namespace tallowmere {
namespace {

using namespace testing;

std::vector<ReportCardView*> cardsOf(ReportsView& view) {
    std::vector<ReportCardView*> cards;
    for (ReportCardView* card : view.findChildren<ReportCardView*>()) {
        if (card->isVisibleTo(&view))
            cards.push_back(card);
    }
    std::sort(cards.begin(), cards.end(), [&view](QWidget* a, QWidget* b) {
        return a->mapTo(&view, QPoint()).y() < b->mapTo(&view, QPoint()).y();
    });
    return cards;
}

void clickLabelRow(ReportCardView& card) {
    QWidget* row = card.findChild<QWidget*>(QStringLiteral("reportCardToggle"));
    ASSERT_NE(row, nullptr);
    QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(4, 4));
}

// A backup job, a quick verification and four stored reports: cards of three kinds.
class ReportsViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixture.storeDestination(externalDrive());
        fixture.storeJob(jobIn(BackupJobStatus::completedWithSkipped, 2));
        fixture.storeRun(finishedRun(VerificationMode::quick, VerificationStatus::verified));
        for (int i = 0; i < 4; ++i) {
            fixture.storeReport(storedReport("Safety report " + std::to_string(i + 1),
                                             kNow.addingSeconds(-10'000.0 * (i + 1))));
        }
        fixture.refresh();
    }

    ModelFixture fixture;
};

TEST(ReportsViewEmptyTest, ShowsOnlyTheEmptyStateBeforeAnyResults) {
    ModelFixture fixture;
    ReportsView view(fixture.model());
    showAt(view, {1000, 700});

    ASSERT_TRUE(fixture.model().reportCards().empty());
    EXPECT_TRUE(shows(view, "reportsEmpty"));
    EXPECT_EQ(textOf(view, "emptyTitle"), "No reports yet");
    EXPECT_EQ(textOf(view, "emptyMessage"),
              "Run a scan or verification to create a local report summary.");
    EXPECT_TRUE(cardsOf(view).empty());
}

TEST_F(ReportsViewTest, ShowsOneCollapsedCardPerModelCardInTheModelsOrder) {
    ReportsView view(fixture.model());
    showAt(view, {1000, 900});

    const std::vector<LocalReportCard>& model = fixture.model().reportCards();
    const std::vector<ReportCardView*> cards = cardsOf(view);
    ASSERT_EQ(cards.size(), model.size());
    ASSERT_EQ(cards.size(), 5u);  // backup job, verification, three of the four stored reports
    EXPECT_FALSE(shows(view, "reportsEmpty"));
    for (std::size_t i = 0; i < cards.size(); ++i) {
        SCOPED_TRACE(model[i].title);
        const ReportCardView& card = *cards[i];
        EXPECT_EQ(card.card(), model[i]);
        EXPECT_EQ(textOf(card, "reportTitle").toStdString(), model[i].title);
        EXPECT_EQ(textOf(card, "reportKind").toStdString(), label(model[i].kind));
        EXPECT_EQ(textOf(card, "reportDate").toStdString(),
                  fixture.formatting().dateTime(model[i].generatedAt));
        EXPECT_EQ(textOf(card, "reportSummary").toStdString(), model[i].summary);
        EXPECT_EQ(textOf(card, "pillText").toStdString(), displayName(model[i].status));
        EXPECT_FALSE(card.isExpanded());
        EXPECT_FALSE(shows(card, "exportReportButton"));
    }
    // The cards of this state, newest first.
    EXPECT_EQ(textOf(*cards[0], "reportKind"), "Verification");
    EXPECT_EQ(textOf(*cards[1], "reportKind"), "Backup job");
    EXPECT_EQ(textOf(*cards[2], "reportTitle"), "Safety report 1");
}

TEST_F(ReportsViewTest, ExpandedCardShowsDetailsNextStepPrivacyNoteAndExport) {
    ReportsView view(fixture.model());
    showAt(view, {1000, 900});
    ReportCardView& card = *cardsOf(view)[1];
    ASSERT_EQ(card.card().kind, LocalReportKind::backupJob);

    clickLabelRow(card);
    ASSERT_TRUE(card.isExpanded());
    EXPECT_TRUE(shows(card, "exportReportButton"));
    EXPECT_EQ(card.findChild<TMButton*>("exportReportButton")->text(), "Export privacy-safe JSON");
    const QList<DetailRow*> rows = card.findChildren<DetailRow*>();
    ASSERT_EQ(static_cast<std::size_t>(rows.size()), card.card().details.size());
    for (int i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(textOf(*rows[i], "detailTitle").toStdString(), card.card().details[i].label);
        EXPECT_EQ(textOf(*rows[i], "detailValue").toStdString(), card.card().details[i].value);
    }
    EXPECT_EQ(textOf(*rows[1], "detailValue"), "1,204");  // "Prepared", grouped
    EXPECT_EQ(textOf(card, "reportNextStepTitle"), "Next step");
    EXPECT_EQ(textOf(card, "reportNextStep"),
              "Run verification to confirm Tallowmere can read the second copy.");
    EXPECT_EQ(textOf(card, "reportPrivacyNote"),
              "This report omits source paths, destination paths, manifests, and checksums.");

    clickLabelRow(card);
    EXPECT_FALSE(card.isExpanded());
    EXPECT_FALSE(shows(card, "exportReportButton"));

    // The keyboard opens it too.
    QTest::keyClick(card.findChild<QWidget*>("reportCardToggle"), Qt::Key_Space);
    EXPECT_TRUE(card.isExpanded());
}

TEST_F(ReportsViewTest, ExportWritesExactlyTheCardWhoseButtonWasPressed) {
    const TemporaryDirectory folder;
    ReportsView view(fixture.model());
    showAt(view, {1000, 900});
    const std::vector<ReportCardView*> cards = cardsOf(view);

    for (std::size_t pressed : {std::size_t{3}, std::size_t{0}}) {
        SCOPED_TRACE(pressed);
        ReportCardView& card = *cards[pressed];
        const std::string path = (folder / ("card" + std::to_string(pressed) + ".json")).string();
        fixture.dialogs().saveAnswer = path;
        card.setExpanded(true);
        QTest::mouseClick(card.findChild<TMButton*>("exportReportButton"), Qt::LeftButton);

        ASSERT_FALSE(fixture.dialogs().saveRequests.empty());
        const SaveLocationRequest& request = fixture.dialogs().saveRequests.back();
        EXPECT_EQ(request.title, "Export Tallowmere Report");
        EXPECT_EQ(request.prompt, "Export");
        EXPECT_EQ(
            request.proposedFileName.rfind(std::string(rawValue(card.card().kind)) + "-report-", 0),
            0u)
            << request.proposedFileName;
        std::ifstream written(path);
        std::stringstream contents;
        contents << written.rdbuf();
        EXPECT_NE(contents.str().find(card.card().id.toString()), std::string::npos);
        EXPECT_NE(contents.str().find(card.card().title), std::string::npos);
    }
    EXPECT_EQ(fixture.model().statusMessage(),
              "Report exported without file paths, manifests, checksums, files, or photos.");
}

TEST_F(ReportsViewTest, CancellingTheSavePanelWritesNothing) {
    ReportsView view(fixture.model());
    showAt(view, {1000, 900});
    ReportCardView& card = *cardsOf(view)[0];
    card.setExpanded(true);
    fixture.dialogs().saveAnswer.reset();
    const std::string before = fixture.model().statusMessage();

    QTest::mouseClick(card.findChild<TMButton*>("exportReportButton"), Qt::LeftButton);

    EXPECT_EQ(fixture.dialogs().saveRequests.size(), 1u);
    EXPECT_EQ(fixture.model().statusMessage(), before);
}

TEST_F(ReportsViewTest, RedrawsWhenTheCardsChangeAndKeepsOpenedCardsOpen) {
    ReportsView view(fixture.model());
    showAt(view, {1000, 900});
    clickLabelRow(*cardsOf(view)[1]);  // the backup job

    fixture.storeRun(finishedRun(VerificationMode::restoreTest, VerificationStatus::failed));
    fixture.refresh();
    settleRedraws(view);

    const std::vector<ReportCardView*> cards = cardsOf(view);
    ASSERT_EQ(cards.size(), fixture.model().reportCards().size());
    std::vector<std::string> kinds;
    for (ReportCardView* card : cards) {
        kinds.emplace_back(rawValue(card->card().kind));
        EXPECT_EQ(card->isExpanded(), card->card().kind == LocalReportKind::backupJob)
            << kinds.back();
    }
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), "restoreTest"), kinds.end());
}

TEST_F(ReportsViewTest, LeavingTheScreenClosesItsCards) {
    ReportsView view(fixture.model());
    showAt(view, {1000, 900});
    clickLabelRow(*cardsOf(view)[1]);
    ASSERT_TRUE(cardsOf(view)[1]->isExpanded());

    view.hide();
    view.show();
    settleRedraws(view);
    for (ReportCardView* card : cardsOf(view)) EXPECT_FALSE(card->isExpanded());
    // Nor does a refresh bring the old state back.
    fixture.refresh();
    settleRedraws(view);
    for (ReportCardView* card : cardsOf(view)) EXPECT_FALSE(card->isExpanded());
}

}  // namespace
}  // namespace tallowmere
