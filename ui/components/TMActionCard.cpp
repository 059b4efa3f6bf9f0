#include "ui/components/TMActionCard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/components/SymbolView.h"
#include "ui/components/TMButton.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {

TMActionCard::TMActionCard(std::string_view systemImage, const QString& title,
                           const QString& detail, const QString& buttonTitle, bool isPrimary,
                           std::function<void()> actionHandler, QWidget* parent)
    : TMPanel(16, parent),
      m_button(new TMButton(buttonTitle, "arrow.right",
                            isPrimary ? TMButton::Kind::prominent : TMButton::Kind::bordered)) {
    setObjectName(QStringLiteral("actionCard"));
    auto* symbol = new SymbolTile(systemImage, TMTheme::color(ThemeColor::trust, palette()),
                                  kSymbolSquare, 22);
    symbol->setObjectName(QStringLiteral("actionSymbol"));

    auto* titleLabel = new QLabel(title);
    titleLabel->setObjectName(QStringLiteral("actionTitle"));
    TMTheme::styleLabel(titleLabel, TextStyle::headline, ThemeColor::label);
    auto* detailLabel = new QLabel(detail);
    detailLabel->setObjectName(QStringLiteral("actionDetail"));
    TMTheme::styleLabel(detailLabel, TextStyle::callout, ThemeColor::secondaryLabel);
    for (QLabel* label : {titleLabel, detailLabel}) label->setWordWrap(true);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    texts->addWidget(titleLabel);
    texts->addWidget(detailLabel);
    texts->addStretch(1);

    m_button->setObjectName(QStringLiteral("actionButton"));
    // The arrow follows the caption.
    m_button->setLayoutDirection(Qt::RightToLeft);
    connect(m_button, &QPushButton::clicked, this, [handler = std::move(actionHandler)] {
        if (handler)
            handler();
    });

    auto* row = new QHBoxLayout;
    row->setSpacing(14);
    row->addWidget(symbol, 0, Qt::AlignTop);
    row->addLayout(texts, 1);
    row->addWidget(m_button, 0, Qt::AlignVCenter);
    contentLayout()->addLayout(row);
}

}  // namespace tallowmere
