#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/icloud/ICloudDriveScanSummary.h"
#include "core/icloud/ICloudScanRoot.h"
#include "core/photos/PhotosScanSummary.h"
#include "core/platform/Formatting.h"

// What the iCloud Drive and Photos safety screens say, worked out from the model's
// published values. Pure functions; the widgets only show the result.
namespace tallowmere::SafetyScreenContent {

// One tile of a metric grid.
struct Metric {
    std::string title;
    std::string value;
    std::string detail;
    std::string_view systemImage;

    bool operator==(const Metric&) const = default;
};

// Scanned files, local files, cloud-only files and waiting items of the latest scan; all
// 0 before the first scan.
std::array<Metric, 4> iCloudMetrics(const std::optional<ICloudDriveScanSummary>& summary,
                                    const Formatting& formatting);

// One row of the scan-folder list.
struct ScanRootRow {
    ICloudScanRoot root;
    std::string_view systemImage;
    std::string name;
    std::string detail;

    bool operator==(const ScanRootRow&) const = default;
};

// The selected roots, each folder once (the first root with a path wins), with their
// labels.
std::vector<ScanRootRow> scanRootRows(const std::vector<ICloudScanRoot>& roots,
                                      const std::string& homeDirectoryPath);

// Authorization, library items, photos and videos, and the library package.
std::array<Metric, 4> photosMetrics(const std::optional<PhotosScanSummary>& summary,
                                    const Formatting& formatting);

// The rows of the "Library details" panel.
struct LibraryDetails {
    std::string selectedPackage;
    std::string detectedPackage;
    std::string estimatedPackageSize;
    std::string dateRange;
    // The warning about items dated in the future, when there are any.
    std::optional<std::string> dateRangeNote;
    std::string favorites;
    std::string screenshots;
    std::string hiddenItems;
    std::string approximateResources;
    std::string videoDuration;

    bool operator==(const LibraryDetails&) const = default;
};

LibraryDetails libraryDetails(const std::optional<PhotosScanSummary>& summary,
                              const std::optional<std::string>& selectedLibraryPath, Date now,
                              const Formatting& formatting);

// The Photos scan's progress bar: `scanned` out of `total`, a total below 1 taken as 1.
// The bar counts in int, so very large counts are scaled down alike.
struct ProgressBarValue {
    int value = 0;
    int maximum = 1;

    bool operator==(const ProgressBarValue&) const = default;
};

ProgressBarValue photosProgressBar(std::int64_t scanned, std::int64_t total);

// Whole minutes under an hour ("59m"), else hours and minutes ("1h 2m"). Seconds are
// truncated; a negative or non-finite duration (only a damaged row) counts as none.
std::string videoDurationText(double seconds);

}  // namespace tallowmere::SafetyScreenContent
