#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/photos/PhotosVocabulary.h"
#include "core/platform/Json.h"
#include "core/safety/SafetyVocabulary.h"

namespace tallowmere {

// One Photos safety scan: what could be read from the library's metadata and what
// could not be known.
struct PhotosScanSummary {
    Uuid id;
    Date startedAt;
    std::optional<Date> completedAt;
    PhotosAuthorizationState authorizationStatus = PhotosAuthorizationState::unknown;
    ScanRunStatus scanStatus = ScanRunStatus::completed;
    std::int64_t totalAssetCount = 0;
    std::int64_t photoCount = 0;
    std::int64_t videoCount = 0;
    std::int64_t livePhotoCount = 0;
    std::int64_t screenshotCount = 0;
    std::int64_t favoriteCount = 0;
    std::int64_t hiddenCount = 0;
    // Sum over assets of their stored resources.
    std::int64_t approximateResourceCount = 0;
    double videoDurationSeconds = 0;
    std::optional<std::string> libraryPath;
    std::optional<std::string> libraryDisplayName;
    bool libraryExists = false;
    // Estimated size of the library on disk.
    std::optional<std::int64_t> localLibrarySizeBytes;
    std::optional<Date> oldestCreationDate;
    std::optional<Date> newestCreationDate;
    bool canReadMetadata = false;
    bool localOriginalsUnknown = false;
    bool iCloudPhotosStatusUnknown = false;
    bool needsUserReview = false;
    // Always false: the scan changes nothing.
    bool didModifyPhotos = false;
    std::string message;

    bool operator==(const PhotosScanSummary&) const = default;
};

void to_json(Json& json, const PhotosScanSummary& summary);
void from_json(const Json& json, PhotosScanSummary& summary);

}  // namespace tallowmere
