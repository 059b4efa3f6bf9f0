#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QPointer>
#include <QTest>
#include <string>

#include "core/platform/Formatting.h"
#include "core/platform/Uuid.h"
#include "ui/components/DetailRow.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMActionCard.h"
#include "ui/components/TMActivityTimeline.h"
#include "ui/components/TMBadge.h"
#include "ui/components/TMButton.h"
#include "ui/components/TMHeader.h"
#include "ui/components/TMScreen.h"
#include "ui/components/TMStatusModule.h"
#include "ui/theme/StatePresentation.h"

namespace tallowmere {
namespace {

QString labelText(const QWidget& parent, const char* name) {
    const auto* label = parent.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

std::vector<ActivityEvent> makeEvents(int count) {
    const SafetyState severities[] = {SafetyState::protected_, SafetyState::needsAttention,
                                      SafetyState::cloudOnly,  SafetyState::backupStale,
                                      SafetyState::unknown,    SafetyState::stuckSyncing};
    std::vector<ActivityEvent> events;
    for (int i = 0; i < count; ++i) {
        events.emplace_back(
            Uuid::random(), ActivityEventKind::iCloudScan, "Event " + std::to_string(i + 1),
            "Details of event " + std::to_string(i + 1), severities[i % std::size(severities)],
            std::nullopt, Date(1'765'443'900.0 - 3600.0 * i));
    }
    return events;
}

// The visible rows of a timeline, top to bottom.
std::vector<QWidget*> timelineRows(const TMActivityTimeline& timeline) {
    std::vector<QWidget*> rows;
    for (QWidget* row : timeline.findChildren<QWidget*>(QStringLiteral("timelineRow"))) {
        if (row->isVisibleTo(&timeline))
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end(), [&timeline](QWidget* a, QWidget* b) {
        return a->mapTo(&timeline, QPoint()).y() < b->mapTo(&timeline, QPoint()).y();
    });
    return rows;
}

TEST(TMActivityTimelineTest, ShowsTheFirstSixEventsInTheGivenOrder) {
    const EnglishFormatting formatting;
    const std::vector<ActivityEvent> events = makeEvents(9);
    TMActivityTimeline timeline(events, formatting);
    timeline.resize(700, 800);
    timeline.show();
    QApplication::processEvents();

    EXPECT_EQ(labelText(timeline, "timelineHeading"), "Recent activity");
    EXPECT_EQ(labelText(*timeline.findChild<QWidget*>("timelineBadge"), "badgeText"), "Local only");
    EXPECT_FALSE(timeline.findChild<QLabel*>("timelineEmpty")->isVisibleTo(&timeline));

    const std::vector<QWidget*> rows = timelineRows(timeline);
    ASSERT_EQ(rows.size(), 6u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const ActivityEvent& event = events[i];
        EXPECT_EQ(labelText(*rows[i], "eventTitle").toStdString(), event.title);
        EXPECT_EQ(labelText(*rows[i], "eventMessage").toStdString(), event.message);
        EXPECT_EQ(labelText(*rows[i], "eventTime").toStdString(),
                  formatting.dateTime(event.createdAt));
        const auto* dot = rows[i]->findChild<DotView*>("eventDot");
        ASSERT_NE(dot, nullptr);
        EXPECT_EQ(dot->color(), stateColor(event.severity));
        EXPECT_EQ(dot->size(), QSize(8, 8));
    }
}

TEST(TMActivityTimelineTest, EmptyTrailShowsTheHintAndRefillsCleanly) {
    const EnglishFormatting formatting;
    TMActivityTimeline timeline(formatting);
    timeline.show();
    QApplication::processEvents();
    const auto* empty = timeline.findChild<QLabel*>("timelineEmpty");
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->isVisible());
    EXPECT_EQ(empty->text(), "Run a scan or prepare a backup to build a local activity trail.");
    EXPECT_TRUE(timelineRows(timeline).empty());

    timeline.setEvents(makeEvents(2));
    QApplication::processEvents();
    EXPECT_FALSE(empty->isVisible());
    EXPECT_EQ(timelineRows(timeline).size(), 2u);

    // A new list replaces the old rows rather than adding to them.
    timeline.setEvents(makeEvents(9));
    QApplication::processEvents();
    EXPECT_EQ(timeline.findChildren<QWidget*>(QStringLiteral("timelineRow")).size(), 6);

    timeline.setEvents({});
    QApplication::processEvents();
    EXPECT_TRUE(empty->isVisible());
    EXPECT_TRUE(timeline.findChildren<QWidget*>(QStringLiteral("timelineRow")).isEmpty());
}

TEST(StatusPillTest, ShowsTheStatesSymbolAndNameInItsColour) {
    for (const auto& entry : allCases<SafetyState>()) {
        SCOPED_TRACE(std::string(entry.raw));
        StatusPill pill(entry.value);
        EXPECT_EQ(labelText(pill, "pillText").toStdString(), entry.display);
        const auto* symbol = pill.findChild<SymbolView*>("pillSymbol");
        ASSERT_NE(symbol, nullptr);
        EXPECT_EQ(symbol->symbolName(), statePresentation(entry.value).symbolName);
        EXPECT_EQ(symbol->color(), stateColor(entry.value));
        EXPECT_EQ(pill.findChild<QLabel*>("pillText")->palette().color(QPalette::WindowText),
                  stateColor(entry.value));
    }

    StatusPill unknown(SafetyState::unknown);
    EXPECT_EQ(labelText(unknown, "pillText"), "Unknown / cannot verify");
    const auto* symbol = unknown.findChild<SymbolView*>("pillSymbol");
    EXPECT_EQ(symbol->symbolName(), "questionmark.circle.fill");
    EXPECT_EQ(symbol->color(), TMTheme::color(ThemeColor::secondaryLabel));
}

// The button's face colour, away from its caption and rounded corners.
QColor buttonFace(QPushButton& button) {
    const QImage image = button.grab().toImage();
    return image.pixelColor(3, image.height() / 2);
}

TEST(TMActionCardTest, ButtonCallsTheHandlerAndIsProminentOnlyWhenPrimary) {
    for (const bool isPrimary : {true, false}) {
        SCOPED_TRACE(isPrimary ? "primary" : "secondary");
        int calls = 0;
        TMActionCard card("icloud", "Create your iCloud safety baseline",
                          "Run a read-only scan so Tallowmere can separate local, cloud-only, "
                          "waiting, and unknown files.",
                          "Run iCloud Scan", isPrimary, [&calls] { ++calls; });
        card.resize(640, card.sizeHint().height());
        card.show();
        QApplication::processEvents();

        EXPECT_EQ(labelText(card, "actionTitle"), "Create your iCloud safety baseline");
        auto* button = card.findChild<TMButton*>("actionButton");
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), "Run iCloud Scan");
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(card.findChild<SymbolTile*>("actionSymbol")->size(), QSize(42, 42));

        const QColor face = buttonFace(*button);
        const QColor trust = TMTheme::color(ThemeColor::trust);
        if (isPrimary) {
            EXPECT_EQ(button->kind(), TMButton::Kind::prominent);
            EXPECT_EQ(face.rgb(), trust.rgb());
        } else {
            EXPECT_EQ(button->kind(), TMButton::Kind::bordered);
            EXPECT_NE(face.rgb(), trust.rgb());
            EXPECT_EQ(face.rgb(), TMTheme::color(ThemeColor::panel).rgb());
        }

        EXPECT_EQ(calls, 0);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(calls, 1);
        button->setEnabled(false);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(calls, 1) << "a disabled button does nothing";
    }
}

TEST(TMScreenTest, ContentIsAtMost1180WideAndFillsNarrowerWindows) {
    TMScreen screen;
    screen.addWidget(new ScreenHeader("Reports", "Local summaries."));
    screen.resize(1600, 700);
    screen.show();
    QApplication::processEvents();
    EXPECT_EQ(screen.contentColumn()->width(), TMScreen::kMaxContentWidth);
    const int left = screen.contentColumn()->mapTo(&screen, QPoint()).x();
    EXPECT_NEAR(left, (1600 - TMScreen::kMaxContentWidth) / 2, 1) << "centred";

    screen.resize(800, 700);
    QApplication::processEvents();
    EXPECT_EQ(screen.contentColumn()->width(), screen.viewport()->width());

    // Items stack from the top, below the padding.
    auto* header = screen.findChild<ScreenHeader*>();
    EXPECT_EQ(header->mapTo(screen.contentColumn(), QPoint()).y(), TMScreen::kPadding);
}

TEST(TMScreenTest, ScrollsNoFurtherThanItsContent) {
    TMScreen screen;
    QLabel* last = nullptr;
    for (int i = 0; i < 12; ++i) {
        last = new QLabel(QString("A long sentence that wraps onto several lines when the "
                                  "window is narrow, paragraph %1.")
                              .arg(i)
                              .repeated(4));
        last->setWordWrap(true);
        screen.addWidget(last);
    }
    screen.resize(900, 300);
    screen.show();
    QApplication::processEvents();
    // The content ends one padding below the last paragraph, with nothing after it.
    const int bottom = last->mapTo(screen.widget(), QPoint(0, last->height())).y();
    EXPECT_EQ(screen.widget()->height(), bottom + TMScreen::kPadding);
}

TEST(TMHeaderTest, EyebrowAndTrailingViewAreOptional) {
    TMHeader plain(std::nullopt, "Settings", "Local reminders.");
    EXPECT_EQ(plain.findChild<QLabel*>("headerEyebrow"), nullptr);
    EXPECT_EQ(labelText(plain, "headerTitle"), "Settings");
    EXPECT_EQ(labelText(plain, "headerSubtitle"), "Local reminders.");

    auto* first = new TMButton("Run Scan", "arrow.clockwise", TMButton::Kind::prominent);
    TMHeader header(QString("Command center"), "Safety Dashboard", "A calm view.", first);
    EXPECT_EQ(labelText(header, "headerEyebrow"), "Command center");
    EXPECT_EQ(first->parent(), &header);

    QPointer<QWidget> old(first);
    header.setTrailing(new TMButton("Cancel Scan", "xmark.circle", TMButton::Kind::bordered));
    EXPECT_TRUE(old.isNull()) << "the replaced view is deleted";
    EXPECT_EQ(header.findChildren<TMButton*>().size(), 1);
    EXPECT_EQ(header.findChild<TMButton*>()->text(), "Cancel Scan");
}

TEST(StatusModuleTest, TitleAndSymbolTakeTheStatesColour) {
    TMStatusModule module("Verification", "Backup stale", "No backup verification has passed yet.",
                          "checkmark.seal", SafetyState::backupStale);
    const QColor red = stateColor(SafetyState::backupStale);
    EXPECT_EQ(labelText(module, "moduleValue"), "Backup stale");
    EXPECT_EQ(module.findChild<QLabel*>("moduleTitle")->palette().color(QPalette::WindowText), red);
    EXPECT_EQ(module.findChild<SymbolView*>("moduleSymbol")->color(), red);
    EXPECT_EQ(module.findChild<SymbolView*>("moduleSymbol")->symbolName(), "checkmark.seal");

    module.setContent("Verification", "Protected", "Verification passed for the copied files.",
                      "checkmark.seal", SafetyState::protected_);
    EXPECT_EQ(module.findChild<SymbolView*>("moduleSymbol")->color(),
              stateColor(SafetyState::protected_));
    EXPECT_EQ(labelText(module, "moduleDetail"), "Verification passed for the copied files.");
}

TEST(LayoutComponentsTest, DetailRowLabelColumnAndEmptyStateWidth) {
    DetailRow row("Estimated package size", "Unknown");
    row.resize(600, 40);
    row.show();
    QApplication::processEvents();
    EXPECT_EQ(row.findChild<QLabel*>("detailTitle")->width(), 180);
    EXPECT_EQ(row.findChild<QLabel*>("detailValue")->x(),
              180 + row.layout()->spacing() + row.layout()->contentsMargins().left());

    EmptyStateView empty("doc.text.magnifyingglass", "No reports yet",
                         "Run a scan or verification to create a local report summary.");
    empty.resize(1000, 300);
    empty.show();
    QApplication::processEvents();
    const QWidget* column = empty.findChild<QLabel*>("emptyMessage")->parentWidget();
    EXPECT_EQ(column->width(), EmptyStateView::kMaxWidth);
    EXPECT_NEAR(column->mapTo(&empty, QPoint()).x(), (1000 - EmptyStateView::kMaxWidth) / 2, 1);
    EXPECT_EQ(labelText(empty, "emptyTitle"), "No reports yet");
}

TEST(LabelTextTest, NamesWithAngleBracketsAreShownAsWritten) {
    const EnglishFormatting formatting;
    std::vector<ActivityEvent> events;
    events.emplace_back(Uuid::random(), ActivityEventKind::backup, "<b>Copied</b> & checked",
                        "Bytes \xff\xfe are not text", SafetyState::protected_, std::nullopt,
                        Date(1'765'443'900.0));
    TMActivityTimeline timeline(events, formatting);
    const auto* title = timeline.findChild<QLabel*>("eventTitle");
    EXPECT_EQ(title->textFormat(), Qt::PlainText);
    EXPECT_EQ(title->text(), "<b>Copied</b> & checked");
    EXPECT_TRUE(labelText(timeline, "eventMessage").startsWith("Bytes "));
}

}  // namespace
}  // namespace tallowmere
