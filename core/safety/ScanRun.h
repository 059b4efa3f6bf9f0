#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/platform/Json.h"
#include "core/safety/SafetyVocabulary.h"

namespace tallowmere {

// One safety scan.
struct ScanRun {
    Uuid id;
    ScanTrigger trigger = ScanTrigger::manual;
    Date startedAt;
    std::optional<Date> completedAt;
    SafetyState overallState = SafetyState::unknown;
    // 0 to 100, set by the scanner from the overall state.
    std::int64_t safetyScore = 0;
    ScanRunStatus status = ScanRunStatus::completed;
    std::int64_t scannedItemCount = 0;
    std::optional<std::string> errorMessage;
    // True when the scan stopped at its entry or depth limit.
    bool limitReached = false;

    bool operator==(const ScanRun&) const = default;
};

void to_json(Json& json, const ScanRun& run);
void from_json(const Json& json, ScanRun& run);

}  // namespace tallowmere
