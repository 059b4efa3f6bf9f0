#include "core/dashboard/DashboardScoreExplainer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/dashboard/DestinationQuality.h"
#include "tests/support/JsonPrinting.h"
#include "tests/support/StoredStateFixtures.h"

namespace tallowmere {
namespace {

using testing::StoredState;

std::vector<SafetyScoreBreakdownItem> breakdown(const StoredState& s) {
    const EnglishFormatting english;
    return DashboardScoreExplainer::makeBreakdown(s.iCloudSummary, s.photosSummary,
                                                  s.backupDestination, s.backupSnapshot,
                                                  s.verificationSnapshot, english);
}

const SafetyScoreBreakdownItem kICloudNotScanned{
    "icloud", "iCloud Drive", "Not scanned",
    "Run a read-only scan to count local and cloud-only files.", SafetyState::unknown};
const SafetyScoreBreakdownItem kPhotosNotScanned{"photos", "Photos", "Not scanned",
                                                 "Photos safety has not been checked yet.",
                                                 SafetyState::unknown};
const SafetyScoreBreakdownItem kNoDestination{"destination", "Second copy", "Not selected",
                                              "Choose an external drive before copying.",
                                              SafetyState::backupStale};
const SafetyScoreBreakdownItem kNotVerified{"verification", "Verification", "Not passed",
                                            "Run verification after copying.",
                                            SafetyState::backupStale};
const SafetyScoreBreakdownItem kVerified{"verification", "Verification", "Passed",
                                         "Tallowmere can read the copied backup.",
                                         SafetyState::protected_};

SafetyScoreBreakdownItem destinationRow(std::string value, std::string detail, SafetyState state) {
    return {"destination", "Second copy", std::move(value), std::move(detail), state};
}

SafetyScoreBreakdownItem skippedRow(std::string value) {
    return {"skipped", "Skipped items", std::move(value),
            "Cloud-only or uncertain files were not copied.", SafetyState::needsAttention};
}

TEST(DashboardScoreExplainerTest, RowsForRealisticStates) {
    const std::string internalDisk = "This destination appears to be on the internal disk.";
    const SafetyScoreBreakdownItem photosCounted{
        "photos", "Photos", "2,113 items", "Metadata scanned; local originals remain unknown.",
        SafetyState::needsAttention};
    struct Case {
        const char* name;
        std::function<void(StoredState&)> setUp;
        std::vector<SafetyScoreBreakdownItem> expected;
    };
    const std::vector<Case> cases{
        {"fresh install",
         [](StoredState&) {},
         {kICloudNotScanned, kPhotosNotScanned, kNoDestination, kNotVerified}},
        {"ten items, 88 percent, external drive, verified copy",
         [](StoredState& s) {
             s.withCloudOnlyScan();
             s.photosSummary = testing::photosScan();
             s.backupDestination = testing::externalDrive();
             s.backupSnapshot = testing::jobIn(BackupJobStatus::completed);
             s.verificationSnapshot =
                 testing::finishedRun(VerificationMode::quick, VerificationStatus::verified);
         },
         {{"icloud", "iCloud Drive", "88%", "8 local, 2 cloud-only, 0 issue.",
           SafetyState::cloudOnly},
          photosCounted,
          destinationRow("Backup Drive", "External destination is available.",
                         SafetyState::protected_),
          kVerified}},
        {"thousands are grouped",
         [](StoredState& s) { s.iCloudSummary = testing::iCloudSummaryOf(1000, 200, 4000, 1234); },
         {{"icloud", "iCloud Drive", "48%", "1,200 local, 4,000 cloud-only, 1,234 issue.",
           SafetyState::stuckSyncing},
          kPhotosNotScanned,
          kNoDestination,
          kNotVerified}},
        {"a summary with no items counts as not scanned",
         [](StoredState& s) { s.iCloudSummary = testing::iCloudSummaryOf(0, 0, 0); },
         {kICloudNotScanned, kPhotosNotScanned, kNoDestination, kNotVerified}},
        {"denied Photos access",
         [](StoredState& s) {
             s.photosSummary = testing::photosScan(PhotosAuthorizationState::denied);
         },
         {kICloudNotScanned,
          {"photos", "Photos", "Access needed", "Photos metadata cannot be read yet.",
           SafetyState::needsAttention},
          kNoDestination,
          kNotVerified}},
        {"limited Photos access counts items",
         [](StoredState& s) {
             s.photosSummary = testing::photosScan(PhotosAuthorizationState::limited);
         },
         {kICloudNotScanned, photosCounted, kNoDestination, kNotVerified}},
        {"internal destination",
         [](StoredState& s) { s.backupDestination = testing::internalFolder(); },
         {kICloudNotScanned, kPhotosNotScanned,
          destinationRow("Backups", internalDisk, SafetyState::needsAttention), kNotVerified}},
        {"internal destination in local test mode reads the same",
         [](StoredState& s) {
             s.backupDestination = testing::internalFolder();
             s.allowLocalTestDestination = true;
         },
         {kICloudNotScanned, kPhotosNotScanned,
          destinationRow("Backups", internalDisk, SafetyState::needsAttention), kNotVerified}},
        {"low on space",
         [](StoredState& s) {
             s.backupDestination =
                 testing::destination(BackupDestinationStatus::lowStorage, true, "Small");
         },
         {kICloudNotScanned, kPhotosNotScanned,
          destinationRow("Small", "Destination status is low space.", SafetyState::needsAttention),
          kNotVerified}},
        {"other statuses in lower case",
         [](StoredState& s) {
             s.backupDestination =
                 testing::destination(BackupDestinationStatus::permissionIssue, true, "Locked");
         },
         {kICloudNotScanned, kPhotosNotScanned,
          destinationRow("Locked", "Destination status is permission issue.",
                         SafetyState::needsAttention),
          kNotVerified}},
        {"a stored destination marked not selected",
         [](StoredState& s) {
             s.backupDestination =
                 testing::destination(BackupDestinationStatus::notSelected, true, "Old");
         },
         {kICloudNotScanned, kPhotosNotScanned,
          destinationRow("Old", "Destination status is not selected.", SafetyState::needsAttention),
          kNotVerified}},
        {"completed with skipped items but none counted still shows the row",
         [](StoredState& s) {
             s.backupSnapshot = testing::jobIn(BackupJobStatus::completedWithSkipped, 0);
         },
         {kICloudNotScanned, kPhotosNotScanned, kNoDestination, kNotVerified, skippedRow("0")}},
        {"skipped files on a paused job",
         [](StoredState& s) { s.backupSnapshot = testing::jobIn(BackupJobStatus::paused, 1500); },
         {kICloudNotScanned, kPhotosNotScanned, kNoDestination, kNotVerified, skippedRow("1,500")}},
        {"a failed verification is not passed",
         [](StoredState& s) {
             s.verificationSnapshot =
                 testing::finishedRun(VerificationMode::full, VerificationStatus::failed);
         },
         {kICloudNotScanned, kPhotosNotScanned, kNoDestination, kNotVerified}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoredState state = StoredState::freshInstall();
        c.setUp(state);
        EXPECT_EQ(breakdown(state), c.expected);
    }
}

TEST(DashboardScoreExplainerTest, BreakdownItemJsonUsesFieldNames) {
    const SafetyScoreBreakdownItem item = skippedRow("3");
    const Json json = item;
    EXPECT_EQ(json, Json::parse(R"({"id":"skipped","title":"Skipped items","value":"3",
        "detail":"Cloud-only or uncertain files were not copied.","state":"needsAttention"})"));
    EXPECT_EQ(json.get<SafetyScoreBreakdownItem>(), item);
}

TEST(DestinationQualityTest, ClassifiesTheSelectedDestination) {
    struct Case {
        const char* name;
        std::optional<BackupDestination> destination;
        bool allowLocal;
        DestinationQuality expected;
    };
    using Status = BackupDestinationStatus;
    const std::vector<Case> cases{
        {"none", std::nullopt, false, DestinationQuality::notSelected},
        {"none in test mode", std::nullopt, true, DestinationQuality::notSelected},
        {"not selected", testing::destination(Status::notSelected, true, "A"), true,
         DestinationQuality::notSelected},
        {"external", testing::externalDrive(), false, DestinationQuality::externalReady},
        {"external in test mode", testing::externalDrive(), true,
         DestinationQuality::externalReady},
        {"internal", testing::internalFolder(), false, DestinationQuality::localBlocked},
        {"internal in test mode", testing::internalFolder(), true,
         DestinationQuality::localTestOnly},
        {"missing", testing::destination(Status::missing, true, "A"), true,
         DestinationQuality::missing},
        {"missing internal", testing::destination(Status::missing, false, "A"), true,
         DestinationQuality::missing},
        {"low storage", testing::destination(Status::lowStorage, true, "A"), false,
         DestinationQuality::lowSpace},
        {"permission", testing::destination(Status::permissionIssue, true, "A"), false,
         DestinationQuality::permissionIssue},
        {"unknown", testing::destination(Status::unknown, false, "A"), true,
         DestinationQuality::unknown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(makeDestinationQuality(c.destination, c.allowLocal), c.expected);
    }
}

TEST(DestinationQualityTest, TextsAndWhatEachQualityAllows) {
    struct Case {
        DestinationQuality quality;
        const char* raw;
        const char* title;
        const char* detail;
        bool requiresUserAction;
        bool canWork;
    };
    const std::vector<Case> cases{
        {DestinationQuality::notSelected, "notSelected", "Choose an external backup drive",
         "Select an external drive so your second copy is separate from this Mac.", true, false},
        {DestinationQuality::externalReady, "externalReady", "External destination ready",
         "Tallowmere can prepare and copy into its own folder on this destination.", false, true},
        {DestinationQuality::localTestOnly, "localTestOnly", "Local test destination enabled",
         "Useful for testing only. Use an external drive for a real second copy.", true, true},
        {DestinationQuality::localBlocked, "localBlocked",
         "Internal disk is not a real second copy",
         "Choose an external drive, or enable local test destinations in Advanced settings for "
         "testing only.",
         true, false},
        {DestinationQuality::missing, "missing", "Backup destination is missing",
         "Reconnect the drive or choose a new destination.", true, false},
        {DestinationQuality::lowSpace, "lowSpace", "Backup destination is low on space",
         "Free up space or choose a larger external drive before copying.", true, false},
        {DestinationQuality::permissionIssue, "permissionIssue",
         "Tallowmere needs destination permission",
         "Choose the destination again so Tallowmere can access its backup folder.", true, false},
        {DestinationQuality::unknown, "unknown", "Destination status is unknown",
         "Refresh the destination status before preparing or copying.", true, false},
    };
    ASSERT_EQ(cases.size(), allCases<DestinationQuality>().size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(caseIndex(c.quality), i);
        EXPECT_EQ(rawValue(c.quality), c.raw);
        EXPECT_EQ(fromRaw<DestinationQuality>(c.raw), c.quality);
        EXPECT_EQ(title(c.quality), c.title);
        EXPECT_EQ(detail(c.quality), c.detail);
        EXPECT_EQ(requiresUserAction(c.quality), c.requiresUserAction);
        EXPECT_EQ(canPrepare(c.quality), c.canWork);
        EXPECT_EQ(canCopy(c.quality), c.canWork);
    }
}

}  // namespace
}  // namespace tallowmere
