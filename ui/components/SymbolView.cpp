#include "ui/components/SymbolView.h"

#include <QPainter>

#include "ui/symbols/Symbols.h"

namespace tallowmere {

SymbolView::SymbolView(std::string_view symbolName, const QColor& color, int size, QWidget* parent)
    : QWidget(parent), m_symbolName(symbolName), m_color(color), m_size(size) {
    setFixedSize(size, size);
    setAttribute(Qt::WA_TranslucentBackground);
}

void SymbolView::setSymbol(std::string_view symbolName, const QColor& color) {
    m_symbolName = std::string(symbolName);
    m_color = color;
    update();
}

QSize SymbolView::sizeHint() const {
    return {m_size, m_size};
}

void SymbolView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Symbols::paint(painter, rect(), m_symbolName, m_color);
}

DotView::DotView(const QColor& color, int diameter, QWidget* parent)
    : QWidget(parent), m_color(color) {
    setFixedSize(diameter, diameter);
}

void DotView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_color);
    painter.drawEllipse(QRectF(rect()));
}

SymbolTile::SymbolTile(std::string_view symbolName, const QColor& color, int side, int symbolSize,
                       QWidget* parent)
    : QWidget(parent), m_symbolName(symbolName), m_color(color), m_symbolSize(symbolSize) {
    setFixedSize(side, side);
}

void SymbolTile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QColor fill = m_color;
    fill.setAlphaF(0.13f);
    painter.setBrush(fill);
    const QRectF box = QRectF(rect());
    painter.drawRoundedRect(box, box.width() * 0.24, box.height() * 0.24);
    const QRectF symbol(box.center().x() - m_symbolSize / 2.0,
                        box.center().y() - m_symbolSize / 2.0, m_symbolSize, m_symbolSize);
    Symbols::paint(painter, symbol, m_symbolName, m_color);
}

}  // namespace tallowmere
