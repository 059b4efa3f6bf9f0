#include "platform/linux/FolderPhotoLibrary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <vector>

#include "platform/linux/ImageMetadataReader.h"
#include "platform/linux/MovieHeader.h"
#include "platform/linux/UniqueFd.h"

namespace tallowmere {

using linux_fs::AssetFiles;
using linux_fs::MediaFile;

namespace linux_fs {
namespace {

struct Extension {
    std::string_view text;
    PhotoMediaType mediaType;
};

constexpr std::array<Extension, 56> kMediaExtensions{{
    // Still images, raw camera files included.
    {"jpg", PhotoMediaType::image},
    {"jpeg", PhotoMediaType::image},
    {"jpe", PhotoMediaType::image},
    {"heic", PhotoMediaType::image},
    {"heif", PhotoMediaType::image},
    {"hif", PhotoMediaType::image},
    {"avif", PhotoMediaType::image},
    {"png", PhotoMediaType::image},
    {"gif", PhotoMediaType::image},
    {"tif", PhotoMediaType::image},
    {"tiff", PhotoMediaType::image},
    {"webp", PhotoMediaType::image},
    {"bmp", PhotoMediaType::image},
    {"jxl", PhotoMediaType::image},
    {"dng", PhotoMediaType::image},
    {"cr2", PhotoMediaType::image},
    {"cr3", PhotoMediaType::image},
    {"crw", PhotoMediaType::image},
    {"nef", PhotoMediaType::image},
    {"nrw", PhotoMediaType::image},
    {"arw", PhotoMediaType::image},
    {"srf", PhotoMediaType::image},
    {"sr2", PhotoMediaType::image},
    {"orf", PhotoMediaType::image},
    {"rw2", PhotoMediaType::image},
    {"raf", PhotoMediaType::image},
    {"pef", PhotoMediaType::image},
    {"srw", PhotoMediaType::image},
    {"x3f", PhotoMediaType::image},
    {"3fr", PhotoMediaType::image},
    {"erf", PhotoMediaType::image},
    {"kdc", PhotoMediaType::image},
    {"mrw", PhotoMediaType::image},
    {"rwl", PhotoMediaType::image},
    // Movies.
    {"mov", PhotoMediaType::video},
    {"mp4", PhotoMediaType::video},
    {"m4v", PhotoMediaType::video},
    {"3gp", PhotoMediaType::video},
    {"3g2", PhotoMediaType::video},
    {"avi", PhotoMediaType::video},
    {"mkv", PhotoMediaType::video},
    {"webm", PhotoMediaType::video},
    {"mts", PhotoMediaType::video},
    {"m2ts", PhotoMediaType::video},
    {"mpg", PhotoMediaType::video},
    {"mpeg", PhotoMediaType::video},
    {"wmv", PhotoMediaType::video},
    // Sound.
    {"m4a", PhotoMediaType::audio},
    {"mp3", PhotoMediaType::audio},
    {"wav", PhotoMediaType::audio},
    {"aac", PhotoMediaType::audio},
    {"aif", PhotoMediaType::audio},
    {"aiff", PhotoMediaType::audio},
    {"caf", PhotoMediaType::audio},
    {"flac", PhotoMediaType::audio},
    {"ogg", PhotoMediaType::audio},
}};

// Longer than any extension above.
constexpr std::size_t kMaxExtensionLength = 8;

std::string_view stemOf(std::string_view name) {
    return name.substr(0, name.find_last_of('.'));
}

bool isMovieCompanionName(std::string_view name) {
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || name.size() - dot != 4)
        return false;
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    };
    return lower(name[dot + 1]) == 'm' && lower(name[dot + 2]) == 'o' &&
           lower(name[dot + 3]) == 'v';
}

// The media files of one stem in one folder, waiting for the walk to pass the last name that
// could share the stem.
struct StemGroup {
    std::string stem;
    int depth = 0;
    bool hidden = false;
    std::vector<MediaFile> files;
};

// Turns the files of one stem into assets: the first image takes the first ".mov" as its
// movie; every other file is an asset of its own.
void emitGroup(StemGroup& group, const std::function<void(const AssetFiles&)>& onAsset) {
    std::optional<std::size_t> image;
    std::optional<std::size_t> movie;
    for (std::size_t i = 0; i < group.files.size(); ++i) {
        const MediaFile& file = group.files[i];
        if (!image && file.mediaType == PhotoMediaType::image)
            image = i;
        if (!movie && isMovieCompanionName(file.name))
            movie = i;
    }
    const bool live = image && movie;
    for (std::size_t i = 0; i < group.files.size(); ++i) {
        if (live && i == *movie)
            continue;
        AssetFiles asset{std::move(group.files[i]), std::nullopt, group.hidden};
        if (live && i == *image)
            asset.movie = std::move(group.files[*movie]);
        onAsset(asset);
    }
}

std::optional<std::size_t> readAt(int fd, std::uint64_t offset, std::span<std::uint8_t> buffer) {
    for (;;) {
        const ssize_t got = ::pread(fd, buffer.data(), buffer.size(), static_cast<off_t>(offset));
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            return std::nullopt;
    }
}

// Opens a media file to read its metadata: never through a symbolic link, never blocking on
// something that is not a regular file, and without changing its access time where the
// kernel allows it (for the file's owner).
UniqueFd openMediaFile(const std::string& path, std::uint64_t& size) {
    constexpr int kFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    UniqueFd fd(::open(path.c_str(), kFlags | O_NOATIME));
    if (!fd && errno == EPERM)
        fd = UniqueFd(::open(path.c_str(), kFlags));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    size = static_cast<std::uint64_t>(st.st_size);
    return fd;
}

class FolderFetchResult final : public PhotoAssetFetchResult {
public:
    FolderFetchResult(const FileSystem& fileSystem, std::optional<std::string> folder)
        : m_fileSystem(fileSystem), m_folder(std::move(folder)) {
        if (m_folder)
            walkAssetFiles(m_fileSystem, *m_folder, [this](const AssetFiles&) { ++m_count; });
    }

