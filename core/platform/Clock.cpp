#include "core/platform/Clock.h"

#include <chrono>

namespace tallowmere {

Date SystemClock::now() const {
    using namespace std::chrono;
    return Date(duration<double>(system_clock::now().time_since_epoch()).count());
}

}  // namespace tallowmere
