#pragma once

#include <cstdint>
#include <string>

#include "core/platform/Json.h"

namespace tallowmere {

// The small file a prepared backup job leaves in the backup folder's "Manifest" folder:
// counts and sizes only, never an item or a path.
struct ManifestPreview {
    Uuid jobID{};
    Uuid sourceScanRunID{};
    Date generatedAt{};
    std::int64_t eligibleFileCount = 0;
    std::int64_t skippedFileCount = 0;
    std::int64_t preparedBytes = 0;
    std::string note{};

    bool operator==(const ManifestPreview&) const = default;
};

void to_json(Json& json, const ManifestPreview& preview);
void from_json(const Json& json, ManifestPreview& preview);

}  // namespace tallowmere
