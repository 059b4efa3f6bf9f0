#pragma once

#include <cstdint>
#include <vector>

#include "core/safety/SafetyFinding.h"
#include "core/safety/SafetyVocabulary.h"

// How alarming a safety state is, the score and status-item health it gives, and the
// overall state of a list of findings. Pure functions.
namespace tallowmere::SafetyStatusMapper {

// From least to most alarming: protected 0, unknown 1, needsAttention 2,
// backupStale 3, stuckSyncing 4, cloudOnly 5.
std::int64_t priority(SafetyState state);

// 100, 83, 34, 46, 58 or 0; unknown scores lowest of all.
std::int64_t score(SafetyState state);

MenuBarHealth menuBarHealth(SafetyState state);

// The most alarming state among the findings (the earliest among equals);
// unknown for an empty list.
SafetyState overallState(const std::vector<SafetyFinding>& findings);

}  // namespace tallowmere::SafetyStatusMapper
