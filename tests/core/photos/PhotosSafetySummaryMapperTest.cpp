#include "core/photos/PhotosSafetySummaryMapper.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/photos/PhotosDateRangePresentation.h"
#include "tests/support/JsonPrinting.h"

namespace tallowmere {
namespace {

// What the scanner stores after a successful scan of a found library with full access:
// both "cannot tell" flags are always set.
PhotosScanSummary scannedLibrary() {
    PhotosScanSummary summary;
    summary.id = Uuid::random();
    summary.startedAt = Date(1'765'000'000);
    summary.completedAt = Date(1'765'000'030);
    summary.authorizationStatus = PhotosAuthorizationState::authorized;
    summary.totalAssetCount = 2113;
    summary.photoCount = 2000;
    summary.videoCount = 113;
    summary.libraryExists = true;
    summary.libraryDisplayName = "Photos Library.photoslibrary";
    summary.localLibrarySizeBytes = 12'000'000'000;
    summary.canReadMetadata = true;
    summary.localOriginalsUnknown = true;
    summary.iCloudPhotosStatusUnknown = true;
    summary.message = "Photos metadata scanned.";
    return summary;
}

template <typename Change>
PhotosScanSummary scannedLibraryWith(Change change) {
    PhotosScanSummary summary = scannedLibrary();
    change(summary);
    return summary;
}

TEST(PhotosSafetySummaryMapperTest, SafetyStateFirstMatchingRuleWins) {
    struct Case {
        const char* name;
        std::optional<PhotosScanSummary> summary;
        PhotosSafetyState expected;
    };
    const std::vector<Case> cases{
        {"no summary", std::nullopt, PhotosSafetyState::unknown},
        {"not determined, counts present", scannedLibraryWith([](auto& s) {
             s.authorizationStatus = PhotosAuthorizationState::notDetermined;
         }),
         PhotosSafetyState::accessNeeded},
        {"denied beats a missing library", scannedLibraryWith([](auto& s) {
             s.authorizationStatus = PhotosAuthorizationState::denied;
             s.libraryExists = false;
         }),
         PhotosSafetyState::accessNeeded},
        {"restricted", scannedLibraryWith([](auto& s) {
             s.authorizationStatus = PhotosAuthorizationState::restricted;
         }),
         PhotosSafetyState::accessNeeded},
        {"unknown access", scannedLibraryWith([](auto& s) {
             s.authorizationStatus = PhotosAuthorizationState::unknown;
         }),
         PhotosSafetyState::accessNeeded},
        {"library missing beats a package size",
         scannedLibraryWith([](auto& s) { s.libraryExists = false; }),
         PhotosSafetyState::libraryNotFound},
        {"limited access with a package size", scannedLibraryWith([](auto& s) {
             s.authorizationStatus = PhotosAuthorizationState::limited;
         }),
         PhotosSafetyState::localPackageSizeAvailable},
        {"package size of zero bytes still counts as known",
         scannedLibraryWith([](auto& s) { s.localLibrarySizeBytes = 0; }),
         PhotosSafetyState::localPackageSizeAvailable},
        {"limited access without a size", scannedLibraryWith([](auto& s) {
             s.authorizationStatus = PhotosAuthorizationState::limited;
             s.localLibrarySizeBytes.reset();
         }),
         PhotosSafetyState::localityUnknown},
        {"only the iCloud Photos status unknown", scannedLibraryWith([](auto& s) {
             s.localLibrarySizeBytes.reset();
             s.localOriginalsUnknown = false;
         }),
         PhotosSafetyState::localityUnknown},
        {"nothing unknown", scannedLibraryWith([](auto& s) {
             s.localLibrarySizeBytes.reset();
             s.localOriginalsUnknown = false;
             s.iCloudPhotosStatusUnknown = false;
         }),
         PhotosSafetyState::metadataScanned},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PhotosSafetySummaryMapper::safetyState(c.summary), c.expected);
    }
}

TEST(PhotosSafetySummaryMapperTest, FindingRowsWithTheirExactTexts) {
    struct Case {
        const char* name;
        std::optional<PhotosScanSummary> summary;
        SafetyState state;
        ConfidenceLevel confidence;
        std::string title;
        std::string message;
        std::string recommendedAction;
        std::int64_t severity;
    };
    const std::string countedMessage =
        "Tallowmere counted 2,113 Photos items. Some iCloud Photos/local-original details "
        "cannot be fully verified yet.";
    const std::string countedAction =
        "Keep Photos access enabled and create a verified second copy when Photos backup is "
        "available.";
    const std::vector<Case> cases{
        {"no summary", std::nullopt, SafetyState::unknown, ConfidenceLevel::unknown,
         "Scan Photos safety", "Photos safety has not been scanned yet.",
         "Run a Photos safety scan when you are ready to grant Photos access.", 45},
        {"not determined even with counts", scannedLibraryWith([](auto& s) {
             s.authorizationStatus = PhotosAuthorizationState::notDetermined;
         }),
         SafetyState::needsAttention, ConfidenceLevel::verified, "Photos access needed",
         "Tallowmere needs Photos access before it can read Photos metadata.",
         "Run Photos scan and grant access when macOS asks.", 70},
        {"library not found", scannedLibraryWith([](auto& s) { s.libraryExists = false; }),
         SafetyState::needsAttention, ConfidenceLevel::likely, "Photos library not found",
         "Tallowmere could read Photos metadata, but a local Photos library package was not "
         "found in the usual location.",
         "Choose a Photos library package or review your Photos library location.", 60},
        {"scanned with both unknown flags", scannedLibrary(), SafetyState::needsAttention,
         ConfidenceLevel::likely, "Photos metadata scanned", countedMessage, countedAction, 55},
        {"scanned with one unknown flag",
         scannedLibraryWith([](auto& s) { s.iCloudPhotosStatusUnknown = false; }),
         SafetyState::needsAttention, ConfidenceLevel::likely, "Photos metadata scanned",
         countedMessage, countedAction, 55},
        {"scanned with nothing unknown", scannedLibraryWith([](auto& s) {
             s.localOriginalsUnknown = false;
             s.iCloudPhotosStatusUnknown = false;
         }),
         SafetyState::needsAttention, ConfidenceLevel::likely, "Photos metadata scanned",
         countedMessage, countedAction, 35},
    };
    const EnglishFormatting english;
    const Uuid runID = Uuid::random();
    const Date createdAt(1'765'100'000);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SafetyFinding f =
            PhotosSafetySummaryMapper::finding(c.summary, runID, createdAt, english);
        EXPECT_EQ(f.scanRunID, runID);
        EXPECT_EQ(f.createdAt, createdAt);
        EXPECT_EQ(f.domain, SafetyDomain::photos);
        EXPECT_EQ(f.state, c.state);
        EXPECT_EQ(f.confidence, c.confidence);
        EXPECT_EQ(f.title, c.title);
        EXPECT_EQ(f.message, c.message);
        EXPECT_EQ(f.recommendedAction, c.recommendedAction);
        EXPECT_EQ(f.severity, c.severity);
    }
}

TEST(PhotosSafetySummaryMapperTest, EveryFindingGetsItsOwnIdentifier) {
    const EnglishFormatting english;
    const Uuid runID = Uuid::random();
    const auto first =
        PhotosSafetySummaryMapper::finding(scannedLibrary(), runID, Date(0), english);
    const auto second =
        PhotosSafetySummaryMapper::finding(scannedLibrary(), runID, Date(0), english);
    EXPECT_NE(first.id, second.id);
    EXPECT_NE(first.id, Uuid());
}

// Shows which formatter produced the text, so that a rule using the wrong seam is seen.
class MarkedFormatting final : public Formatting {
public:
    std::string count(std::int64_t value) const override {
        return "<" + std::to_string(value) + ">";
    }
    std::string byteCount(std::int64_t) const override { return "<bytes>"; }
    std::string dateTime(Date) const override { return "<date>"; }
};

TEST(PhotosSafetySummaryMapperTest, AssetCountFollowsTheGivenFormatting) {
    const MarkedFormatting marked;
    const auto f =
        PhotosSafetySummaryMapper::finding(scannedLibrary(), Uuid::random(), Date(0), marked);
    EXPECT_EQ(f.message.rfind("Tallowmere counted <2113> Photos items.", 0), 0u) << f.message;
}

TEST(PhotosDateRangePresentationTest, RangeAndFutureDatedItems) {
    const Date now(1'765'000'000);
    const auto format = [](Date date) {
        return "D" + std::to_string(static_cast<long long>(date.secondsSince1970()));
    };
    const Date oldest(1'500'000'000);
    const std::string futureNoteTail =
        ". This can happen when a camera or imported file has the wrong date.";
    struct Case {
        const char* name;
        std::optional<Date> oldest;
        std::optional<Date> newest;
        PhotosDateRangePresentation expected;
    };
    const std::vector<Case> cases{
        {"both absent", std::nullopt, std::nullopt, {"Unknown", std::nullopt, false}},
        {"newest absent", oldest, std::nullopt, {"Unknown", std::nullopt, false}},
        {"oldest absent", std::nullopt, now, {"Unknown", std::nullopt, false}},
        {"newest in the past",
         oldest,
         Date(1'764'000'000),
         {"D1500000000 to D1764000000", std::nullopt, false}},
        {"newest exactly one day ahead",
         oldest,
         now.addingSeconds(86'400),
         {"D1500000000 to D1765086400", std::nullopt, false}},
        {"newest one second more",
         oldest,
         now.addingSeconds(86'401),
         {"Oldest: D1500000000", "Future-dated item detected: D1765086401" + futureNoteTail, true}},
        {"newest next year",
         oldest,
         now.addingSeconds(366.0 * 86'400),
         {"Oldest: D1500000000", "Future-dated item detected: D1796622400" + futureNoteTail, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto shown = PhotosDateRangePresentation::make(c.oldest, c.newest, now, format);
        EXPECT_EQ(shown.value, c.expected.value);
        EXPECT_EQ(shown.note, c.expected.note);
        EXPECT_EQ(shown.hasFutureDatedItems, c.expected.hasFutureDatedItems);
    }
}

TEST(PhotosDateRangePresentationTest, EnglishDatesOnTheScreen) {
    const EnglishFormatting english;
    const auto shown = PhotosDateRangePresentation::make(
        Date::fromIso8601("2019-03-04T10:15:00Z"), Date::fromIso8601("2026-12-11T09:05:00Z"),
        *Date::fromIso8601("2026-12-11T12:00:00Z"),
        [&](Date date) { return english.dateTime(date); });
    EXPECT_EQ(shown.value, "Mar 4, 2019 at 10:15 AM to Dec 11, 2026 at 9:05 AM");
    EXPECT_FALSE(shown.note);
}

}  // namespace
}  // namespace tallowmere
