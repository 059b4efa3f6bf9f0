#pragma once

#include <optional>
#include <string>

#include "core/secondcopy/BackupDestination.h"

namespace tallowmere {

// Whether copying may start on a destination, and what to tell the user about a folder that
// is not on a removable volume. `allowLocalTestDestination` is the user's local-test setting.
// Pure; callable from any thread.
namespace LocalBackupDestinationPolicy {

// Only a `connected` destination, and one that is not removable only in local test mode.
bool canStartCopy(const std::optional<BackupDestination>& destination,
                  bool allowLocalTestDestination);

// A warning only for a `connected` destination that is not removable.
std::optional<std::string> warning(const std::optional<BackupDestination>& destination,
                                   bool allowLocalTestDestination);

}  // namespace LocalBackupDestinationPolicy

}  // namespace tallowmere
