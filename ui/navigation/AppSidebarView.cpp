#include "ui/navigation/AppSidebarView.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/components/TMBadge.h"
#include "ui/components/Text.h"
#include "ui/navigation/SidebarGroups.h"
#include "ui/symbols/Symbols.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

constexpr int kRowHeight = 32;
constexpr int kSymbolSize = 17;

QLabel* sidebarLabel(const QString& text, const char* name, TextStyle style, ThemeColor color) {
    auto* label = new QLabel(text);
    label->setObjectName(QLatin1String(name));
    TMTheme::styleLabel(label, style, color);
    return label;
}

}  // namespace

SidebarRow::SidebarRow(AppSection section, QWidget* parent)
    : QAbstractButton(parent), m_section(section) {
    setObjectName(QStringLiteral("sidebarRow_") + toQString(rawValue(section)));
    setText(toQString(displayName(section)));
    setCheckable(true);
    setAutoExclusive(true);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

QSize SidebarRow::sizeHint() const {
    return {AppSidebarView::kWidth - 24, kRowHeight};
}

void SidebarRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const QColor trust = TMTheme::color(ThemeColor::trust, pal);
    if (isChecked()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(TMTheme::withOpacity(trust, 0.16));
        painter.drawRoundedRect(QRectF(rect()), 7, 7);
    } else if (underMouse()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(TMTheme::withOpacity(TMTheme::color(ThemeColor::gray, pal), 0.12));
        painter.drawRoundedRect(QRectF(rect()), 7, 7);
    }
    const QRectF symbol(10, (height() - kSymbolSize) / 2.0, kSymbolSize, kSymbolSize);
    Symbols::paint(painter, symbol, systemSymbolName(m_section),
                   isChecked() ? trust : TMTheme::color(ThemeColor::secondaryLabel, pal));
    QFont font = TMTheme::font(TextStyle::body, this->font());
    if (isChecked())
        font.setWeight(QFont::DemiBold);
    painter.setFont(font);
    painter.setPen(TMTheme::color(ThemeColor::label, pal));
    const QRect textRect = rect().adjusted(10 + kSymbolSize + 10, 0, -8, 0);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(text(), Qt::ElideRight, textRect.width()));
}

AppSidebarView::AppSidebarView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("sidebar"));
    setFixedWidth(kWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 18, 12, 16);
    column->setSpacing(2);

    auto* name = sidebarLabel(QStringLiteral("Tallowmere"), "productName", TextStyle::title3,
                              ThemeColor::label);
    QFont bold = name->font();
    bold.setWeight(QFont::Bold);
    name->setFont(bold);
    auto* badge =
        new TMBadge(QStringLiteral("Public beta"), std::nullopt, TMTheme::color(ThemeColor::sky));
    badge->setObjectName(QStringLiteral("betaBadge"));
    auto* title = new QHBoxLayout;
    title->setContentsMargins(8, 0, 0, 0);
    title->setSpacing(8);
    title->addWidget(name);
    title->addWidget(badge, 0, Qt::AlignVCenter);
    title->addStretch(1);
    column->addLayout(title);
    column->addSpacing(14);

    for (const SidebarGroup& group : sidebarGroups()) {
        auto* heading = sidebarLabel(toQString(group.title), "sidebarGroupTitle",
                                     TextStyle::caption, ThemeColor::secondaryLabel);
        QFont semibold = heading->font();
        semibold.setWeight(QFont::DemiBold);
        heading->setFont(semibold);
        heading->setContentsMargins(10, 10, 0, 4);
        column->addWidget(heading);
        for (const AppSection section : group.sections) {
            auto* row = new SidebarRow(section);
            connect(row, &QAbstractButton::clicked, this,
                    [this, section] { Q_EMIT sectionClicked(section); });
            m_rows[section] = row;
            column->addWidget(row);
        }
    }
    column->addStretch(1);
    auto* caption = sidebarLabel(QStringLiteral("Local-first. No file or photo uploads."),
                                 "sidebarCaption", TextStyle::caption, ThemeColor::secondaryLabel);
    caption->setWordWrap(true);
    caption->setContentsMargins(10, 0, 0, 0);
    column->addWidget(caption);
    setSelection(AppSection::dashboard);
}

SidebarRow* AppSidebarView::row(AppSection section) const {
    const auto found = m_rows.find(section);
    return found == m_rows.end() ? nullptr : found->second;
}

void AppSidebarView::setSelection(AppSection section) {
    m_selection = section;
    if (SidebarRow* selected = row(section))
        selected->setChecked(true);
}

void AppSidebarView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const QColor window = pal.color(QPalette::Window);
    painter.fillRect(rect(), TMTheme::isDark(pal) ? window.lighter(112) : window.darker(104));
    painter.fillRect(QRect(width() - 1, 0, 1, height()),
                     TMTheme::color(ThemeColor::separator, pal));
}

}  // namespace tallowmere
