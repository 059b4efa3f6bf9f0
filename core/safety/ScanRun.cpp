#include "core/safety/ScanRun.h"

namespace tallowmere {

void to_json(Json& json, const ScanRun& run) {
    json = Json{{"id", run.id},
                {"trigger", run.trigger},
                {"startedAt", run.startedAt},
                {"overallState", run.overallState},
                {"safetyScore", run.safetyScore},
                {"status", run.status},
                {"scannedItemCount", run.scannedItemCount},
                {"limitReached", run.limitReached}};
    putOptional(json, "completedAt", run.completedAt);
    putOptional(json, "errorMessage", run.errorMessage);
}

void from_json(const Json& json, ScanRun& run) {
    json.at("id").get_to(run.id);
    json.at("trigger").get_to(run.trigger);
    json.at("startedAt").get_to(run.startedAt);
    run.completedAt = getOptional<Date>(json, "completedAt");
    json.at("overallState").get_to(run.overallState);
    json.at("safetyScore").get_to(run.safetyScore);
    json.at("status").get_to(run.status);
    json.at("scannedItemCount").get_to(run.scannedItemCount);
    run.errorMessage = getOptional<std::string>(json, "errorMessage");
    json.at("limitReached").get_to(run.limitReached);
}

}  // namespace tallowmere
