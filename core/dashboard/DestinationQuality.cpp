#include "core/dashboard/DestinationQuality.h"

namespace tallowmere {
namespace {

// Indexed by DestinationQuality in declaration order.
constexpr std::array<std::string_view, 8> kDetails{
    "Select an external drive so your second copy is separate from this Mac.",
    "Tallowmere can prepare and copy into its own folder on this destination.",
    "Useful for testing only. Use an external drive for a real second copy.",
    "Choose an external drive, or enable local test destinations in Advanced settings for "
    "testing only.",
    "Reconnect the drive or choose a new destination.",
    "Free up space or choose a larger external drive before copying.",
    "Choose the destination again so Tallowmere can access its backup folder.",
    "Refresh the destination status before preparing or copying.",
};

}  // namespace

DestinationQuality makeDestinationQuality(const std::optional<BackupDestination>& destination,
                                          bool allowLocalTestDestination) {
    if (!destination)
        return DestinationQuality::notSelected;
    switch (destination->status) {
        case BackupDestinationStatus::notSelected:
            return DestinationQuality::notSelected;
        case BackupDestinationStatus::connected:
            if (destination->isRemovable)
                return DestinationQuality::externalReady;
            return allowLocalTestDestination ? DestinationQuality::localTestOnly
                                             : DestinationQuality::localBlocked;
        case BackupDestinationStatus::missing:
            return DestinationQuality::missing;
        case BackupDestinationStatus::lowStorage:
            return DestinationQuality::lowSpace;
        case BackupDestinationStatus::permissionIssue:
            return DestinationQuality::permissionIssue;
        case BackupDestinationStatus::unknown:
            return DestinationQuality::unknown;
    }
    return DestinationQuality::unknown;
}

std::string_view title(DestinationQuality quality) {
    return displayName(quality);
}

std::string_view detail(DestinationQuality quality) {
    return kDetails[caseIndex(quality)];
}

bool requiresUserAction(DestinationQuality quality) {
    return quality != DestinationQuality::externalReady;
}

bool canPrepare(DestinationQuality quality) {
    return quality == DestinationQuality::externalReady ||
           quality == DestinationQuality::localTestOnly;
}

bool canCopy(DestinationQuality quality) {
    return canPrepare(quality);
}

}  // namespace tallowmere
