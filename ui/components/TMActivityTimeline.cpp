#include "ui/components/TMActivityTimeline.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "core/platform/Formatting.h"
#include "ui/components/Divider.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMBadge.h"
#include "ui/components/Text.h"
#include "ui/theme/StatePresentation.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {

TMActivityTimeline::TMActivityTimeline(const Formatting& formatting, QWidget* parent)
    : TMActivityTimeline({}, formatting, parent) {}

TMActivityTimeline::TMActivityTimeline(const std::vector<ActivityEvent>& events,
                                       const Formatting& formatting, QWidget* parent)
    : TMPanel(20, parent),
      m_formatting(formatting),
      m_empty(new QLabel(
          QStringLiteral("Run a scan or prepare a backup to build a local activity trail."))),
      m_rows(new QWidget),
      m_rowsLayout(new QVBoxLayout(m_rows)) {
    setObjectName(QStringLiteral("activityTimeline"));

    auto* heading = new QLabel(QStringLiteral("Recent activity"));
    heading->setObjectName(QStringLiteral("timelineHeading"));
    TMTheme::styleLabel(heading, TextStyle::title3, ThemeColor::label);
    auto* badge = new TMBadge(QStringLiteral("Local only"), std::nullopt,
                              TMTheme::color(ThemeColor::trust, palette()));
    badge->setObjectName(QStringLiteral("timelineBadge"));
    auto* headingRow = new QHBoxLayout;
    headingRow->addWidget(heading);
    headingRow->addStretch(1);
    headingRow->addWidget(badge);

    m_empty->setObjectName(QStringLiteral("timelineEmpty"));
    TMTheme::styleLabel(m_empty, TextStyle::body, ThemeColor::secondaryLabel);
    m_empty->setWordWrap(true);

    m_rowsLayout->setContentsMargins(0, 0, 0, 0);
    m_rowsLayout->setSpacing(10);

    contentLayout()->setSpacing(14);
    contentLayout()->addLayout(headingRow);
    contentLayout()->addWidget(m_empty);
    contentLayout()->addWidget(m_rows);
    contentLayout()->addStretch(1);
    setEvents(events);
}

void TMActivityTimeline::setEvents(const std::vector<ActivityEvent>& events) {
    while (QLayoutItem* item = m_rowsLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const std::size_t shown = std::min(events.size(), kVisibleEvents);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0)
            m_rowsLayout->addWidget(new Divider);
        m_rowsLayout->addWidget(makeRow(events[i]));
    }
    m_empty->setVisible(events.empty());
    m_rows->setVisible(!events.empty());
}

QWidget* TMActivityTimeline::makeRow(const ActivityEvent& event) const {
    auto* row = new QWidget;
    row->setObjectName(QStringLiteral("timelineRow"));

    auto* dot = new DotView(stateColor(event.severity, palette()), kDotDiameter);
    dot->setObjectName(QStringLiteral("eventDot"));
    auto* title = new QLabel(toQString(event.title));
    title->setObjectName(QStringLiteral("eventTitle"));
    TMTheme::styleLabel(title, TextStyle::headline, ThemeColor::label);
    title->setWordWrap(true);
    auto* time = new QLabel(toQString(m_formatting.dateTime(event.createdAt)));
    time->setObjectName(QStringLiteral("eventTime"));
    TMTheme::styleLabel(time, TextStyle::caption, ThemeColor::secondaryLabel);
    auto* message = new QLabel(toQString(event.message));
    message->setObjectName(QStringLiteral("eventMessage"));
    TMTheme::styleLabel(message, TextStyle::callout, ThemeColor::secondaryLabel);
    message->setWordWrap(true);

    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(12);
    titleRow->addWidget(title, 1);
    titleRow->addWidget(time, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addLayout(titleRow);
    texts->addWidget(message);

    // The dot sits on the middle of the title's first line.
    auto* dotColumn = new QVBoxLayout;
    dotColumn->setContentsMargins(0, (title->fontMetrics().height() - kDotDiameter) / 2, 0, 0);
    dotColumn->addWidget(dot);
    dotColumn->addStretch(1);

    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addLayout(dotColumn);
    layout->addLayout(texts, 1);
    return row;
}

}  // namespace tallowmere
