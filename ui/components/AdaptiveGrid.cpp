#include "ui/components/AdaptiveGrid.h"

#include <QGridLayout>
#include <QResizeEvent>
#include <algorithm>

namespace tallowmere {

AdaptiveGrid::AdaptiveGrid(int minimumColumnWidth, int spacing, QWidget* parent)
    : QWidget(parent),
      m_minimumColumnWidth(minimumColumnWidth),
      m_spacing(spacing),
      m_grid(new QGridLayout(this)) {
    setObjectName(QStringLiteral("adaptiveGrid"));
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setSpacing(spacing);
    setMinimumWidth(minimumColumnWidth);
}

int AdaptiveGrid::columnsFor(int width, int minimumColumnWidth, int spacing) {
    return std::max(1, (width + spacing) / (minimumColumnWidth + spacing));
}

void AdaptiveGrid::addWidget(QWidget* widget) {
    m_items.push_back(widget);
    arrange(m_columns > 0 ? m_columns : 1);
}

void AdaptiveGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int columns = columnsFor(event->size().width(), m_minimumColumnWidth, m_spacing);
    if (columns != m_columns)
        arrange(columns);
}

void AdaptiveGrid::arrange(int columns) {
    for (QWidget* item : m_items) m_grid->removeWidget(item);
    for (int c = 0; c < m_grid->columnCount(); ++c) m_grid->setColumnStretch(c, 0);
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const int index = static_cast<int>(i);
        m_grid->addWidget(m_items[i], index / columns, index % columns);
    }
    for (int c = 0; c < columns; ++c) m_grid->setColumnStretch(c, 1);
    m_columns = columns;
}

}  // namespace tallowmere
