#include "core/safety/ReportGenerating.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/FixedClock.h"

namespace tallowmere {
namespace {

SafetyFinding finding(SafetyDomain domain, SafetyState state, std::int64_t severity,
                      std::string action, Date createdAt = Date(1'765'000'000)) {
    SafetyFinding f;
    f.id = Uuid::random();
    f.domain = domain;
    f.state = state;
    f.severity = severity;
    f.recommendedAction = std::move(action);
    f.createdAt = createdAt;
    return f;
}

ICloudDriveScanSummary summaryWithEveryState() {
    ICloudDriveScanSummary summary;
    summary.scanRunID = Uuid::random();
    summary.scannedItemCount = 1 + 2 + 3 + 4 + 5 + 6 + 700 + 8;
    summary.localCurrentCount = 1;
    summary.downloadedCount = 2;
    summary.cloudOnlyCount = 3;
    summary.waitingToUploadCount = 4;
    summary.waitingToDownloadCount = 5;
    summary.possibleSyncIssueCount = 6;
    summary.excludedCount = 700;
    summary.unknownCount = 8;
    return summary;
}

class StubReportGeneratorTest : public ::testing::Test {
protected:
    std::shared_ptr<testing::FixedClock> clock =
        std::make_shared<testing::FixedClock>(Date(1'765'444'205));
    StubReportGenerator generator{clock};
};

TEST_F(StubReportGeneratorTest, ReportCarriesTheRunStateTheClockAndFixedFields) {
    SafetyScanResult result;
    result.scanRun.overallState = SafetyState::cloudOnly;
    result.findings = {finding(SafetyDomain::iCloudDrive, SafetyState::cloudOnly, 86,
                               "Download local copies before relying on a local backup.")};
    result.iCloudSummary = summaryWithEveryState();

    const ReportSummary report = generator.makeSafetyReport(result);
    EXPECT_EQ(report.kind, ReportKind::safety);
    EXPECT_EQ(report.title, "Last scan report");
    EXPECT_EQ(report.generatedAt, Date(1'765'444'205));
    EXPECT_EQ(report.status, SafetyState::cloudOnly);
    EXPECT_EQ(report.protectedFilesCount, 3);
    // Excluded rows (700) count on neither side.
    EXPECT_EQ(report.unprotectedFilesCount, 3 + 4 + 5 + 6 + 8);
    EXPECT_EQ(report.failedFilesCount, 0);
    EXPECT_EQ(report.recommendedNextStep,
              "Download local copies before relying on a local backup.");
    EXPECT_NE(report.id, Uuid());

    clock->advance(60);
    const ReportSummary later = generator.makeSafetyReport(result);
    EXPECT_NE(later.id, report.id);
    EXPECT_EQ(later.generatedAt, Date(1'765'444'265));
}

TEST_F(StubReportGeneratorTest, CountsAndNextStepWithAndWithoutSummaryOrFindings) {
    const auto threeFindings = std::vector<SafetyFinding>{
        finding(SafetyDomain::photos, SafetyState::unknown, 35, "Run a Photos safety scan."),
        finding(SafetyDomain::secondCopy, SafetyState::backupStale, 80,
                "Choose a backup destination."),
        finding(SafetyDomain::iCloudDrive, SafetyState::protected_, 10, "Prepare a second copy."),
    };
    ICloudDriveScanSummary onlyExcluded;
    onlyExcluded.scanRunID = Uuid::random();
    onlyExcluded.scannedItemCount = 5;
    onlyExcluded.excludedCount = 5;

    struct Case {
        const char* name;
        std::optional<ICloudDriveScanSummary> summary;
        std::vector<SafetyFinding> findings;
        std::int64_t protectedCount;
        std::int64_t unprotectedCount;
        const char* nextStep;
    };
    const std::vector<Case> cases = {
        {"neither summary nor findings", std::nullopt, {}, 0, 0, "Run a safety scan."},
        {"three findings without summary", std::nullopt, threeFindings, 0, 3,
         "Choose a backup destination."},
        {"summary without findings", summaryWithEveryState(), {}, 3, 26, "Run a safety scan."},
        {"only excluded rows", onlyExcluded, threeFindings, 0, 0, "Choose a backup destination."},
        {"empty summary outranks finding count", ICloudDriveScanSummary::empty(), threeFindings, 0,
         0, "Choose a backup destination."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SafetyScanResult result;
        result.scanRun.overallState = SafetyState::backupStale;
        result.iCloudSummary = c.summary;
        result.findings = c.findings;
        const auto report = generator.makeSafetyReport(result);
        EXPECT_EQ(report.protectedFilesCount, c.protectedCount);
        EXPECT_EQ(report.unprotectedFilesCount, c.unprotectedCount);
        EXPECT_EQ(report.recommendedNextStep, c.nextStep);
        EXPECT_EQ(report.status, SafetyState::backupStale);
    }
}

TEST_F(StubReportGeneratorTest, NextStepFollowsTheRankingNotTheListOrder) {
    struct Case {
        const char* name;
        std::vector<SafetyFinding> findings;
        const char* nextStep;
    };
    const std::vector<Case> cases = {
        {"equal severity: cloud-only outranks needs attention",
         {finding(SafetyDomain::iCloudDrive, SafetyState::needsAttention, 80, "attention action"),
          finding(SafetyDomain::iCloudDrive, SafetyState::cloudOnly, 80, "cloud-only action")},
         "cloud-only action"},
        {"higher severity first whatever the state",
         {finding(SafetyDomain::iCloudDrive, SafetyState::cloudOnly, 50, "cloud-only action"),
          finding(SafetyDomain::photos, SafetyState::unknown, 51, "photos action")},
         "photos action"},
        {"equal severity and state: second copy before iCloud Drive",
         {finding(SafetyDomain::iCloudDrive, SafetyState::needsAttention, 70, "iCloud action"),
          finding(SafetyDomain::secondCopy, SafetyState::needsAttention, 70, "second copy action")},
         "second copy action"},
        {"all else equal: the earlier finding",
         {finding(SafetyDomain::photos, SafetyState::unknown, 40, "later", Date(200)),
          finding(SafetyDomain::photos, SafetyState::unknown, 40, "earlier", Date(100))},
         "earlier"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SafetyScanResult result;
        result.findings = c.findings;
        EXPECT_EQ(generator.makeSafetyReport(result).recommendedNextStep, c.nextStep);
    }
}

TEST(StubReportGeneratorWithoutClockTest, FallsBackToTheSystemClock) {
    const std::unique_ptr<ReportGenerating> generator =
        std::make_unique<StubReportGenerator>(nullptr);
    const Date before = SystemClock().now();
    const ReportSummary report = generator->makeSafetyReport(SafetyScanResult{});
    EXPECT_GE(report.generatedAt, before);
    EXPECT_LE(report.generatedAt, SystemClock().now());
}

}  // namespace
}  // namespace tallowmere
