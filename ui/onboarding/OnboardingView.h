#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <vector>

#include "ui/onboarding/OnboardingSteps.h"

class QLabel;
class QVBoxLayout;

namespace tallowmere {

class AppModel;
class SymbolTile;
class TMButton;

// A row of capsules, one per step: those up to the current step in the trust colour, the
// rest in the separator colour.
class StepCapsules : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 5;
    static constexpr int kSpacing = 6;

    StepCapsules(int count, QWidget* parent = nullptr);

    void setCurrent(int step);
    int current() const { return m_current; }
    // The colour capsule `index` is drawn in.
    QColor capsuleColor(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_count;
    int m_current = 0;
};

// The first-run sheet's content: five short steps that say what Tallowmere reads and
// writes, with the first iCloud Drive and Photos scans started from inside. `dismiss`
// closes the sheet; `model` must outlive the view.
class OnboardingView : public QWidget {
    Q_OBJECT
public:
    OnboardingView(AppModel& model, std::function<void()> dismiss, QWidget* parent = nullptr);

    int step() const { return m_step; }
    const std::vector<OnboardingStep>& steps() const { return m_steps; }
    const OnboardingStep& current() const { return m_steps[static_cast<std::size_t>(m_step)]; }

private:
    void showStep(int step);
    void leftPressed();
    void primaryPressed();
    void finish();

    AppModel& m_model;
    std::function<void()> m_dismiss;
    std::vector<OnboardingStep> m_steps;
    int m_step = 0;
    StepCapsules* m_capsules;
    SymbolTile* m_symbol = nullptr;
    QVBoxLayout* m_symbolSlot;
    QLabel* m_title;
    QLabel* m_subtitle;
    QWidget* m_points;
    QVBoxLayout* m_pointsLayout;
    TMButton* m_left;
    TMButton* m_primary;
};

// The onboarding as a window-modal sheet of 660 x 520 over `parent`. However it closes (a
// button, Escape, the window manager), the model's onboarding is marked complete.
class OnboardingSheet : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 660;
    static constexpr int kHeight = 520;

    OnboardingSheet(AppModel& model, QWidget* parent);

    OnboardingView* view() const { return m_view; }

private:
    OnboardingView* m_view;
};

// Presents the onboarding sheet over a window once it is on screen, while the model says
// onboarding is not complete; once the sheet has closed it does not come back while this
// presenter lives (a reset in Settings shows it at the next launch). Owned by the window.
class OnboardingPresenter : public QObject {
    Q_OBJECT
public:
    OnboardingPresenter(AppModel& model, QWidget* window);

    OnboardingSheet* sheet() const { return m_sheet; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void scheduleFirstPresentation();
    void update();

    AppModel& m_model;
    QWidget* m_window;
    bool m_canPresent = false;
    bool m_scheduled = false;
    QPointer<OnboardingSheet> m_sheet;
};

}  // namespace tallowmere
