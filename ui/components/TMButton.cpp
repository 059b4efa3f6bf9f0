#include "ui/components/TMButton.h"

#include "ui/symbols/Symbols.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

QColor darker(const QColor& color, int percent) {
    return color.darker(percent);
}

}  // namespace

TMButton::TMButton(const QString& title, std::string_view systemImage, Kind kind, QWidget* parent)
    : QPushButton(title, parent), m_systemImage(systemImage), m_kind(kind) {
    setCursor(Qt::PointingHandCursor);
    // The symbol is centred in a wider box, which keeps it clear of the caption.
    setIconSize(QSize(21, 15));
    restyle();
}

void TMButton::setKind(Kind kind) {
    m_kind = kind;
    restyle();
}

void TMButton::setSymbol(std::string_view systemImage) {
    m_systemImage = std::string(systemImage);
    restyle();
}

void TMButton::restyle() {
    const QPalette& pal = palette();
    const QColor trust = TMTheme::color(ThemeColor::trust, pal);
    const QColor label = TMTheme::color(ThemeColor::label, pal);
    const QColor secondary = TMTheme::color(ThemeColor::secondaryLabel, pal);
    QColor ink;
    QString sheet;
    switch (m_kind) {
        case Kind::prominent:
            ink = Qt::white;
            sheet = QStringLiteral(
                        "QPushButton { background-color: %1; color: white; border: none;"
                        " border-radius: 7px; padding: 6px 12px; font-weight: 600; }"
                        "QPushButton:hover { background-color: %2; }"
                        "QPushButton:pressed { background-color: %3; }"
                        "QPushButton:disabled { background-color: %4; color: %5; }")
                        .arg(TMTheme::css(trust), TMTheme::css(darker(trust, 112)),
                             TMTheme::css(darker(trust, 130)),
                             TMTheme::css(TMTheme::withOpacity(trust, 0.4)),
                             TMTheme::css(TMTheme::withOpacity(Qt::white, 0.8)));
            break;
        case Kind::bordered:
            ink = label;
            sheet =
                QStringLiteral(
                    "QPushButton { background-color: %1; color: %2; border: 1px solid %3;"
                    " border-radius: 7px; padding: 5px 11px; }"
                    "QPushButton:hover { background-color: %4; }"
                    "QPushButton:pressed { background-color: %5; }"
                    "QPushButton:disabled { color: %6; }")
                    .arg(TMTheme::css(TMTheme::color(ThemeColor::panel, pal)), TMTheme::css(label),
                         TMTheme::css(TMTheme::withOpacity(pal.color(QPalette::Mid), 0.9)),
                         TMTheme::css(darker(TMTheme::color(ThemeColor::panel, pal), 104)),
                         TMTheme::css(darker(TMTheme::color(ThemeColor::panel, pal), 110)),
                         TMTheme::css(secondary));
            break;
        case Kind::borderless:
            ink = trust;
            sheet = QStringLiteral(
                        "QPushButton { background: transparent; color: %1; border: none;"
                        " padding: 4px 6px; }"
                        "QPushButton:pressed { color: %2; }"
                        "QPushButton:disabled { color: %3; }")
                        .arg(TMTheme::css(trust), TMTheme::css(darker(trust, 130)),
                             TMTheme::css(secondary));
            break;
    }
    setStyleSheet(sheet);
    setIcon(m_systemImage.empty() ? QIcon() : Symbols::icon(m_systemImage, ink));
}

}  // namespace tallowmere
