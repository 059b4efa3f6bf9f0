#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/icloud/ICloudFileScanResult.h"
#include "core/platform/Json.h"
#include "core/safety/SafetyVocabulary.h"

namespace tallowmere {

// The counters of one iCloud Drive scan: how many rows it recorded in each state.
struct ICloudDriveScanSummary {
    // Absent in the interim summaries used for progress.
    std::optional<Uuid> scanRunID;
    std::optional<Date> completedAt;
    ScanRunStatus status = ScanRunStatus::completed;
    // Rows of every kind.
    std::int64_t scannedItemCount = 0;
    std::int64_t localCurrentCount = 0;
    std::int64_t downloadedCount = 0;
    std::int64_t cloudOnlyCount = 0;
    std::int64_t waitingToUploadCount = 0;
    std::int64_t waitingToDownloadCount = 0;
    std::int64_t possibleSyncIssueCount = 0;
    std::int64_t excludedCount = 0;
    std::int64_t unknownCount = 0;
    bool limitReached = false;
    // Always false: the scan changes nothing.
    bool didModifyFiles = false;

    bool operator==(const ICloudDriveScanSummary&) const = default;

    // Tallies the rows by state; every row counts towards scannedItemCount.
    static ICloudDriveScanSummary make(std::optional<Uuid> scanRunID,
                                       std::optional<Date> completedAt, ScanRunStatus status,
                                       bool limitReached,
                                       const std::vector<ICloudFileScanResult>& results);

    // No scan id, no completion date, status completed, all counts 0, both flags false.
    static ICloudDriveScanSummary empty();

    // Counts one more row in `state`, as make() does for each row.
    void count(ICloudFileState state);

    // Local current plus downloaded.
    std::int64_t localAvailableCount() const;
    // Every row that is neither local nor excluded.
    std::int64_t attentionCount() const;
    // The coverage state: unknown with no rows, then stuck syncing, cloud-only,
    // needs attention, protected.
    SafetyState safetyState() const;
    // The coverage score, 0 to 100: a weighted average of the rows' states (local 100,
    // excluded 75, unknown 55, waiting 45, cloud-only 40, sync issue 25); 0 with no rows.
    std::int64_t safetyScore() const;
};

void to_json(Json& json, const ICloudDriveScanSummary& summary);
void from_json(const Json& json, ICloudDriveScanSummary& summary);

}  // namespace tallowmere
