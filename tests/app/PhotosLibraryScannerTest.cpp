#include "app/PhotosLibraryScanner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/linux/FolderPhotoLibrary.h"
#include "platform/linux/LinuxFileSystem.h"
#include "tests/support/FakePhotoLibrary.h"
#include "tests/support/FixedClock.h"
#include "tests/support/InMemoryFileSystem.h"
#include "tests/support/JsonPrinting.h"
#include "tests/support/PhotoFixtures.h"
#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {
namespace {

using testing::FakePhotoLibrary;
using testing::FixedClock;
using testing::InMemoryFileSystem;
using Auth = PhotosAuthorizationState;

constexpr const char* kDefaultLibrary = "/home/tester/Pictures/Photos Library.photoslibrary";
constexpr const char* kAccessNeeded =
    "Photos access is needed before Tallowmere can read Photos metadata.";
constexpr const char* kMetadataRead =
    "Tallowmere read Photos metadata only. Some iCloud Photos/local-original details cannot be "
    "fully verified from your Mac yet.";

PhotosScanProgressSnapshot running(std::int64_t scanned, std::int64_t total, const char* stage,
                                   const char* message) {
    return {true, scanned, total, std::string(stage), message};
}
const PhotosScanProgressSnapshot kAuthorizationSnapshot =
    running(0, 0, "Authorization", "Checking Photos access...");
const PhotosScanProgressSnapshot kMetadataSnapshot =
    running(0, 0, "Metadata", "Reading Photos metadata only...");
PhotosScanProgressSnapshot assetsSnapshot(std::int64_t scanned, std::int64_t total) {
    return running(scanned, total, "Assets", "Counting Photos assets...");
}
PhotosScanProgressSnapshot finished(std::int64_t total, const char* message) {
    return {false, 0, total, std::nullopt, message};
}

void addFileTaking(InMemoryFileSystem& fileSystem, const std::string& path,
                   std::optional<std::int64_t> allocated, std::int64_t size = 100) {
    ResourceValues values = InMemoryFileSystem::localFileValues("", size);
    values.isHidden = path.substr(path.find_last_of('/') + 1).front() == '.';
    values.allocatedSize = allocated;
    fileSystem.addItem(path, values);
}

PhotoAssetMetadata photo(std::optional<Date> created = std::nullopt) {
    return {.mediaType = PhotoMediaType::image, .creationDate = created, .resourceCount = 1};
}

// A scanner over an in-memory disk and a fake library, recording every snapshot.
class PhotosLibraryScannerTest : public ::testing::Test {
protected:
    PhotosLibraryScannerTest() {
        m_scanner.setProgressHandler([this](const PhotosScanProgressSnapshot& snapshot) {
            m_snapshots.push_back(snapshot);
        });
    }

    // A library package at the default place taking 4096 + 8192 bytes.
    void addDefaultLibrary() {
        addFileTaking(m_fileSystem, std::string(kDefaultLibrary) + "/database/Photos.sqlite", 4096);
        addFileTaking(m_fileSystem, std::string(kDefaultLibrary) + "/originals/0/IMG_1.heic", 8192);
    }

    std::vector<std::int64_t> assetProgress() const {
        std::vector<std::int64_t> scanned;
        for (const auto& snapshot : m_snapshots) {
            if (snapshot.isRunning && snapshot.currentStage == "Assets")
                scanned.push_back(snapshot.scannedAssetCount);
        }
        return scanned;
    }

