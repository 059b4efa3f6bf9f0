#pragma once

#include <QColor>
#include <QWidget>
#include <string_view>

#include "ui/theme/TMTheme.h"

class QLabel;

namespace tallowmere {

class SymbolView;

// A symbol followed by a text, both in one colour: a warning line, a bullet point, a note.
// The text wraps; the symbol stays at the top of the first line.
class SymbolLabel : public QWidget {
    Q_OBJECT
public:
    SymbolLabel(std::string_view systemImage, const QString& text, TextStyle style,
                const QColor& color, bool semibold = false, QWidget* parent = nullptr);

    void setContent(std::string_view systemImage, const QString& text, const QColor& color);

    QString text() const;
    const std::string& symbolName() const;
    QColor color() const;

private:
    SymbolView* m_symbol;
    QLabel* m_text;
    TextStyle m_style;
    bool m_semibold;
};

}  // namespace tallowmere
