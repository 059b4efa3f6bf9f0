#include "core/dashboard/DashboardScoreExplainer.h"

#include <cctype>

#include "core/photos/PhotosSafetySummaryMapper.h"

namespace tallowmere {
namespace {

SafetyScoreBreakdownItem iCloudItem(const std::optional<ICloudDriveScanSummary>& summary,
                                    const Formatting& formatting) {
    SafetyScoreBreakdownItem item{"icloud", "iCloud Drive", "", "", SafetyState::unknown};
    if (!summary || summary->scannedItemCount <= 0) {
        item.value = "Not scanned";
        item.detail = "Run a read-only scan to count local and cloud-only files.";
        return item;
    }
    item.value = std::to_string(summary->safetyScore()) + "%";
    item.detail = formatting.count(summary->localAvailableCount()) + " local, " +
                  formatting.count(summary->cloudOnlyCount) + " cloud-only, " +
                  formatting.count(summary->possibleSyncIssueCount) + " issue.";
    item.state = summary->safetyState();
    return item;
}

SafetyScoreBreakdownItem photosItem(const std::optional<PhotosScanSummary>& summary,
                                    const Formatting& formatting) {
    SafetyScoreBreakdownItem item{"photos", "Photos", "", "", SafetyState::unknown};
    if (!summary) {
        item.value = "Not scanned";
        item.detail = "Photos safety has not been checked yet.";
        return item;
    }
    // Only the finding's state is read, so its id and time do not matter here.
    item.state = PhotosSafetySummaryMapper::finding(summary, Uuid(), Date(), formatting).state;
    if (canReadMetadata(summary->authorizationStatus)) {
        item.value = formatting.count(summary->totalAssetCount) + " items";
        item.detail = "Metadata scanned; local originals remain unknown.";
    } else {
        item.value = "Access needed";
        item.detail = "Photos metadata cannot be read yet.";
    }
    return item;
}

std::string lowercased(std::string_view text) {
    std::string result(text);
    for (auto& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

SafetyScoreBreakdownItem destinationItem(const std::optional<BackupDestination>& destination) {
    SafetyScoreBreakdownItem item{"destination", "Second copy", "", "", SafetyState::unknown};
    if (!destination) {
        item.value = "Not selected";
        item.detail = "Choose an external drive before copying.";
        item.state = SafetyState::backupStale;
        return item;
    }
    item.value = destination->displayName;
    item.state = SafetyState::needsAttention;
    if (destination->status != BackupDestinationStatus::connected) {
        item.detail = "Destination status is " + lowercased(displayName(destination->status)) + ".";
    } else if (destination->isRemovable) {
        item.detail = "External destination is available.";
        item.state = SafetyState::protected_;
    } else {
        item.detail = "This destination appears to be on the internal disk.";
    }
    return item;
}

SafetyScoreBreakdownItem verificationItem(const VerificationRun& run) {
    if (run.status == VerificationStatus::verified) {
        return {"verification", "Verification", "Passed", "Tallowmere can read the copied backup.",
                SafetyState::protected_};
    }
    return {"verification", "Verification", "Not passed", "Run verification after copying.",
            SafetyState::backupStale};
}

}  // namespace

void to_json(Json& json, const SafetyScoreBreakdownItem& item) {
    json = Json{{"id", item.id},
                {"title", item.title},
                {"value", item.value},
                {"detail", item.detail},
                {"state", item.state}};
}

void from_json(const Json& json, SafetyScoreBreakdownItem& item) {
    json.at("id").get_to(item.id);
    json.at("title").get_to(item.title);
    json.at("value").get_to(item.value);
    json.at("detail").get_to(item.detail);
    json.at("state").get_to(item.state);
}

namespace DashboardScoreExplainer {

std::vector<SafetyScoreBreakdownItem> makeBreakdown(
    const std::optional<ICloudDriveScanSummary>& iCloudSummary,
    const std::optional<PhotosScanSummary>& photosSummary,
    const std::optional<BackupDestination>& backupDestination,
    const BackupJobSnapshot& backupSnapshot, const VerificationRun& verificationSnapshot,
    const Formatting& formatting) {
    std::vector<SafetyScoreBreakdownItem> items{
        iCloudItem(iCloudSummary, formatting),
        photosItem(photosSummary, formatting),
        destinationItem(backupDestination),
        verificationItem(verificationSnapshot),
    };
    if (backupSnapshot.status == BackupJobStatus::completedWithSkipped ||
        backupSnapshot.skippedFiles > 0) {
        items.push_back({"skipped", "Skipped items", formatting.count(backupSnapshot.skippedFiles),
                         "Cloud-only or uncertain files were not copied.",
                         SafetyState::needsAttention});
    }
    return items;
}

}  // namespace DashboardScoreExplainer
}  // namespace tallowmere
