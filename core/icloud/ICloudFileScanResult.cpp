#include "core/icloud/ICloudFileScanResult.h"

namespace tallowmere {

void to_json(Json& json, const ICloudFileScanResult& result) {
    json = Json{{"id", result.id},
                {"scanRunID", result.scanRunID},
                {"rootID", result.rootID},
                {"path", result.path},
                {"displayName", result.displayName},
                {"isDirectory", result.isDirectory},
                {"state", result.state},
                {"confidence", result.confidence},
                {"reason", result.reason},
                {"scannedAt", result.scannedAt}};
    putOptional(json, "fileSize", result.fileSize);
    putOptional(json, "modifiedAt", result.modifiedAt);
}

void from_json(const Json& json, ICloudFileScanResult& result) {
    json.at("id").get_to(result.id);
    json.at("scanRunID").get_to(result.scanRunID);
    json.at("rootID").get_to(result.rootID);
    json.at("path").get_to(result.path);
    json.at("displayName").get_to(result.displayName);
    json.at("isDirectory").get_to(result.isDirectory);
    result.fileSize = getOptional<std::int64_t>(json, "fileSize");
    result.modifiedAt = getOptional<Date>(json, "modifiedAt");
    json.at("state").get_to(result.state);
    json.at("confidence").get_to(result.confidence);
    json.at("reason").get_to(result.reason);
    json.at("scannedAt").get_to(result.scannedAt);
}

}  // namespace tallowmere
