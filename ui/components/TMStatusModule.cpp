#include "ui/components/TMStatusModule.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/components/SymbolView.h"
#include "ui/theme/StatePresentation.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

QLabel* namedLabel(const char* name, bool wrap) {
    auto* label = new QLabel;
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(wrap);
    return label;
}

// Symbol and title side by side.
QHBoxLayout* titleRow(SymbolView* symbol, QLabel* title) {
    auto* row = new QHBoxLayout;
    row->setSpacing(7);
    row->addWidget(symbol);
    row->addWidget(title, 1);
    return row;
}

}  // namespace

TMStatusModule::TMStatusModule(const QString& title, const QString& value, const QString& detail,
                               std::string_view systemImage, SafetyState state, QWidget* parent)
    : TMPanel(16, parent),
      m_symbol(new SymbolView(systemImage, {}, 17)),
      m_title(namedLabel("moduleTitle", false)),
      m_value(namedLabel("moduleValue", true)),
      m_detail(namedLabel("moduleDetail", true)) {
    setObjectName(QStringLiteral("statusModule"));
    m_symbol->setObjectName(QStringLiteral("moduleSymbol"));
    contentLayout()->setSpacing(8);
    contentLayout()->addLayout(titleRow(m_symbol, m_title));
    contentLayout()->addWidget(m_value);
    contentLayout()->addWidget(m_detail);
    contentLayout()->addStretch(1);
    setContent(title, value, detail, systemImage, state);
}

void TMStatusModule::setContent(const QString& title, const QString& value, const QString& detail,
                                std::string_view systemImage, SafetyState state) {
    const QColor color = stateColor(state, palette());
    m_symbol->setSymbol(systemImage, color);
    m_title->setText(title);
    TMTheme::styleLabel(m_title, TextStyle::headline, color);
    m_value->setText(value);
    TMTheme::styleLabel(m_value, TextStyle::title, ThemeColor::label);
    m_detail->setText(detail);
    TMTheme::styleLabel(m_detail, TextStyle::callout, ThemeColor::secondaryLabel);
}

MetricView::MetricView(const QString& title, const QString& value, const QString& detail,
                       std::string_view systemImage, QWidget* parent)
    : TMPanel(16, parent),
      m_value(namedLabel("metricValue", true)),
      m_detail(namedLabel("metricDetail", true)) {
    setObjectName(QStringLiteral("metric"));
    auto* symbol = new SymbolView(systemImage, TMTheme::color(ThemeColor::trust, palette()), 16);
    symbol->setObjectName(QStringLiteral("metricSymbol"));
    QLabel* titleLabel = namedLabel("metricTitle", false);
    titleLabel->setText(title);
    TMTheme::styleLabel(titleLabel, TextStyle::headline, ThemeColor::secondaryLabel);
    contentLayout()->setSpacing(8);
    contentLayout()->addLayout(titleRow(symbol, titleLabel));
    contentLayout()->addWidget(m_value);
    contentLayout()->addWidget(m_detail);
    contentLayout()->addStretch(1);
    TMTheme::styleLabel(m_value, TextStyle::title, ThemeColor::label);
    TMTheme::styleLabel(m_detail, TextStyle::callout, ThemeColor::secondaryLabel);
    setValue(value, detail);
}

void MetricView::setValue(const QString& value, const QString& detail) {
    m_value->setText(value);
    m_detail->setText(detail);
}

}  // namespace tallowmere
