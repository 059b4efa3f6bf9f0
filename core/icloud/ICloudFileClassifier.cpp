#include "core/icloud/ICloudFileClassifier.h"

namespace tallowmere::ICloudFileClassifier {
namespace {

using Kind = ICloudDownloadStatus::Kind;

bool statusIs(const ICloudFileMetadata& metadata, Kind kind) {
    return metadata.downloadingStatus && metadata.downloadingStatus->kind == kind;
}

ICloudClassification answer(ICloudFileState state, ConfidenceLevel confidence, const char* reason) {
    return ICloudClassification{state, confidence, reason};
}

}  // namespace

ICloudClassification classify(const ICloudFileMetadata& m) {
    using S = ICloudFileState;
    using C = ConfidenceLevel;
    if (m.hasDownloadingError || m.hasUploadingError || m.hasUnresolvedConflicts == true) {
        return answer(S::possibleSyncIssue, C::likely,
                      "This item reports an iCloud conflict or sync error.");
    }
    if (m.permissionDenied) {
        return answer(S::excluded, C::verified,
                      "Tallowmere could not read metadata for this item.");
    }
    if (m.skippedByLimit) {
        return answer(S::excluded, C::verified,
                      "This item was skipped because the scan safety limit was reached.");
    }
    if (m.isExcludedFromSync) {
        return answer(S::excluded, C::verified,
                      "This item is marked as excluded from iCloud sync.");
    }
    if (m.isSymbolicLink || m.isPackage || m.isHidden) {
        return answer(S::excluded, C::verified,
                      "This item is hidden, a package, or a symbolic link.");
    }
    if (m.isUbiquitousItem == false) {
        return answer(S::unknown, C::unknown, "This item does not expose iCloud Drive metadata.");
    }
    if (m.isUploading == true || m.isUploaded == false) {
        return answer(S::waitingToUpload, C::likely, "This item may be waiting to upload.");
    }
    const bool local = statusIs(m, Kind::current) || statusIs(m, Kind::downloaded);
    if (m.isDownloading == true || (m.downloadRequested == true && !local)) {
        return answer(S::waitingToDownload, C::likely, "This item may be waiting to download.");
    }
    if (statusIs(m, Kind::current))
        return answer(S::localCurrent, C::verified, "This file appears local and current.");
    if (statusIs(m, Kind::downloaded))
        return answer(S::downloaded, C::verified, "This file appears downloaded on this Mac.");
    if (statusIs(m, Kind::notDownloaded))
        return answer(S::cloudOnly, C::likely, "This file may only exist in iCloud.");
    return answer(S::unknown, C::unknown,
                  "Tallowmere could not verify this item's iCloud download state.");
}

}  // namespace tallowmere::ICloudFileClassifier
