#include "ui/screens/dashboard/DashboardPanels.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>
#include <algorithm>

#include "core/dashboard/DashboardHeadline.h"
#include "ui/components/AdaptiveGridLayout.h"
#include "ui/components/Divider.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMActionCard.h"
#include "ui/components/TMBadge.h"
#include "ui/components/TMStatusModule.h"
#include "ui/components/Text.h"
#include "ui/screens/ScreenParts.h"
#include "ui/theme/StatePresentation.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

QColor headlineColor(ColorRole role) {
    switch (role) {
        case ColorRole::success:
            return TMTheme::color(ThemeColor::success);
        case ColorRole::amber:
            return TMTheme::color(ThemeColor::amber);
        case ColorRole::danger:
            return TMTheme::color(ThemeColor::danger);
        case ColorRole::secondaryLabel:
            break;
    }
    return TMTheme::color(ThemeColor::secondaryLabel);
}

}  // namespace

DashboardHealthBanner::DashboardHealthBanner(QWidget* parent)
    : TMPanel(22, parent),
      m_badge(new TMBadge({}, std::nullopt, {})),
      m_headline(ScreenParts::label({}, "healthHeadline", TextStyle::title, ThemeColor::label)),
      m_destination(ScreenParts::label({}, "healthDestination", TextStyle::body,
                                       ThemeColor::secondaryLabel)) {
    setObjectName(QStringLiteral("healthBanner"));
    m_badge->setObjectName(QStringLiteral("healthBadge"));
    contentLayout()->setSpacing(10);
    contentLayout()->addWidget(m_badge, 0, Qt::AlignLeft);
    contentLayout()->addWidget(m_headline);
    contentLayout()->addWidget(m_destination);
    contentLayout()->addSpacing(4);
    contentLayout()->addWidget(new Divider);
    contentLayout()->addSpacing(4);

    auto* metrics = new QWidget;
    metrics->setObjectName(QStringLiteral("bannerMetrics"));
    auto* grid = new AdaptiveGridLayout(138, 18, 12, metrics);
    const char* titles[] = {"Last scan", "Last backup", "Last verified"};
    for (std::size_t i = 0; i < m_metricValues.size(); ++i) {
        auto* metric = new QWidget;
        metric->setObjectName(QStringLiteral("bannerMetric"));
        auto* column = new QVBoxLayout(metric);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(3);
        column->addWidget(ScreenParts::label(QLatin1String(titles[i]), "bannerMetricTitle",
                                             TextStyle::caption, ThemeColor::secondaryLabel));
        m_metricValues[i] =
            ScreenParts::label({}, "bannerMetricValue", TextStyle::headline, ThemeColor::label);
        column->addWidget(m_metricValues[i]);
        grid->addWidget(metric);
    }
    contentLayout()->addWidget(metrics);
}

void DashboardHealthBanner::setContent(const DashboardSnapshot& snapshot,
                                       const std::optional<BackupDestination>& backupDestination,
                                       const Formatting& formatting) {
    const DashboardHeadline headline = DashboardHeadline::make(snapshot.overallState);
    m_badge->setContent(toQString(headline.badgeText), headline.badgeSymbol,
                        headlineColor(headline.badgeColor));
    m_headline->setText(toQString(headline.headline));
    m_destination->setText(toQString(DashboardHeadline::destinationSentence(backupDestination)));
    const auto metrics = DashboardContent::bannerMetrics(snapshot, formatting);
    for (std::size_t i = 0; i < metrics.size(); ++i)
        m_metricValues[i]->setText(toQString(metrics[i].value));
}

ScoreRing::ScoreRing(QWidget* parent)
    : QWidget(parent),
      m_percent(
          ScreenParts::label({}, "scorePercent", TextStyle::title, ThemeColor::label, false)) {
    setObjectName(QStringLiteral("scoreRing"));
    setFixedSize(kDiameter, kDiameter);
    auto* caption = ScreenParts::label(QStringLiteral("protected"), "scoreCaption",
                                       TextStyle::caption, ThemeColor::secondaryLabel, false);
    QFont face = m_percent->font();
    face.setWeight(QFont::Bold);
    m_percent->setFont(face);
    for (QLabel* label : {m_percent, caption}) label->setAlignment(Qt::AlignHCenter);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kLineWidth, kLineWidth, kLineWidth, kLineWidth);
    column->setSpacing(0);
    column->addStretch(1);
    column->addWidget(m_percent);
    column->addWidget(caption);
    column->addStretch(1);
}

