#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <initializer_list>

namespace tallowmere {

class AppModel;

// Redraws a screen once on the next turn of the event loop after any burst of model
// changes: a refresh from the store emits a dozen signals, and progress snapshots arrive
// in quick succession, but the screen is rebuilt once. Main thread only.
class RedrawScheduler : public QObject {
    Q_OBJECT
public:
    RedrawScheduler(std::function<void()> redraw, QObject* parent);

    // Schedules a redraw whenever one of these change signals of the model fires.
    void watch(AppModel& model, std::initializer_list<void (AppModel::*)()> changes);
    void schedule();
    bool isPending() const { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

}  // namespace tallowmere
