#pragma once

#include <condition_variable>
#include <mutex>

namespace tallowmere::testing {

// Holds a background worker at a point of the test's choosing: the worker calls pass(),
// which waits until the test opens the gate (or 20 seconds have gone by, so that a test
// that fails before opening it does not hang).
class Gate {
public:
    // On the worker: notes that it arrived and waits until open() (at once when open).
    void pass();
    void open();
    // True once a worker has arrived at the gate.
    bool reached() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    // Guarded by m_mutex.
    bool m_open = false;
    bool m_reached = false;
};

}  // namespace tallowmere::testing
