#include "ui/components/TMBadge.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

#include "ui/components/SymbolView.h"
#include "ui/components/Text.h"
#include "ui/theme/StatePresentation.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {

TMBadge::TMBadge(const QString& text, std::optional<std::string_view> systemImage,
                 const QColor& color, QWidget* parent)
    : QWidget(parent), m_text(new QLabel), m_symbol(new SymbolView({}, color, 12)) {
    setObjectName(QStringLiteral("badge"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_text->setObjectName(QStringLiteral("badgeText"));
    m_symbol->setObjectName(QStringLiteral("badgeSymbol"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(9, 3, 10, 3);
    row->setSpacing(5);
    row->addWidget(m_symbol);
    row->addWidget(m_text);
    setContent(text, systemImage, color);
}

void TMBadge::setContent(const QString& text, std::optional<std::string_view> systemImage,
                         const QColor& color) {
    m_color = color;
    m_text->setText(text);
    QFont font = TMTheme::font(TextStyle::caption);
    font.setWeight(QFont::DemiBold);
    TMTheme::styleLabel(m_text, TextStyle::caption, color);
    m_text->setFont(font);
    m_symbol->setVisible(systemImage.has_value());
    m_symbol->setSymbol(systemImage.value_or(std::string_view{}), color);
    update();
}

void TMBadge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(TMTheme::withOpacity(m_color, 0.28), 1.0));
    painter.setBrush(TMTheme::withOpacity(m_color, 0.12));
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.drawRoundedRect(box, box.height() / 2, box.height() / 2);
}

StatusPill::StatusPill(SafetyState state, QWidget* parent)
    : QWidget(parent), m_symbol(new SymbolView({}, {}, 13)), m_text(new QLabel) {
    setObjectName(QStringLiteral("statusPill"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_symbol->setObjectName(QStringLiteral("pillSymbol"));
    m_text->setObjectName(QStringLiteral("pillText"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(5);
    row->addWidget(m_symbol);
    row->addWidget(m_text);
    setState(state);
}

void StatusPill::setState(SafetyState state) {
    const QColor color = stateColor(state, palette());
    m_symbol->setSymbol(statePresentation(state).symbolName, color);
    m_text->setText(toQString(displayName(state)));
    TMTheme::styleLabel(m_text, TextStyle::caption, color);
    QFont font = m_text->font();
    font.setWeight(QFont::DemiBold);
    m_text->setFont(font);
}

}  // namespace tallowmere
