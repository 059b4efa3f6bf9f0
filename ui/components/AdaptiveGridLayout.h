#pragma once

#include <QLayout>
#include <QList>

namespace tallowmere {

// Tiles in as many equal columns as fit, each column at least `minimumColumnWidth` wide,
// wrapping into rows. When the last row would be left partly empty, the layout uses the
// fewest columns that still need the same number of rows, so four tiles that fit three
// to a row are shown two by two rather than three and one. Each row is as tall as its
// tallest tile at the column width.
class AdaptiveGridLayout : public QLayout {
public:
    AdaptiveGridLayout(int minimumColumnWidth, int horizontalSpacing, int verticalSpacing,
                       QWidget* parent = nullptr);
    ~AdaptiveGridLayout() override;

    // The number of columns used at the given width (inside the margins).
    int columnCount(int width) const;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Lays the visible items out in `rect` (moving them only when `apply`); returns the
    // height used.
    int arrange(const QRect& rect, bool apply) const;
    QList<QLayoutItem*> visibleItems() const;

    QList<QLayoutItem*> m_items;
    int m_minimumColumnWidth;
    int m_horizontalSpacing;
    int m_verticalSpacing;
};

}  // namespace tallowmere
