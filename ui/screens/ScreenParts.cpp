#include "ui/screens/ScreenParts.h"

#include <QLabel>
#include <QLayout>

namespace tallowmere::ScreenParts {

QLabel* label(const QString& text, const char* objectName, TextStyle style, ThemeColor color,
              bool wordWrap) {
    auto* label = new QLabel(text);
    label->setObjectName(QLatin1String(objectName));
    TMTheme::styleLabel(label, style, color);
    label->setWordWrap(wordWrap);
    return label;
}

QLabel* heading(const QString& text, const char* objectName) {
    return label(text, objectName, TextStyle::title3, ThemeColor::label);
}

void clear(QLayout* layout) {
    while (QLayoutItem* item = layout->takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        } else if (QLayout* inner = item->layout()) {
            clear(inner);
        }
        delete item;
    }
}

}  // namespace tallowmere::ScreenParts
