#include "app/ManifestPreview.h"

namespace tallowmere {

void to_json(Json& json, const ManifestPreview& preview) {
    json = Json::object();
    json["jobID"] = preview.jobID;
    json["sourceScanRunID"] = preview.sourceScanRunID;
    json["generatedAt"] = preview.generatedAt;
    json["eligibleFileCount"] = preview.eligibleFileCount;
    json["skippedFileCount"] = preview.skippedFileCount;
    json["preparedBytes"] = preview.preparedBytes;
    json["note"] = preview.note;
}

void from_json(const Json& json, ManifestPreview& preview) {
    preview.jobID = json.at("jobID").get<Uuid>();
    preview.sourceScanRunID = json.at("sourceScanRunID").get<Uuid>();
    preview.generatedAt = json.at("generatedAt").get<Date>();
    preview.eligibleFileCount = json.at("eligibleFileCount").get<std::int64_t>();
    preview.skippedFileCount = json.at("skippedFileCount").get<std::int64_t>();
    preview.preparedBytes = json.at("preparedBytes").get<std::int64_t>();
    preview.note = json.at("note").get<std::string>();
}

}  // namespace tallowmere
