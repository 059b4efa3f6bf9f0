#include "ui/components/Divider.h"

#include <QPainter>

#include "ui/theme/TMTheme.h"

namespace tallowmere {

Divider::Divider(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("divider"));
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void Divider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), TMTheme::color(ThemeColor::separator, palette()));
}

}  // namespace tallowmere
