#include "core/secondcopy/BackupDestinationStatusEvaluator.h"

namespace tallowmere::BackupDestinationStatusEvaluator {

BackupDestinationEvaluation evaluate(const BackupDestinationProbe& probe) {
    if (!probe.path || probe.path->empty())
        return {BackupDestinationStatus::notSelected, std::nullopt};
    if (!probe.exists || !probe.isDirectory)
        return {BackupDestinationStatus::missing, std::nullopt};
    if (!probe.isWritable)
        return {BackupDestinationStatus::permissionIssue, std::nullopt};
    if (probe.availableBytes) {
        const std::int64_t needed = probe.estimatedBytesNeeded.value_or(lowSpaceFloorBytes);
        if (*probe.availableBytes < needed) {
            return {BackupDestinationStatus::lowStorage,
                    "This destination may not have enough free space for the prepared backup."};
        }
    }
    if (probe.isRemovable)
        return {BackupDestinationStatus::connected, std::nullopt};
    return {BackupDestinationStatus::connected,
            "This folder does not appear to be on an external drive."};
}

}  // namespace tallowmere::BackupDestinationStatusEvaluator
