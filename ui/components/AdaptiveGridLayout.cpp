#include "ui/components/AdaptiveGridLayout.h"

#include <QWidget>
#include <algorithm>

namespace tallowmere {

AdaptiveGridLayout::AdaptiveGridLayout(int minimumColumnWidth, int horizontalSpacing,
                                       int verticalSpacing, QWidget* parent)
    : ItemListLayout(parent),
      m_minimumColumnWidth(minimumColumnWidth),
      m_horizontalSpacing(horizontalSpacing),
      m_verticalSpacing(verticalSpacing) {}

Qt::Orientations AdaptiveGridLayout::expandingDirections() const {
    return Qt::Horizontal;
}

QList<QLayoutItem*> AdaptiveGridLayout::visibleItems() const {
    QList<QLayoutItem*> shown;
    for (QLayoutItem* item : items()) {
        if (!item->isEmpty())
            shown.append(item);
    }
    return shown;
}

int AdaptiveGridLayout::columnCount(int width) const {
    const int fitting =
        std::max(1, (width + m_horizontalSpacing) / (m_minimumColumnWidth + m_horizontalSpacing));
    const int items = static_cast<int>(visibleItems().size());
    if (items == 0)
        return fitting;
    const int rows = (items + fitting - 1) / fitting;
    return (items + rows - 1) / rows;
}

int AdaptiveGridLayout::arrange(const QRect& rect, bool apply) const {
    const QMargins margins = contentsMargins();
    const QRect area = rect.marginsRemoved(margins);
    const QList<QLayoutItem*> items = visibleItems();
    if (items.isEmpty())
        return margins.top() + margins.bottom();

    const int columns = columnCount(area.width());
    const int columnWidth =
        std::max(0, (area.width() - m_horizontalSpacing * (columns - 1)) / columns);
    int y = area.top();
    for (int first = 0; first < items.size(); first += columns) {
        const int last = std::min<int>(first + columns, static_cast<int>(items.size()));
        int rowHeight = 0;
        for (int i = first; i < last; ++i) {
            QLayoutItem* item = items.at(i);
            const int height = item->hasHeightForWidth() ? item->heightForWidth(columnWidth)
                                                         : item->sizeHint().height();
            rowHeight = std::max({rowHeight, height, item->minimumSize().height()});
        }
        if (apply) {
            for (int i = first; i < last; ++i) {
                const int column = i - first;
                const int x = area.left() + column * (columnWidth + m_horizontalSpacing);
                // The last column takes the pixels the division left over.
                const int width = column == columns - 1 ? area.right() + 1 - x : columnWidth;
                items.at(i)->setGeometry(QRect(x, y, width, rowHeight));
            }
        }
        y += rowHeight;
        if (last < items.size())
            y += m_verticalSpacing;
    }
    return y - area.top() + margins.top() + margins.bottom();
}

QSize AdaptiveGridLayout::minimumSize() const {
    const QMargins margins = contentsMargins();
    const int width = m_minimumColumnWidth + margins.left() + margins.right();
    return {width, heightForWidth(width)};
}

QSize AdaptiveGridLayout::sizeHint() const {
    const QMargins margins = contentsMargins();
    const int columns = std::max<int>(1, static_cast<int>(visibleItems().size()));
    const int width = columns * m_minimumColumnWidth + (columns - 1) * m_horizontalSpacing +
                      margins.left() + margins.right();
    return {width, heightForWidth(width)};
}

}  // namespace tallowmere