    std::int64_t count() const override { return m_count; }

    void enumerate(const PhotoAssetVisitor& visitor) const override {
        if (!m_folder)
            return;
        walkAssetFiles(m_fileSystem, *m_folder,
                       [&](const AssetFiles& files) { visitor(readAssetMetadata(files)); });
    }

private:
    const FileSystem& m_fileSystem;
    const std::optional<std::string> m_folder;
    std::int64_t m_count = 0;
};

}  // namespace

std::optional<PhotoMediaType> mediaTypeOfName(std::string_view name) {
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0 || name.size() - dot - 1 > kMaxExtensionLength)
        return std::nullopt;
    std::string extension(name.substr(dot + 1));
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    for (const Extension& known : kMediaExtensions) {
        if (known.text == extension)
            return known.mediaType;
    }
    return std::nullopt;
}

bool isScreenshotName(std::string_view name) {
    return name.starts_with("Screenshot") || name.starts_with("Screen Shot");
}

void walkAssetFiles(const FileSystem& fileSystem, const std::string& root,
                    const std::function<void(const AssetFiles&)>& onAsset) {
    // Groups of the folders on the current branch, shallowest first; within one depth, a
    // later group's stem always extends an earlier one's ("IMG" then "IMG.x").
    std::vector<StemGroup> pending;
    // Depth of the shallowest folder with a hidden name on the current branch; 0 for none.
    int hiddenDepth = 0;

    const auto flush = [&](const std::function<bool(const StemGroup&)>& done) {
        while (!pending.empty() && done(pending.back())) {
            StemGroup group = std::move(pending.back());
            pending.pop_back();
            emitGroup(group, onAsset);
        }
    };

    fileSystem.enumerate(
        root,
        [&](const DirectoryEntry& entry) {
            const int depth = entry.depth;
            const std::string_view name =
                std::string_view(entry.path).substr(entry.path.find_last_of('/') + 1);
            // Everything of deeper folders has been seen, and bytewise order puts every name
            // beginning with "<stem>." together, so a group whose stem this name does not
            // extend is complete.
            flush([&](const StemGroup& group) {
                if (group.depth != depth)
                    return group.depth > depth;
                return !(name.size() > group.stem.size() && name.starts_with(group.stem) &&
                         name[group.stem.size()] == '.');
            });
            if (hiddenDepth != 0 && depth <= hiddenDepth)
                hiddenDepth = 0;
            if (!entry.values.ok())
                return WalkAction::skipDescendants;
            const ResourceValues& values = *entry.values;
            if (values.isDirectory) {
                if (values.isHidden && hiddenDepth == 0)
                    hiddenDepth = depth;
                return WalkAction::descend;
            }
            if (!values.isRegularFile || values.isHidden)
                return WalkAction::skipDescendants;
            const auto mediaType = mediaTypeOfName(name);
            if (!mediaType)
                return WalkAction::skipDescendants;

            const std::string_view stem = stemOf(name);
            MediaFile file{entry.path, std::string(name), *mediaType,
                           values.contentModificationDate};
            if (!pending.empty() && pending.back().depth == depth && pending.back().stem == stem) {
                pending.back().files.push_back(std::move(file));
            } else {
                StemGroup group{std::string(stem), depth, hiddenDepth != 0, {}};
                group.files.push_back(std::move(file));
                pending.push_back(std::move(group));
            }
            return WalkAction::skipDescendants;
        },
        // A folder that cannot be listed holds no assets this program can see.
        [](const std::string&, std::error_code) {});
    flush([](const StemGroup&) { return true; });
}

