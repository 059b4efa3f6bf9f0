#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/support/StoredStateFixtures.h"
#include "ui/screens/dashboard/DashboardContent.h"
#include "ui/screens/safety/SafetyScreenContent.h"

namespace tallowmere {
namespace {

using DashboardContent::StatusInputs;

TEST(SafetyScreenContentTest, VideoDurationTruncatesToMinutesAndHours) {
    const struct {
        double seconds;
        const char* text;
    } cases[] = {
        {0, "0m"},
        {59, "0m"},
        {59.99, "0m"},
        {60, "1m"},
        {3599, "59m"},
        {3600, "1h 0m"},
        {3725, "1h 2m"},
        {3725.9, "1h 2m"},
        {90061, "25h 1m"},
        // Only a damaged row holds these; none of them may crash or go negative.
        {-5, "0m"},
        {std::numeric_limits<double>::quiet_NaN(), "0m"},
        {-std::numeric_limits<double>::infinity(), "0m"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(SafetyScreenContent::videoDurationText(c.seconds), c.text);
    }
    const std::string huge =
        SafetyScreenContent::videoDurationText(std::numeric_limits<double>::infinity());
    EXPECT_EQ(huge.back(), 'm');
    EXPECT_NE(huge.front(), '-');
}

TEST(SafetyScreenContentTest, PhotosProgressBarNeverDividesByLessThanOne) {
    using Bar = SafetyScreenContent::ProgressBarValue;
    constexpr std::int64_t kHuge = 9'000'000'000;
    const struct {
        std::int64_t scanned;
        std::int64_t total;
        Bar bar;
    } cases[] = {
        {0, 0, {0, 1}},
        {0, -3, {0, 1}},
        {5, 0, {1, 1}},
        {250, 1000, {250, 1000}},
        {1200, 1000, {1000, 1000}},
        {-4, 1000, {0, 1000}},
        {kHuge / 2, kHuge, {static_cast<int>(kHuge / 2 / 5), static_cast<int>(kHuge / 5)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.scanned << " of " << c.total);
        EXPECT_EQ(SafetyScreenContent::photosProgressBar(c.scanned, c.total), c.bar);
    }
}

TEST(SafetyScreenContentTest, AuthorizationTileFollowsTheAccessState) {
    const EnglishFormatting formatting;
    const struct {
        PhotosAuthorizationState access;
        const char* value;
        const char* detail;
    } cases[] = {
        {PhotosAuthorizationState::notDetermined, "Not requested",
         "Photos access is needed for this scan."},
        {PhotosAuthorizationState::denied, "Access denied",
         "Photos access is needed for this scan."},
        {PhotosAuthorizationState::restricted, "Access restricted",
         "Photos access is needed for this scan."},
        {PhotosAuthorizationState::limited, "Limited access",
         "Tallowmere can read Photos metadata."},
        {PhotosAuthorizationState::authorized, "Authorized",
         "Tallowmere can read Photos metadata."},
        {PhotosAuthorizationState::unknown, "Unknown", "Photos access is needed for this scan."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const auto metrics =
            SafetyScreenContent::photosMetrics(testing::photosScan(c.access), formatting);
        EXPECT_EQ(metrics[0].title, "Authorization");
        EXPECT_EQ(metrics[0].value, c.value);
        EXPECT_EQ(metrics[0].detail, c.detail);
    }
}

TEST(SafetyScreenContentTest, LibraryPackageTileWithoutASize) {
    const EnglishFormatting formatting;
    PhotosScanSummary found = testing::photosScan();
    found.localLibrarySizeBytes.reset();
    found.libraryDisplayName.reset();
    auto metrics = SafetyScreenContent::photosMetrics(found, formatting);
    EXPECT_EQ(metrics[3].value, "Detected");
    EXPECT_EQ(metrics[3].detail, "Photos library package detected.");

    const auto details =
        SafetyScreenContent::libraryDetails(found, std::nullopt, testing::kNow, formatting);
    EXPECT_EQ(details.estimatedPackageSize, "Unknown");
    EXPECT_EQ(details.detectedPackage, "/home/alex/Pictures");
    EXPECT_FALSE(details.dateRangeNote.has_value());
}

TEST(SafetyScreenContentTest, DateRangeWithinADayIsNotFutureDated) {
    const EnglishFormatting formatting;
    PhotosScanSummary summary = testing::photosScan();
    summary.oldestCreationDate = testing::kNow.addingSeconds(-86400 * 365.0);
    summary.newestCreationDate = testing::kNow.addingSeconds(3600);
    const auto details = SafetyScreenContent::libraryDetails(summary, "/home/tester/Pictures",
                                                             testing::kNow, formatting);
    EXPECT_EQ(details.selectedPackage, "/home/tester/Pictures");
    EXPECT_EQ(details.dateRange, formatting.dateTime(*summary.oldestCreationDate) + " to " +
                                     formatting.dateTime(*summary.newestCreationDate));
    EXPECT_FALSE(details.dateRangeNote.has_value());
}

TEST(SafetyScreenContentTest, ScanRootLabelsFollowKindAndPlace) {
    const auto root = [](const char* path, const char* name, ICloudScanRootKind kind) {
        ICloudScanRoot r;
        r.id = Uuid::random();
        r.path = path;
        r.displayName = name;
        r.kind = kind;
        return r;
    };
    const std::string cloudDocs = "/home/tester/Library/Mobile Documents/com~apple~CloudDocs";
    const std::vector<ICloudScanRoot> roots{
        root(cloudDocs.c_str(), "iCloud Drive", ICloudScanRootKind::iCloudDrive),
        root((cloudDocs + "/Desktop").c_str(), "Desktop", ICloudScanRootKind::desktop),
        root("/home/tester/Documents", "Documents", ICloudScanRootKind::documents),
        root("/srv/share/Documents", "Documents", ICloudScanRootKind::documents),
        root("/home/tester/iCloud Photos", "iCloud Photos", ICloudScanRootKind::userSelected),
        root("/home/tester/Local Stuff", "Local Stuff", ICloudScanRootKind::userSelected),
        root("/home/tester/./Documents/", "Documents again", ICloudScanRootKind::userSelected),
        root("/home/tester/Work", "Work", ICloudScanRootKind::userSelected),
    };
    const auto rows = SafetyScreenContent::scanRootRows(roots, "/home/tester/");
    const struct {
        const char* name;
        const char* detail;
        const char* symbol;
    } expected[] = {
        {"iCloud Drive", "Synced by iCloud", "icloud"},
        {"iCloud Desktop", "Synced by iCloud", "icloud"},
        {"Local Documents", "Local folder", "icloud"},
        {"Documents", "Documents", "icloud"},
        {"iCloud Photos", "Synced by iCloud", "folder"},
        {"Local Stuff", "Local folder", "folder"},
        {"Work", "Added folder", "folder"},
    };
    ASSERT_EQ(rows.size(), std::size(expected)) << "the second Documents folder is dropped";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(rows[i].name, expected[i].name);
        EXPECT_EQ(rows[i].detail, expected[i].detail);
        EXPECT_EQ(rows[i].systemImage, expected[i].symbol);
    }
    EXPECT_EQ(rows[2].root.id, roots[2].id) << "the first root of a folder is kept";
}

class StatusModulesTest : public ::testing::Test {
protected:
    std::array<DashboardContent::StatusModule, 4> modules() const {
        return DashboardContent::statusModules(
            {snapshot, iCloud, photos, destination, job, verification, allowLocal}, formatting);
    }

    EnglishFormatting formatting;
    DashboardSnapshot snapshot = DashboardSnapshot::empty();
    std::optional<ICloudDriveScanSummary> iCloud;
    std::optional<PhotosScanSummary> photos;
    std::optional<BackupDestination> destination;
    BackupJobSnapshot job = testing::placeholderJob();
    VerificationRun verification = testing::placeholderRun(VerificationMode::quick);
    bool allowLocal = false;
};

TEST_F(StatusModulesTest, ICloudDriveDetailPutsSyncIssuesFirst) {
    const struct {
        std::optional<ICloudDriveScanSummary> summary;
        const char* detail;
    } cases[] = {
        {std::nullopt, "Run a read-only scan to classify local and cloud-only files."},
        {testing::iCloudSummaryOf(10, 0, 5, 2), "2 item may have a sync issue."},
        {testing::iCloudSummaryOf(10, 0, 5), "5 files may only exist in iCloud."},
        {testing::iCloudSummaryOf(1200, 4, 0), "1,204 files appear local or downloaded."},
        {testing::iCloudSummaryOf(0, 0, 0), "0 files appear local or downloaded."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.detail);
        iCloud = c.summary;
        EXPECT_EQ(modules()[1].detail, c.detail);
    }
}

TEST_F(StatusModulesTest, TilesTakeTheStateOfTheFirstFindingOfTheirArea) {
    const auto finding = [](SafetyDomain domain, SafetyState state) {
        SafetyFinding f;
        f.domain = domain;
        f.state = state;
        return f;
    };
    snapshot.findings = {finding(SafetyDomain::iCloudDrive, SafetyState::cloudOnly),
                         finding(SafetyDomain::secondCopy, SafetyState::backupStale),
                         finding(SafetyDomain::iCloudDrive, SafetyState::protected_)};
    const auto tiles = modules();
    EXPECT_EQ(tiles[0].state, SafetyState::unknown) << "no Photos finding";
    EXPECT_EQ(tiles[0].value, "Unknown / cannot verify");
    EXPECT_EQ(tiles[1].state, SafetyState::cloudOnly);
    EXPECT_EQ(tiles[1].value, "Cloud-only");
    EXPECT_EQ(tiles[2].state, SafetyState::backupStale);
}

TEST_F(StatusModulesTest, PhotosDetailFollowsMetadataAccess) {
    EXPECT_EQ(modules()[0].detail, "Photos metadata has not been scanned yet.");
    photos = testing::photosScan(PhotosAuthorizationState::limited, 12345);
    EXPECT_EQ(modules()[0].detail,
              "12,345 Photos items scanned. Local-original status remains unknown.");
    photos = testing::photosScan(PhotosAuthorizationState::denied);
    EXPECT_EQ(modules()[0].detail, "Photos access is needed before Tallowmere can read metadata.");
}

TEST_F(StatusModulesTest, SecondCopyDetailFollowsTheDestinationAndTheJob) {
    EXPECT_EQ(modules()[2].detail,
              "Select an external drive so your second copy is separate from this Mac.");
    destination = testing::externalDrive();
    EXPECT_EQ(modules()[2].detail, "Destination is ready. Prepare a manifest before copying.");
    job = testing::jobIn(BackupJobStatus::running);
    EXPECT_EQ(modules()[2].detail, "Second copy in progress.");
    destination = testing::internalFolder();
    EXPECT_EQ(modules()[2].detail,
              "Choose an external drive, or enable local test destinations in Advanced settings "
              "for testing only.");
    allowLocal = true;
    EXPECT_EQ(modules()[2].detail,
              "Useful for testing only. Use an external drive for a real second copy.");
}

TEST_F(StatusModulesTest, VerificationTileFollowsTheLatestRun) {
    const struct {
        VerificationMode mode;
        VerificationStatus status;
        SafetyState state;
        const char* detail;
    } cases[] = {
        {VerificationMode::quick, VerificationStatus::notRun, SafetyState::backupStale,
         "No backup verification has passed yet."},
        {VerificationMode::quick, VerificationStatus::running, SafetyState::backupStale,
         "Verification is running."},
        {VerificationMode::full, VerificationStatus::verified, SafetyState::protected_,
         "Verification passed for the copied files."},
        {VerificationMode::restoreTest, VerificationStatus::verified, SafetyState::protected_,
         "Sample restore test passed."},
        {VerificationMode::quick, VerificationStatus::failed, SafetyState::backupStale,
         "2 copied files did not match."},
        {VerificationMode::quick, VerificationStatus::unknown, SafetyState::backupStale,
         "No backup verification has passed yet."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.detail);
        verification.mode = c.mode;
        verification.status = c.status;
        verification.message = "2 copied files did not match.";
        const auto tile = modules()[3];
        EXPECT_EQ(tile.state, c.state);
        EXPECT_EQ(tile.value, displayName(c.state));
        EXPECT_EQ(tile.detail, c.detail);
    }
}

TEST(DashboardContentTest, BannerMetricsAreDatesOrNever) {
    const EnglishFormatting formatting;
    DashboardSnapshot snapshot = DashboardSnapshot::empty();
    snapshot.lastBackupAt = testing::kNow;
    const auto metrics = DashboardContent::bannerMetrics(snapshot, formatting);
    EXPECT_EQ(metrics[0].value, "Never");
    EXPECT_EQ(metrics[1].value, formatting.dateTime(testing::kNow));
    EXPECT_EQ(metrics[2].value, "Never");
}

}  // namespace
}  // namespace tallowmere
