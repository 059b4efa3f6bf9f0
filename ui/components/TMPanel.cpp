#include "ui/components/TMPanel.h"

#include <QPainter>
#include <QVBoxLayout>

#include "ui/theme/TMTheme.h"

namespace tallowmere {

TMPanel::TMPanel(int padding, QWidget* parent) : QFrame(parent), m_layout(new QVBoxLayout(this)) {
    setObjectName(QStringLiteral("tmPanel"));
    m_layout->setContentsMargins(padding, padding, padding, padding);
    m_layout->setSpacing(10);
}

void TMPanel::addWidget(QWidget* widget) {
    m_layout->addWidget(widget);
}

void TMPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(TMTheme::color(ThemeColor::separator, palette()), 1.0));
    painter.setBrush(TMTheme::color(ThemeColor::panel, palette()));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
}

Panel::Panel(QWidget* parent) : TMPanel(16, parent) {
    setObjectName(QStringLiteral("panel"));
}

}  // namespace tallowmere
