#include "core/safety/SafetyVocabulary.h"

#include <gtest/gtest.h>

#include "core/safety/ActivityEvent.h"
#include "core/safety/ReportSummary.h"
#include "core/safety/SafetyStatusMapper.h"
#include "tests/support/EnumTableCheck.h"

namespace tallowmere {
namespace {

using testing::expectEnumCases;

TEST(SafetyVocabularyTest, CasesRawValuesAndDisplayNames) {
    expectEnumCases<SafetyState>(
        {{SafetyState::protected_, "protected", "Protected"},
         {SafetyState::needsAttention, "needsAttention", "Needs attention"},
         {SafetyState::cloudOnly, "cloudOnly", "Cloud-only"},
         {SafetyState::stuckSyncing, "stuckSyncing", "Stuck syncing"},
         {SafetyState::backupStale, "backupStale", "Backup stale"},
         {SafetyState::unknown, "unknown", "Unknown / cannot verify"}});
    expectEnumCases<SafetyDomain>(
        {{SafetyDomain::overall, "overall", "Overall"},
         {SafetyDomain::photos, "photos", "Photos Safety"},
         {SafetyDomain::iCloudDrive, "iCloudDrive", "iCloud Drive Safety"},
         {SafetyDomain::secondCopy, "secondCopy", "Second Copy"}});
    expectEnumCases<ConfidenceLevel>({{ConfidenceLevel::verified, "verified", "Verified"},
                                      {ConfidenceLevel::likely, "likely", "Likely"},
                                      {ConfidenceLevel::unknown, "unknown", "Unknown"}});
    expectEnumCases<ScanTrigger>({{ScanTrigger::firstRun, "firstRun", ""},
                                  {ScanTrigger::manual, "manual", ""},
                                  {ScanTrigger::scheduled, "scheduled", ""}});
    expectEnumCases<ScanRunStatus>(
        {{ScanRunStatus::completed, "completed", "Completed"},
         {ScanRunStatus::cancelled, "cancelled", "Cancelled"},
         {ScanRunStatus::failed, "failed", "Failed"},
         {ScanRunStatus::limitReached, "limitReached", "Limit reached"}});
    expectEnumCases<MenuBarHealth>({{MenuBarHealth::protected_, "protected", "Protected"},
                                    {MenuBarHealth::attention, "attention", "Needs attention"},
                                    {MenuBarHealth::unsafe, "unsafe", "Unsafe"},
                                    {MenuBarHealth::paused, "paused", "Scan paused"}});
    expectEnumCases<ReportKind>({{ReportKind::safety, "safety", ""},
                                 {ReportKind::backup, "backup", ""},
                                 {ReportKind::verification, "verification", ""},
                                 {ReportKind::restoreTest, "restoreTest", ""},
                                 {ReportKind::error, "error", ""}});
    expectEnumCases<ActivityEventKind>({{ActivityEventKind::iCloudScan, "iCloudScan", ""},
                                        {ActivityEventKind::photosScan, "photosScan", ""},
                                        {ActivityEventKind::destination, "destination", ""},
                                        {ActivityEventKind::backup, "backup", ""},
                                        {ActivityEventKind::verification, "verification", ""},
                                        {ActivityEventKind::restoreTest, "restoreTest", ""},
                                        {ActivityEventKind::report, "report", ""},
                                        {ActivityEventKind::diagnostics, "diagnostics", ""}});
}

TEST(SafetyVocabularyTest, StatusItemSymbolsAndDescriptions) {
    EXPECT_EQ(systemSymbolName(MenuBarHealth::protected_), "checkmark.shield.fill");
    EXPECT_EQ(systemSymbolName(MenuBarHealth::attention), "exclamationmark.triangle.fill");
    EXPECT_EQ(systemSymbolName(MenuBarHealth::unsafe), "xmark.octagon.fill");
    EXPECT_EQ(systemSymbolName(MenuBarHealth::paused), "pause.circle.fill");
    EXPECT_EQ(accessibilityDescription(MenuBarHealth::unsafe),
              "Tallowmere status: unsafe or stale");
    EXPECT_EQ(accessibilityDescription(MenuBarHealth::paused),
              "Tallowmere status: scan paused or cannot verify");
}

TEST(SafetyStatusMapperTest, TablePerState) {
    struct Row {
        SafetyState state;
        std::int64_t priority;
        std::int64_t score;
        MenuBarHealth health;
    };
    for (const Row& row : {Row{SafetyState::protected_, 0, 100, MenuBarHealth::protected_},
                           Row{SafetyState::needsAttention, 2, 83, MenuBarHealth::attention},
                           Row{SafetyState::cloudOnly, 5, 34, MenuBarHealth::unsafe},
                           Row{SafetyState::stuckSyncing, 4, 46, MenuBarHealth::unsafe},
                           Row{SafetyState::backupStale, 3, 58, MenuBarHealth::unsafe},
                           Row{SafetyState::unknown, 1, 0, MenuBarHealth::paused}}) {
        SCOPED_TRACE(std::string(rawValue(row.state)));
        EXPECT_EQ(SafetyStatusMapper::priority(row.state), row.priority);
        EXPECT_EQ(SafetyStatusMapper::score(row.state), row.score);
        EXPECT_EQ(SafetyStatusMapper::menuBarHealth(row.state), row.health);
    }
}

SafetyFinding finding(SafetyState state) {
    SafetyFinding f;
    f.state = state;
    return f;
}

TEST(SafetyStatusMapperTest, OverallStateIsTheMostAlarming) {
    struct Case {
        std::vector<SafetyState> states;
        SafetyState expected;
    };
    for (const Case& c :
         {Case{{}, SafetyState::unknown}, Case{{SafetyState::protected_}, SafetyState::protected_},
          Case{{SafetyState::protected_, SafetyState::cloudOnly, SafetyState::needsAttention},
               SafetyState::cloudOnly},
          Case{{SafetyState::protected_, SafetyState::unknown}, SafetyState::unknown},
          Case{{SafetyState::backupStale, SafetyState::stuckSyncing}, SafetyState::stuckSyncing},
          Case{{SafetyState::unknown, SafetyState::needsAttention}, SafetyState::needsAttention}}) {
        std::vector<SafetyFinding> findings;
        for (auto state : c.states) findings.push_back(finding(state));
        EXPECT_EQ(SafetyStatusMapper::overallState(findings), c.expected) << findings.size();
    }
}

}  // namespace
}  // namespace tallowmere
