#pragma once

#include <vector>

#include "core/safety/SafetyFinding.h"

namespace tallowmere::ActionPlanRanker {

// The findings in the order they are shown and acted on, by a stable sort on:
// higher severity, then more alarming state, then later domain (second copy before
// iCloud Drive before Photos before overall), then earlier creation.
std::vector<SafetyFinding> rankedFindings(std::vector<SafetyFinding> findings);

}  // namespace tallowmere::ActionPlanRanker
