#include "core/icloud/ScanProgressSnapshot.h"

namespace tallowmere {

ScanProgressSnapshot ScanProgressSnapshot::idle() {
    ScanProgressSnapshot snapshot;
    snapshot.message = "Ready";
    return snapshot;
}

void to_json(Json& json, const ScanProgressSnapshot& snapshot) {
    json = Json{{"isRunning", snapshot.isRunning},
                {"scannedItemCount", snapshot.scannedItemCount},
                {"localAvailableCount", snapshot.localAvailableCount},
                {"cloudOnlyCount", snapshot.cloudOnlyCount},
                {"waitingCount", snapshot.waitingCount},
                {"possibleIssueCount", snapshot.possibleIssueCount},
                {"unknownCount", snapshot.unknownCount},
                {"excludedCount", snapshot.excludedCount},
                {"isCancelling", snapshot.isCancelling},
                {"limitReached", snapshot.limitReached},
                {"message", snapshot.message}};
    putOptional(json, "currentRoot", snapshot.currentRoot);
}

void from_json(const Json& json, ScanProgressSnapshot& snapshot) {
    json.at("isRunning").get_to(snapshot.isRunning);
    snapshot.currentRoot = getOptional<std::string>(json, "currentRoot");
    json.at("scannedItemCount").get_to(snapshot.scannedItemCount);
    json.at("localAvailableCount").get_to(snapshot.localAvailableCount);
    json.at("cloudOnlyCount").get_to(snapshot.cloudOnlyCount);
    json.at("waitingCount").get_to(snapshot.waitingCount);
    json.at("possibleIssueCount").get_to(snapshot.possibleIssueCount);
    json.at("unknownCount").get_to(snapshot.unknownCount);
    json.at("excludedCount").get_to(snapshot.excludedCount);
    json.at("isCancelling").get_to(snapshot.isCancelling);
    json.at("limitReached").get_to(snapshot.limitReached);
    json.at("message").get_to(snapshot.message);
}

}  // namespace tallowmere
