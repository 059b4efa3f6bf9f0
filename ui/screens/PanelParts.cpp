#include "ui/screens/PanelParts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/components/FlowLayout.h"

namespace tallowmere {

QLabel* makeLabel(const QString& text, const char* objectName, TextStyle style, ThemeColor color,
                  bool wrap) {
    auto* label = new QLabel(text);
    label->setObjectName(QLatin1String(objectName));
    TMTheme::styleLabel(label, style, color);
    label->setWordWrap(wrap);
    return label;
}

QLabel* makeSemiboldLabel(const QString& text, const char* objectName, TextStyle style,
                          ThemeColor color, bool wrap) {
    QLabel* label = makeLabel(text, objectName, style, color, wrap);
    setSemibold(label);
    return label;
}

void setSemibold(QLabel* label) {
    QFont font = label->font();
    font.setWeight(QFont::DemiBold);
    label->setFont(font);
}

QHBoxLayout* panelHeading(QLabel* title, QLabel* subtitle, QWidget* trailing) {
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    texts->addWidget(title);
    if (subtitle)
        texts->addWidget(subtitle);
    row->addLayout(texts, 1);
    if (trailing)
        row->addWidget(trailing, 0, Qt::AlignTop | Qt::AlignRight);
    return row;
}

void setProgress(QProgressBar* bar, std::int64_t done, std::int64_t total) {
    if (total < 1) {
        bar->setRange(0, 0);
        return;
    }
    constexpr std::int64_t kLimit = 1'000'000'000;
    const double scale = total > kLimit ? double(kLimit) / double(total) : 1.0;
    bar->setRange(0, static_cast<int>(double(total) * scale));
    bar->setValue(static_cast<int>(double(std::clamp<std::int64_t>(done, 0, total)) * scale));
}

QLayout* buttonRow(std::initializer_list<QWidget*> buttons) {
    auto* row = new FlowLayout(10);
    for (QWidget* button : buttons) row->addWidget(button);
    return row;
}

}  // namespace tallowmere
