#include "core/icloud/ICloudFileMetadata.h"

namespace tallowmere {
namespace {

ICloudDownloadStatus downloadStatusFrom(const DownloadingStatus& status) {
    switch (status.kind) {
        case DownloadingStatus::Kind::current:
            return ICloudDownloadStatus::current();
        case DownloadingStatus::Kind::downloaded:
            return ICloudDownloadStatus::downloaded();
        case DownloadingStatus::Kind::notDownloaded:
            return ICloudDownloadStatus::notDownloaded();
        case DownloadingStatus::Kind::other:
            break;
    }
    return ICloudDownloadStatus::unknown(status.otherText);
}

// A reported error with an empty code says "no error".
bool reportsError(const std::optional<std::error_code>& error) {
    return error.has_value() && static_cast<bool>(*error);
}

}  // namespace

ICloudFileMetadata ICloudFileMetadata::fromResourceValues(const ResourceValues& values) {
    ICloudFileMetadata metadata;
    metadata.isDirectory = values.isDirectory;
    metadata.isRegularFile = values.isRegularFile;
    metadata.isSymbolicLink = values.isSymbolicLink;
    metadata.isPackage = values.isPackage;
    metadata.isHidden = values.isHidden;
    metadata.isUbiquitousItem = values.isUbiquitousItem;
    metadata.isExcludedFromSync = values.isExcludedFromSync;
    metadata.isDownloading = values.isDownloading;
    metadata.downloadRequested = values.downloadRequested;
    if (values.downloadingStatus)
        metadata.downloadingStatus = downloadStatusFrom(*values.downloadingStatus);
    metadata.isUploaded = values.isUploaded;
    metadata.isUploading = values.isUploading;
    metadata.hasUnresolvedConflicts = values.hasUnresolvedConflicts;
    metadata.hasDownloadingError = reportsError(values.downloadingError);
    metadata.hasUploadingError = reportsError(values.uploadingError);
    return metadata;
}

}  // namespace tallowmere
