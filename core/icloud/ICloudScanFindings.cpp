#include "core/icloud/ICloudScanFindings.h"

#include <string>

namespace tallowmere::ICloudScanFindings {
namespace {

struct FindingText {
    SafetyState state;
    ConfidenceLevel confidence;
    std::string title;
    std::string message;
    std::string recommendedAction;
    std::int64_t severity;
};

// Counts are written as plain digits, with no singular form.
std::string counted(std::int64_t count, const char* rest) {
    return std::to_string(count) + rest;
}

FindingText iCloudDriveFinding(bool hasSelectedRoots, const ICloudDriveScanSummary& summary) {
    using S = SafetyState;
    using C = ConfidenceLevel;
    if (!hasSelectedRoots) {
        return {S::unknown,
                C::unknown,
                "Choose iCloud scan folders",
                "No iCloud Drive scan roots are selected.",
                "Choose iCloud Drive, Desktop, Documents, or another folder to scan.",
                70};
    }
    if (summary.status == ScanRunStatus::cancelled) {
        return {S::needsAttention,
                C::unknown,
                "Scan incomplete",
                "The iCloud Drive scan was cancelled. Tallowmere did not modify your files.",
                "Run the scan again when you are ready.",
                72};
    }
    if (summary.limitReached) {
        return {S::needsAttention,
                C::likely,
                "Scan limit reached",
                "Tallowmere reached its read-only safety limit before scanning every item.",
                "Scan a smaller folder or raise the limit in a later advanced setting.",
                76};
    }
    if (summary.possibleSyncIssueCount >= 1) {
        return {S::stuckSyncing,
                C::likely,
                "Review possible sync issues",
                counted(summary.possibleSyncIssueCount, " items may have iCloud sync issues."),
                "Review the file list for items marked possible sync issue.",
                92};
    }
    if (summary.waitingToUploadCount >= 1) {
        return {S::stuckSyncing,
                C::likely,
                "Review waiting uploads",
                counted(summary.waitingToUploadCount, " items may be waiting to upload."),
                "Open iCloud Drive status in Finder and confirm those items finish syncing.",
                88};
    }
    if (summary.waitingToDownloadCount >= 1) {
        return {S::needsAttention,
                C::likely,
                "Review waiting downloads",
                counted(summary.waitingToDownloadCount, " items may be waiting to download."),
                "Let iCloud finish downloading local copies before relying on local backup.",
                82};
    }
    if (summary.cloudOnlyCount >= 1) {
        return {S::cloudOnly,
                C::likely,
                "Review cloud-only files",
                counted(summary.cloudOnlyCount, " files may only exist in iCloud."),
                "Download local copies before relying on a local backup.",
                86};
    }
    if (summary.unknownCount >= 1) {
        return {S::needsAttention,
                C::unknown,
                "Review unknown files",
                counted(summary.unknownCount, " items could not be verified."),
                "Review unknown items before assuming they are protected.",
                58};
    }
    return {S::protected_,
            C::verified,
            "iCloud Drive files appear local",
            "These files appear local. Tallowmere did not modify your files.",
            "Prepare a second copy when backup is available.",
            10};
}

SafetyFinding finding(const Uuid& scanRunID, Date createdAt, SafetyDomain domain,
                      FindingText text) {
    return SafetyFinding{
        .id = Uuid::random(),
        .scanRunID = scanRunID,
        .domain = domain,
        .state = text.state,
        .confidence = text.confidence,
        .title = std::move(text.title),
        .message = std::move(text.message),
        .recommendedAction = std::move(text.recommendedAction),
        .severity = text.severity,
        .createdAt = createdAt,
    };
}

}  // namespace

std::vector<SafetyFinding> makeFindings(const Uuid& scanRunID, Date createdAt,
                                        bool hasSelectedRoots,
                                        const ICloudDriveScanSummary& summary) {
    std::vector<SafetyFinding> findings;
    findings.push_back(finding(scanRunID, createdAt, SafetyDomain::photos,
                               {SafetyState::unknown, ConfidenceLevel::unknown,
                                "Review Photos safety", "Photos safety has not been scanned yet.",
                                "Run a Photos safety scan when you are ready to grant Photos "
                                "access.",
                                35}));
    findings.push_back(
        finding(scanRunID, createdAt, SafetyDomain::secondCopy,
                {SafetyState::backupStale, ConfidenceLevel::likely, "Create first second copy",
                 "Your first copied second copy has not been created yet.",
                 "Choose a backup destination and prepare a first backup.", 80}));
    findings.push_back(finding(scanRunID, createdAt, SafetyDomain::iCloudDrive,
                               iCloudDriveFinding(hasSelectedRoots, summary)));
    return findings;
}

}  // namespace tallowmere::ICloudScanFindings
