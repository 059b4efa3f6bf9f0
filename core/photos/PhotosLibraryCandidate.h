#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/platform/Json.h"

namespace tallowmere {

// The photo library found on disk (or looked for and not found) during a Photos scan.
struct PhotosLibraryCandidate {
    Uuid id;
    // The library's file-system path.
    std::string path;
    // The path's last component, or "Photos Library" when that is empty.
    std::string displayName;
    // True only when a folder is at the path.
    bool exists = false;
    // Space the library takes on disk; absent when it does not exist or cannot be listed.
    std::optional<std::int64_t> estimatedSizeBytes;
    Date detectedAt;

    bool operator==(const PhotosLibraryCandidate&) const = default;
};

void to_json(Json& json, const PhotosLibraryCandidate& candidate);
void from_json(const Json& json, PhotosLibraryCandidate& candidate);

}  // namespace tallowmere
