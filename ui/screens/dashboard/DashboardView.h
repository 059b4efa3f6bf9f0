#pragma once

#include <functional>

#include "core/dashboard/AppSection.h"
#include "core/dashboard/NextBestAction.h"
#include "ui/components/TMScreen.h"

class QLabel;

namespace tallowmere {

class AppModel;
class DashboardHealthBanner;
class NextBestActionsView;
class RedrawScheduler;
class ResponsiveRow;
class ScoreBreakdownPanel;
class StatusModulesGrid;
class TMActivityTimeline;
class TMButton;
class TMPanel;

// The first screen: how safe the checked areas are and what to do next. Top to bottom:
// the header with the scan button, the storage warning when the store is temporary, the
// health banner, the next best actions beside (or above) the score breakdown, the four
// area tiles and the activity timeline. Everything is redrawn from the model after each
// burst of changes; the screen keeps nothing of its own.
class DashboardView : public TMScreen {
    Q_OBJECT
public:
    // Wide enough for the actions and the score side by side.
    static constexpr int kSideBySideWidth = 900;
    static constexpr int kScorePanelWidth = 340;

    // `onNavigate` opens a sidebar section; the model must outlive the screen.
    DashboardView(AppModel& model, std::function<void(AppSection)> onNavigate,
                  QWidget* parent = nullptr);

    // Redraws from the model now.
    void redraw();

private:
    void pressScanButton();
    void performAction(const NextBestAction& action);

    AppModel& m_model;
    std::function<void(AppSection)> m_onNavigate;
    RedrawScheduler* m_scheduler;
    TMButton* m_scanButton;
    TMPanel* m_startupWarning;
    QLabel* m_startupWarningText;
    DashboardHealthBanner* m_banner;
    NextBestActionsView* m_actions;
    ScoreBreakdownPanel* m_score;
    ResponsiveRow* m_actionsAndScore;
    StatusModulesGrid* m_modules;
    TMActivityTimeline* m_timeline;
};

}  // namespace tallowmere
