#include "ui/components/DetailRow.h"

#include <QHBoxLayout>
#include <QLabel>

#include "ui/theme/TMTheme.h"

namespace tallowmere {

DetailRow::DetailRow(const QString& title, const QString& value, QWidget* parent)
    : QWidget(parent), m_value(new QLabel) {
    setObjectName(QStringLiteral("detailRow"));
    auto* titleLabel = new QLabel(title);
    titleLabel->setObjectName(QStringLiteral("detailTitle"));
    TMTheme::styleLabel(titleLabel, TextStyle::body, ThemeColor::secondaryLabel);
    titleLabel->setFixedWidth(kLabelWidth);
    titleLabel->setWordWrap(true);

    m_value->setObjectName(QStringLiteral("detailValue"));
    TMTheme::styleLabel(m_value, TextStyle::body, ThemeColor::label);
    m_value->setWordWrap(true);
    m_value->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 2, 0, 2);
    row->setSpacing(12);
    row->addWidget(titleLabel, 0, Qt::AlignTop);
    row->addWidget(m_value, 1, Qt::AlignTop);
    setValue(value);
}

void DetailRow::setValue(const QString& value) {
    m_value->setText(value);
}

}  // namespace tallowmere
