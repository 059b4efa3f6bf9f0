#include "core/photos/PhotosSafetySummaryMapper.h"

namespace tallowmere::PhotosSafetySummaryMapper {

PhotosSafetyState safetyState(const std::optional<PhotosScanSummary>& summary) {
    if (!summary)
        return PhotosSafetyState::unknown;
    if (!canReadMetadata(summary->authorizationStatus))
        return PhotosSafetyState::accessNeeded;
    if (!summary->libraryExists)
        return PhotosSafetyState::libraryNotFound;
    if (summary->localLibrarySizeBytes)
        return PhotosSafetyState::localPackageSizeAvailable;
    if (summary->localOriginalsUnknown || summary->iCloudPhotosStatusUnknown)
        return PhotosSafetyState::localityUnknown;
    return PhotosSafetyState::metadataScanned;
}

SafetyFinding finding(const std::optional<PhotosScanSummary>& summary, const Uuid& scanRunID,
                      Date createdAt, const Formatting& formatting) {
    SafetyFinding result;
    result.id = Uuid::random();
    result.scanRunID = scanRunID;
    result.domain = SafetyDomain::photos;
    result.createdAt = createdAt;

    if (!summary) {
        result.state = SafetyState::unknown;
        result.confidence = ConfidenceLevel::unknown;
        result.title = "Scan Photos safety";
        result.message = "Photos safety has not been scanned yet.";
        result.recommendedAction =
            "Run a Photos safety scan when you are ready to grant Photos access.";
        result.severity = 45;
        return result;
    }

    result.state = SafetyState::needsAttention;
    if (!canReadMetadata(summary->authorizationStatus)) {
        result.confidence = ConfidenceLevel::verified;
        result.title = "Photos access needed";
        result.message = "Tallowmere needs Photos access before it can read Photos metadata.";
        result.recommendedAction = "Run Photos scan and grant access when macOS asks.";
        result.severity = 70;
        return result;
    }

    result.confidence = ConfidenceLevel::likely;
    if (!summary->libraryExists) {
        result.title = "Photos library not found";
        result.message =
            "Tallowmere could read Photos metadata, but a local Photos library package was not "
            "found in the usual location.";
        result.recommendedAction =
            "Choose a Photos library package or review your Photos library location.";
        result.severity = 60;
        return result;
    }

    result.title = "Photos metadata scanned";
    result.message = "Tallowmere counted " + formatting.count(summary->totalAssetCount) +
                     " Photos items. Some iCloud Photos/local-original details cannot be fully "
                     "verified yet.";
    result.recommendedAction =
        "Keep Photos access enabled and create a verified second copy when Photos backup is "
        "available.";
    result.severity =
        summary->localOriginalsUnknown || summary->iCloudPhotosStatusUnknown ? 55 : 35;
    return result;
}

}  // namespace tallowmere::PhotosSafetySummaryMapper
