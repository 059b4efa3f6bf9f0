#include "ui/components/SymbolLabel.h"

#include <QHBoxLayout>
#include <QLabel>

#include "ui/components/SymbolView.h"

namespace tallowmere {

SymbolLabel::SymbolLabel(std::string_view systemImage, const QString& text, TextStyle style,
                         const QColor& color, bool semibold, QWidget* parent)
    : QWidget(parent),
      m_symbol(new SymbolView(systemImage, color, QFontMetrics(TMTheme::font(style)).height() - 1)),
      m_text(new QLabel),
      m_style(style),
      m_semibold(semibold) {
    setObjectName(QStringLiteral("symbolLabel"));
    m_symbol->setObjectName(QStringLiteral("symbolLabelSymbol"));
    m_text->setObjectName(QStringLiteral("symbolLabelText"));
    m_text->setWordWrap(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(7);
    row->addWidget(m_symbol, 0, Qt::AlignTop);
    row->addWidget(m_text, 1);
    setContent(systemImage, text, color);
}

void SymbolLabel::setContent(std::string_view systemImage, const QString& text,
                             const QColor& color) {
    m_symbol->setSymbol(systemImage, color);
    m_text->setText(text);
    TMTheme::styleLabel(m_text, m_style, color);
    if (m_semibold) {
        QFont font = m_text->font();
        font.setWeight(QFont::DemiBold);
        m_text->setFont(font);
    }
}

QString SymbolLabel::text() const {
    return m_text->text();
}

const std::string& SymbolLabel::symbolName() const {
    return m_symbol->symbolName();
}

QColor SymbolLabel::color() const {
    return m_symbol->color();
}

}  // namespace tallowmere
