#include "core/safety/ActionPlanRanker.h"

#include <gtest/gtest.h>

namespace tallowmere {
namespace {

SafetyFinding make(std::string title, std::int64_t severity, SafetyState state, SafetyDomain domain,
                   double createdAt) {
    SafetyFinding f;
    f.id = Uuid::random();
    f.title = std::move(title);
    f.severity = severity;
    f.state = state;
    f.domain = domain;
    f.createdAt = Date(createdAt);
    return f;
}

std::vector<std::string> titles(const std::vector<SafetyFinding>& findings) {
    std::vector<std::string> result;
    for (const auto& f : findings) result.push_back(f.title);
    return result;
}

TEST(ActionPlanRankerTest, OrdersBySeverityThenStateThenDomainThenAge) {
    struct Case {
        const char* name;
        std::vector<SafetyFinding> input;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {"severity first",
         {make("low", 1, SafetyState::cloudOnly, SafetyDomain::secondCopy, 0),
          make("high", 9, SafetyState::protected_, SafetyDomain::overall, 5)},
         {"high", "low"}},
        {"state priority before domain",
         {make("attention", 5, SafetyState::needsAttention, SafetyDomain::iCloudDrive, 0),
          make("stale", 5, SafetyState::backupStale, SafetyDomain::overall, 0)},
         {"stale", "attention"}},
        {"cloud-only before needs attention",
         {make("attention", 5, SafetyState::needsAttention, SafetyDomain::overall, 0),
          make("cloud", 5, SafetyState::cloudOnly, SafetyDomain::overall, 0)},
         {"cloud", "attention"}},
        {"later domain first",
         {make("overall", 5, SafetyState::unknown, SafetyDomain::overall, 0),
          make("photos", 5, SafetyState::unknown, SafetyDomain::photos, 0),
          make("second", 5, SafetyState::unknown, SafetyDomain::secondCopy, 0),
          make("drive", 5, SafetyState::unknown, SafetyDomain::iCloudDrive, 0)},
         {"second", "drive", "photos", "overall"}},
        {"older first",
         {make("newer", 5, SafetyState::unknown, SafetyDomain::photos, 20),
          make("older", 5, SafetyState::unknown, SafetyDomain::photos, 10)},
         {"older", "newer"}},
        {"ties keep input order",
         {make("first", 5, SafetyState::unknown, SafetyDomain::photos, 10),
          make("second", 5, SafetyState::unknown, SafetyDomain::photos, 10),
          make("third", 5, SafetyState::unknown, SafetyDomain::photos, 10)},
         {"first", "second", "third"}},
        {"empty", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(titles(ActionPlanRanker::rankedFindings(c.input)), c.expected);
    }
}

}  // namespace
}  // namespace tallowmere
