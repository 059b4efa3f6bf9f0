#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/icloud/ICloudFileClassifier.h"
#include "core/icloud/ICloudFileMetadata.h"

namespace tallowmere {
namespace {

using S = ICloudFileState;
using C = ConfidenceLevel;
using Status = ICloudDownloadStatus;

constexpr const char* kSyncIssue = "This item reports an iCloud conflict or sync error.";
constexpr const char* kUnreadable = "Tallowmere could not read metadata for this item.";
constexpr const char* kSkipped = "This item was skipped because the scan safety limit was reached.";
constexpr const char* kExcludedFromSync = "This item is marked as excluded from iCloud sync.";
constexpr const char* kHiddenPackageLink = "This item is hidden, a package, or a symbolic link.";
constexpr const char* kNoMetadata = "This item does not expose iCloud Drive metadata.";
constexpr const char* kUpload = "This item may be waiting to upload.";
constexpr const char* kDownload = "This item may be waiting to download.";
constexpr const char* kCurrent = "This file appears local and current.";
constexpr const char* kDownloaded = "This file appears downloaded on this Mac.";
constexpr const char* kCloudOnly = "This file may only exist in iCloud.";
constexpr const char* kUnverified =
    "Tallowmere could not verify this item's iCloud download state.";

// A regular file with every optional absent and every flag false, changed by `edit`.
ICloudFileMetadata file(const std::function<void(ICloudFileMetadata&)>& edit = {}) {
    ICloudFileMetadata metadata;
    metadata.isRegularFile = true;
    if (edit)
        edit(metadata);
    return metadata;
}

struct Case {
    const char* name;
    ICloudFileMetadata metadata;
    ICloudClassification expected;
};

TEST(ICloudFileClassifierTest, RulesApplyInOrderAndTheFirstMatchDecides) {
    const std::vector<Case> cases = {
        // ---- Each rule on its own.
        {"1 downloading error",
         file([](auto& m) { m.hasDownloadingError = true; }),
         {S::possibleSyncIssue, C::likely, kSyncIssue}},
        {"1 uploading error",
         file([](auto& m) { m.hasUploadingError = true; }),
         {S::possibleSyncIssue, C::likely, kSyncIssue}},
        {"1 unresolved conflicts",
         file([](auto& m) { m.hasUnresolvedConflicts = true; }),
         {S::possibleSyncIssue, C::likely, kSyncIssue}},
        {"2 permission denied",
         file([](auto& m) { m.permissionDenied = true; }),
         {S::excluded, C::verified, kUnreadable}},
        {"3 skipped by limit",
         file([](auto& m) { m.skippedByLimit = true; }),
         {S::excluded, C::verified, kSkipped}},
        {"4 excluded from sync",
         file([](auto& m) { m.isExcludedFromSync = true; }),
         {S::excluded, C::verified, kExcludedFromSync}},
        {"5 symbolic link",
         file([](auto& m) { m.isSymbolicLink = true; }),
         {S::excluded, C::verified, kHiddenPackageLink}},
        {"5 package",
         file([](auto& m) { m.isPackage = true; }),
         {S::excluded, C::verified, kHiddenPackageLink}},
        {"5 hidden",
         file([](auto& m) { m.isHidden = true; }),
         {S::excluded, C::verified, kHiddenPackageLink}},
        {"6 not ubiquitous",
         file([](auto& m) { m.isUbiquitousItem = false; }),
         {S::unknown, C::unknown, kNoMetadata}},
        {"7 uploading",
         file([](auto& m) { m.isUploading = true; }),
         {S::waitingToUpload, C::likely, kUpload}},
        {"8 not uploaded",
         file([](auto& m) { m.isUploaded = false; }),
         {S::waitingToUpload, C::likely, kUpload}},
        {"9 downloading",
         file([](auto& m) { m.isDownloading = true; }),
         {S::waitingToDownload, C::likely, kDownload}},
        {"10 requested, no status",
         file([](auto& m) { m.downloadRequested = true; }),
         {S::waitingToDownload, C::likely, kDownload}},
        {"11 current",
         file([](auto& m) { m.downloadingStatus = Status::current(); }),
         {S::localCurrent, C::verified, kCurrent}},
        {"12 downloaded",
         file([](auto& m) { m.downloadingStatus = Status::downloaded(); }),
         {S::downloaded, C::verified, kDownloaded}},
        {"13 not downloaded",
         file([](auto& m) { m.downloadingStatus = Status::notDownloaded(); }),
         {S::cloudOnly, C::likely, kCloudOnly}},
        {"14 everything absent", file(), {S::unknown, C::unknown, kUnverified}},
        {"14 status of a later system",
         file([](auto& m) { m.downloadingStatus = Status::unknown("NSURLStatusEvicted"); }),
         {S::unknown, C::unknown, kUnverified}},

        // ---- Sync errors and conflicts outrank everything.
        {"conflict outranks exclusion and hiding",
         file([](auto& m) {
             m.hasUnresolvedConflicts = true;
             m.isExcludedFromSync = true;
             m.isHidden = true;
         }),
         {S::possibleSyncIssue, C::likely, kSyncIssue}},
        {"uploading error outranks hidden",
         file([](auto& m) {
             m.hasUploadingError = true;
             m.isHidden = true;
         }),
         {S::possibleSyncIssue, C::likely, kSyncIssue}},
        {"downloading error outranks permission denied",
         file([](auto& m) {
             m.hasDownloadingError = true;
             m.permissionDenied = true;
         }),
         {S::possibleSyncIssue, C::likely, kSyncIssue}},
        {"conflicts false is no conflict",
         file([](auto& m) {
             m.hasUnresolvedConflicts = false;
             m.downloadingStatus = Status::current();
         }),
         {S::localCurrent, C::verified, kCurrent}},
        {"conflicts absent is no conflict",
         file([](auto& m) { m.downloadingStatus = Status::notDownloaded(); }),
         {S::cloudOnly, C::likely, kCloudOnly}},

        // ---- The exclusion rules keep their own order.
        {"permission denied outranks skipped and excluded",
         file([](auto& m) {
             m.permissionDenied = true;
             m.skippedByLimit = true;
             m.isExcludedFromSync = true;
         }),
         {S::excluded, C::verified, kUnreadable}},
        {"skipped outranks excluded from sync",
         file([](auto& m) {
             m.skippedByLimit = true;
             m.isExcludedFromSync = true;
         }),
         {S::excluded, C::verified, kSkipped}},
        {"hidden and excluded gives the exclusion reason",
         file([](auto& m) {
             m.isHidden = true;
             m.isExcludedFromSync = true;
         }),
         {S::excluded, C::verified, kExcludedFromSync}},

        // ---- Exclusion, hiding, packages and links are settled before iCloud is asked.
        {"hidden current file is never local",
         file([](auto& m) {
             m.isHidden = true;
             m.isUbiquitousItem = true;
             m.downloadingStatus = Status::current();
         }),
         {S::excluded, C::verified, kHiddenPackageLink}},
        {"package placeholder is never cloud-only",
         file([](auto& m) {
             m.isPackage = true;
             m.downloadingStatus = Status::notDownloaded();
         }),
         {S::excluded, C::verified, kHiddenPackageLink}},
        {"link outranks not ubiquitous",
         file([](auto& m) {
             m.isSymbolicLink = true;
             m.isUbiquitousItem = false;
         }),
         {S::excluded, C::verified, kHiddenPackageLink}},
        {"excluded upload is not waiting",
         file([](auto& m) {
             m.isExcludedFromSync = true;
             m.isUploading = true;
         }),
         {S::excluded, C::verified, kExcludedFromSync}},

        // ---- The ubiquitous flag: false stops at rule 6, absent goes on.
        {"not ubiquitous outranks current",
         file([](auto& m) {
             m.isUbiquitousItem = false;
             m.downloadingStatus = Status::current();
         }),
         {S::unknown, C::unknown, kNoMetadata}},
        {"not ubiquitous outranks uploading",
         file([](auto& m) {
             m.isUbiquitousItem = false;
             m.isUploading = true;
         }),
         {S::unknown, C::unknown, kNoMetadata}},
        {"ubiquitous absent with current is local",
         file([](auto& m) { m.downloadingStatus = Status::current(); }),
         {S::localCurrent, C::verified, kCurrent}},
        {"ubiquitous absent still waits for upload",
         file([](auto& m) { m.isUploaded = false; }),
         {S::waitingToUpload, C::likely, kUpload}},
        {"ubiquitous true with current is local",
         file([](auto& m) {
             m.isUbiquitousItem = true;
             m.downloadingStatus = Status::current();
         }),
         {S::localCurrent, C::verified, kCurrent}},

        // ---- Upload state before download state.
        {"uploading and not downloaded waits to upload",
         file([](auto& m) {
             m.isUploading = true;
             m.downloadingStatus = Status::notDownloaded();
         }),
         {S::waitingToUpload, C::likely, kUpload}},
        {"not uploaded outranks downloading",
         file([](auto& m) {
             m.isUploaded = false;
             m.isDownloading = true;
         }),
         {S::waitingToUpload, C::likely, kUpload}},
        {"not uploaded with current waits to upload",
         file([](auto& m) {
             m.isUploaded = false;
             m.downloadingStatus = Status::current();
         }),
         {S::waitingToUpload, C::likely, kUpload}},

        // ---- Absent transfer flags mean nothing is in progress.
        {"uploaded absent with current is local",
         file([](auto& m) { m.downloadingStatus = Status::current(); }),
         {S::localCurrent, C::verified, kCurrent}},
        {"uploading false and uploaded true with current is local",
         file([](auto& m) {
             m.isUploading = false;
             m.isUploaded = true;
             m.downloadingStatus = Status::current();
         }),
         {S::localCurrent, C::verified, kCurrent}},
        {"downloading and request false with not downloaded is cloud-only",
         file([](auto& m) {
             m.isDownloading = false;
             m.downloadRequested = false;
             m.downloadingStatus = Status::notDownloaded();
         }),
         {S::cloudOnly, C::likely, kCloudOnly}},
        {"downloading outranks current",
         file([](auto& m) {
             m.isDownloading = true;
             m.downloadingStatus = Status::current();
         }),
         {S::waitingToDownload, C::likely, kDownload}},

        // ---- A download request counts only while no local copy is reported.
        {"requested and downloaded is downloaded",
         file([](auto& m) {
             m.downloadRequested = true;
             m.downloadingStatus = Status::downloaded();
         }),
         {S::downloaded, C::verified, kDownloaded}},
        {"requested and current is local",
         file([](auto& m) {
             m.downloadRequested = true;
             m.downloadingStatus = Status::current();
         }),
         {S::localCurrent, C::verified, kCurrent}},
        {"requested and not downloaded waits",
         file([](auto& m) {
             m.downloadRequested = true;
             m.downloadingStatus = Status::notDownloaded();
         }),
         {S::waitingToDownload, C::likely, kDownload}},
        {"requested with an unknown status waits",
         file([](auto& m) {
             m.downloadRequested = true;
             m.downloadingStatus = Status::unknown("Later");
         }),
         {S::waitingToDownload, C::likely, kDownload}},

        // ---- Folder and file flags take no part.
        {"a folder with current status is local",
         file([](auto& m) {
             m.isRegularFile = false;
             m.isDirectory = true;
             m.downloadingStatus = Status::current();
         }),
         {S::localCurrent, C::verified, kCurrent}},
        {"neither file nor folder with nothing reported is unknown",
         file([](auto& m) { m.isRegularFile = false; }),
         {S::unknown, C::unknown, kUnverified}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ICloudFileClassifier::classify(c.metadata), c.expected);
    }
}

TEST(ICloudFileMetadataTest, SnapshotFromResourceValues) {
    // Nothing reported: flags false, optionals absent.
    EXPECT_EQ(ICloudFileMetadata::fromResourceValues(ResourceValues{}), ICloudFileMetadata{});

    ResourceValues values;
    values.name = "a.txt";
    values.isDirectory = true;
    values.isRegularFile = true;
    values.isSymbolicLink = true;
    values.isPackage = true;
    values.isHidden = true;
    values.fileSize = 12;
    values.isUbiquitousItem = false;
    values.isDownloading = true;
    values.downloadRequested = false;
    values.isUploaded = true;
    values.isUploading = false;
    values.hasUnresolvedConflicts = false;
    values.isExcludedFromSync = true;
    values.downloadingError = std::make_error_code(std::errc::io_error);
    values.uploadingError = std::make_error_code(std::errc::timed_out);
    const ICloudFileMetadata full = ICloudFileMetadata::fromResourceValues(values);
    EXPECT_EQ(full, (ICloudFileMetadata{
                        .isDirectory = true,
                        .isRegularFile = true,
                        .isSymbolicLink = true,
                        .isPackage = true,
                        .isHidden = true,
                        .isUbiquitousItem = false,
                        .isExcludedFromSync = true,
                        .isDownloading = true,
                        .downloadRequested = false,
                        .downloadingStatus = std::nullopt,
                        .isUploaded = true,
                        .isUploading = false,
                        .hasUnresolvedConflicts = false,
                        .hasDownloadingError = true,
                        .hasUploadingError = true,
                        .permissionDenied = false,
                        .skippedByLimit = false,
                    }));

    // An error value that carries no error is no error.
    ResourceValues quiet;
    quiet.downloadingError = std::error_code();
    quiet.uploadingError = std::error_code();
    EXPECT_FALSE(ICloudFileMetadata::fromResourceValues(quiet).hasDownloadingError);
    EXPECT_FALSE(ICloudFileMetadata::fromResourceValues(quiet).hasUploadingError);

    struct StatusCase {
        DownloadingStatus reported;
        ICloudDownloadStatus expected;
    };
    const std::vector<StatusCase> statuses = {
        {DownloadingStatus::current(), Status::current()},
        {DownloadingStatus::downloaded(), Status::downloaded()},
        {DownloadingStatus::notDownloaded(), Status::notDownloaded()},
        {DownloadingStatus::other("Evicted"), Status::unknown("Evicted")},
        {DownloadingStatus::other(""), Status::unknown("")},
    };
    for (const StatusCase& c : statuses) {
        SCOPED_TRACE(c.expected.text);
        ResourceValues withStatus;
        withStatus.downloadingStatus = c.reported;
        EXPECT_EQ(ICloudFileMetadata::fromResourceValues(withStatus).downloadingStatus, c.expected);
    }
    // Unknown statuses are equal only with the same text.
    EXPECT_NE(Status::unknown("a"), Status::unknown("b"));
    EXPECT_NE(Status::unknown(""), Status::current());
}

}  // namespace
}  // namespace tallowmere
