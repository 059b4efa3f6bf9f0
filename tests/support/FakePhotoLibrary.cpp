#include "tests/support/FakePhotoLibrary.h"

#include <memory>

namespace tallowmere::testing {
namespace {

class FakeFetchResult final : public PhotoAssetFetchResult {
public:
    FakeFetchResult(std::int64_t count, std::int64_t reported,
                    std::function<PhotoAssetMetadata(std::int64_t)> make)
        : m_count(count), m_reported(reported), m_make(std::move(make)) {}

    std::int64_t count() const override { return m_reported; }
    void enumerate(const PhotoAssetVisitor& visitor) const override {
        for (std::int64_t i = 0; i < m_count; ++i) visitor(m_make(i));
    }

private:
    const std::int64_t m_count;
    const std::int64_t m_reported;
    const std::function<PhotoAssetMetadata(std::int64_t)> m_make;
};

}  // namespace

FakePhotoLibrary::FakePhotoLibrary(PhotosAuthorizationState status,
                                   std::vector<PhotoAssetMetadata> assets)
    : m_status(status) {
    setAssets(std::move(assets));
}

void FakePhotoLibrary::setStatus(PhotosAuthorizationState status) {
    std::lock_guard lock(m_mutex);
    m_status = status;
}

void FakePhotoLibrary::setRequestAnswer(PhotosAuthorizationState answer) {
    std::lock_guard lock(m_mutex);
    m_requestAnswer = answer;
}

void FakePhotoLibrary::setAssets(std::vector<PhotoAssetMetadata> assets) {
    const auto shared = std::make_shared<const std::vector<PhotoAssetMetadata>>(std::move(assets));
    setGeneratedAssets(static_cast<std::int64_t>(shared->size()),
                       [shared](std::int64_t index) { return (*shared)[index]; });
}

void FakePhotoLibrary::setGeneratedAssets(
    std::int64_t count, std::function<PhotoAssetMetadata(std::int64_t index)> make) {
    std::lock_guard lock(m_mutex);
    m_count = count;
    m_make = std::move(make);
}

void FakePhotoLibrary::setCountSkew(std::int64_t skew) {
    std::lock_guard lock(m_mutex);
    m_countSkew = skew;
}

int FakePhotoLibrary::requestCount() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

int FakePhotoLibrary::fetchCount() const {
    std::lock_guard lock(m_mutex);
    return m_fetches;
}

std::vector<std::optional<std::string>> FakePhotoLibrary::pathsSeen() const {
    std::lock_guard lock(m_mutex);
    return m_paths;
}

PhotosAuthorizationState FakePhotoLibrary::authorizationStatus(
    const std::optional<std::string>& libraryPath) const {
    std::lock_guard lock(m_mutex);
    m_paths.push_back(libraryPath);
    return m_status;
}

PhotosAuthorizationState FakePhotoLibrary::requestAuthorization(
    const std::optional<std::string>& libraryPath) {
    std::lock_guard lock(m_mutex);
    m_paths.push_back(libraryPath);
    ++m_requests;
    m_status = m_requestAnswer;
    return m_status;
}

std::unique_ptr<PhotoAssetFetchResult> FakePhotoLibrary::fetchAssets(
    const std::optional<std::string>& libraryPath) const {
    std::lock_guard lock(m_mutex);
    m_paths.push_back(libraryPath);
    ++m_fetches;
    return std::make_unique<FakeFetchResult>(m_count, m_count + m_countSkew, m_make);
}

}  // namespace tallowmere::testing
