#pragma once

#include <cstdint>
#include <string>

#include "core/platform/Json.h"
#include "core/safety/SafetyVocabulary.h"

namespace tallowmere {

// One statement about safety, produced by a scan or derived from a summary.
struct SafetyFinding {
    Uuid id;
    Uuid scanRunID;
    SafetyDomain domain = SafetyDomain::overall;
    SafetyState state = SafetyState::unknown;
    ConfidenceLevel confidence = ConfidenceLevel::unknown;
    std::string title;
    std::string message;
    std::string recommendedAction;
    // Higher means more urgent.
    std::int64_t severity = 0;
    Date createdAt;

    bool operator==(const SafetyFinding&) const = default;
};

void to_json(Json& json, const SafetyFinding& finding);
void from_json(const Json& json, SafetyFinding& finding);

}  // namespace tallowmere
