#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/LocalBackupCoordinator.h"
#include "core/icloud/ICloudDriveScanSummary.h"
#include "core/platform/Formatting.h"
#include "persistence/ScanRepository.h"
#include "persistence/TallowmereDatabase.h"
#include "tests/support/FakeBookmarks.h"
#include "tests/support/FixedClock.h"

namespace tallowmere::testing {

// The store, clock and bookmarks a coordinator test needs, and a way to record a scan in
// the store as the scan workflow would.
struct BackupStore {
    explicit BackupStore(std::shared_ptr<TallowmereDatabase> db = TallowmereDatabase::inMemory())
        : database(std::move(db)) {}

    std::shared_ptr<TallowmereDatabase> database;
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>(Date(1'765'000'000));
    std::shared_ptr<FakeBookmarks> bookmarks = std::make_shared<FakeBookmarks>();
    BackupRepository backups{database->queue(), clock};
    ICloudScanRepository scans{database->queue(), clock};

    std::unique_ptr<LocalBackupCoordinator> coordinator(std::shared_ptr<FileSystem> fileSystem,
                                                        BackupCopyGroupLimits limits = {},
                                                        std::shared_ptr<Bookmarks> with = {}) {
        return std::make_unique<LocalBackupCoordinator>(
            backups, scans, std::move(fileSystem), with ? with : bookmarks, clock,
            std::make_shared<EnglishFormatting>(), limits);
    }

    static ICloudScanRoot documentsRoot(const std::string& path) {
        return ICloudScanRoot{.id = Uuid::random(),
                              .path = path,
                              .displayName = "Documents",
                              .kind = ICloudScanRootKind::documents,
                              .isDetected = true,
                              .isSelected = true,
                              .bookmarkData = std::nullopt,
                              .createdAt = Date(1'700'000'000),
                              .lastScannedAt = std::nullopt};
    }

    // Stores a finished scan run of `root` with `results` (their run and root ids are set
    // here). Returns the run's id.
    Uuid storeScan(const ICloudScanRoot& root, std::vector<ICloudFileScanResult> results) {
        ScanRun run;
        run.id = Uuid::random();
        run.startedAt = clock->now();
        run.completedAt = clock->now();
        ScanRepository(database->queue()).insert(run, {});
        scans.upsertDetectedRoots({root});
        const Uuid rootID = scans.fetchRoots(false).front().id;
        for (auto& result : results) {
            result.scanRunID = run.id;
            result.rootID = rootID;
        }
        scans.insert(ICloudDriveScanSummary::make(run.id, run.completedAt, ScanRunStatus::completed,
                                                  false, results),
                     results);
        return run.id;
    }

    static ICloudFileScanResult result(const std::string& path, std::optional<std::int64_t> size,
                                       std::optional<Date> modified,
                                       ICloudFileState state = ICloudFileState::localCurrent,
                                       bool folder = false) {
        ICloudFileScanResult r;
        r.id = Uuid::random();
        r.path = path;
        r.displayName = path.substr(path.find_last_of('/') + 1);
        r.isDirectory = folder;
        r.fileSize = size;
        r.modifiedAt = modified;
        r.state = state;
        r.confidence = ConfidenceLevel::verified;
        r.reason = "This file appears local and current.";
        r.scannedAt = Date(1'765'000'000);
        return r;
    }

    BackupJobSnapshot latestJob() const { return backups.fetchLatestJobSnapshot().value(); }

    // relative path -> status of every item of the job.
    std::map<std::string, BackupItemStatus> statuses(const Uuid& jobID) const {
        std::map<std::string, BackupItemStatus> byPath;
        for (const auto& item : backups.fetchManifestItems(jobID))
            byPath[item.relativePath] = item.status;
        return byPath;
    }
};

// The job's counters must be the store's own statistics.
inline void expectCountersMatchStore(const BackupJobSnapshot& job,
                                     const BackupRepository& backups) {
    const auto stats = backups.manifestStats(job.id);
    EXPECT_EQ(job.totalFiles, stats.totalEligibleFiles);
    EXPECT_EQ(job.completedFiles, stats.completedFiles);
    EXPECT_EQ(job.skippedFiles, stats.skippedFiles);
    EXPECT_EQ(job.failedFiles, stats.failedFiles);
    EXPECT_EQ(job.conflictFiles, stats.conflictFiles);
    EXPECT_EQ(job.preparedBytes, stats.preparedBytes);
    EXPECT_EQ(job.copiedBytes, stats.copiedBytes);
}

}  // namespace tallowmere::testing
