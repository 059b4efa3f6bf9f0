#pragma once

#include <QColor>
#include <QWidget>
#include <optional>
#include <string_view>

#include "core/safety/SafetyVocabulary.h"

class QLabel;

namespace tallowmere {

class SymbolView;

// A small capsule with an optional symbol and a text, tinted with one colour.
class TMBadge : public QWidget {
    Q_OBJECT
public:
    TMBadge(const QString& text, std::optional<std::string_view> systemImage, const QColor& color,
            QWidget* parent = nullptr);

    void setContent(const QString& text, std::optional<std::string_view> systemImage,
                    const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_text;
    SymbolView* m_symbol;
    QColor m_color;
};

// A state's symbol and display name in the state's colour, small and semibold.
class StatusPill : public QWidget {
    Q_OBJECT
public:
    explicit StatusPill(SafetyState state, QWidget* parent = nullptr);

    void setState(SafetyState state);

private:
    SymbolView* m_symbol;
    QLabel* m_text;
};

}  // namespace tallowmere
