#include "core/safety/ActionPlanRanker.h"

#include <algorithm>

#include "core/safety/SafetyStatusMapper.h"

namespace tallowmere::ActionPlanRanker {

std::vector<SafetyFinding> rankedFindings(std::vector<SafetyFinding> findings) {
    std::stable_sort(findings.begin(), findings.end(),
                     [](const SafetyFinding& a, const SafetyFinding& b) {
                         if (a.severity != b.severity)
                             return a.severity > b.severity;
                         const auto priorityA = SafetyStatusMapper::priority(a.state);
                         const auto priorityB = SafetyStatusMapper::priority(b.state);
                         if (priorityA != priorityB)
                             return priorityA > priorityB;
                         if (a.domain != b.domain)
                             return caseIndex(a.domain) > caseIndex(b.domain);
                         return a.createdAt < b.createdAt;
                     });
    return findings;
}

}  // namespace tallowmere::ActionPlanRanker
