#pragma once

#include <QLayout>
#include <QList>

namespace tallowmere {

// A layout that keeps its items in a list and places them with arrange(), whose height
// depends on the width it is given. It owns its items and starts without margins.
class ItemListLayout : public QLayout {
public:
    explicit ItemListLayout(QWidget* parent = nullptr);
    ~ItemListLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    void setGeometry(const QRect& rect) override;

protected:
    // Lays the items out in `rect` (moving them only when `apply`); returns the height used.
    virtual int arrange(const QRect& rect, bool apply) const = 0;

    const QList<QLayoutItem*>& items() const { return m_items; }

private:
    QList<QLayoutItem*> m_items;
};

}  // namespace tallowmere
