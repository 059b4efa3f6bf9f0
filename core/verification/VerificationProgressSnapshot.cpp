#include "core/verification/VerificationProgressSnapshot.h"

namespace tallowmere {

VerificationProgressSnapshot VerificationProgressSnapshot::idle() {
    VerificationProgressSnapshot idle;
    idle.message = "No verification is running.";
    return idle;
}

void to_json(Json& json, const VerificationProgressSnapshot& progress) {
    json = Json{{"mode", progress.mode},
                {"isRunning", progress.isRunning},
                {"totalFiles", progress.totalFiles},
                {"checkedFiles", progress.checkedFiles},
                {"failedFiles", progress.failedFiles},
                {"skippedFiles", progress.skippedFiles},
                {"bytesChecked", progress.bytesChecked},
                {"message", progress.message}};
    putOptional(json, "currentFile", progress.currentFile);
}

void from_json(const Json& json, VerificationProgressSnapshot& progress) {
    json.at("mode").get_to(progress.mode);
    json.at("isRunning").get_to(progress.isRunning);
    progress.currentFile = getOptional<std::string>(json, "currentFile");
    json.at("totalFiles").get_to(progress.totalFiles);
    json.at("checkedFiles").get_to(progress.checkedFiles);
    json.at("failedFiles").get_to(progress.failedFiles);
    json.at("skippedFiles").get_to(progress.skippedFiles);
    json.at("bytesChecked").get_to(progress.bytesChecked);
    json.at("message").get_to(progress.message);
}

}  // namespace tallowmere
