#pragma once

#include <QLayout>
#include <QList>

namespace tallowmere {

// Items side by side from the left at their preferred sizes, continuing on the next line
// when the width runs out, so a row of buttons stays whole in a narrow window.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(int spacing, QWidget* parent = nullptr);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Lays the items out in `rect` (only measuring unless `apply`); returns the height used.
    int arrange(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> m_items;
    int m_spacing;
};

}  // namespace tallowmere
