#include "core/secondcopy/LocalBackupDestinationPolicy.h"

namespace tallowmere::LocalBackupDestinationPolicy {

bool canStartCopy(const std::optional<BackupDestination>& destination,
                  bool allowLocalTestDestination) {
    if (!destination || destination->status != BackupDestinationStatus::connected)
        return false;
    return destination->isRemovable || allowLocalTestDestination;
}

std::optional<std::string> warning(const std::optional<BackupDestination>& destination,
                                   bool allowLocalTestDestination) {
    if (!destination || destination->status != BackupDestinationStatus::connected ||
        destination->isRemovable) {
        return std::nullopt;
    }
    if (allowLocalTestDestination) {
        return "Local test destination is enabled. This is useful for testing only; use an "
               "external drive for a real second copy.";
    }
    return "This folder appears to be on the internal disk. Choose an external drive, or enable "
           "local test destinations in Settings for testing only.";
}

}  // namespace tallowmere::LocalBackupDestinationPolicy
