#pragma once

#include <array>
#include <string_view>

#include "core/platform/EnumText.h"

// The words every part of the program uses to speak about safety. Raw values are
// stored and exported, so they never change. A case whose name is a C++ keyword
// carries a trailing underscore in code; its raw value is still the plain name.
namespace tallowmere {

enum class SafetyState {
    protected_,
    needsAttention,
    cloudOnly,
    stuckSyncing,
    backupStale,
    unknown
};

enum class SafetyDomain { overall, photos, iCloudDrive, secondCopy };

enum class ConfidenceLevel { verified, likely, unknown };

enum class ScanTrigger { firstRun, manual, scheduled };

enum class ScanRunStatus { completed, cancelled, failed, limitReached };

enum class MenuBarHealth { protected_, attention, unsafe, paused };

template <>
struct EnumTable<SafetyState> {
    static constexpr std::array<EnumCase<SafetyState>, 6> kCases{{
        {SafetyState::protected_, "protected", "Protected"},
        {SafetyState::needsAttention, "needsAttention", "Needs attention"},
        {SafetyState::cloudOnly, "cloudOnly", "Cloud-only"},
        {SafetyState::stuckSyncing, "stuckSyncing", "Stuck syncing"},
        {SafetyState::backupStale, "backupStale", "Backup stale"},
        {SafetyState::unknown, "unknown", "Unknown / cannot verify"},
    }};
};

template <>
struct EnumTable<SafetyDomain> {
    static constexpr std::array<EnumCase<SafetyDomain>, 4> kCases{{
        {SafetyDomain::overall, "overall", "Overall"},
        {SafetyDomain::photos, "photos", "Photos Safety"},
        {SafetyDomain::iCloudDrive, "iCloudDrive", "iCloud Drive Safety"},
        {SafetyDomain::secondCopy, "secondCopy", "Second Copy"},
    }};
};

template <>
struct EnumTable<ConfidenceLevel> {
    static constexpr std::array<EnumCase<ConfidenceLevel>, 3> kCases{{
        {ConfidenceLevel::verified, "verified", "Verified"},
        {ConfidenceLevel::likely, "likely", "Likely"},
        {ConfidenceLevel::unknown, "unknown", "Unknown"},
    }};
};

template <>
struct EnumTable<ScanTrigger> {
    static constexpr std::array<EnumCase<ScanTrigger>, 3> kCases{{
        {ScanTrigger::firstRun, "firstRun"},
        {ScanTrigger::manual, "manual"},
        {ScanTrigger::scheduled, "scheduled"},
    }};
};

template <>
struct EnumTable<ScanRunStatus> {
    static constexpr std::array<EnumCase<ScanRunStatus>, 4> kCases{{
        {ScanRunStatus::completed, "completed", "Completed"},
        {ScanRunStatus::cancelled, "cancelled", "Cancelled"},
        {ScanRunStatus::failed, "failed", "Failed"},
        {ScanRunStatus::limitReached, "limitReached", "Limit reached"},
    }};
};

template <>
struct EnumTable<MenuBarHealth> {
    static constexpr std::array<EnumCase<MenuBarHealth>, 4> kCases{{
        {MenuBarHealth::protected_, "protected", "Protected"},
        {MenuBarHealth::attention, "attention", "Needs attention"},
        {MenuBarHealth::unsafe, "unsafe", "Unsafe"},
        {MenuBarHealth::paused, "paused", "Scan paused"},
    }};
};

// The status item's symbol name and the text read by assistive technology.
std::string_view systemSymbolName(MenuBarHealth health);
std::string_view accessibilityDescription(MenuBarHealth health);

}  // namespace tallowmere
