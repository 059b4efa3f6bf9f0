#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/platform/EnumText.h"
#include "core/safety/SafetyVocabulary.h"
#include "core/secondcopy/BackupDestination.h"

namespace tallowmere {

// The colours the screens name by role; the user interface decides the actual colours
// (success green, amber orange, danger red, and the platform's secondary text colour).
enum class ColorRole { success, amber, danger, secondaryLabel };

template <>
struct EnumTable<ColorRole> {
    static constexpr std::array<EnumCase<ColorRole>, 4> kCases{{
        {ColorRole::success, "success"},
        {ColorRole::amber, "amber"},
        {ColorRole::danger, "danger"},
        {ColorRole::secondaryLabel, "secondaryLabel"},
    }};
};

// The badge and the sentence at the top of the dashboard for one overall state.
struct DashboardHeadline {
    // The state's display name.
    std::string_view badgeText;
    // A system symbol name.
    std::string_view badgeSymbol;
    ColorRole badgeColor = ColorRole::secondaryLabel;
    std::string_view headline;

    bool operator==(const DashboardHeadline&) const = default;

    static DashboardHeadline make(SafetyState overallState);

    // The sentence below the headline: a warning when the selected destination is not
    // removable (whatever its status), otherwise the local-only promise.
    static std::string_view destinationSentence(
        const std::optional<BackupDestination>& selectedDestination);
};

}  // namespace tallowmere
