#include "ui/screens/RedrawScheduler.h"

#include "app/AppModel.h"

namespace tallowmere {

RedrawScheduler::RedrawScheduler(std::function<void()> redraw, QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, [redraw = std::move(redraw)] { redraw(); });
}

void RedrawScheduler::watch(AppModel& model, std::initializer_list<void (AppModel::*)()> changes) {
    for (const auto change : changes) connect(&model, change, this, &RedrawScheduler::schedule);
}

void RedrawScheduler::schedule() {
    if (!m_timer.isActive())
        m_timer.start();
}

}  // namespace tallowmere
