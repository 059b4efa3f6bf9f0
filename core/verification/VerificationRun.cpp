#include "core/verification/VerificationRun.h"

namespace tallowmere {

void to_json(Json& json, const VerificationRun& run) {
    json = Json{{"id", run.id},
                {"mode", run.mode},
                {"status", run.status},
                {"startedAt", run.startedAt},
                {"checkedFiles", run.checkedFiles},
                {"failedFiles", run.failedFiles},
                {"skippedFiles", run.skippedFiles},
                {"restoredSampleFiles", run.restoredSampleFiles},
                {"bytesChecked", run.bytesChecked},
                {"message", run.message}};
    putOptional(json, "backupJobID", run.backupJobID);
    putOptional(json, "completedAt", run.completedAt);
    putOptional(json, "restoreTestPath", run.restoreTestPath);
}

void from_json(const Json& json, VerificationRun& run) {
    json.at("id").get_to(run.id);
    json.at("mode").get_to(run.mode);
    json.at("status").get_to(run.status);
    run.backupJobID = getOptional<Uuid>(json, "backupJobID");
    json.at("startedAt").get_to(run.startedAt);
    run.completedAt = getOptional<Date>(json, "completedAt");
    json.at("checkedFiles").get_to(run.checkedFiles);
    json.at("failedFiles").get_to(run.failedFiles);
    json.at("skippedFiles").get_to(run.skippedFiles);
    json.at("restoredSampleFiles").get_to(run.restoredSampleFiles);
    json.at("bytesChecked").get_to(run.bytesChecked);
    run.restoreTestPath = getOptional<std::string>(json, "restoreTestPath");
    json.at("message").get_to(run.message);
}

void VerificationTally::add(const VerificationItemResult& result) {
    if (result.status == VerificationItemStatus::skipped) {
        ++skippedFiles;
        return;
    }
    ++checkedFiles;
    if (isFailure(result.status))
        ++failedFiles;
    bytesChecked += result.actualSize.value_or(result.expectedSize.value_or(0));
}

VerificationTally VerificationTally::of(const std::vector<VerificationItemResult>& results) {
    VerificationTally tally;
    for (const auto& result : results) tally.add(result);
    return tally;
}

std::int64_t VerificationTally::restoredSampleFiles(VerificationMode mode) const {
    return mode == VerificationMode::restoreTest ? checkedFiles : 0;
}

}  // namespace tallowmere
