#include "ui/theme/TMTheme.h"

#include <QApplication>
#include <QLabel>

namespace tallowmere::TMTheme {
namespace {

struct Variant {
    QColor light;
    QColor dark;
};

QColor pick(const Variant& variant, bool dark) {
    return dark ? variant.dark : variant.light;
}

// Opaque mix of two colours; `amount` of `b`.
QColor mix(const QColor& a, const QColor& b, double amount) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * amount),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * amount),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * amount));
}

}  // namespace

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}

QString css(const QColor& color) {
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alpha());
}

QColor color(ThemeColor role, const QPalette& palette) {
    const bool dark = isDark(palette);
    switch (role) {
        case ThemeColor::background:
            return palette.color(QPalette::Window);
        case ThemeColor::separator:
            return withOpacity(palette.color(QPalette::Mid), 0.55);
        case ThemeColor::trust:
            return QColor::fromRgbF(0.11f, 0.47f, 0.39f);
        case ThemeColor::sky:
            return QColor::fromRgbF(0.16f, 0.38f, 0.84f);
        case ThemeColor::amber:
            return pick({QColor(255, 149, 0), QColor(255, 159, 10)}, dark);
        case ThemeColor::danger:
            return pick({QColor(255, 59, 48), QColor(255, 69, 58)}, dark);
        case ThemeColor::success:
            return pick({QColor(52, 199, 89), QColor(48, 209, 88)}, dark);
        case ThemeColor::secondaryLabel:
            return mix(palette.color(QPalette::WindowText), palette.color(QPalette::Window), 0.45);
        case ThemeColor::label:
            return palette.color(QPalette::WindowText);
        case ThemeColor::panel:
            return dark ? mix(palette.color(QPalette::Window), QColor(Qt::white), 0.06)
                        : palette.color(QPalette::Base);
        case ThemeColor::blue:
            return pick({QColor(0, 122, 255), QColor(10, 132, 255)}, dark);
        case ThemeColor::yellow:
            return pick({QColor(255, 204, 0), QColor(255, 214, 10)}, dark);
        case ThemeColor::gray:
            return pick({QColor(142, 142, 147), QColor(152, 152, 157)}, dark);
    }
    return palette.color(QPalette::WindowText);
}

QColor color(ThemeColor role) {
    return color(role, QApplication::palette());
}

QFont font(TextStyle style, const QFont& base) {
    QFont font = base;
    const double size = base.pointSizeF() > 0 ? base.pointSizeF() : 10.0;
    switch (style) {
        case TextStyle::largeTitle:
            font.setPointSizeF(size * 2.0);
            font.setWeight(QFont::Bold);
            break;
        case TextStyle::title:
            font.setPointSizeF(size * 1.7);
            font.setWeight(QFont::Bold);
            break;
        case TextStyle::title3:
            font.setPointSizeF(size * 1.2);
            font.setWeight(QFont::DemiBold);
            break;
        case TextStyle::headline:
            font.setWeight(QFont::DemiBold);
            break;
        case TextStyle::body:
            break;
        case TextStyle::callout:
            font.setPointSizeF(size * 0.93);
            break;
        case TextStyle::caption:
            font.setPointSizeF(size * 0.85);
            break;
    }
    return font;
}

QFont font(TextStyle style) {
    return font(style, QApplication::font());
}

void styleLabel(QLabel* label, TextStyle style, const QColor& color) {
    label->setTextFormat(Qt::PlainText);
    label->setFont(font(style, QApplication::font()));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

void styleLabel(QLabel* label, TextStyle style, ThemeColor role) {
    styleLabel(label, style, color(role));
}

}  // namespace tallowmere::TMTheme
