#pragma once

#include <stop_token>
#include <vector>

#include "core/icloud/ICloudScanRoot.h"
#include "core/icloud/SafetyScanResult.h"
#include "core/safety/SafetyVocabulary.h"

namespace tallowmere {

// What the application drives a safety scan through.
class SafetyScanning {
public:
    virtual ~SafetyScanning() = default;

    // Scans the selected roots and returns the run, its findings, summary and rows. Never
    // fails and never throws: every problem becomes a row. Synchronous; callers run it off
    // the main thread. A stop requested through `stopToken` ends it as cancelled, like
    // cancelScan().
    virtual SafetyScanResult runScan(ScanTrigger trigger, const std::vector<ICloudScanRoot>& roots,
                                     std::stop_token stopToken) = 0;

    // Asks a running scan to stop at its next root or entry; returns at once. May be called
    // from any thread.
    virtual void cancelScan() = 0;
};

}  // namespace tallowmere
