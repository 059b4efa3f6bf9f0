#pragma once

#include <vector>

#include "core/safety/ActivityEvent.h"
#include "ui/components/TMPanel.h"

class QLabel;
class QVBoxLayout;

namespace tallowmere {

class Formatting;

// The local activity trail: the heading "Recent activity" with a "Local only" badge, then
// the first six events in the order given, each with a dot in its severity's colour, its
// title, its message and its time; a short hint when there are none. `formatting` must
// outlive the widget.
class TMActivityTimeline : public TMPanel {
    Q_OBJECT
public:
    static constexpr std::size_t kVisibleEvents = 6;
    static constexpr int kDotDiameter = 8;

    explicit TMActivityTimeline(const Formatting& formatting, QWidget* parent = nullptr);
    TMActivityTimeline(const std::vector<ActivityEvent>& events, const Formatting& formatting,
                       QWidget* parent = nullptr);

    void setEvents(const std::vector<ActivityEvent>& events);

private:
    QWidget* makeRow(const ActivityEvent& event) const;

    const Formatting& m_formatting;
    QLabel* m_empty;
    QWidget* m_rows;
    QVBoxLayout* m_rowsLayout;
};

}  // namespace tallowmere
