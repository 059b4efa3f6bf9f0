#include "ui/components/CountView.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/theme/TMTheme.h"

namespace tallowmere {

CountView::CountView(const QString& title, const QString& value, QWidget* parent)
    : QWidget(parent), m_value(new QLabel(value)), m_title(new QLabel(title)) {
    setObjectName(QStringLiteral("count"));
    m_value->setObjectName(QStringLiteral("countValue"));
    m_title->setObjectName(QStringLiteral("countTitle"));
    TMTheme::styleLabel(m_value, TextStyle::headline, ThemeColor::label);
    TMTheme::styleLabel(m_title, TextStyle::caption, ThemeColor::secondaryLabel);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(m_value);
    column->addWidget(m_title);
}

void CountView::setValue(const QString& value) {
    m_value->setText(value);
}

QString CountView::title() const {
    return m_title->text();
}

QString CountView::value() const {
    return m_value->text();
}

}  // namespace tallowmere