void ScoreRing::setScore(std::int64_t score, const QColor& color) {
    const std::int64_t shown = std::clamp<std::int64_t>(score, 0, 100);
    m_fraction = static_cast<double>(shown) / 100.0;
    m_color = color;
    m_percent->setText(QString::number(score) + QLatin1Char('%'));
    update();
}

void ScoreRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double inset = kLineWidth / 2.0;
    const QRectF ring = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    painter.setPen(
        QPen(TMTheme::withOpacity(TMTheme::color(ThemeColor::gray, palette()), 0.2), kLineWidth));
    painter.drawEllipse(ring);
    if (m_fraction <= 0)
        return;
    painter.setPen(QPen(m_color, kLineWidth, Qt::SolidLine, Qt::RoundCap));
    // Qt measures angles in sixteenths of a degree, counter-clockwise from three o'clock.
    const int span = -static_cast<int>(std::lround(m_fraction * 360.0 * 16.0));
    painter.drawArc(ring, 90 * 16, span);
}

ScoreBreakdownPanel::ScoreBreakdownPanel(QWidget* parent)
    : TMPanel(20, parent), m_ring(new ScoreRing), m_rows(new QVBoxLayout) {
    setObjectName(QStringLiteral("scoreBreakdown"));
    auto* title = ScreenParts::label(QStringLiteral("Protection score"), "scoreTitle",
                                     TextStyle::title3, ThemeColor::label);
    auto* caption =
        ScreenParts::label(QStringLiteral("Weighted by scan coverage, destination quality, "
                                          "copy status, and verification confidence."),
                           "scoreExplanation", TextStyle::callout, ThemeColor::secondaryLabel);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addStretch(1);
    texts->addWidget(title);
    texts->addWidget(caption);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->setSpacing(18);
    top->addWidget(m_ring, 0, Qt::AlignVCenter);
    top->addLayout(texts, 1);

    m_rows->setSpacing(12);
    contentLayout()->setSpacing(14);
    contentLayout()->addLayout(top);
    contentLayout()->addWidget(new Divider);
    contentLayout()->addLayout(m_rows);
    contentLayout()->addStretch(1);
}

void ScoreBreakdownPanel::setContent(std::int64_t score, SafetyState state,
                                     const std::vector<SafetyScoreBreakdownItem>& breakdown) {
    m_ring->setScore(score, stateColor(state, palette()));
    if (breakdown == m_shown && m_rows->count() > 0)
        return;
    m_shown = breakdown;
    ScreenParts::clear(m_rows);
    for (const SafetyScoreBreakdownItem& item : breakdown) {
        auto* row = new QWidget;
        row->setObjectName(QStringLiteral("breakdownRow"));
        auto* symbol = new SymbolView(statePresentation(item.state).symbolName,
                                      stateColor(item.state, palette()), 18);
        symbol->setObjectName(QStringLiteral("breakdownSymbol"));
        auto* texts = new QVBoxLayout;
        texts->setSpacing(1);
        texts->addWidget(ScreenParts::label(toQString(item.title), "breakdownTitle",
                                            TextStyle::headline, ThemeColor::label));
        texts->addWidget(ScreenParts::label(toQString(item.detail), "breakdownDetail",
                                            TextStyle::callout, ThemeColor::secondaryLabel));
        auto* value = ScreenParts::label(toQString(item.value), "breakdownValue",
                                         TextStyle::headline, ThemeColor::label, false);
        value->setAlignment(Qt::AlignRight | Qt::AlignTop);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(10);
        layout->addWidget(symbol, 0, Qt::AlignTop);
        layout->addLayout(texts, 1);
        layout->addWidget(value, 0, Qt::AlignTop);
        m_rows->addWidget(row);
    }
}

