#include "core/secondcopy/BackupManifestItem.h"

namespace tallowmere {

void to_json(Json& json, const BackupManifestItem& item) {
    json = Json{{"id", item.id},
                {"jobID", item.jobID},
                {"sourcePath", item.sourcePath},
                {"relativePath", item.relativePath},
                {"destinationPath", item.destinationPath},
                {"sourceState", item.sourceState},
                {"isEligible", item.isEligible},
                {"status", item.status},
                {"message", item.message},
                {"createdAt", item.createdAt},
                {"updatedAt", item.updatedAt}};
    putOptional(json, "sourceResultID", item.sourceResultID);
    putOptional(json, "rootID", item.rootID);
    putOptional(json, "fileSize", item.fileSize);
    putOptional(json, "modifiedAt", item.modifiedAt);
}

void from_json(const Json& json, BackupManifestItem& item) {
    json.at("id").get_to(item.id);
    json.at("jobID").get_to(item.jobID);
    item.sourceResultID = getOptional<Uuid>(json, "sourceResultID");
    item.rootID = getOptional<Uuid>(json, "rootID");
    json.at("sourcePath").get_to(item.sourcePath);
    json.at("relativePath").get_to(item.relativePath);
    json.at("destinationPath").get_to(item.destinationPath);
    item.fileSize = getOptional<std::int64_t>(json, "fileSize");
    item.modifiedAt = getOptional<Date>(json, "modifiedAt");
    json.at("sourceState").get_to(item.sourceState);
    json.at("isEligible").get_to(item.isEligible);
    json.at("status").get_to(item.status);
    json.at("message").get_to(item.message);
    json.at("createdAt").get_to(item.createdAt);
    json.at("updatedAt").get_to(item.updatedAt);
}

}  // namespace tallowmere
