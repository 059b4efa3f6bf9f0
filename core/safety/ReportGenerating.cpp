#include "core/safety/ReportGenerating.h"

#include "core/safety/ActionPlanRanker.h"

namespace tallowmere {

StubReportGenerator::StubReportGenerator(std::shared_ptr<const Clock> now)
    : m_now(now ? std::move(now) : std::make_shared<const SystemClock>()) {}

ReportSummary StubReportGenerator::makeSafetyReport(const SafetyScanResult& result) const {
    const auto ranked = ActionPlanRanker::rankedFindings(result.findings);

    std::int64_t protectedCount = 0;
    std::int64_t unprotectedCount = static_cast<std::int64_t>(result.findings.size());
    if (const auto& summary = result.iCloudSummary) {
        protectedCount = summary->localAvailableCount();
        // Excluded items are neither protected nor at risk, so they count on neither side.
        unprotectedCount = summary->attentionCount();
    }

    ReportSummary report;
    report.id = Uuid::random();
    report.kind = ReportKind::safety;
    report.title = "Last scan report";
    report.generatedAt = m_now->now();
    report.status = result.scanRun.overallState;
    report.protectedFilesCount = protectedCount;
    report.unprotectedFilesCount = unprotectedCount;
    report.failedFilesCount = 0;
    report.recommendedNextStep =
        ranked.empty() ? "Run a safety scan." : ranked.front().recommendedAction;
    return report;
}

}  // namespace tallowmere
