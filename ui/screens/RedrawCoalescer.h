#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace tallowmere {

// Turns a burst of model change signals into one redraw: the first signal starts a short
// single-shot timer and the redraw runs when it fires, once, however many signals came in
// meanwhile. Main thread only.
class RedrawCoalescer : public QObject {
    Q_OBJECT
public:
    static constexpr int kDelayMilliseconds = 16;

    RedrawCoalescer(std::function<void()> redraw, QObject* parent);

    // Connects each of the sender's signals to schedule().
    template <typename Sender, typename... Changes>
    void watch(const Sender* sender, Changes... changes) {
        (connect(sender, changes, this, &RedrawCoalescer::schedule), ...);
    }

    void schedule();
    bool isPending() const { return m_timer.isActive(); }

private:
    std::function<void()> m_redraw;
    QTimer m_timer;
};

}  // namespace tallowmere
