#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <span>
#include <string_view>

class QPainter;

namespace tallowmere {

// Symbols are drawn on a 24 x 24 grid; the canvas is scaled to the target size.
inline constexpr double kSymbolGrid = 24.0;

// A small figure placed inside a larger shape (a check in a circle, an exclamation mark
// in a triangle): stroked lines plus filled parts, designed around the grid's centre.
struct Mark {
    QPainterPath lines;
    double width = 2.0;
    QPainterPath solids;

    // The mark scaled about the grid's centre and moved so that centre lands on `centre`;
    // the line width scales with it.
    Mark placed(double scale, QPointF centre) const;
};

// Paints in one ink on a transparent layer. Erasing clears the layer, which is how a
// filled shape gets its figure cut out ("checkmark.shield.fill").
class SymbolCanvas {
public:
    SymbolCanvas(QPainter& painter, QColor ink) : m_painter(painter), m_ink(ink) {}

    void fill(const QPainterPath& path);
    void stroke(const QPainterPath& path, double width);
    void draw(const Mark& mark);

    void eraseFill(const QPainterPath& path);
    void eraseStroke(const QPainterPath& path, double width);
    void erase(const Mark& mark);

private:
    void strokeWith(const QPainterPath& path, double width, const QColor& color);

    QPainter& m_painter;
    QColor m_ink;
};

using SymbolDrawingFunction = void (*)(SymbolCanvas&);

struct SymbolDrawing {
    std::string_view name;
    SymbolDrawingFunction draw;
};

// The one table from symbol name to drawing.
std::span<const SymbolDrawing> symbolDrawings();

// What an unknown name draws: a plain circle.
void drawFallbackSymbol(SymbolCanvas& canvas);

}  // namespace tallowmere
