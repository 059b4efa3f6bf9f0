#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/photos/PhotoLibrary.h"

namespace tallowmere::testing {

// A photo library for scanner tests: a set access state, the answer a request gets, and
// assets either listed or made one at a time by a function (so that a large library need
// not be held). It records what it was asked.
//
// Thread safety: every operation may be called from any thread; one mutex guards the state.
class FakePhotoLibrary final : public PhotoLibrary {
public:
    explicit FakePhotoLibrary(
        PhotosAuthorizationState status = PhotosAuthorizationState::authorized,
        std::vector<PhotoAssetMetadata> assets = {});

    void setStatus(PhotosAuthorizationState status);
    // What a request answers; the status becomes that answer, as after a real prompt.
    void setRequestAnswer(PhotosAuthorizationState answer);
    void setAssets(std::vector<PhotoAssetMetadata> assets);
    // `count` assets, the one at each index made by `make` when it is enumerated.
    void setGeneratedAssets(std::int64_t count,
                            std::function<PhotoAssetMetadata(std::int64_t index)> make);
    // The count a fetch reports differs from the assets enumerated by this much, as when
    // the library changes between the two.
    void setCountSkew(std::int64_t skew);

    int requestCount() const;
    int fetchCount() const;
    // The library paths every call was given, in order.
    std::vector<std::optional<std::string>> pathsSeen() const;

    PhotosAuthorizationState authorizationStatus(
        const std::optional<std::string>& libraryPath) const override;
    PhotosAuthorizationState requestAuthorization(
        const std::optional<std::string>& libraryPath) override;
    std::unique_ptr<PhotoAssetFetchResult> fetchAssets(
        const std::optional<std::string>& libraryPath) const override;

private:
    mutable std::mutex m_mutex;
    // Guarded by m_mutex.
    PhotosAuthorizationState m_status;
    PhotosAuthorizationState m_requestAnswer = PhotosAuthorizationState::authorized;
    std::int64_t m_count = 0;
    std::function<PhotoAssetMetadata(std::int64_t)> m_make;
    std::int64_t m_countSkew = 0;
    int m_requests = 0;
    mutable int m_fetches = 0;
    mutable std::vector<std::optional<std::string>> m_paths;
};

}  // namespace tallowmere::testing
