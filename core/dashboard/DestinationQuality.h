#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/platform/EnumText.h"
#include "core/secondcopy/BackupDestination.h"

namespace tallowmere {

// How fit the selected destination is to hold a real second copy. The display name of
// each case is its title.
enum class DestinationQuality {
    notSelected,
    externalReady,
    localTestOnly,
    localBlocked,
    missing,
    lowSpace,
    permissionIssue,
    unknown
};

template <>
struct EnumTable<DestinationQuality> {
    static constexpr std::array<EnumCase<DestinationQuality>, 8> kCases{{
        {DestinationQuality::notSelected, "notSelected", "Choose an external backup drive"},
        {DestinationQuality::externalReady, "externalReady", "External destination ready"},
        {DestinationQuality::localTestOnly, "localTestOnly", "Local test destination enabled"},
        {DestinationQuality::localBlocked, "localBlocked",
         "Internal disk is not a real second copy"},
        {DestinationQuality::missing, "missing", "Backup destination is missing"},
        {DestinationQuality::lowSpace, "lowSpace", "Backup destination is low on space"},
        {DestinationQuality::permissionIssue, "permissionIssue",
         "Tallowmere needs destination permission"},
        {DestinationQuality::unknown, "unknown", "Destination status is unknown"},
    }};
};

// A connected folder on a removable drive is ready; one on the internal disk is usable
// only while local test destinations are allowed (`allowLocalBackupTestDestination`).
// Every other status maps to its own quality.
DestinationQuality makeDestinationQuality(const std::optional<BackupDestination>& destination,
                                          bool allowLocalTestDestination);

std::string_view title(DestinationQuality quality);
// One sentence saying what to do about it.
std::string_view detail(DestinationQuality quality);
// True for everything but externalReady.
bool requiresUserAction(DestinationQuality quality);
// Preparing and copying are both allowed exactly for externalReady and localTestOnly.
bool canPrepare(DestinationQuality quality);
bool canCopy(DestinationQuality quality);

}  // namespace tallowmere
