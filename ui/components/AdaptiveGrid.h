#pragma once

#include <QWidget>
#include <vector>

class QGridLayout;

namespace tallowmere {

// Items in as many equal columns as fit at a minimum column width, filled row by row in
// the order added; the columns are recounted whenever the width changes.
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
    QGridLayout* m_grid;
    std::vector<QWidget*> m_items;
};

}  // namespace tallowmere