    InMemoryFileSystem m_fileSystem;
    FakePhotoLibrary m_library;
    std::shared_ptr<FixedClock> m_clock = std::make_shared<FixedClock>(Date(1'765'000'000));
    PhotosLibraryScanner m_scanner{m_fileSystem, m_library, m_clock};
    std::vector<PhotosScanProgressSnapshot> m_snapshots;
};

// ---------------------------------------------------------------- access

TEST_F(PhotosLibraryScannerTest, DeniedAccessIsNotAskedAgainAndTheLibraryIsStillMeasured) {
    addDefaultLibrary();
    m_library.setStatus(Auth::denied);
    m_library.setAssets({photo(Date(1))});

    const PhotosScanSummary summary = m_scanner.runScan(std::nullopt);

    EXPECT_EQ(m_library.requestCount(), 0);
    EXPECT_EQ(m_library.fetchCount(), 0);
    PhotosScanSummary expected;
    expected.id = summary.id;
    expected.startedAt = Date(1'765'000'000);
    expected.completedAt = Date(1'765'000'000);
    expected.authorizationStatus = Auth::denied;
    expected.scanStatus = ScanRunStatus::completed;
    expected.libraryPath = kDefaultLibrary;
    expected.libraryDisplayName = "Photos Library.photoslibrary";
    expected.libraryExists = true;
    expected.localLibrarySizeBytes = 4096 + 8192;
    expected.canReadMetadata = false;
    expected.localOriginalsUnknown = true;
    expected.iCloudPhotosStatusUnknown = true;
    expected.needsUserReview = true;
    expected.didModifyPhotos = false;
    expected.message = kAccessNeeded;
    EXPECT_EQ(summary, expected);
    EXPECT_THAT(m_snapshots,
                ::testing::ElementsAre(kAuthorizationSnapshot, finished(0, kAccessNeeded)));
    EXPECT_TRUE(m_fileSystem.changes().empty());
}

TEST_F(PhotosLibraryScannerTest, AsksOnlyWhenUndecidedAndReadsOnlyWithAccess) {
    struct Case {
        Auth status;
        std::optional<Auth> answer;  // none: never asked
        Auth state;
        bool reads;
    };
    const std::vector<Case> cases = {
        {Auth::notDetermined, Auth::limited, Auth::limited, true},
        {Auth::notDetermined, Auth::authorized, Auth::authorized, true},
        {Auth::notDetermined, Auth::denied, Auth::denied, false},
        {Auth::notDetermined, Auth::restricted, Auth::restricted, false},
        // No answer: still undecided, which does not allow reading.
        {Auth::notDetermined, Auth::notDetermined, Auth::notDetermined, false},
        {Auth::denied, std::nullopt, Auth::denied, false},
        {Auth::restricted, std::nullopt, Auth::restricted, false},
        {Auth::unknown, std::nullopt, Auth::unknown, false},
        {Auth::limited, std::nullopt, Auth::limited, true},
        {Auth::authorized, std::nullopt, Auth::authorized, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(rawValue(c.status)) + " -> " + std::string(rawValue(c.state)));
        FakePhotoLibrary library(c.status, {photo(Date(5)), photo(Date(6))});
        library.setRequestAnswer(c.answer.value_or(Auth::authorized));
        PhotosLibraryScanner scanner(m_fileSystem, library, m_clock);

        const PhotosScanSummary summary = scanner.runScan(std::nullopt);
        EXPECT_EQ(library.requestCount(), c.answer ? 1 : 0);
        EXPECT_EQ(library.fetchCount(), c.reads ? 1 : 0);
        EXPECT_EQ(summary.authorizationStatus, c.state);
        EXPECT_EQ(summary.canReadMetadata, c.reads);
        EXPECT_EQ(summary.totalAssetCount, c.reads ? 2 : 0);
        EXPECT_EQ(summary.photoCount, c.reads ? 2 : 0);
        EXPECT_EQ(summary.oldestCreationDate, c.reads ? std::optional(Date(5)) : std::nullopt);
        EXPECT_EQ(summary.message, c.reads ? kMetadataRead : kAccessNeeded);
        EXPECT_TRUE(summary.localOriginalsUnknown && summary.iCloudPhotosStatusUnknown &&
                    summary.needsUserReview);
        EXPECT_FALSE(summary.didModifyPhotos);
    }
}

TEST_F(PhotosLibraryScannerTest, UndecidedThenLimitedCountsWhatTheLibraryOffers) {
    addDefaultLibrary();
    m_library.setStatus(Auth::notDetermined);
    m_library.setAssets({photo(Date(20)), photo(Date(10))});
    m_library.setRequestAnswer(Auth::limited);

    const PhotosScanSummary summary = m_scanner.runScan(std::nullopt);

    EXPECT_EQ(m_library.requestCount(), 1);
    EXPECT_EQ(summary.authorizationStatus, Auth::limited);
    EXPECT_TRUE(summary.canReadMetadata);
    EXPECT_EQ(summary.totalAssetCount, 2);
    EXPECT_EQ(summary.oldestCreationDate, Date(10));
    EXPECT_EQ(summary.newestCreationDate, Date(20));
    EXPECT_EQ(summary.libraryExists, true);
    EXPECT_EQ(summary.localLibrarySizeBytes, 4096 + 8192);
    EXPECT_EQ(summary.message, kMetadataRead);
    EXPECT_THAT(m_snapshots,
                ::testing::ElementsAre(kAuthorizationSnapshot, kMetadataSnapshot,
                                       assetsSnapshot(0, 2), assetsSnapshot(1, 2),
                                       assetsSnapshot(2, 2), finished(2, kMetadataRead)));
}

// ---------------------------------------------------------------- counting

TEST_F(PhotosLibraryScannerTest, ProgressForTheFirstAssetEvery500thAndTheLast) {
    struct Case {
        std::int64_t assets;
        std::vector<std::int64_t> scanned;  // after the stage's own announcement at 0
    };
    const std::vector<Case> cases = {
        {0, {}},
        {1, {1}},
        {2, {1, 2}},
        {500, {1, 500}},
        {501, {1, 501}},
        {1000, {1, 501, 1000}},
        {1001, {1, 501, 1001}},
        {1002, {1, 501, 1001, 1002}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.assets);
        m_snapshots.clear();
        m_library.setGeneratedAssets(c.assets, [](std::int64_t) { return photo(); });
        const PhotosScanSummary summary = m_scanner.runScan(std::nullopt);

        std::vector<std::int64_t> expected{0};
        expected.insert(expected.end(), c.scanned.begin(), c.scanned.end());
        EXPECT_EQ(assetProgress(), expected);
        for (const auto& snapshot : m_snapshots) {
            if (snapshot.currentStage == "Assets") {
                EXPECT_EQ(snapshot.totalAssetCount, c.assets);
            }
        }
        EXPECT_EQ(m_snapshots.back(), finished(c.assets, kMetadataRead));
        EXPECT_EQ(summary.totalAssetCount, c.assets);
        EXPECT_EQ(summary.photoCount, c.assets);
    }
}

TEST_F(PhotosLibraryScannerTest, TalliesEachKindOnceAndTheDateRange) {
    const std::vector<PhotoAssetMetadata> assets = {
        // A live photo that is also a screenshot: one photo, one live photo, one screenshot.
        {.mediaType = PhotoMediaType::image,
         .isLivePhoto = true,
         .isScreenshot = true,
         .creationDate = Date(1'600'000'000),
         .resourceCount = 2},
        {.mediaType = PhotoMediaType::video,
         .isFavorite = true,
         .duration = 12.5,
         .creationDate = Date(1'500'000'000),
         .resourceCount = 1},
        {.mediaType = PhotoMediaType::video,
         .isHidden = true,
         .duration = 3.25,
         .resourceCount = 1},
        // Neither photos nor videos, but assets all the same.
        {.mediaType = PhotoMediaType::audio,
         .creationDate = Date(1'700'000'000),
         .resourceCount = 1},
        {.mediaType = PhotoMediaType::unknown, .isFavorite = true, .resourceCount = 0},
        // A live flag on a video still counts as a live photo; the flags do not depend on
        // the kind.
        {.mediaType = PhotoMediaType::video, .isLivePhoto = true, .resourceCount = 3},
        {.mediaType = PhotoMediaType::image,
         .isHidden = true,
         .duration = 99,  // a still's duration is not video time
         .creationDate = Date(1'550'000'000),
         .resourceCount = 1},
    };
    m_library.setAssets(assets);

    const PhotosScanSummary summary = m_scanner.runScan(std::nullopt);

    EXPECT_EQ(summary.totalAssetCount, 7);
    EXPECT_EQ(summary.photoCount, 2);
    EXPECT_EQ(summary.videoCount, 3);
    EXPECT_EQ(summary.livePhotoCount, 2);
    EXPECT_EQ(summary.screenshotCount, 1);
    EXPECT_EQ(summary.favoriteCount, 2);
    EXPECT_EQ(summary.hiddenCount, 2);
    EXPECT_EQ(summary.approximateResourceCount, 9);
    EXPECT_DOUBLE_EQ(summary.videoDurationSeconds, 15.75);
    EXPECT_EQ(summary.oldestCreationDate, Date(1'500'000'000));
    EXPECT_EQ(summary.newestCreationDate, Date(1'700'000'000));
}

TEST_F(PhotosLibraryScannerTest, AssetsWithoutDatesLeaveTheRangeOpen) {
    m_library.setAssets({photo(), photo(), {.mediaType = PhotoMediaType::video, .duration = 2}});
    const PhotosScanSummary none = m_scanner.runScan(std::nullopt);
    EXPECT_EQ(none.totalAssetCount, 3);
    EXPECT_EQ(none.oldestCreationDate, std::nullopt);
    EXPECT_EQ(none.newestCreationDate, std::nullopt);

    // One dated asset among undated ones is both ends of the range.
    m_library.setAssets({photo(), photo(Date(1234)), photo()});
    const PhotosScanSummary one = m_scanner.runScan(std::nullopt);
    EXPECT_EQ(one.oldestCreationDate, Date(1234));
    EXPECT_EQ(one.newestCreationDate, Date(1234));
}

TEST_F(PhotosLibraryScannerTest, ALibraryThatChangesUnderTheScanKeepsItsCountsConsistent) {
    for (const std::int64_t skew : {-1, 1}) {
        SCOPED_TRACE(skew);
        m_snapshots.clear();
        m_library.setAssets({photo(), photo()});
        m_library.setCountSkew(skew);
        const PhotosScanSummary summary = m_scanner.runScan(std::nullopt);
        // The assets actually read, not the count that went before them.
        EXPECT_EQ(summary.totalAssetCount, 2);
        EXPECT_EQ(summary.photoCount, 2);
        EXPECT_EQ(m_snapshots.back(), finished(2, kMetadataRead));
    }
}

TEST_F(PhotosLibraryScannerTest, EachScanIsANewSummaryTimedByTheClock) {
    m_library.setGeneratedAssets(3, [this](std::int64_t) {
        m_clock->advance(10);
        return photo();
    });
    const PhotosScanSummary first = m_scanner.runScan(std::nullopt);
    EXPECT_EQ(first.startedAt, Date(1'765'000'000));
    EXPECT_EQ(first.completedAt, Date(1'765'000'030));
    const PhotosScanSummary second = m_scanner.runScan(std::nullopt);
    EXPECT_NE(first.id, second.id);
    EXPECT_EQ(second.startedAt, Date(1'765'000'030));
}

// ---------------------------------------------------------------- the library on disk

TEST_F(PhotosLibraryScannerTest, FindsTheLibraryWhereverTheUserPointsAndStandardizesThePath) {
    addDefaultLibrary();
    m_fileSystem.addFolder("/Volumes/Photos/Family.photoslibrary");
    addFileTaking(m_fileSystem, "/Volumes/Photos/Family.photoslibrary/originals/a.jpg", 512);
    m_fileSystem.addFile("/home/tester/Desktop/photos.zip", "zip");
    m_fileSystem.addLink("/home/tester/Linked.photoslibrary",
                         "/Volumes/Photos/Family.photoslibrary");

    struct Case {
        const char* label;
        std::optional<std::string> selected;
        std::string path;
        std::string displayName;
        bool exists;
        std::optional<std::int64_t> size;
    };
    const std::vector<Case> cases = {
        {"no choice: the default place", std::nullopt, kDefaultLibrary,
         "Photos Library.photoslibrary", true, 4096 + 8192},
        {"an empty choice is no choice", "", kDefaultLibrary, "Photos Library.photoslibrary", true,
         4096 + 8192},
        {"a chosen package", "/Volumes/Photos/Family.photoslibrary",
         "/Volumes/Photos/Family.photoslibrary", "Family.photoslibrary", true, 512},
        {"a chosen path in another form", "/Volumes//Photos/./Other/../Family.photoslibrary/",
         "/Volumes/Photos/Family.photoslibrary", "Family.photoslibrary", true, 512},
        {"a link to a package", "/home/tester/Linked.photoslibrary",
         "/home/tester/Linked.photoslibrary", "Linked.photoslibrary", true, 512},
        {"a regular file is no library", "/home/tester/Desktop/photos.zip",
         "/home/tester/Desktop/photos.zip", "photos.zip", false, std::nullopt},
        {"nothing there", "/Volumes/Gone/Old.photoslibrary", "/Volumes/Gone/Old.photoslibrary",
         "Old.photoslibrary", false, std::nullopt},
        {"the root has no last component", "/", "/", "Photos Library", true, 4096 + 8192 + 512},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        m_clock->advance(1);
        const PhotosLibraryCandidate candidate = m_scanner.detectLibraryCandidate(c.selected);
        EXPECT_EQ(candidate.path, c.path);
        EXPECT_EQ(candidate.displayName, c.displayName);
        EXPECT_EQ(candidate.exists, c.exists);
        EXPECT_EQ(candidate.estimatedSizeBytes, c.size);
        EXPECT_EQ(candidate.detectedAt, m_clock->now());

        const PhotosScanSummary summary = m_scanner.runScan(c.selected);
        EXPECT_EQ(summary.libraryPath, c.path);
        EXPECT_EQ(summary.libraryDisplayName, c.displayName);
        EXPECT_EQ(summary.libraryExists, c.exists);
        EXPECT_EQ(summary.localLibrarySizeBytes, c.size);
    }
    // The library is asked about the chosen path in its standardized form.
    EXPECT_EQ(m_library.pathsSeen().back(), "/");
}

TEST_F(PhotosLibraryScannerTest, NoDefaultLibraryMeansNotFoundAndNoSize) {
    const PhotosScanSummary summary = m_scanner.runScan(std::nullopt);
    EXPECT_EQ(summary.libraryPath, kDefaultLibrary);
    EXPECT_EQ(summary.libraryDisplayName, "Photos Library.photoslibrary");
    EXPECT_FALSE(summary.libraryExists);
    EXPECT_EQ(summary.localLibrarySizeBytes, std::nullopt);

    // Without a home folder the pictures folder is looked for at the top.
    m_fileSystem.setHomeDirectory(std::nullopt);
    EXPECT_EQ(m_scanner.detectLibraryCandidate(std::nullopt).path,
              "/Pictures/Photos Library.photoslibrary");
}

TEST_F(PhotosLibraryScannerTest, PackageSizeCountsTheSpaceOfVisibleRegularFiles) {
    const std::string root = "/lib.photoslibrary";
    addFileTaking(m_fileSystem, root + "/database/Photos.sqlite", 4096);
    // Nested packages and folders are walked.
    addFileTaking(m_fileSystem, root + "/resources/renders/inner.bundle/a.jpg", 1024);
    // Space on disk, not length: a sparse file counts what it takes.
    addFileTaking(m_fileSystem, root + "/originals/sparse.mov", 0, 1 << 30);
    // No allocated size reported: nothing added.
    addFileTaking(m_fileSystem, root + "/originals/unknown.jpg", std::nullopt);
    // Hidden files and everything in hidden folders are left out.
    addFileTaking(m_fileSystem, root + "/.DS_Store", 4096);
    addFileTaking(m_fileSystem, root + "/.cache/big.bin", 1 << 20);
    // Folders and links take no part.
    ResourceValues folder = InMemoryFileSystem::localFolderValues("");
    folder.allocatedSize = 4096;
    m_fileSystem.addItem(root + "/private", folder);
    m_fileSystem.addLink(root + "/shortcut.jpg", "/elsewhere/huge.jpg");
    addFileTaking(m_fileSystem, "/elsewhere/huge.jpg", 1 << 30);
    // An item whose values cannot be read, and a folder that cannot be listed.
    addFileTaking(m_fileSystem, root + "/broken.jpg", 2048);
    m_fileSystem.failOperation(InMemoryFileSystem::Operation::resourceValues, root + "/broken.jpg",
                               std::make_error_code(std::errc::io_error));
    addFileTaking(m_fileSystem, root + "/locked/secret.jpg", 2048);
    m_fileSystem.failOperation(InMemoryFileSystem::Operation::enumerate, root + "/locked",
                               std::make_error_code(std::errc::permission_denied));
    EXPECT_EQ(m_scanner.packageSize(root), 4096 + 1024);

    // An empty package takes 0 bytes; one that cannot be listed has no size.
    m_fileSystem.addFolder("/empty.photoslibrary");
    EXPECT_EQ(m_scanner.packageSize("/empty.photoslibrary"), 0);
    m_fileSystem.failOperation(InMemoryFileSystem::Operation::enumerate, root,
                               std::make_error_code(std::errc::permission_denied));
    EXPECT_EQ(m_scanner.packageSize(root), std::nullopt);
    const PhotosScanSummary summary = m_scanner.runScan(root);
    EXPECT_TRUE(summary.libraryExists);
    EXPECT_EQ(summary.localLibrarySizeBytes, std::nullopt);
}

// ---------------------------------------------------------------- progress handler

TEST_F(PhotosLibraryScannerTest, TheHandlerIsCalledOutsideTheLockAndMayBeReplacedFromInside) {
    m_library.setAssets({photo(), photo()});
    std::vector<PhotosScanProgressSnapshot> first, second;
    // Replacing the handler from inside would deadlock if it were called under the lock.
    m_scanner.setProgressHandler([&](const PhotosScanProgressSnapshot& snapshot) {
        first.push_back(snapshot);
        m_scanner.setProgressHandler(
            [&](const PhotosScanProgressSnapshot& later) { second.push_back(later); });
    });
    m_scanner.runScan(std::nullopt);
    EXPECT_THAT(first, ::testing::ElementsAre(kAuthorizationSnapshot));
    ASSERT_EQ(second.size(), 5u);
    EXPECT_EQ(second.back(), finished(2, kMetadataRead));

    // Without a handler the scan runs all the same.
    m_scanner.setProgressHandler({});
    EXPECT_EQ(m_scanner.runScan(std::nullopt).totalAssetCount, 2);
}

// ---------------------------------------------------------------- on this machine's disk

TEST(PhotosLibraryScannerLinuxTest, ScansAPictureFolderWithoutChangingIt) {
    testing::TemporaryDirectory temp;
    const testing::PhotoFolderFixture fixture =
        testing::writePhotoFolderFixture(temp / "Chosen Library");
    const auto before = testing::snapshotFiles(fixture.root);

    const LinuxFileSystem fileSystem;
    FolderPhotoLibrary library(fileSystem);
    PhotosLibraryScanner scanner(fileSystem, library);
    const PhotosScanSummary summary = scanner.runScan(fixture.root.string());

    EXPECT_EQ(summary.authorizationStatus, Auth::authorized);
    EXPECT_TRUE(summary.canReadMetadata);
    EXPECT_EQ(summary.totalAssetCount, 10);
    EXPECT_EQ(summary.photoCount, 7);
    EXPECT_EQ(summary.videoCount, 2);
    EXPECT_EQ(summary.livePhotoCount, 1);
    EXPECT_EQ(summary.screenshotCount, 2);
    EXPECT_EQ(summary.favoriteCount, 1);
    EXPECT_EQ(summary.hiddenCount, 1);
    EXPECT_EQ(summary.approximateResourceCount, 11);
    EXPECT_DOUBLE_EQ(summary.videoDurationSeconds, 4.25 + 3.0);
    std::vector<Date> dates;
    for (const auto& asset : fixture.assets) dates.push_back(*asset.creationDate);
    EXPECT_EQ(summary.oldestCreationDate, *std::min_element(dates.begin(), dates.end()));
    EXPECT_EQ(summary.newestCreationDate, *std::max_element(dates.begin(), dates.end()));
    EXPECT_EQ(summary.libraryPath, fixture.root.string());
    EXPECT_EQ(summary.libraryDisplayName, "Chosen Library");
    EXPECT_TRUE(summary.libraryExists);
    // Allocated blocks of every visible file, whatever the files' lengths.
    EXPECT_EQ(summary.localLibrarySizeBytes, testing::allocatedBytesOfVisibleFiles(fixture.root));
    EXPECT_GT(*summary.localLibrarySizeBytes, 0);
    EXPECT_FALSE(summary.didModifyPhotos);

    EXPECT_TRUE(testing::snapshotFiles(fixture.root) == before);
}

}  // namespace
}  // namespace tallowmere
