#include "ui/components/FlowLayout.h"

#include <QWidget>
#include <algorithm>

namespace tallowmere {

FlowLayout::FlowLayout(int spacing, QWidget* parent) : ItemListLayout(parent), m_spacing(spacing) {}

QSize FlowLayout::minimumSize() const {
    QSize size;
    for (const QLayoutItem* item : items()) size = size.expandedTo(item->minimumSize());
    const QMargins margins = contentsMargins();
    return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QSize FlowLayout::sizeHint() const {
    // All on one line.
    int width = 0;
    int height = 0;
    for (const QLayoutItem* item : items()) {
        if (item->isEmpty())
            continue;
        width += (width > 0 ? m_spacing : 0) + item->sizeHint().width();
        height = std::max(height, item->sizeHint().height());
    }
    const QMargins margins = contentsMargins();
    return {width + margins.left() + margins.right(), height + margins.top() + margins.bottom()};
}

int FlowLayout::arrange(const QRect& rect, bool apply) const {
    const QRect area = rect.marginsRemoved(contentsMargins());
    int x = area.x();
    int y = area.y();
    int lineHeight = 0;
    for (QLayoutItem* item : items()) {
        if (item->isEmpty())
            continue;
        const QSize size = item->sizeHint();
        if (x > area.x() && x + size.width() > area.right() + 1) {
            x = area.x();
            y += lineHeight + m_spacing;
            lineHeight = 0;
        }
        if (apply)
            item->setGeometry(QRect(QPoint(x, y), size));
        x += size.width() + m_spacing;
        lineHeight = std::max(lineHeight, size.height());
    }
    const QMargins margins = contentsMargins();
    return y + lineHeight - rect.y() + margins.bottom();
}

}  // namespace tallowmere
