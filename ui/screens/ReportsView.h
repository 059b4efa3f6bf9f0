#pragma once

#include <map>
#include <string>

#include "ui/components/TMScreen.h"

class QVBoxLayout;

namespace tallowmere {

class AppModel;
class RedrawScheduler;

// The "Reports" screen: the model's report cards, newest first, each collapsible and
// exportable as privacy-safe JSON; an empty state while there are none. Redraws when the
// cards change. `model` must outlive the screen.
class ReportsView : public TMScreen {
    Q_OBJECT
public:
    static constexpr int kCardSpacing = 14;

    explicit ReportsView(AppModel& model, QWidget* parent = nullptr);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void redraw();

    AppModel& m_model;
    RedrawScheduler* m_redraw;
    QWidget* m_empty;
    QWidget* m_cards;
    QVBoxLayout* m_cardsLayout;
    // Which cards the user opened while the screen is shown, by a key that survives the
    // rebuild of the cards at every refresh (the area of a card, or the id of a stored
    // report).
    std::map<std::string, bool> m_expanded;
};

}  // namespace tallowmere
