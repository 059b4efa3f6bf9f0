#include "core/safety/SafetyVocabulary.h"

#include <gtest/gtest.h>

#include "core/safety/ActivityEvent.h"
#include "core/safety/ReportSummary.h"
#include "core/safety/SafetyStatusMapper.h"

namespace tallowmere {
namespace {

// Every case's raw value reads back as that case; the raw value in another letter
// case, with underscores, padded or empty reads as nothing.
template <TabledEnum E>
void expectRawValuesRoundTrip(std::initializer_list<std::string_view> expectedRaw) {
    ASSERT_EQ(allCases<E>().size(), expectedRaw.size());
    std::size_t index = 0;
    for (const auto raw : expectedRaw) {
        SCOPED_TRACE(std::string(raw));
        const E value = allCases<E>()[index].value;
        EXPECT_EQ(caseIndex(value), index++);
        EXPECT_EQ(rawValue(value), raw);
        EXPECT_EQ(fromRaw<E>(raw), value);
        std::string upper(raw);
        for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_FALSE(fromRaw<E>(upper));
        EXPECT_FALSE(fromRaw<E>(std::string(raw) + " "));
        Json json = value;
        EXPECT_EQ(json, std::string(raw));
        EXPECT_EQ(json.get<E>(), value);
    }
    EXPECT_FALSE(fromRaw<E>(""));
    EXPECT_FALSE(fromRaw<E>("needs_attention"));
    EXPECT_THROW(Json("nonsense").get<E>(), Json::exception);
}

TEST(SafetyVocabularyTest, RawValuesAreTheCaseNamesInDeclarationOrder) {
    expectRawValuesRoundTrip<SafetyState>(
        {"protected", "needsAttention", "cloudOnly", "stuckSyncing", "backupStale", "unknown"});
    expectRawValuesRoundTrip<SafetyDomain>({"overall", "photos", "iCloudDrive", "secondCopy"});
    expectRawValuesRoundTrip<ConfidenceLevel>({"verified", "likely", "unknown"});
    expectRawValuesRoundTrip<ScanTrigger>({"firstRun", "manual", "scheduled"});
    expectRawValuesRoundTrip<ScanRunStatus>({"completed", "cancelled", "failed", "limitReached"});
    expectRawValuesRoundTrip<MenuBarHealth>({"protected", "attention", "unsafe", "paused"});
    expectRawValuesRoundTrip<ReportKind>(
        {"safety", "backup", "verification", "restoreTest", "error"});
    expectRawValuesRoundTrip<ActivityEventKind>({"iCloudScan", "photosScan", "destination",
                                                 "backup", "verification", "restoreTest", "report",
                                                 "diagnostics"});
}

TEST(SafetyVocabularyTest, DisplayNames) {
    EXPECT_EQ(displayName(SafetyState::protected_), "Protected");
    EXPECT_EQ(displayName(SafetyState::cloudOnly), "Cloud-only");
    EXPECT_EQ(displayName(SafetyState::unknown), "Unknown / cannot verify");
    EXPECT_EQ(displayName(SafetyDomain::iCloudDrive), "iCloud Drive Safety");
    EXPECT_EQ(displayName(ScanRunStatus::limitReached), "Limit reached");
    EXPECT_EQ(displayName(MenuBarHealth::paused), "Scan paused");
    EXPECT_EQ(systemSymbolName(MenuBarHealth::unsafe), "xmark.octagon.fill");
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
