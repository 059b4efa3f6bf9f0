#include "core/photos/PhotosScanProgressSnapshot.h"

namespace tallowmere {

PhotosScanProgressSnapshot PhotosScanProgressSnapshot::idle() {
    PhotosScanProgressSnapshot snapshot;
    snapshot.message = "Photos scan has not started.";
    return snapshot;
}

void to_json(Json& json, const PhotosScanProgressSnapshot& snapshot) {
    json = Json{{"isRunning", snapshot.isRunning},
                {"scannedAssetCount", snapshot.scannedAssetCount},
                {"totalAssetCount", snapshot.totalAssetCount},
                {"message", snapshot.message}};
    putOptional(json, "currentStage", snapshot.currentStage);
}

void from_json(const Json& json, PhotosScanProgressSnapshot& snapshot) {
    json.at("isRunning").get_to(snapshot.isRunning);
    json.at("scannedAssetCount").get_to(snapshot.scannedAssetCount);
    json.at("totalAssetCount").get_to(snapshot.totalAssetCount);
    snapshot.currentStage = getOptional<std::string>(json, "currentStage");
    json.at("message").get_to(snapshot.message);
}

}  // namespace tallowmere