PhotoAssetMetadata readAssetMetadata(const AssetFiles& files) {
    const MediaFile& file = files.primary;
    PhotoAssetMetadata metadata;
    metadata.mediaType = file.mediaType;
    metadata.isLivePhoto = files.movie.has_value();
    metadata.isHidden = files.isHidden;
    metadata.resourceCount = files.movie ? 2 : 1;
    metadata.isScreenshot = isScreenshotName(file.name);
    metadata.creationDate = file.modificationDate;

    if (file.mediaType != PhotoMediaType::image && file.mediaType != PhotoMediaType::video)
        return metadata;
    std::uint64_t size = 0;
    const UniqueFd fd = openMediaFile(file.path, size);
    if (!fd)
        return metadata;
    if (file.mediaType == PhotoMediaType::image) {
        const ImageMetadata image = readImageMetadata(fd.get(), size);
        if (image.dateTimeOriginal)
            metadata.creationDate = image.dateTimeOriginal;
        metadata.isScreenshot = metadata.isScreenshot || image.hasScreenshotComment;
        metadata.isFavorite = image.isRatedFive;
    } else {
        const int raw = fd.get();
        metadata.duration = movieDurationSeconds(
                                [raw](std::uint64_t offset, std::span<std::uint8_t> buffer) {
                                    return readAt(raw, offset, buffer);
                                },
                                size)
                                .value_or(0);
    }
    return metadata;
}

}  // namespace linux_fs

FolderPhotoLibrary::FolderPhotoLibrary(const FileSystem& fileSystem) : m_fileSystem(fileSystem) {}

std::optional<std::string> FolderPhotoLibrary::libraryFolder(
    const std::optional<std::string>& libraryPath) const {
    if (libraryPath && !libraryPath->empty())
        return *libraryPath;
    auto pictures = m_fileSystem.picturesDirectory();
    if (!pictures)
        return std::nullopt;
    return std::move(*pictures);
}

PhotosAuthorizationState FolderPhotoLibrary::authorizationStatus(
    const std::optional<std::string>& libraryPath) const {
    const auto folder = libraryFolder(libraryPath);
    if (!folder || !m_fileSystem.exists(*folder) || m_fileSystem.isReadable(*folder))
        return PhotosAuthorizationState::authorized;
    return PhotosAuthorizationState::denied;
}

PhotosAuthorizationState FolderPhotoLibrary::requestAuthorization(
    const std::optional<std::string>& libraryPath) {
    // Access to a folder is the file permissions' answer; there is no one to ask.
    return authorizationStatus(libraryPath);
}

std::unique_ptr<PhotoAssetFetchResult> FolderPhotoLibrary::fetchAssets(
    const std::optional<std::string>& libraryPath) const {
    return std::make_unique<linux_fs::FolderFetchResult>(m_fileSystem, libraryFolder(libraryPath));
}

}  // namespace tallowmere