NextBestActionsView::NextBestActionsView(Handler handler, QWidget* parent)
    : QWidget(parent),
      m_handler(std::move(handler)),
      m_calm(new TMPanel(18)),
      m_cards(new QVBoxLayout) {
    setObjectName(QStringLiteral("nextBestActions"));
    auto* heading = ScreenParts::label(QStringLiteral("Next best action"), "actionsHeading",
                                       TextStyle::title3, ThemeColor::label);

    m_calm->setObjectName(QStringLiteral("calmActions"));
    auto* calmSymbol = new SymbolView("checkmark.shield", TMTheme::color(ThemeColor::success), 22);
    calmSymbol->setObjectName(QStringLiteral("calmSymbol"));
    auto* calmText =
        ScreenParts::label(QStringLiteral("Everything checked looks calm. Re-scan after major "
                                          "file changes or run verification after copying."),
                           "calmText", TextStyle::body, ThemeColor::label);
    auto* calmRow = new QHBoxLayout;
    calmRow->setSpacing(12);
    calmRow->addWidget(calmSymbol, 0, Qt::AlignTop);
    calmRow->addWidget(calmText, 1);
    static_cast<TMPanel*>(m_calm)->contentLayout()->addLayout(calmRow);

    m_cards->setContentsMargins(0, 0, 0, 0);
    m_cards->setSpacing(12);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    column->addWidget(heading);
    column->addWidget(m_calm);
    column->addLayout(m_cards);
    column->addStretch(1);
}

void NextBestActionsView::setActions(const std::vector<NextBestAction>& actions) {
    if (m_shown == actions)
        return;
    m_shown = actions;
    ScreenParts::clear(m_cards);
    m_calm->setVisible(actions.empty());
    for (const NextBestAction& action : actions) {
        auto* card =
            new TMActionCard(action.systemImage, toQString(action.title), toQString(action.detail),
                             toQString(action.buttonTitle), action.isPrimary, [this, action] {
                                 if (m_handler)
                                     m_handler(action);
                             });
        m_cards->addWidget(card);
    }
}

StatusModulesGrid::StatusModulesGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("statusModules"));
    auto* grid = new AdaptiveGridLayout(kMinimumColumnWidth, kSpacing, kSpacing, this);
    const char* names[] = {"modulePhotos", "moduleICloudDrive", "moduleSecondCopy",
                           "moduleVerification"};
    for (std::size_t i = 0; i < m_tiles.size(); ++i) {
        m_tiles[i] = new TMStatusModule({}, {}, {}, {}, SafetyState::unknown);
        m_tiles[i]->setObjectName(QLatin1String(names[i]));
        grid->addWidget(m_tiles[i]);
    }
}

void StatusModulesGrid::setModules(const std::array<DashboardContent::StatusModule, 4>& modules) {
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const auto& module = modules[i];
        m_tiles[i]->setContent(toQString(module.title), toQString(module.value),
                               toQString(module.detail), module.systemImage, module.state);
    }
}

ResponsiveRow::ResponsiveRow(QWidget* leading, QWidget* trailing, int trailingWidth, int breakpoint,
                             QWidget* parent)
    : QWidget(parent),
      m_trailing(trailing),
      m_trailingWidth(trailingWidth),
      m_breakpoint(breakpoint) {
    auto* layout = new QBoxLayout(QBoxLayout::TopToBottom, this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    layout->addWidget(leading, 1);
    layout->addWidget(trailing, 0);
}

bool ResponsiveRow::isSideBySide() const {
    return static_cast<QBoxLayout*>(layout())->direction() == QBoxLayout::LeftToRight;
}

void ResponsiveRow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrange(width());
}

void ResponsiveRow::arrange(int width) {
    const bool sideBySide = width >= m_breakpoint;
    if (sideBySide == isSideBySide())
        return;
    auto* box = static_cast<QBoxLayout*>(layout());
    box->setDirection(sideBySide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    if (sideBySide) {
        m_trailing->setFixedWidth(m_trailingWidth);
    } else {
        m_trailing->setMinimumWidth(0);
        m_trailing->setMaximumWidth(QWIDGETSIZE_MAX);
    }
}

}  // namespace tallowmere
