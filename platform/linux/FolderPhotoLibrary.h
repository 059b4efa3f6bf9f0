#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/photos/PhotoLibrary.h"
#include "core/platform/FileSystem.h"

namespace tallowmere {

// The photo library of a Linux desktop: a folder of photo and video files. The folder is the
// library path the user chose, else their pictures folder.
//
// Access: authorized when the folder can be read or does not exist (there is nothing to
// protect then), denied when it exists and cannot be read. No one is ever asked, so a request
// answers the same.
//
// Assets: every regular file below the folder whose name does not begin with "." and whose
// extension is a photo, video or audio one. An image with a ".mov" file of the same stem
// beside it is one live photo of two files (the movie is not an asset of its own). An asset
// inside a folder whose name begins with "." is hidden. A screenshot is an image whose EXIF
// user comment is "Screenshot", or any asset whose name begins with "Screenshot" or
// "Screen Shot". A favourite carries the XMP rating 5. The creation date is the EXIF
// DateTimeOriginal, else the file's modification time. A video's duration comes from its
// movie header. Symbolic links are not followed and are not assets.
//
// Only metadata is read: image headers through exiv2 and movie box headers, from files
// opened read-only without updating their access time where the system allows it. Nothing
// is decoded, written, moved or touched. A file whose metadata cannot be read (damaged,
// unreadable, of a format exiv2 does not know) is still an asset, dated by its modification
// time.
//
// Assets stream out one by one: memory does not grow with the number of assets.
//
// Thread safety: holds only constant configuration; every operation may run concurrently
// from any thread. The file system must outlive the library and every fetch result.
class FolderPhotoLibrary final : public PhotoLibrary {
public:
    explicit FolderPhotoLibrary(const FileSystem& fileSystem);

    PhotosAuthorizationState authorizationStatus(
        const std::optional<std::string>& libraryPath) const override;
    PhotosAuthorizationState requestAuthorization(
        const std::optional<std::string>& libraryPath) override;
    // Counts the assets now (one walk of names and file values, no file is opened); the
    // metadata is read while enumerating.
    std::unique_ptr<PhotoAssetFetchResult> fetchAssets(
        const std::optional<std::string>& libraryPath) const override;

    // The folder that is the library: `libraryPath` when it is given and not empty, else the
    // pictures folder; none when that cannot be determined.
    std::optional<std::string> libraryFolder(const std::optional<std::string>& libraryPath) const;

private:
    // Constant after construction.
    const FileSystem& m_fileSystem;
};

namespace linux_fs {

// The kind of media a file name's extension (any letter case) stands for; none for a name
// that is not a media file.
std::optional<PhotoMediaType> mediaTypeOfName(std::string_view name);

// Names the system and common tools give screenshots: beginning "Screenshot" or "Screen Shot".
bool isScreenshotName(std::string_view name);

// One media file of the library as the walk met it.
struct MediaFile {
    std::string path;
    std::string name;
    PhotoMediaType mediaType = PhotoMediaType::unknown;
    std::optional<Date> modificationDate;
};

// The files of one asset: the file itself and, for a live photo, its movie.
struct AssetFiles {
    MediaFile primary;
    std::optional<MediaFile> movie;
    bool isHidden = false;
};

// Walks the library folder `root` and calls `onAsset` for each asset with its files, without
// opening any. Entries of a folder must come in bytewise order of their names (as FileSystem
// promises), which brings the files of one stem together, so only the files of the stem
// being looked at are held. Nothing is reported when `root` cannot be listed.
void walkAssetFiles(const FileSystem& fileSystem, const std::string& root,
                    const std::function<void(const AssetFiles&)>& onAsset);

// Reads the metadata of one asset from its files.
PhotoAssetMetadata readAssetMetadata(const AssetFiles& files);

}  // namespace linux_fs

}  // namespace tallowmere
