#pragma once

#include "ui/components/ItemListLayout.h"

namespace tallowmere {

// Tiles in as many equal columns as fit, each column at least `minimumColumnWidth` wide,
// wrapping into rows. When the last row would be left partly empty, the layout uses the
// fewest columns that still need the same number of rows, so four tiles that fit three
// to a row are shown two by two rather than three and one. Each row is as tall as its
// tallest tile at the column width.
class AdaptiveGridLayout : public ItemListLayout {
public:
    AdaptiveGridLayout(int minimumColumnWidth, int horizontalSpacing, int verticalSpacing,
                       QWidget* parent = nullptr);

    // The number of columns used at the given width (inside the margins).
    int columnCount(int width) const;

    Qt::Orientations expandingDirections() const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;

protected:
    // Lays the visible items out.
    int arrange(const QRect& rect, bool apply) const override;

private:
    QList<QLayoutItem*> visibleItems() const;

    int m_minimumColumnWidth;
    int m_horizontalSpacing;
    int m_verticalSpacing;
};

}  // namespace tallowmere
