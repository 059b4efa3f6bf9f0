#pragma once

#include <atomic>

#include "core/platform/Clock.h"

namespace tallowmere::testing {

// A clock that says what the test sets. Safe to read from any thread.
class FixedClock final : public Clock {
public:
    explicit FixedClock(Date now = Date(1'765'000'000)) : m_seconds(now.secondsSince1970()) {}

    Date now() const override { return Date(m_seconds.load()); }
    void set(Date now) { m_seconds.store(now.secondsSince1970()); }
    void advance(double seconds) { m_seconds.store(m_seconds.load() + seconds); }

private:
    std::atomic<double> m_seconds;
};

}  // namespace tallowmere::testing
