#include "ui/screens/safety/SafetyScreenContent.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/icloud/ICloudScanRootPresenter.h"
#include "core/photos/PhotosDateRangePresentation.h"
#include "core/photos/PhotosVocabulary.h"

namespace tallowmere::SafetyScreenContent {

std::array<Metric, 4> iCloudMetrics(const std::optional<ICloudDriveScanSummary>& latest,
                                    const Formatting& formatting) {
    const ICloudDriveScanSummary summary = latest.value_or(ICloudDriveScanSummary::empty());
    return {{
        {"Scanned files", formatting.count(summary.scannedItemCount),
         summary.status == ScanRunStatus::cancelled ? "Last scan was incomplete."
                                                    : "Tallowmere did not modify your files.",
         "folder"},
        {"Local files", formatting.count(summary.localCurrentCount + summary.downloadedCount),
         "These files appear local.", "checkmark.circle"},
        {"Cloud-only files", formatting.count(summary.cloudOnlyCount),
         "These files may only exist in iCloud.", "icloud"},
        {"Waiting items",
         formatting.count(summary.waitingToUploadCount + summary.waitingToDownloadCount),
         "These items may be waiting to upload or download.", "arrow.triangle.2.circlepath"},
    }};
}

std::vector<ScanRootRow> scanRootRows(const std::vector<ICloudScanRoot>& roots,
                                      const std::string& homeDirectoryPath) {
    std::vector<ScanRootRow> rows;
    for (ICloudScanRoot& root : ICloudScanRootPresenter::deduplicated(roots)) {
        ScanRootRow row;
        row.systemImage = root.kind == ICloudScanRootKind::userSelected ? "folder" : "icloud";
        row.name = ICloudScanRootPresenter::displayName(root, homeDirectoryPath);
        row.detail = ICloudScanRootPresenter::detailLabel(root, homeDirectoryPath);
        row.root = std::move(root);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::array<Metric, 4> photosMetrics(const std::optional<PhotosScanSummary>& summary,
                                    const Formatting& formatting) {
    if (!summary) {
        return {{
            {"Authorization", "Not scanned", "Run Photos scan to request access.", "lock.shield"},
            {"Library items", "Unknown", "Photos metadata only.", "photo.stack"},
            {"Photos / videos", "0 / 0", "Live Photos: " + formatting.count(0) + ".",
             "photo.on.rectangle"},
            {"Library package", "Unknown", "Default library has not been checked.", "shippingbox"},
        }};
    }
    const PhotosScanSummary& p = *summary;
    std::string package;
    if (p.localLibrarySizeBytes)
        package = formatting.byteCount(*p.localLibrarySizeBytes);
    else
        package = p.libraryExists ? "Detected" : "Not found";
    const std::string packageDetail =
        p.libraryExists ? p.libraryDisplayName.value_or("Photos library package detected.")
                        : "A local Photos library package was not found.";
    return {{
        {"Authorization", std::string(displayName(p.authorizationStatus)),
         canReadMetadata(p.authorizationStatus) ? "Tallowmere can read Photos metadata."
                                                : "Photos access is needed for this scan.",
         "lock.shield"},
        {"Library items", formatting.count(p.totalAssetCount), "Photos metadata only.",
         "photo.stack"},
        {"Photos / videos", std::to_string(p.photoCount) + " / " + std::to_string(p.videoCount),
         "Live Photos: " + formatting.count(p.livePhotoCount) + ".", "photo.on.rectangle"},
        {"Library package", package, packageDetail, "shippingbox"},
    }};
}

LibraryDetails libraryDetails(const std::optional<PhotosScanSummary>& summary,
                              const std::optional<std::string>& selectedLibraryPath, Date now,
                              const Formatting& formatting) {
    const auto range = PhotosDateRangePresentation::make(
        summary ? summary->oldestCreationDate : std::nullopt,
        summary ? summary->newestCreationDate : std::nullopt, now,
        [&formatting](Date date) { return formatting.dateTime(date); });
    const auto countOrZero = [&](std::int64_t PhotosScanSummary::*field) {
        return formatting.count(summary ? (*summary).*field : 0);
    };

    LibraryDetails details;
    details.selectedPackage = selectedLibraryPath.value_or("Default Photos library location");
    details.detectedPackage =
        summary && summary->libraryPath ? *summary->libraryPath : "Not detected";
    details.estimatedPackageSize = summary && summary->localLibrarySizeBytes
                                       ? formatting.byteCount(*summary->localLibrarySizeBytes)
                                       : "Unknown";
    details.dateRange = range.value;
    details.dateRangeNote = range.note;
    details.favorites = countOrZero(&PhotosScanSummary::favoriteCount);
    details.screenshots = countOrZero(&PhotosScanSummary::screenshotCount);
    details.hiddenItems = countOrZero(&PhotosScanSummary::hiddenCount);
    details.approximateResources =
        summary ? formatting.count(summary->approximateResourceCount) : "Unknown";
    details.videoDuration = videoDurationText(summary ? summary->videoDurationSeconds : 0);
    return details;
}

ProgressBarValue photosProgressBar(std::int64_t scanned, std::int64_t total) {
    const std::int64_t maximum = std::max<std::int64_t>(total, 1);
    const std::int64_t value = std::clamp<std::int64_t>(scanned, 0, maximum);
    constexpr std::int64_t kLargest = std::numeric_limits<int>::max();
    const std::int64_t scale = maximum > kLargest ? maximum / kLargest + 1 : 1;
    return {static_cast<int>(value / scale), static_cast<int>(maximum / scale)};
}

std::string videoDurationText(double seconds) {
    // Converting a non-finite or out-of-range double to an integer is undefined; ten
    // thousand years of video is more than any library holds.
    constexpr double kLongest = 1e12 / 3.0;
    std::int64_t whole = 0;
    if (std::isfinite(seconds) && seconds > 0)
        whole = static_cast<std::int64_t>(std::min(seconds, kLongest));
    const std::int64_t minutes = (whole % 3600) / 60;
    if (whole < 3600)
        return std::to_string(minutes) + "m";
    return std::to_string(whole / 3600) + "h " + std::to_string(minutes) + "m";
}

}  // namespace tallowmere::SafetyScreenContent
