#include "ui/components/TMHeader.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

QLabel* makeLabel(const QString& text, const char* name, TextStyle style, ThemeColor color) {
    auto* label = new QLabel(text);
    label->setObjectName(QLatin1String(name));
    TMTheme::styleLabel(label, style, color);
    label->setWordWrap(true);
    return label;
}

}  // namespace

TMHeader::TMHeader(const std::optional<QString>& eyebrow, const QString& title,
                   const QString& subtitle, QWidget* trailing, QWidget* parent)
    : QWidget(parent), m_row(new QHBoxLayout(this)) {
    setObjectName(QStringLiteral("header"));
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(16);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    if (eyebrow) {
        QLabel* caption =
            makeLabel(*eyebrow, "headerEyebrow", TextStyle::caption, ThemeColor::trust);
        QFont font = caption->font();
        font.setWeight(QFont::DemiBold);
        caption->setFont(font);
        texts->addWidget(caption);
    }
    texts->addWidget(makeLabel(title, "headerTitle", TextStyle::largeTitle, ThemeColor::label));
    texts->addWidget(
        makeLabel(subtitle, "headerSubtitle", TextStyle::body, ThemeColor::secondaryLabel));
    m_row->addLayout(texts, 1);
    setTrailing(trailing);
}

void TMHeader::setTrailing(QWidget* trailing) {
    if (m_trailing) {
        m_row->removeWidget(m_trailing);
        delete m_trailing;
    }
    m_trailing = trailing;
    if (m_trailing)
        m_row->addWidget(m_trailing, 0, Qt::AlignRight | Qt::AlignVCenter);
}

ScreenHeader::ScreenHeader(const QString& title, const QString& subtitle, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("screenHeader"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addWidget(makeLabel(title, "screenTitle", TextStyle::largeTitle, ThemeColor::label));
    column->addWidget(
        makeLabel(subtitle, "screenSubtitle", TextStyle::body, ThemeColor::secondaryLabel));
}

}  // namespace tallowmere
