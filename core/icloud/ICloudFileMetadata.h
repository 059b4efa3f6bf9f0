#pragma once

#include <optional>
#include <string>

#include "core/platform/FileSystem.h"

namespace tallowmere {

// The downloading status a synced item reports: one of three known values, or any other
// value, kept with its text.
struct ICloudDownloadStatus {
    enum class Kind {
        // The local copy is the latest version.
        current,
        // A local copy exists; a newer version may exist in the cloud.
        downloaded,
        // There is no local copy.
        notDownloaded,
        // A value this program does not know; see `text`.
        unknown,
    };

    Kind kind = Kind::unknown;
    // The reported value's text for `unknown`; empty for the known values.
    std::string text;

    static ICloudDownloadStatus current() { return {Kind::current, {}}; }
    static ICloudDownloadStatus downloaded() { return {Kind::downloaded, {}}; }
    static ICloudDownloadStatus notDownloaded() { return {Kind::notDownloaded, {}}; }
    static ICloudDownloadStatus unknown(std::string text) {
        return {Kind::unknown, std::move(text)};
    }

    bool operator==(const ICloudDownloadStatus&) const = default;
};

// What the scan knows about one item, as the classifier needs it. An absent optional means
// the file system did not report that value, which is not the same as false.
struct ICloudFileMetadata {
    bool isDirectory = false;
    bool isRegularFile = false;
    bool isSymbolicLink = false;
    // A folder shown as one document (an application bundle, a library).
    bool isPackage = false;
    bool isHidden = false;
    // Whether a sync service manages the item.
    std::optional<bool> isUbiquitousItem;
    bool isExcludedFromSync = false;
    std::optional<bool> isDownloading;
    std::optional<bool> downloadRequested;
    std::optional<ICloudDownloadStatus> downloadingStatus;
    std::optional<bool> isUploaded;
    std::optional<bool> isUploading;
    std::optional<bool> hasUnresolvedConflicts;
    bool hasDownloadingError = false;
    bool hasUploadingError = false;
    // The item's values could not be read.
    bool permissionDenied = false;
    // The item was not examined because a scan limit was hit.
    bool skippedByLimit = false;

    bool operator==(const ICloudFileMetadata&) const = default;

    // The snapshot of an item whose values were read: flags the file system did not report
    // are false, optional values stay absent, a reported transfer error sets its flag. The
    // scanner records unreadable and skipped items itself, so permissionDenied and
    // skippedByLimit are false here.
    static ICloudFileMetadata fromResourceValues(const ResourceValues& values);
};

}  // namespace tallowmere
