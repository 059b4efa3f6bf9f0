#include <gtest/gtest.h>

#include "core/secondcopy/BackupDestinationStatusEvaluator.h"
#include "core/secondcopy/LocalBackupDestinationPolicy.h"

namespace tallowmere {
namespace {

using S = BackupDestinationStatus;

constexpr const char* kLowSpace =
    "This destination may not have enough free space for the prepared backup.";
constexpr const char* kNotExternal = "This folder does not appear to be on an external drive.";

// A writable, roomy folder on a removable drive; each case changes what it is about.
BackupDestinationProbe goodProbe() {
    return BackupDestinationProbe{.path = "/media/ann/Drive/Backups",
                                  .exists = true,
                                  .isDirectory = true,
                                  .isWritable = true,
                                  .isRemovable = true,
                                  .availableBytes = 500'000'000'000,
                                  .estimatedBytesNeeded = std::nullopt};
}

TEST(BackupDestinationStatusEvaluatorTest, FirstMatchingRowDecides) {
    struct Case {
        const char* label;
        std::function<void(BackupDestinationProbe&)> change;
        BackupDestinationEvaluation expected;
    };
    const std::vector<Case> cases = {
        {"good removable folder", [](auto&) {}, {S::connected, std::nullopt}},
        {"no path, even with every flag true",
         [](auto& p) { p.path = std::nullopt; },
         {S::notSelected, std::nullopt}},
        {"empty path", [](auto& p) { p.path = ""; }, {S::notSelected, std::nullopt}},
        {"does not exist", [](auto& p) { p.exists = false; }, {S::missing, std::nullopt}},
        {"a regular file is missing, not a permission issue",
         [](auto& p) {
             p.isDirectory = false;
             p.isWritable = false;
         },
         {S::missing, std::nullopt}},
        {"not writable", [](auto& p) { p.isWritable = false; }, {S::permissionIssue, std::nullopt}},
        {"not writable and full: permission first",
         [](auto& p) {
             p.isWritable = false;
             p.availableBytes = 0;
         },
         {S::permissionIssue, std::nullopt}},
        {"exactly the floor is enough",
         [](auto& p) { p.availableBytes = 1'000'000'000; },
         {S::connected, std::nullopt}},
        {"one byte below the floor",
         [](auto& p) { p.availableBytes = 999'999'999; },
         {S::lowStorage, kLowSpace}},
        {"estimate 5,000 and 4,999 free",
         [](auto& p) {
             p.estimatedBytesNeeded = 5'000;
             p.availableBytes = 4'999;
         },
         {S::lowStorage, kLowSpace}},
        {"estimate 5,000 and 5,000 free: the floor does not apply",
         [](auto& p) {
             p.estimatedBytesNeeded = 5'000;
             p.availableBytes = 5'000;
         },
         {S::connected, std::nullopt}},
        {"estimate above the floor, free between",
         [](auto& p) {
             p.estimatedBytesNeeded = 3'000'000'000;
             p.availableBytes = 2'000'000'000;
         },
         {S::lowStorage, kLowSpace}},
        {"unknown free space with a huge estimate",
         [](auto& p) {
             p.availableBytes = std::nullopt;
             p.estimatedBytesNeeded = 1'000'000'000'000;
         },
         {S::connected, std::nullopt}},
        {"internal disk", [](auto& p) { p.isRemovable = false; }, {S::connected, kNotExternal}},
        {"internal disk and low: only the space warning",
         [](auto& p) {
             p.isRemovable = false;
             p.availableBytes = 10;
         },
         {S::lowStorage, kLowSpace}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        BackupDestinationProbe probe = goodProbe();
        c.change(probe);
        EXPECT_EQ(BackupDestinationStatusEvaluator::evaluate(probe), c.expected);
    }
}

TEST(LocalBackupDestinationPolicyTest, OnlyConnectedDestinationsStartAndInternalOnesNeedTestMode) {
    constexpr const char* kTestMode =
        "Local test destination is enabled. This is useful for testing only; use an external "
        "drive for a real second copy.";
    constexpr const char* kInternal =
        "This folder appears to be on the internal disk. Choose an external drive, or enable "
        "local test destinations in Settings for testing only.";
    const auto destination = [](S status, bool removable) {
        return std::optional<BackupDestination>(
            BackupDestination{.id = Uuid::random(), .status = status, .isRemovable = removable});
    };
    struct Case {
        const char* label;
        std::optional<BackupDestination> destination;
        bool allowLocal;
        bool canStart;
        std::optional<std::string> warning;
    };
    const std::vector<Case> cases = {
        {"none", std::nullopt, true, false, std::nullopt},
        {"removable, connected", destination(S::connected, true), false, true, std::nullopt},
        {"removable, low space", destination(S::lowStorage, true), true, false, std::nullopt},
        {"removable, missing", destination(S::missing, true), true, false, std::nullopt},
        {"internal, low space, test mode", destination(S::lowStorage, false), true, false,
         std::nullopt},
        {"internal, permission issue", destination(S::permissionIssue, false), false, false,
         std::nullopt},
        {"internal, unknown", destination(S::unknown, false), true, false, std::nullopt},
        {"internal, connected, test mode", destination(S::connected, false), true, true, kTestMode},
        {"internal, connected", destination(S::connected, false), false, false, kInternal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(LocalBackupDestinationPolicy::canStartCopy(c.destination, c.allowLocal),
                  c.canStart);
        EXPECT_EQ(LocalBackupDestinationPolicy::warning(c.destination, c.allowLocal), c.warning);
    }
}

}  // namespace
}  // namespace tallowmere
