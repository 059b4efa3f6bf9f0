#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

class QLabel;
class QWidget;

namespace tallowmere {

// Colour roles of the interface. The first eight are the named colours of the theme;
// the rest are the platform-like colours some status tables ask for by name.
enum class ThemeColor {
    background,      // the window colour
    separator,       // the separator colour at 0.55 opacity
    trust,           // sRGB (0.11, 0.47, 0.39)
    sky,             // sRGB (0.16, 0.38, 0.84)
    amber,           // orange
    danger,          // red
    success,         // green
    secondaryLabel,  // secondary text
    label,           // primary text
    panel,           // the fill of cards
    blue,
    yellow,
    gray,
};

// Type sizes, derived from the application font so that they follow the desktop setting.
enum class TextStyle {
    largeTitle,  // a screen's title
    title,       // a large value in a tile
    title3,      // a panel heading
    headline,    // body size, semibold
    body,
    callout,  // a little smaller than body
    caption,  // small secondary text
};

// The colours and type of the interface. The colours follow the given palette: a dark
// window colour selects the dark variants. Stateless; call from the GUI thread.
namespace TMTheme {

QColor color(ThemeColor role, const QPalette& palette);
// With the application's palette.
QColor color(ThemeColor role);

QFont font(TextStyle style, const QFont& base);
// With the application's font.
QFont font(TextStyle style);

// True when the palette's window colour is dark.
bool isDark(const QPalette& palette);

// Gives the label the text style and text colour, and turns off rich-text guessing so that
// a file name with angle brackets is shown as written.
void styleLabel(QLabel* label, TextStyle style, ThemeColor role);
// The same with a fixed colour (a state's colour).
void styleLabel(QLabel* label, TextStyle style, const QColor& color);

// The colour with its alpha multiplied by `opacity`.
QColor withOpacity(QColor color, double opacity);

// The colour as a style sheet value, alpha included: "rgba(r, g, b, a)".
QString css(const QColor& color);

}  // namespace TMTheme

}  // namespace tallowmere
