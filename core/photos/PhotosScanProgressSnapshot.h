#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/platform/Json.h"

namespace tallowmere {

// What the Photos screen shows while a Photos scan runs.
struct PhotosScanProgressSnapshot {
    bool isRunning = false;
    std::int64_t scannedAssetCount = 0;
    std::int64_t totalAssetCount = 0;
    // "Authorization", "Metadata" or "Assets" while running.
    std::optional<std::string> currentStage;
    std::string message;

    bool operator==(const PhotosScanProgressSnapshot&) const = default;

    // Not running, nothing counted, no stage, message "Photos scan has not started.".
    static PhotosScanProgressSnapshot idle();
};

void to_json(Json& json, const PhotosScanProgressSnapshot& snapshot);
void from_json(const Json& json, PhotosScanProgressSnapshot& snapshot);

}  // namespace tallowmere
