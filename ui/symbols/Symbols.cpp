#include "ui/symbols/Symbols.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <string>

#include "ui/symbols/SymbolCanvas.h"

namespace tallowmere {

Mark Mark::placed(double scale, QPointF centre) const {
    const QTransform transform = QTransform()
                                     .translate(centre.x(), centre.y())
                                     .scale(scale, scale)
                                     .translate(-kSymbolGrid / 2, -kSymbolGrid / 2);
    return {transform.map(lines), width * scale, transform.map(solids)};
}

void SymbolCanvas::strokeWith(const QPainterPath& path, double width, const QColor& color) {
    m_painter.strokePath(path, QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void SymbolCanvas::fill(const QPainterPath& path) {
    m_painter.fillPath(path, m_ink);
}

void SymbolCanvas::stroke(const QPainterPath& path, double width) {
    strokeWith(path, width, m_ink);
}

void SymbolCanvas::draw(const Mark& mark) {
    if (!mark.lines.isEmpty())
        stroke(mark.lines, mark.width);
    if (!mark.solids.isEmpty())
        fill(mark.solids);
}

void SymbolCanvas::eraseFill(const QPainterPath& path) {
    const auto mode = m_painter.compositionMode();
    m_painter.setCompositionMode(QPainter::CompositionMode_Clear);
    m_painter.fillPath(path, Qt::black);
    m_painter.setCompositionMode(mode);
}

void SymbolCanvas::eraseStroke(const QPainterPath& path, double width) {
    const auto mode = m_painter.compositionMode();
    m_painter.setCompositionMode(QPainter::CompositionMode_Clear);
    strokeWith(path, width, Qt::black);
    m_painter.setCompositionMode(mode);
}

void SymbolCanvas::erase(const Mark& mark) {
    if (!mark.lines.isEmpty())
        eraseStroke(mark.lines, mark.width);
    if (!mark.solids.isEmpty())
        eraseFill(mark.solids);
}

namespace {

SymbolDrawingFunction drawingFor(std::string_view name) {
    const auto drawings = symbolDrawings();
    const auto found = std::find_if(drawings.begin(), drawings.end(),
                                    [name](const SymbolDrawing& d) { return d.name == name; });
    return found == drawings.end() ? drawFallbackSymbol : found->draw;
}

// The symbol on a transparent square image `pixels` wide. The drawing is made in opaque
// ink so that erasing cuts cleanly; a translucent tint is applied to the finished layer.
QImage renderLayer(std::string_view name, int pixels, const QColor& tint) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (pixels <= 0)
        return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixels / kSymbolGrid, pixels / kSymbolGrid);
    QColor ink = tint;
    ink.setAlpha(255);
    SymbolCanvas canvas(painter, ink);
    drawingFor(name)(canvas);
    if (tint.alpha() < 255) {
        painter.resetTransform();
        painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        painter.fillRect(image.rect(), QColor(0, 0, 0, tint.alpha()));
    }
    return image;
}

QColor tintFor(QIcon::Mode mode, QColor tint) {
    if (mode == QIcon::Disabled)
        tint.setAlphaF(tint.alphaF() * 0.4f);
    return tint;
}

class SymbolIconEngine final : public QIconEngine {
public:
    SymbolIconEngine(std::string name, QColor tint) : m_name(std::move(name)), m_tint(tint) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        Symbols::paint(*painter, rect, m_name, tintFor(mode, m_tint));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
        // Before 6.8 the size arrives already multiplied by the scale.
        const QSize pixels = size;
#else
        const QSize pixels(static_cast<int>(std::lround(size.width() * scale)),
                           static_cast<int>(std::lround(size.height() * scale)));
#endif
        QPixmap result(pixels);
        result.fill(Qt::transparent);
        const QImage layer =
            renderLayer(m_name, std::min(pixels.width(), pixels.height()), tintFor(mode, m_tint));
        {
            QPainter painter(&result);
            painter.drawImage((result.width() - layer.width()) / 2,
                              (result.height() - layer.height()) / 2, layer);
        }
        result.setDevicePixelRatio(scale);
        return result;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        return size;
    }

    QIconEngine* clone() const override {
        return new SymbolIconEngine(m_name, m_tint);
    }

    QString key() const override {
        return QStringLiteral("TallowmereSymbol");
    }

    QString iconName() override {
        return QString::fromStdString(m_name);
    }

private:
    std::string m_name;
    QColor m_tint;
};

}  // namespace

namespace Symbols {

std::vector<std::string_view> names() {
    std::vector<std::string_view> result;
    for (const SymbolDrawing& drawing : symbolDrawings()) result.push_back(drawing.name);
    std::sort(result.begin(), result.end());
    return result;
}

bool contains(std::string_view name) {
    return drawingFor(name) != drawFallbackSymbol;
}

void paint(QPainter& painter, const QRectF& rect, std::string_view name, const QColor& tint) {
    const double side = std::min(rect.width(), rect.height());
    if (side <= 0)
        return;
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    QImage layer = renderLayer(name, static_cast<int>(std::lround(side * ratio)), tint);
    layer.setDevicePixelRatio(ratio);
    // Whole device pixels, so that the layer is not resampled.
    const QPointF topLeft(std::round((rect.center().x() - side / 2) * ratio) / ratio,
                          std::round((rect.center().y() - side / 2) * ratio) / ratio);
    painter.drawImage(topLeft, layer);
}

QPixmap pixmap(std::string_view name, int size, const QColor& tint, qreal devicePixelRatio) {
    const int pixels = static_cast<int>(std::lround(size * devicePixelRatio));
    QPixmap result = QPixmap::fromImage(renderLayer(name, pixels, tint));
    result.setDevicePixelRatio(devicePixelRatio);
    return result;
}

QIcon icon(std::string_view name, const QColor& tint) {
    return QIcon(new SymbolIconEngine(std::string(name), tint));
}

}  // namespace Symbols

}  // namespace tallowmere
