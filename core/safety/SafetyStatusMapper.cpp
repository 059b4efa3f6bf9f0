#include "core/safety/SafetyStatusMapper.h"

namespace tallowmere::SafetyStatusMapper {
namespace {

struct StateRow {
    std::int64_t priority;
    std::int64_t score;
    MenuBarHealth health;
};

// Indexed by SafetyState in declaration order.
constexpr std::array<StateRow, 6> kRows{{
    {0, 100, MenuBarHealth::protected_},  // protected
    {2, 83, MenuBarHealth::attention},    // needsAttention
    {5, 34, MenuBarHealth::unsafe},       // cloudOnly
    {4, 46, MenuBarHealth::unsafe},       // stuckSyncing
    {3, 58, MenuBarHealth::unsafe},       // backupStale
    {1, 0, MenuBarHealth::paused},        // unknown
}};

const StateRow& row(SafetyState state) {
    return kRows[caseIndex(state)];
}

}  // namespace

std::int64_t priority(SafetyState state) {
    return row(state).priority;
}
std::int64_t score(SafetyState state) {
    return row(state).score;
}
MenuBarHealth menuBarHealth(SafetyState state) {
    return row(state).health;
}

SafetyState overallState(const std::vector<SafetyFinding>& findings) {
    if (findings.empty())
        return SafetyState::unknown;
    SafetyState worst = findings.front().state;
    for (const auto& finding : findings) {
        if (priority(finding.state) > priority(worst))
            worst = finding.state;
    }
    return worst;
}

}  // namespace tallowmere::SafetyStatusMapper
