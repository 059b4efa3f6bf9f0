#include "core/verification/VerificationItemResult.h"

namespace tallowmere {

void to_json(Json& json, const VerificationItemResult& result) {
    json = Json{{"id", result.id},
                {"runID", result.runID},
                {"backupJobID", result.backupJobID},
                {"manifestItemID", result.manifestItemID},
                {"checkedPath", result.checkedPath},
                {"relativePath", result.relativePath},
                {"algorithm", result.algorithm},
                {"status", result.status},
                {"createdAt", result.createdAt},
                {"updatedAt", result.updatedAt}};
    putOptional(json, "expectedSize", result.expectedSize);
    putOptional(json, "actualSize", result.actualSize);
    putOptional(json, "expectedChecksum", result.expectedChecksum);
    putOptional(json, "actualChecksum", result.actualChecksum);
    putOptional(json, "failureReason", result.failureReason);
}

void from_json(const Json& json, VerificationItemResult& result) {
    json.at("id").get_to(result.id);
    json.at("runID").get_to(result.runID);
    json.at("backupJobID").get_to(result.backupJobID);
    json.at("manifestItemID").get_to(result.manifestItemID);
    json.at("checkedPath").get_to(result.checkedPath);
    json.at("relativePath").get_to(result.relativePath);
    json.at("algorithm").get_to(result.algorithm);
    result.expectedSize = getOptional<std::int64_t>(json, "expectedSize");
    result.actualSize = getOptional<std::int64_t>(json, "actualSize");
    result.expectedChecksum = getOptional<std::string>(json, "expectedChecksum");
    result.actualChecksum = getOptional<std::string>(json, "actualChecksum");
    json.at("status").get_to(result.status);
    result.failureReason = getOptional<std::string>(json, "failureReason");
    json.at("createdAt").get_to(result.createdAt);
    json.at("updatedAt").get_to(result.updatedAt);
}

}  // namespace tallowmere
