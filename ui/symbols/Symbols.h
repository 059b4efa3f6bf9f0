#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <string_view>
#include <vector>

class QPainter;
class QRectF;

namespace tallowmere {

// The interface's symbols, drawn by this program from vector paths in one colour. Each
// symbol is addressed by the name the screens use ("checkmark.shield.fill"); an unknown
// name draws a plain circle instead and never fails. Drawings are resolution-independent,
// so they stay sharp at any device pixel ratio. Call from the GUI thread.
namespace Symbols {

// Every name with a drawing of its own, in alphabetical order.
std::vector<std::string_view> names();

bool contains(std::string_view name);

// Draws the symbol into `rect` (square; a wider rect centres the drawing) in `tint`.
void paint(QPainter& painter, const QRectF& rect, std::string_view name, const QColor& tint);

// The symbol `size` logical pixels square, rendered for the given device pixel ratio.
QPixmap pixmap(std::string_view name, int size, const QColor& tint, qreal devicePixelRatio = 1.0);

// An icon drawing the symbol at whatever size and pixel ratio it is asked for; disabled
// icons are drawn faded.
QIcon icon(std::string_view name, const QColor& tint);

}  // namespace Symbols

}  // namespace tallowmere
