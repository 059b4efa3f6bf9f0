#pragma once

#include <optional>
#include <vector>

#include "core/icloud/ICloudDriveScanSummary.h"
#include "core/icloud/ICloudFileScanResult.h"
#include "core/safety/SafetyFinding.h"
#include "core/safety/ScanRun.h"

namespace tallowmere {

// What one safety scan returns: the run, its findings, its summary and every row in
// the order recorded.
struct SafetyScanResult {
    ScanRun scanRun;
    std::vector<SafetyFinding> findings;
    // The scanner always fills it.
    std::optional<ICloudDriveScanSummary> iCloudSummary;
    std::vector<ICloudFileScanResult> iCloudFileResults;

    bool operator==(const SafetyScanResult&) const = default;
};

}  // namespace tallowmere
