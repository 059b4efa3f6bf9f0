#pragma once

#include "ui/components/ItemListLayout.h"

namespace tallowmere {

// Items side by side from the left at their preferred sizes, continuing on the next line
// when the width runs out, so a row of buttons stays whole in a narrow window.
class FlowLayout : public ItemListLayout {
public:
    explicit FlowLayout(int spacing, QWidget* parent = nullptr);

    Qt::Orientations expandingDirections() const override { return {}; }
    QSize minimumSize() const override;
    QSize sizeHint() const override;

protected:
    int arrange(const QRect& rect, bool apply) const override;

private:
    int m_spacing;
};

}  // namespace tallowmere
