#include "ui/components/AdaptiveGrid.h"

#include <QHBoxLayout>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>

namespace tallowmere {

AdaptiveGrid::AdaptiveGrid(int minimumColumnWidth, int spacing, QWidget* parent)
    : QWidget(parent),
      m_minimumColumnWidth(minimumColumnWidth),
      m_spacing(spacing),
      m_rows(new QVBoxLayout(this)) {
    setObjectName(QStringLiteral("adaptiveGrid"));
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(spacing);
    // The width comes from the parent and decides the columns; the minimum width of the
    // current arrangement must not hold the grid at its current number of columns.
    m_rows->setSizeConstraint(QLayout::SetNoConstraint);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

int AdaptiveGrid::columnsFor(int width, int minimumColumnWidth, int spacing) {
    return std::max(1, (width + spacing) / (minimumColumnWidth + spacing));
}

void AdaptiveGrid::addWidget(QWidget* widget) {
    widget->setParent(this);
    m_items.push_back(widget);
    arrange(columnsFor(width(), m_minimumColumnWidth, m_spacing));
}

void AdaptiveGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int columns = columnsFor(event->size().width(), m_minimumColumnWidth, m_spacing);
    if (columns != m_columns)
        arrange(columns);
}

void AdaptiveGrid::arrange(int columns) {
    // Take the rows apart (the items stay, owned by this widget) and build them again.
    while (QLayoutItem* row = m_rows->takeAt(0)) {
        if (QLayout* rowLayout = row->layout()) {
            while (QLayoutItem* cell = rowLayout->takeAt(0)) delete cell;
        }
        delete row;
    }
    qDeleteAll(m_fillers);
    m_fillers.clear();
    for (std::size_t first = 0; first < m_items.size();
         first += static_cast<std::size_t>(columns)) {
        auto* row = new QHBoxLayout;
        row->setSpacing(m_spacing);
        for (int c = 0; c < columns; ++c) {
            const std::size_t index = first + static_cast<std::size_t>(c);
            if (index < m_items.size()) {
                row->addWidget(m_items[index], 1);
            } else {
                // An empty cell keeps the columns of a short last row equal.
                auto* filler = new QWidget(this);
                m_fillers.push_back(filler);
                filler->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
                row->addWidget(filler, 1);
            }
        }
        m_rows->addLayout(row);
    }
    m_columns = columns;
}

}  // namespace tallowmere
