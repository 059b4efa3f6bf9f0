#include "core/secondcopy/BackupJobSnapshot.h"

namespace tallowmere {

void to_json(Json& json, const BackupJobSnapshot& job) {
    json = Json{{"id", job.id},
                {"status", job.status},
                {"totalFiles", job.totalFiles},
                {"completedFiles", job.completedFiles},
                {"failedFiles", job.failedFiles},
                {"skippedFiles", job.skippedFiles},
                {"conflictFiles", job.conflictFiles},
                {"preparedBytes", job.preparedBytes},
                {"copiedBytes", job.copiedBytes},
                {"message", job.message}};
    putOptional(json, "destinationID", job.destinationID);
    putOptional(json, "sourceScanRunID", job.sourceScanRunID);
    putOptional(json, "startedAt", job.startedAt);
    putOptional(json, "completedAt", job.completedAt);
    putOptional(json, "cancelledAt", job.cancelledAt);
    putOptional(json, "manifestJSONPath", job.manifestJSONPath);
}

void from_json(const Json& json, BackupJobSnapshot& job) {
    json.at("id").get_to(job.id);
    job.destinationID = getOptional<Uuid>(json, "destinationID");
    job.sourceScanRunID = getOptional<Uuid>(json, "sourceScanRunID");
    json.at("status").get_to(job.status);
    job.startedAt = getOptional<Date>(json, "startedAt");
    job.completedAt = getOptional<Date>(json, "completedAt");
    job.cancelledAt = getOptional<Date>(json, "cancelledAt");
    json.at("totalFiles").get_to(job.totalFiles);
    json.at("completedFiles").get_to(job.completedFiles);
    json.at("failedFiles").get_to(job.failedFiles);
    json.at("skippedFiles").get_to(job.skippedFiles);
    json.at("conflictFiles").get_to(job.conflictFiles);
    json.at("preparedBytes").get_to(job.preparedBytes);
    json.at("copiedBytes").get_to(job.copiedBytes);
    job.manifestJSONPath = getOptional<std::string>(json, "manifestJSONPath");
    json.at("message").get_to(job.message);
}

}  // namespace tallowmere
