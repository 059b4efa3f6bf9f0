#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/platform/Json.h"

namespace tallowmere {

// What the screens show while an iCloud Drive scan runs.
struct ScanProgressSnapshot {
    bool isRunning = false;
    // The stored display name of the root being scanned.
    std::optional<std::string> currentRoot;
    // Rows recorded so far.
    std::int64_t scannedItemCount = 0;
    // Rows that are local and current or downloaded.
    std::int64_t localAvailableCount = 0;
    std::int64_t cloudOnlyCount = 0;
    // Rows waiting to upload or to download.
    std::int64_t waitingCount = 0;
    // Rows with a possible sync issue.
    std::int64_t possibleIssueCount = 0;
    std::int64_t unknownCount = 0;
    std::int64_t excludedCount = 0;
    bool isCancelling = false;
    bool limitReached = false;
    std::string message;

    bool operator==(const ScanProgressSnapshot&) const = default;

    // Not running, nothing counted, message "Ready".
    static ScanProgressSnapshot idle();
};

void to_json(Json& json, const ScanProgressSnapshot& snapshot);
void from_json(const Json& json, ScanProgressSnapshot& snapshot);

}  // namespace tallowmere
