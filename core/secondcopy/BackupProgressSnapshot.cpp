#include "core/secondcopy/BackupProgressSnapshot.h"

namespace tallowmere {

BackupProgressSnapshot BackupProgressSnapshot::idle() {
    BackupProgressSnapshot idle;
    idle.message = "Backup has not started.";
    return idle;
}

void to_json(Json& json, const BackupProgressSnapshot& progress) {
    json = Json{{"isRunning", progress.isRunning},
                {"totalFiles", progress.totalFiles},
                {"completedFiles", progress.completedFiles},
                {"skippedFiles", progress.skippedFiles},
                {"failedFiles", progress.failedFiles},
                {"conflictFiles", progress.conflictFiles},
                {"copiedBytes", progress.copiedBytes},
                {"totalBytes", progress.totalBytes},
                {"isCancelling", progress.isCancelling},
                {"isPaused", progress.isPaused},
                {"message", progress.message}};
    putOptional(json, "currentFile", progress.currentFile);
}

void from_json(const Json& json, BackupProgressSnapshot& progress) {
    json.at("isRunning").get_to(progress.isRunning);
    progress.currentFile = getOptional<std::string>(json, "currentFile");
    json.at("totalFiles").get_to(progress.totalFiles);
    json.at("completedFiles").get_to(progress.completedFiles);
    json.at("skippedFiles").get_to(progress.skippedFiles);
    json.at("failedFiles").get_to(progress.failedFiles);
    json.at("conflictFiles").get_to(progress.conflictFiles);
    json.at("copiedBytes").get_to(progress.copiedBytes);
    json.at("totalBytes").get_to(progress.totalBytes);
    json.at("isCancelling").get_to(progress.isCancelling);
    json.at("isPaused").get_to(progress.isPaused);
    json.at("message").get_to(progress.message);
}

}  // namespace tallowmere
