#include "core/icloud/ICloudDriveScanSummary.h"

#include <algorithm>

namespace tallowmere {

ICloudDriveScanSummary ICloudDriveScanSummary::make(
    std::optional<Uuid> scanRunID, std::optional<Date> completedAt, ScanRunStatus status,
    bool limitReached, const std::vector<ICloudFileScanResult>& results) {
    ICloudDriveScanSummary summary;
    summary.scanRunID = scanRunID;
    summary.completedAt = completedAt;
    summary.status = status;
    summary.limitReached = limitReached;
    for (const auto& result : results) summary.count(result.state);
    return summary;
}

ICloudDriveScanSummary ICloudDriveScanSummary::empty() {
    return ICloudDriveScanSummary{};
}

void ICloudDriveScanSummary::count(ICloudFileState state) {
    ++scannedItemCount;
    switch (state) {
        case ICloudFileState::localCurrent:
            ++localCurrentCount;
            break;
        case ICloudFileState::downloaded:
            ++downloadedCount;
            break;
        case ICloudFileState::cloudOnly:
            ++cloudOnlyCount;
            break;
        case ICloudFileState::waitingToUpload:
            ++waitingToUploadCount;
            break;
        case ICloudFileState::waitingToDownload:
            ++waitingToDownloadCount;
            break;
        case ICloudFileState::possibleSyncIssue:
            ++possibleSyncIssueCount;
            break;
        case ICloudFileState::excluded:
            ++excludedCount;
            break;
        case ICloudFileState::unknown:
            ++unknownCount;
            break;
    }
}

std::int64_t ICloudDriveScanSummary::localAvailableCount() const {
    return localCurrentCount + downloadedCount;
}

std::int64_t ICloudDriveScanSummary::attentionCount() const {
    return cloudOnlyCount + waitingToUploadCount + waitingToDownloadCount + possibleSyncIssueCount +
           unknownCount;
}

SafetyState ICloudDriveScanSummary::safetyState() const {
    if (scannedItemCount == 0)
        return SafetyState::unknown;
    if (possibleSyncIssueCount > 0 || waitingToUploadCount > 0 || waitingToDownloadCount > 0) {
        return SafetyState::stuckSyncing;
    }
    if (cloudOnlyCount > 0)
        return SafetyState::cloudOnly;
    if (unknownCount > 0)
        return SafetyState::needsAttention;
    return SafetyState::protected_;
}

std::int64_t ICloudDriveScanSummary::safetyScore() const {
    if (scannedItemCount <= 0)
        return 0;
    // Counts read back from the store or a file can be anything; the weighted sum is
    // taken in 128 bits so that absurd counts clamp instead of overflowing.
    using Wide = __int128;
    const Wide weighted = Wide(100) * (Wide(localCurrentCount) + downloadedCount) +
                          Wide(40) * cloudOnlyCount + Wide(55) * unknownCount +
                          Wide(45) * (Wide(waitingToUploadCount) + waitingToDownloadCount) +
                          Wide(25) * possibleSyncIssueCount + Wide(75) * excludedCount;
    const Wide average = weighted / scannedItemCount;
    return static_cast<std::int64_t>(std::clamp<Wide>(average, 0, 100));
}

void to_json(Json& json, const ICloudDriveScanSummary& summary) {
    json = Json{{"status", summary.status},
                {"scannedItemCount", summary.scannedItemCount},
                {"localCurrentCount", summary.localCurrentCount},
                {"downloadedCount", summary.downloadedCount},
                {"cloudOnlyCount", summary.cloudOnlyCount},
                {"waitingToUploadCount", summary.waitingToUploadCount},
                {"waitingToDownloadCount", summary.waitingToDownloadCount},
                {"possibleSyncIssueCount", summary.possibleSyncIssueCount},
                {"excludedCount", summary.excludedCount},
                {"unknownCount", summary.unknownCount},
                {"limitReached", summary.limitReached},
                {"didModifyFiles", summary.didModifyFiles}};
    putOptional(json, "scanRunID", summary.scanRunID);
    putOptional(json, "completedAt", summary.completedAt);
}

void from_json(const Json& json, ICloudDriveScanSummary& summary) {
    summary.scanRunID = getOptional<Uuid>(json, "scanRunID");
    summary.completedAt = getOptional<Date>(json, "completedAt");
    json.at("status").get_to(summary.status);
    json.at("scannedItemCount").get_to(summary.scannedItemCount);
    json.at("localCurrentCount").get_to(summary.localCurrentCount);
    json.at("downloadedCount").get_to(summary.downloadedCount);
    json.at("cloudOnlyCount").get_to(summary.cloudOnlyCount);
    json.at("waitingToUploadCount").get_to(summary.waitingToUploadCount);
    json.at("waitingToDownloadCount").get_to(summary.waitingToDownloadCount);
    json.at("possibleSyncIssueCount").get_to(summary.possibleSyncIssueCount);
    json.at("excludedCount").get_to(summary.excludedCount);
    json.at("unknownCount").get_to(summary.unknownCount);
    json.at("limitReached").get_to(summary.limitReached);
    json.at("didModifyFiles").get_to(summary.didModifyFiles);
}

}  // namespace tallowmere
