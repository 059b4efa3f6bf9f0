#include "ui/components/EmptyStateView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/components/SymbolView.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {

EmptyStateView::EmptyStateView(std::string_view systemImage, const QString& title,
                               const QString& message, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("emptyState"));
    auto* column = new QWidget;
    column->setMaximumWidth(kMaxWidth);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 24, 0, 24);
    layout->setSpacing(8);

    auto* symbol =
        new SymbolView(systemImage, TMTheme::color(ThemeColor::secondaryLabel, palette()), 42);
    symbol->setObjectName(QStringLiteral("emptySymbol"));
    auto* titleLabel = new QLabel(title);
    titleLabel->setObjectName(QStringLiteral("emptyTitle"));
    TMTheme::styleLabel(titleLabel, TextStyle::title3, ThemeColor::label);
    auto* messageLabel = new QLabel(message);
    messageLabel->setObjectName(QStringLiteral("emptyMessage"));
    TMTheme::styleLabel(messageLabel, TextStyle::body, ThemeColor::secondaryLabel);
    for (QLabel* label : {titleLabel, messageLabel}) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignHCenter);
    }
    layout->addWidget(symbol, 0, Qt::AlignHCenter);
    layout->addSpacing(4);
    layout->addWidget(titleLabel);
    layout->addWidget(messageLabel);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addStretch(0);
    row->addWidget(column, 1);
    row->addStretch(0);
}

}  // namespace tallowmere
