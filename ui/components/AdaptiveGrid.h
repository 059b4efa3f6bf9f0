#pragma once

#include <QWidget>
#include <vector>

class QVBoxLayout;

namespace tallowmere {

// Items in as many equal columns as fit at a minimum column width, filled row by row in
// the order added; the columns are recounted whenever the width changes. Items of one row
// share its height. Built from box layouts, so that items whose height depends on their
// width (wrapping text) get the height they need.
class AdaptiveGrid : public QWidget {
    Q_OBJECT
public:
    AdaptiveGrid(int minimumColumnWidth, int spacing, QWidget* parent = nullptr);

    void addWidget(QWidget* widget);
    int columnCount() const { return m_columns; }

    // The number of columns that fit in `width`; at least one.
    static int columnsFor(int width, int minimumColumnWidth, int spacing);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void arrange(int columns);

    int m_minimumColumnWidth;
    int m_spacing;
    int m_columns = 0;
    QVBoxLayout* m_rows;
    std::vector<QWidget*> m_items;
    // The empty cells of the last row.
    std::vector<QWidget*> m_fillers;
};

}  // namespace tallowmere
