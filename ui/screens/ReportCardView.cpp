#include "ui/screens/ReportCardView.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "core/platform/Formatting.h"
#include "ui/components/DetailRow.h"
#include "ui/components/Divider.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMBadge.h"
#include "ui/components/TMButton.h"
#include "ui/components/Text.h"
#include "ui/screens/PanelParts.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {}  // namespace

std::string_view reportKindSymbol(LocalReportKind kind) {
    switch (kind) {
        case LocalReportKind::iCloudScan:
            return "icloud";
        case LocalReportKind::photosScan:
            return "photo.on.rectangle";
        case LocalReportKind::backupJob:
            return "externaldrive";
        case LocalReportKind::verificationRun:
            return "checkmark.seal";
        case LocalReportKind::restoreTest:
            return "arrow.counterclockwise.circle";
        case LocalReportKind::storedReport:
            return "doc.text";
    }
    return "doc.text";
}

ReportCardView::ReportCardView(LocalReportCard card, std::function<void()> exportAction,
                               const Formatting& formatting, QWidget* parent)
    : TMPanel(16, parent), m_card(std::move(card)), m_exportAction(std::move(exportAction)) {
    setObjectName(QStringLiteral("reportCard"));
    contentLayout()->setSpacing(12);
    m_labelRow = makeLabelRow(formatting);
    m_content = makeContent();
    contentLayout()->addWidget(m_labelRow);
    contentLayout()->addWidget(m_content);
    m_content->setVisible(false);
}

QWidget* ReportCardView::makeLabelRow(const Formatting& formatting) {
    auto* rowWidget = new QWidget;
    rowWidget->setObjectName(QStringLiteral("reportCardToggle"));
    rowWidget->setCursor(Qt::PointingHandCursor);
    rowWidget->setFocusPolicy(Qt::StrongFocus);
    rowWidget->setAccessibleName(toQString(m_card.title));
    rowWidget->installEventFilter(this);
    auto* row = new QHBoxLayout(rowWidget);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);

    const QColor secondary = TMTheme::color(ThemeColor::secondaryLabel, palette());
    m_chevron = new SymbolView("chevron.right", secondary, 12);
    m_chevron->setObjectName(QStringLiteral("reportChevron"));
    row->addWidget(m_chevron, 0, Qt::AlignTop | Qt::AlignLeft);
    row->addSpacing(2);

    auto* symbol = new SymbolView(reportKindSymbol(m_card.kind), secondary, 24);
    symbol->setObjectName(QStringLiteral("reportSymbol"));
    row->addWidget(symbol, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    auto* titleLine = new QHBoxLayout;
    titleLine->setSpacing(8);
    QLabel* title = makeLabel(toQString(m_card.title), "reportTitle", TextStyle::headline,
                              ThemeColor::label, false);
    QLabel* kind = makeLabel(toQString(label(m_card.kind)), "reportKind", TextStyle::caption,
                             ThemeColor::secondaryLabel, false);
    setSemibold(kind);
    titleLine->addWidget(title, 0, Qt::AlignBaseline);
    titleLine->addWidget(kind, 0, Qt::AlignBaseline);
    titleLine->addStretch(1);
    texts->addLayout(titleLine);
    texts->addWidget(makeLabel(toQString(formatting.dateTime(m_card.generatedAt)), "reportDate",
                               TextStyle::caption, ThemeColor::secondaryLabel, false));
    texts->addWidget(
        makeLabel(toQString(m_card.summary), "reportSummary", TextStyle::body, ThemeColor::label));
    row->addLayout(texts, 1);

    auto* pill = new StatusPill(m_card.status);
    pill->setObjectName(QStringLiteral("reportStatus"));
    row->addWidget(pill, 0, Qt::AlignTop | Qt::AlignRight);
    return rowWidget;
}

QWidget* ReportCardView::makeContent() {
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("reportContent"));
    auto* column = new QVBoxLayout(content);
    // In line with the texts of the label row.
    column->setContentsMargins(12 + 2 + 10 + 24 + 10, 0, 0, 0);
    column->setSpacing(8);

    auto* details = new QWidget;
    details->setObjectName(QStringLiteral("reportDetails"));
    auto* detailRows = new QVBoxLayout(details);
    detailRows->setContentsMargins(0, 0, 0, 0);
    detailRows->setSpacing(2);
    for (const LocalReportDetail& detail : m_card.details)
        detailRows->addWidget(new DetailRow(toQString(detail.label), toQString(detail.value)));
    column->addWidget(details);
    column->addWidget(new Divider);

    QLabel* nextStepTitle = makeLabel(QStringLiteral("Next step"), "reportNextStepTitle",
                                      TextStyle::body, ThemeColor::label);
    setSemibold(nextStepTitle);
    column->addWidget(nextStepTitle);
    column->addWidget(makeLabel(toQString(m_card.nextStep), "reportNextStep", TextStyle::body,
                                ThemeColor::secondaryLabel));
    column->addWidget(makeLabel(toQString(m_card.privacyNote), "reportPrivacyNote",
                                TextStyle::caption, ThemeColor::secondaryLabel));

    auto* exportButton = new TMButton(QStringLiteral("Export privacy-safe JSON"),
                                      "square.and.arrow.down", TMButton::Kind::bordered);
    exportButton->setObjectName(QStringLiteral("exportReportButton"));
    connect(exportButton, &QPushButton::clicked, this, [this] {
        if (m_exportAction)
            m_exportAction();
    });
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(0, 4, 0, 0);
    buttonRow->addWidget(exportButton);
    buttonRow->addStretch(1);
    column->addLayout(buttonRow);
    return content;
}

void ReportCardView::setExpanded(bool expanded) {
    if (expanded == m_expanded)
        return;
    m_expanded = expanded;
    m_content->setVisible(expanded);
    m_chevron->setSymbol(expanded ? "chevron.down" : "chevron.right", m_chevron->color());
    Q_EMIT expandedChanged(expanded);
}

bool ReportCardView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_labelRow && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            setExpanded(!m_expanded);
            return true;
        }
    }
    if (watched == m_labelRow && event->type() == QEvent::MouseButtonPress)
        return true;  // the release toggles
    if (watched == m_labelRow && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            m_labelRow->rect().contains(mouse->position().toPoint())) {
            setExpanded(!m_expanded);
            return true;
        }
    }
    return TMPanel::eventFilter(watched, event);
}

}  // namespace tallowmere
