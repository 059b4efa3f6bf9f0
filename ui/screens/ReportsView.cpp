#include "ui/screens/ReportsView.h"

#include <QHideEvent>
#include <QVBoxLayout>

#include "app/AppModel.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/TMHeader.h"
#include "ui/components/TMPanel.h"
#include "ui/screens/RedrawScheduler.h"
#include "ui/screens/ReportCardView.h"

namespace tallowmere {
namespace {

std::string expansionKey(const LocalReportCard& card) {
    if (card.kind == LocalReportKind::storedReport)
        return "stored:" + card.id.toString();
    return std::string(rawValue(card.kind));
}

QWidget* makeEmptyState() {
    auto* panel = new Panel;
    panel->setObjectName(QStringLiteral("reportsEmpty"));
    panel->addWidget(new EmptyStateView(
        "doc.text.magnifyingglass", QStringLiteral("No reports yet"),
        QStringLiteral("Run a scan or verification to create a local report summary.")));
    return panel;
}

}  // namespace

ReportsView::ReportsView(AppModel& model, QWidget* parent)
    : TMScreen(parent),
      m_model(model),
      m_redraw(new RedrawScheduler([this] { redraw(); }, this)),
      m_empty(makeEmptyState()),
      m_cards(new QWidget),
      m_cardsLayout(new QVBoxLayout(m_cards)) {
    setObjectName(QStringLiteral("reportsView"));
    addWidget(new ScreenHeader(QStringLiteral("Reports"),
                               QStringLiteral("Local summaries for safety scans, backup jobs, "
                                              "verification, restore tests, and diagnostics.")));
    addWidget(m_empty);
    m_cards->setObjectName(QStringLiteral("reportCards"));
    m_cardsLayout->setContentsMargins(0, 0, 0, 0);
    m_cardsLayout->setSpacing(kCardSpacing);
    addWidget(m_cards);

    m_redraw->watch(m_model, {&AppModel::reportCardsChanged});
    redraw();
}

void ReportsView::hideEvent(QHideEvent* event) {
    TMScreen::hideEvent(event);
    // A card's open state lasts while it is on screen: leaving the screen (not minimising
    // the window) closes every card.
    if (event->spontaneous())
        return;
    m_expanded.clear();
    for (ReportCardView* view : m_cards->findChildren<ReportCardView*>()) view->setExpanded(false);
}

void ReportsView::redraw() {
    while (QLayoutItem* item = m_cardsLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const std::vector<LocalReportCard>& cards = m_model.reportCards();
    m_empty->setVisible(cards.empty());
    m_cards->setVisible(!cards.empty());
    for (const LocalReportCard& card : cards) {
        // The card is exported as it was drawn, even if the model has refreshed since.
        auto* view = new ReportCardView(
            card, [this, card] { m_model.exportReportCard(card); }, m_model.formatting());
        const std::string key = expansionKey(card);
        view->setExpanded(m_expanded[key]);
        connect(view, &ReportCardView::expandedChanged, this,
                [this, key](bool expanded) { m_expanded[key] = expanded; });
        m_cardsLayout->addWidget(view);
    }
}

}  // namespace tallowmere
