#pragma once

#include <memory>

#include "core/icloud/SafetyScanResult.h"
#include "core/platform/Clock.h"
#include "core/safety/ReportSummary.h"

namespace tallowmere {

// Turns the result of a completed scan into the report stored with it.
class ReportGenerating {
public:
    virtual ~ReportGenerating() = default;

    // The safety report of one scan. Implementations may throw when they cannot make one.
    virtual ReportSummary makeSafetyReport(const SafetyScanResult& result) const = 0;
};

// The report generator the application uses. It never throws in practice. Safe to
// use from any thread, as its clock is.
class StubReportGenerator final : public ReportGenerating {
public:
    // A null clock means the system clock.
    explicit StubReportGenerator(std::shared_ptr<const Clock> now);

    // A report of kind safety titled "Last scan report" with the run's overall state,
    // the protected and unprotected counts of the summary (or of the findings when
    // there is no summary) and the top-ranked finding's action as the next step.
    ReportSummary makeSafetyReport(const SafetyScanResult& result) const override;

private:
    // Constant after construction.
    std::shared_ptr<const Clock> m_now;
};

}  // namespace tallowmere
