#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/photos/PhotosVocabulary.h"
#include "core/platform/Date.h"
#include "core/platform/EnumText.h"

namespace tallowmere {

// The kind of one asset of the photo library.
enum class PhotoMediaType { unknown, image, video, audio };

template <>
struct EnumTable<PhotoMediaType> {
    static constexpr std::array<EnumCase<PhotoMediaType>, 4> kCases{{
        {PhotoMediaType::unknown, "unknown", "Unknown"},
        {PhotoMediaType::image, "image", "Image"},
        {PhotoMediaType::video, "video", "Video"},
        {PhotoMediaType::audio, "audio", "Audio"},
    }};
};

// What the library says about one asset: its metadata only, never its pixels or samples,
// and nothing that names the asset.
struct PhotoAssetMetadata {
    PhotoMediaType mediaType = PhotoMediaType::unknown;
    // A still image with a short movie taken with it.
    bool isLivePhoto = false;
    bool isScreenshot = false;
    bool isFavorite = false;
    bool isHidden = false;
    // Seconds; 0 for stills and whenever the length is not known.
    double duration = 0;
    std::optional<Date> creationDate = std::nullopt;
    // Files stored for the asset (a live photo's still and movie are two).
    std::int64_t resourceCount = 0;

    bool operator==(const PhotoAssetMetadata&) const = default;
};

using PhotoAssetVisitor = std::function<void(const PhotoAssetMetadata&)>;

// The assets of the library as one fetch found them: how many there are, then each one's
// metadata in turn, so that a caller can show progress against the total while never
// holding more than one asset.
class PhotoAssetFetchResult {
public:
    virtual ~PhotoAssetFetchResult() = default;

    // The number of assets the fetch found.
    virtual std::int64_t count() const = 0;
    // Calls `visitor` once for each asset, in the library's order, on the calling thread. A
    // library that changes between the fetch and this call may yield a different number of
    // assets than count() said.
    virtual void enumerate(const PhotoAssetVisitor& visitor) const = 0;
};

// The user's photo library as the system offers it: access to it and its assets' metadata.
// Reading never changes the library.
//
// Every operation takes the path of the library the user chose, when they chose one; a
// platform with one library for the whole system ignores it.
//
// Thread safety: implementations may be called from any thread, one call at a time or
// concurrently.
class PhotoLibrary {
public:
    virtual ~PhotoLibrary() = default;

    // The access this program has now, without asking.
    virtual PhotosAuthorizationState authorizationStatus(
        const std::optional<std::string>& libraryPath) const = 0;
    // Asks the user for access and returns their answer; blocks the calling thread until
    // they have answered. Still notDetermined when they answered nothing.
    virtual PhotosAuthorizationState requestAuthorization(
        const std::optional<std::string>& libraryPath) = 0;
    // All assets the current access lets this program see. Never null; an empty result when
    // there are none or they cannot be read.
    virtual std::unique_ptr<PhotoAssetFetchResult> fetchAssets(
        const std::optional<std::string>& libraryPath) const = 0;
};

}  // namespace tallowmere
