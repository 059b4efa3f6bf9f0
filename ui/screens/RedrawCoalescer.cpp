#include "ui/screens/RedrawCoalescer.h"

namespace tallowmere {

RedrawCoalescer::RedrawCoalescer(std::function<void()> redraw, QObject* parent)
    : QObject(parent), m_redraw(std::move(redraw)) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_redraw(); });
}

void RedrawCoalescer::schedule() {
    if (!m_timer.isActive())
        m_timer.start();
}

}  // namespace tallowmere
