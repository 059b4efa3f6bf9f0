#include "app/PhotosLibraryScanner.h"

#include "core/platform/PathStandardizing.h"

#include <utility>
#include <vector>

namespace tallowmere {
namespace {

constexpr const char* kAuthorizationStage = "Authorization";
constexpr const char* kMetadataStage = "Metadata";
constexpr const char* kAssetsStage = "Assets";
constexpr const char* kCheckingAccessMessage = "Checking Photos access...";
constexpr const char* kReadingMetadataMessage = "Reading Photos metadata only...";
constexpr const char* kCountingAssetsMessage = "Counting Photos assets...";
constexpr const char* kMetadataReadMessage =
    "Tallowmere read Photos metadata only. Some iCloud Photos/local-original details cannot be "
    "fully verified from your Mac yet.";
constexpr const char* kAccessNeededMessage =
    "Photos access is needed before Tallowmere can read Photos metadata.";
constexpr const char* kDefaultDisplayName = "Photos Library";
// Progress is published for the first asset and then for every this many.
constexpr std::int64_t kProgressInterval = 500;

// Counts one asset into the summary's tallies.
void tally(PhotosScanSummary& summary, const PhotoAssetMetadata& asset) {
    if (asset.mediaType == PhotoMediaType::video) {
        ++summary.videoCount;
        summary.videoDurationSeconds += asset.duration;
    } else if (asset.mediaType == PhotoMediaType::image) {
        ++summary.photoCount;
    }
    if (asset.isLivePhoto)
        ++summary.livePhotoCount;
    if (asset.isScreenshot)
        ++summary.screenshotCount;
    if (asset.isFavorite)
        ++summary.favoriteCount;
    if (asset.isHidden)
        ++summary.hiddenCount;
    if (const auto& date = asset.creationDate) {
        if (!summary.oldestCreationDate || *date < *summary.oldestCreationDate)
            summary.oldestCreationDate = date;
        if (!summary.newestCreationDate || *summary.newestCreationDate < *date)
            summary.newestCreationDate = date;
    }
    summary.approximateResourceCount += asset.resourceCount;
}

PhotosScanProgressSnapshot running(std::int64_t scanned, std::int64_t total, const char* stage,
                                   const char* message) {
    return {true, scanned, total, std::string(stage), message};
}

std::string lastComponent(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

PhotosLibraryScanner::PhotosLibraryScanner(const FileSystem& fileSystem, PhotoLibrary& photoLibrary,
                                           std::shared_ptr<const Clock> clock)
    : m_fileSystem(fileSystem),
      m_photoLibrary(photoLibrary),
      m_clock(clock ? std::move(clock) : std::make_shared<SystemClock>()) {}

void PhotosLibraryScanner::setProgressHandler(ProgressHandler handler) {
    std::lock_guard lock(m_mutex);
    m_progressHandler = std::move(handler);
}

void PhotosLibraryScanner::publish(const PhotosScanProgressSnapshot& snapshot) const {
    ProgressHandler handler;
    {
        std::lock_guard lock(m_mutex);
        handler = m_progressHandler;
    }
    if (handler)
        handler(snapshot);
}

PhotosAuthorizationState PhotosLibraryScanner::authorizationState(
    const std::optional<std::string>& libraryPath) {
    const PhotosAuthorizationState status = m_photoLibrary.authorizationStatus(libraryPath);
    // Asked once, and only when never decided: a user who refused is not asked again.
    if (status == PhotosAuthorizationState::notDetermined)
        return m_photoLibrary.requestAuthorization(libraryPath);
    return status;
}

PhotosScanSummary PhotosLibraryScanner::runScan(
    const std::optional<std::string>& userSelectedLibraryPath) {
    const Date startedAt = m_clock->now();
    publish(running(0, 0, kAuthorizationStage, kCheckingAccessMessage));

    std::optional<std::string> selected;
    if (userSelectedLibraryPath && !userSelectedLibraryPath->empty())
        selected = PathStandardizing::standardizedPath(*userSelectedLibraryPath);
    const PhotosAuthorizationState authorization = authorizationState(selected);
    const PhotosLibraryCandidate candidate = detectLibraryCandidate(selected);

    PhotosScanSummary summary;
    summary.id = Uuid::random();
    summary.startedAt = startedAt;
    summary.authorizationStatus = authorization;
    summary.scanStatus = ScanRunStatus::completed;
    summary.libraryPath = candidate.path;
    summary.libraryDisplayName = candidate.displayName;
    summary.libraryExists = candidate.exists;
    summary.localLibrarySizeBytes = candidate.estimatedSizeBytes;
    // What cannot be known on this machine, with or without access.
    summary.localOriginalsUnknown = true;
    summary.iCloudPhotosStatusUnknown = true;
    summary.needsUserReview = true;
    summary.didModifyPhotos = false;

    if (!canReadMetadata(authorization)) {
        summary.completedAt = m_clock->now();
        summary.canReadMetadata = false;
        summary.message = kAccessNeededMessage;
        publish({false, 0, 0, std::nullopt, summary.message});
        return summary;
    }

    publish(running(0, 0, kMetadataStage, kReadingMetadataMessage));
    const auto fetch = m_photoLibrary.fetchAssets(selected);
    const std::int64_t total = fetch->count();
    summary.totalAssetCount = total;
    publish(running(0, total, kAssetsStage, kCountingAssetsMessage));
    std::int64_t index = 0;
    fetch->enumerate([&](const PhotoAssetMetadata& asset) {
        tally(summary, asset);
        if (index % kProgressInterval == 0 || index + 1 == total)
            publish(running(index + 1, total, kAssetsStage, kCountingAssetsMessage));
        ++index;
    });
    // A library that changed between counting and reading: the kinds were tallied over the
    // assets actually read, so the total must be theirs too.
    if (index != total)
        summary.totalAssetCount = index;

    summary.completedAt = m_clock->now();
    summary.canReadMetadata = true;
    summary.message = kMetadataReadMessage;
    publish({false, 0, summary.totalAssetCount, std::nullopt, summary.message});
    return summary;
}

PhotosLibraryCandidate PhotosLibraryScanner::detectLibraryCandidate(
    const std::optional<std::string>& userSelectedLibraryPath) const {
    std::string path;
    if (userSelectedLibraryPath && !userSelectedLibraryPath->empty()) {
        path = PathStandardizing::standardizedPath(*userSelectedLibraryPath);
    } else {
        std::string pictures;
        if (auto folder = m_fileSystem.picturesDirectory()) {
            pictures = std::move(*folder);
        } else if (auto home = m_fileSystem.homeDirectory()) {
            pictures = *home + "/Pictures";
        } else {
            pictures = "/Pictures";
        }
        path = PathStandardizing::standardizedPath(pictures + "/" + kDefaultLibraryName);
    }

    PhotosLibraryCandidate candidate;
    candidate.id = Uuid::random();
    candidate.path = path;
    candidate.displayName = lastComponent(path);
    if (candidate.displayName.empty())
        candidate.displayName = kDefaultDisplayName;
    candidate.exists = m_fileSystem.isDirectory(path);
    if (candidate.exists)
        candidate.estimatedSizeBytes = packageSize(path);
    candidate.detectedAt = m_clock->now();
    return candidate;
}

std::optional<std::int64_t> PhotosLibraryScanner::packageSize(const std::string& path) const {
    std::int64_t total = 0;
    const std::error_code error = m_fileSystem.enumerate(
        path,
        [&](const DirectoryEntry& entry) {
            if (!entry.values.ok() || entry.values->isHidden)
                return WalkAction::skipDescendants;
            if (entry.values->isRegularFile)
                total += entry.values->allocatedSize.value_or(0);
            return WalkAction::descend;
        },
        // Folders that cannot be listed add nothing; the walk goes on.
        [](const std::string&, std::error_code) {});
    if (error)
        return std::nullopt;
    return total;
}

}  // namespace tallowmere
