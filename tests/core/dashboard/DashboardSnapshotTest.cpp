#include "core/dashboard/DashboardSnapshot.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/dashboard/DashboardHeadline.h"
#include "tests/support/JsonPrinting.h"
#include "tests/support/StoredStateFixtures.h"

namespace tallowmere {
namespace {

using testing::kNow;
using testing::StoredState;

DashboardSnapshot assemble(const StoredState& s) {
    const EnglishFormatting english;
    return DashboardSnapshot::assemble(s.latestScanRun, s.storedFindings, s.iCloudSummary,
                                       s.photosSummary, s.backupDestination, s.backupSnapshot,
                                       s.verificationSnapshot, kNow, english);
}

std::vector<std::string> titles(const std::vector<SafetyFinding>& findings) {
    std::vector<std::string> result;
    for (const auto& f : findings) result.push_back(f.title);
    return result;
}

TEST(DashboardSnapshotTest, EmptyIsTheValueBeforeAnyRefresh) {
    const auto empty = DashboardSnapshot::empty();
    EXPECT_EQ(empty.safetyScore, 0);
    EXPECT_EQ(empty.overallState, SafetyState::unknown);
    EXPECT_EQ(empty.menuBarHealth, MenuBarHealth::paused);
    EXPECT_FALSE(empty.lastScanAt || empty.lastBackupAt || empty.lastVerificationAt);
    EXPECT_FALSE(empty.connectedDestinationName);
    EXPECT_TRUE(empty.findings.empty());
    EXPECT_FALSE(empty.iCloudSummary);
}

TEST(DashboardSnapshotTest, AssemblesScoreTimesAndFindingsFromStoredState) {
    struct Case {
        const char* name;
        std::function<void(StoredState&)> setUp;
        std::int64_t score;
        SafetyState state;
        MenuBarHealth health;
        std::optional<Date> lastScanAt = std::nullopt;
        std::optional<Date> lastBackupAt = std::nullopt;
        std::optional<Date> lastVerificationAt = std::nullopt;
        std::optional<std::string> destinationName = std::nullopt;
        std::vector<std::string> findingTitles;
        std::string headline;
    };
    const Date scanEnd = kNow.addingSeconds(-3600);
    const Date scanStart = kNow.addingSeconds(-3700);
    const std::vector<Case> cases{
        {.name = "fresh install",
         .setUp = [](StoredState&) {},
         .score = 0,
         .state = SafetyState::unknown,
         .health = MenuBarHealth::paused,
         .findingTitles = {"Scan Photos safety"},
         .headline = "Create your first local safety baseline."},
        {.name = "Photos scanned and a drive chosen before the first iCloud scan",
         .setUp =
             [](StoredState& s) {
                 s.photosSummary = testing::photosScan();
                 s.backupDestination = testing::externalDrive();
             },
         .score = 0,
         .state = SafetyState::unknown,
         .health = MenuBarHealth::paused,
         .destinationName = "Backup Drive",
         .findingTitles = {"Photos metadata scanned"},
         .headline = "Create your first local safety baseline."},
        {.name = "cloud-only scan: the stored Photos placeholder is replaced",
         .setUp =
             [](StoredState& s) {
                 s.withCloudOnlyScan();
                 s.photosSummary = testing::photosScan();
             },
         .score = 34,
         .state = SafetyState::cloudOnly,
         .health = MenuBarHealth::unsafe,
         .lastScanAt = scanEnd,
         .findingTitles = {"Review cloud-only files", "Create first second copy",
                           "Photos metadata scanned"},
         .headline = "Some files may only be in iCloud."},
        {.name = "denied Photos access after a scan of local files",
         .setUp =
             [](StoredState& s) {
                 s.withLocalScan();
                 s.photosSummary = testing::photosScan(PhotosAuthorizationState::denied);
             },
         .score = 58,
         .state = SafetyState::backupStale,
         .health = MenuBarHealth::unsafe,
         .lastScanAt = scanEnd,
         .findingTitles = {"Create first second copy", "Photos access needed",
                           "iCloud Drive files appear local"},
         .headline = "Your second copy needs attention."},
        {.name = "a stored run whose state is unknown",
         .setUp =
             [](StoredState& s) {
                 s.withLocalScan();
                 s.latestScanRun->overallState = SafetyState::unknown;
                 s.latestScanRun->safetyScore = 0;
             },
         .score = 0,
         .state = SafetyState::unknown,
         .health = MenuBarHealth::paused,
         .lastScanAt = scanEnd,
         .findingTitles = {"Create first second copy", "Scan Photos safety",
                           "iCloud Drive files appear local"},
         .headline = "Create your first local safety baseline."},
        {.name = "a run without completion time is dated by its start",
         .setUp =
             [](StoredState& s) {
                 s.withLocalScan();
                 s.latestScanRun->completedAt.reset();
             },
         .score = 58,
         .state = SafetyState::backupStale,
         .health = MenuBarHealth::unsafe,
         .lastScanAt = scanStart,
         .findingTitles = {"Create first second copy", "Scan Photos safety",
                           "iCloud Drive files appear local"},
         .headline = "Your second copy needs attention."},
        {.name = "prepared job never copied, failed verification",
         .setUp =
             [](StoredState& s) {
                 s.withLocalScan();
                 s.backupDestination = testing::externalDrive();
                 s.backupSnapshot = testing::jobIn(BackupJobStatus::prepared);
                 s.verificationSnapshot =
                     testing::finishedRun(VerificationMode::quick, VerificationStatus::failed);
             },
         .score = 58,
         .state = SafetyState::backupStale,
         .health = MenuBarHealth::unsafe,
         .lastScanAt = scanEnd,
         .lastBackupAt = kNow.addingSeconds(-900),
         .destinationName = "Backup Drive",
         .findingTitles = {"Create first second copy", "Scan Photos safety",
                           "iCloud Drive files appear local"},
         .headline = "Your second copy needs attention."},
        {.name = "running job, running verification, missing drive",
         .setUp =
             [](StoredState& s) {
                 s.withLocalScan();
                 s.backupDestination =
                     testing::destination(BackupDestinationStatus::missing, true, "Travel Disk");
                 s.backupSnapshot = testing::jobIn(BackupJobStatus::running);
                 s.verificationSnapshot =
                     testing::finishedRun(VerificationMode::full, VerificationStatus::running);
             },
         .score = 58,
         .state = SafetyState::backupStale,
         .health = MenuBarHealth::unsafe,
         .lastScanAt = scanEnd,
         .destinationName = "Travel Disk",
         .findingTitles = {"Create first second copy", "Scan Photos safety",
                           "iCloud Drive files appear local"},
         .headline = "Your second copy needs attention."},
        {.name = "completed job and verified copy",
         .setUp =
             [](StoredState& s) {
                 s.withLocalScan();
                 s.backupDestination = testing::externalDrive();
                 s.backupSnapshot = testing::jobIn(BackupJobStatus::completedWithSkipped, 2);
                 s.verificationSnapshot =
                     testing::finishedRun(VerificationMode::full, VerificationStatus::verified);
             },
         .score = 58,
         .state = SafetyState::backupStale,
         .health = MenuBarHealth::unsafe,
         .lastScanAt = scanEnd,
         .lastBackupAt = kNow.addingSeconds(-600),
         .lastVerificationAt = kNow.addingSeconds(-400),
         .destinationName = "Backup Drive",
         .findingTitles = {"Create first second copy", "Scan Photos safety",
                           "iCloud Drive files appear local"},
         .headline = "Your second copy needs attention."},
        {.name = "a protected run",
         .setUp =
             [](StoredState& s) {
                 s.withLocalScan();
                 s.latestScanRun->overallState = SafetyState::protected_;
                 s.latestScanRun->safetyScore = 100;
                 s.photosSummary = testing::photosScan();
             },
         .score = 100,
         .state = SafetyState::protected_,
         .health = MenuBarHealth::protected_,
         .lastScanAt = scanEnd,
         .findingTitles = {"Create first second copy", "Photos metadata scanned",
                           "iCloud Drive files appear local"},
         .headline = "Your checked areas look protected."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoredState state = StoredState::freshInstall();
        c.setUp(state);
        const DashboardSnapshot snapshot = assemble(state);
        EXPECT_EQ(snapshot.safetyScore, c.score);
        EXPECT_EQ(snapshot.overallState, c.state);
        EXPECT_EQ(snapshot.menuBarHealth, c.health);
        EXPECT_EQ(snapshot.lastScanAt, c.lastScanAt);
        EXPECT_EQ(snapshot.lastBackupAt, c.lastBackupAt);
        EXPECT_EQ(snapshot.lastVerificationAt, c.lastVerificationAt);
        EXPECT_EQ(snapshot.connectedDestinationName, c.destinationName);
        EXPECT_EQ(titles(snapshot.findings), c.findingTitles);
        EXPECT_EQ(snapshot.iCloudSummary, state.iCloudSummary);
        EXPECT_EQ(DashboardHeadline::make(snapshot.overallState).headline, c.headline);

        int photosFindings = 0;
        for (const auto& f : snapshot.findings) {
            if (f.domain == SafetyDomain::photos)
                ++photosFindings;
        }
        EXPECT_EQ(photosFindings, 1);
    }
}

TEST(DashboardSnapshotTest, FreshPhotosFindingBelongsToTheRunAndIsDatedByThePhotosScan) {
    StoredState state = StoredState::freshInstall();
    state.withCloudOnlyScan();
    const auto findPhotos = [](const DashboardSnapshot& snapshot) {
        for (const auto& f : snapshot.findings) {
            if (f.domain == SafetyDomain::photos)
                return f;
        }
        ADD_FAILURE() << "no Photos finding";
        return SafetyFinding{};
    };

    // Without a Photos scan the finding is dated by the run.
    auto photos = findPhotos(assemble(state));
    EXPECT_EQ(photos.scanRunID, state.latestScanRun->id);
    EXPECT_EQ(photos.createdAt, *state.latestScanRun->completedAt);
    for (const auto& stored : state.storedFindings) EXPECT_NE(photos.id, stored.id);

    state.latestScanRun->completedAt.reset();
    EXPECT_EQ(findPhotos(assemble(state)).createdAt, state.latestScanRun->startedAt);

    state.photosSummary = testing::photosScan();
    EXPECT_EQ(findPhotos(assemble(state)).createdAt, *state.photosSummary->completedAt);

    // An unfinished Photos scan falls back to the run's times.
    state.photosSummary->completedAt.reset();
    EXPECT_EQ(findPhotos(assemble(state)).createdAt, state.latestScanRun->startedAt);

    // Before any scan run the finding gets a random run id and is dated now.
    const auto fresh = assemble(StoredState::freshInstall());
    ASSERT_EQ(fresh.findings.size(), 1u);
    EXPECT_EQ(fresh.findings[0].createdAt, kNow);
    EXPECT_NE(fresh.findings[0].scanRunID, Uuid());
}

TEST(DashboardSnapshotTest, JsonRoundTripKeepsEveryField) {
    StoredState state = StoredState::freshInstall();
    state.withCloudOnlyScan();
    state.photosSummary = testing::photosScan();
    state.backupDestination = testing::externalDrive();
    state.backupSnapshot = testing::jobIn(BackupJobStatus::completed);
    state.verificationSnapshot =
        testing::finishedRun(VerificationMode::quick, VerificationStatus::verified);
    const DashboardSnapshot full = assemble(state);
    // Dates with whole seconds survive the ISO 8601 text unchanged.
    const Json json = full;
    for (const char* key :
         {"safetyScore", "overallState", "menuBarHealth", "lastScanAt", "lastBackupAt",
          "lastVerificationAt", "connectedDestinationName", "findings", "iCloudSummary"}) {
        EXPECT_TRUE(json.contains(key)) << key;
    }
    EXPECT_EQ(json.at("overallState"), "cloudOnly");
    EXPECT_EQ(json.get<DashboardSnapshot>(), full);

    const Json empty = DashboardSnapshot::empty();
    EXPECT_FALSE(empty.contains("lastScanAt"));
    EXPECT_FALSE(empty.contains("iCloudSummary"));
    EXPECT_EQ(empty.get<DashboardSnapshot>(), DashboardSnapshot::empty());
}

TEST(DashboardHeadlineTest, BadgeAndHeadlinePerOverallState) {
    struct Case {
        SafetyState state;
        std::string badgeText;
        std::string symbol;
        ColorRole color;
        std::string headline;
    };
    const std::vector<Case> cases{
        {SafetyState::protected_, "Protected", "checkmark.shield.fill", ColorRole::success,
         "Your checked areas look protected."},
        {SafetyState::needsAttention, "Needs attention", "exclamationmark.triangle.fill",
         ColorRole::amber, "A few safety steps need attention."},
        {SafetyState::cloudOnly, "Cloud-only", "icloud.fill", ColorRole::danger,
         "Some files may only be in iCloud."},
        {SafetyState::stuckSyncing, "Stuck syncing", "arrow.triangle.2.circlepath.circle.fill",
         ColorRole::danger, "Some items may be stuck syncing."},
        {SafetyState::backupStale, "Backup stale", "clock.badge.exclamationmark.fill",
         ColorRole::danger, "Your second copy needs attention."},
        {SafetyState::unknown, "Unknown / cannot verify", "questionmark.circle.fill",
         ColorRole::secondaryLabel, "Create your first local safety baseline."},
    };
    ASSERT_EQ(cases.size(), allCases<SafetyState>().size());
    for (const auto& c : cases) {
        SCOPED_TRACE(rawValue(c.state));
        const auto headline = DashboardHeadline::make(c.state);
        EXPECT_EQ(headline.badgeText, c.badgeText);
        EXPECT_EQ(headline.badgeSymbol, c.symbol);
        EXPECT_EQ(headline.badgeColor, c.color);
        EXPECT_EQ(headline.headline, c.headline);
    }
}

TEST(DashboardHeadlineTest, DestinationSentenceWarnsOnlyAboutANonRemovableDestination) {
    const std::string internal =
        "Your selected destination appears to be on the internal disk. Use an external drive "
        "for a real second copy.";
    const std::string local =
        "Tallowmere keeps scans, reports, and backup manifests local to this Mac.";
    struct Case {
        const char* name;
        std::optional<BackupDestination> destination;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"none", std::nullopt, local},
        {"external", testing::externalDrive(), local},
        {"internal", testing::internalFolder(), internal},
        {"internal and missing",
         testing::destination(BackupDestinationStatus::missing, false, "Old"), internal},
        {"removable and low on space",
         testing::destination(BackupDestinationStatus::lowStorage, true, "Small"), local},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DashboardHeadline::destinationSentence(c.destination), c.expected);
    }
}

}  // namespace
}  // namespace tallowmere
