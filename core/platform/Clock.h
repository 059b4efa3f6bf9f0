#pragma once

#include "core/platform/Date.h"

namespace tallowmere {

// The source of "now" for engines and rules, so tests can fix time. Implementations
// are safe to call from any thread.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Date now() const = 0;
};

class SystemClock final : public Clock {
public:
    Date now() const override;
};

}  // namespace tallowmere
