#include "ui/components/ItemListLayout.h"

namespace tallowmere {

ItemListLayout::ItemListLayout(QWidget* parent) : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
}

ItemListLayout::~ItemListLayout() {
    qDeleteAll(m_items);
}

void ItemListLayout::addItem(QLayoutItem* item) {
    m_items.append(item);
}

int ItemListLayout::count() const {
    return static_cast<int>(m_items.size());
}

QLayoutItem* ItemListLayout::itemAt(int index) const {
    return m_items.value(index);
}

QLayoutItem* ItemListLayout::takeAt(int index) {
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

int ItemListLayout::heightForWidth(int width) const {
    return arrange(QRect(0, 0, width, 0), false);
}

void ItemListLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

}  // namespace tallowmere
