#include "core/photos/PhotosScanSummary.h"

namespace tallowmere {

void to_json(Json& json, const PhotosScanSummary& summary) {
    json = Json{{"id", summary.id},
                {"startedAt", summary.startedAt},
                {"authorizationStatus", summary.authorizationStatus},
                {"scanStatus", summary.scanStatus},
                {"totalAssetCount", summary.totalAssetCount},
                {"photoCount", summary.photoCount},
                {"videoCount", summary.videoCount},
                {"livePhotoCount", summary.livePhotoCount},
                {"screenshotCount", summary.screenshotCount},
                {"favoriteCount", summary.favoriteCount},
                {"hiddenCount", summary.hiddenCount},
                {"approximateResourceCount", summary.approximateResourceCount},
                {"videoDurationSeconds", summary.videoDurationSeconds},
                {"libraryExists", summary.libraryExists},
                {"canReadMetadata", summary.canReadMetadata},
                {"localOriginalsUnknown", summary.localOriginalsUnknown},
                {"iCloudPhotosStatusUnknown", summary.iCloudPhotosStatusUnknown},
                {"needsUserReview", summary.needsUserReview},
                {"didModifyPhotos", summary.didModifyPhotos},
                {"message", summary.message}};
    putOptional(json, "completedAt", summary.completedAt);
    putOptional(json, "libraryPath", summary.libraryPath);
    putOptional(json, "libraryDisplayName", summary.libraryDisplayName);
    putOptional(json, "localLibrarySizeBytes", summary.localLibrarySizeBytes);
    putOptional(json, "oldestCreationDate", summary.oldestCreationDate);
    putOptional(json, "newestCreationDate", summary.newestCreationDate);
}

void from_json(const Json& json, PhotosScanSummary& summary) {
    json.at("id").get_to(summary.id);
    json.at("startedAt").get_to(summary.startedAt);
    summary.completedAt = getOptional<Date>(json, "completedAt");
    json.at("authorizationStatus").get_to(summary.authorizationStatus);
    json.at("scanStatus").get_to(summary.scanStatus);
    json.at("totalAssetCount").get_to(summary.totalAssetCount);
    json.at("photoCount").get_to(summary.photoCount);
    json.at("videoCount").get_to(summary.videoCount);
    json.at("livePhotoCount").get_to(summary.livePhotoCount);
    json.at("screenshotCount").get_to(summary.screenshotCount);
    json.at("favoriteCount").get_to(summary.favoriteCount);
    json.at("hiddenCount").get_to(summary.hiddenCount);
    json.at("approximateResourceCount").get_to(summary.approximateResourceCount);
    json.at("videoDurationSeconds").get_to(summary.videoDurationSeconds);
    summary.libraryPath = getOptional<std::string>(json, "libraryPath");
    summary.libraryDisplayName = getOptional<std::string>(json, "libraryDisplayName");
    json.at("libraryExists").get_to(summary.libraryExists);
    summary.localLibrarySizeBytes = getOptional<std::int64_t>(json, "localLibrarySizeBytes");
    summary.oldestCreationDate = getOptional<Date>(json, "oldestCreationDate");
    summary.newestCreationDate = getOptional<Date>(json, "newestCreationDate");
    json.at("canReadMetadata").get_to(summary.canReadMetadata);
    json.at("localOriginalsUnknown").get_to(summary.localOriginalsUnknown);
    json.at("iCloudPhotosStatusUnknown").get_to(summary.iCloudPhotosStatusUnknown);
    json.at("needsUserReview").get_to(summary.needsUserReview);
    json.at("didModifyPhotos").get_to(summary.didModifyPhotos);
    json.at("message").get_to(summary.message);
}

}  // namespace tallowmere
