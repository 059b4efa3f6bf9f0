#pragma once

#include <functional>
#include <string_view>

#include "ui/components/TMPanel.h"

namespace tallowmere {

class TMButton;

// One suggested next step: its symbol in a 42-pixel square, its title and detail, and a
// button with the button title and an arrow. The button is prominent for the primary
// action and plainly bordered otherwise; pressing it calls `actionHandler`.
class TMActionCard : public TMPanel {
    Q_OBJECT
public:
    static constexpr int kSymbolSquare = 42;

    TMActionCard(std::string_view systemImage, const QString& title, const QString& detail,
                 const QString& buttonTitle, bool isPrimary, std::function<void()> actionHandler,
                 QWidget* parent = nullptr);

    TMButton* button() const { return m_button; }

private:
    TMButton* m_button;
};

}  // namespace tallowmere
