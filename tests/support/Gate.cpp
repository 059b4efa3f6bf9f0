#include "tests/support/Gate.h"

#include <chrono>

namespace tallowmere::testing {

void Gate::pass() {
    std::unique_lock lock(m_mutex);
    m_reached = true;
    m_changed.notify_all();
    m_changed.wait_for(lock, std::chrono::seconds(20), [this] { return m_open; });
}

void Gate::open() {
    std::lock_guard lock(m_mutex);
    m_open = true;
    m_changed.notify_all();
}

bool Gate::reached() const {
    std::lock_guard lock(m_mutex);
    return m_reached;
}

}  // namespace tallowmere::testing
