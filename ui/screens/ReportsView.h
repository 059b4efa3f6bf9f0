#pragma once

#include <map>
#include <string>

#include "ui/components/TMScreen.h"

class QVBoxLayout;

namespace tallowmere {

class AppModel;
class Formatting;
class RedrawCoalescer;

// The "Reports" screen: the model's report cards, newest first, each collapsible and
// exportable as privacy-safe JSON; an empty state while there are none. Redraws when the
// cards change. `model` and `formatting` must outlive the screen.
class ReportsView : public TMScreen {
    Q_OBJECT
public:
    static constexpr int kCardSpacing = 14;

    ReportsView(AppModel& model, const Formatting& formatting, QWidget* parent = nullptr);

private:
    void redraw();

    AppModel& m_model;
    const Formatting& m_formatting;
    RedrawCoalescer* m_redraw;
    QWidget* m_empty;
    QWidget* m_cards;
    QVBoxLayout* m_cardsLayout;
    // Which cards the user opened, by a key that survives the rebuild of the cards at
    // every refresh (the area of a card, or the id of a stored report).
    std::map<std::string, bool> m_expanded;
};

}  // namespace tallowmere
