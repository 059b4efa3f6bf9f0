#pragma once

#include "core/photos/PhotosScanSummary.h"
#include "core/secondcopy/BackupJobSnapshot.h"
#include "core/verification/VerificationRun.h"

// Records with every field set, for the tests that write them out and read them back (as
// JSON and as rows of the store). The times are counted from `startedAt`, so that the JSON
// tests can use whole seconds (what JSON keeps) and the store's tests fractions of one.
namespace tallowmere::testing {

inline BackupJobSnapshot everyFieldBackupJob(Date startedAt) {
    return BackupJobSnapshot{
        .id = Uuid::random(),
        .destinationID = Uuid::random(),
        .sourceScanRunID = Uuid::random(),
        .status = BackupJobStatus::completedWithSkipped,
        .startedAt = startedAt,
        .completedAt = startedAt.addingSeconds(500),
        .cancelledAt = startedAt.addingSeconds(400),
        .totalFiles = 10,
        .completedFiles = 7,
        .failedFiles = 1,
        .skippedFiles = 3,
        .conflictFiles = 2,
        .preparedBytes = 5'000'000'000,
        .copiedBytes = 4'000'000'000,
        .manifestJSONPath = "/media/alex/Drive/Tallowmere Backup/manifest.json",
        .message = "Backup finished with skipped items.",
    };
}

inline VerificationRun everyFieldVerificationRun(Date startedAt) {
    return VerificationRun{
        .id = Uuid::random(),
        .mode = VerificationMode::restoreTest,
        .status = VerificationStatus::failed,
        .backupJobID = Uuid::random(),
        .startedAt = startedAt,
        .completedAt = startedAt.addingSeconds(90),
        .checkedFiles = 5,
        .failedFiles = 1,
        .skippedFiles = 2,
        .restoredSampleFiles = 5,
        .bytesChecked = 10'000'000'000,
        .restoreTestPath = "/home/alex/.local/share/Tallowmere/Restore Tests/X",
        .message = "Sample restore test found files that could not be restored or checked."};
}

// A completed scan of a library with limited access, finished 42 seconds after it began.
inline PhotosScanSummary everyFieldPhotosScan(Date startedAt) {
    PhotosScanSummary summary;
    summary.id = Uuid::random();
    summary.startedAt = startedAt;
    summary.completedAt = startedAt.addingSeconds(42);
    summary.authorizationStatus = PhotosAuthorizationState::limited;
    summary.scanStatus = ScanRunStatus::completed;
    summary.totalAssetCount = 2113;
    summary.photoCount = 1900;
    summary.videoCount = 200;
    summary.livePhotoCount = 13;
    summary.screenshotCount = 40;
    summary.favoriteCount = 12;
    summary.hiddenCount = 3;
    summary.approximateResourceCount = 2300;
    summary.videoDurationSeconds = 1234.5;
    summary.libraryPath = "/home/ada/Pictures";
    summary.libraryDisplayName = "Pictures";
    summary.libraryExists = true;
    summary.localLibrarySizeBytes = 12'345'678'901;
    summary.oldestCreationDate = Date(1'400'000'000);
    summary.newestCreationDate = Date(1'764'999'000);
    summary.canReadMetadata = true;
    summary.localOriginalsUnknown = true;
    summary.iCloudPhotosStatusUnknown = true;
    summary.needsUserReview = true;
    summary.didModifyPhotos = false;
    summary.message = "Photos metadata scanned.";
    return summary;
}

}  // namespace tallowmere::testing
