#include "bench/AppModelBench.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "app/AppModel.h"
#include "bench/BenchSupport.h"
#include "core/platform/Formatting.h"

namespace tallowmere::bench {
namespace {

constexpr int kFileResults = 50'000;
constexpr int kManifestItems = 20'000;
constexpr int kRounds = 20;

const Date kNow(1'765'000'000);

// One stored scan with its results, a selected destination and a prepared job whose
// manifest holds kManifestItems items, half of them already copied.
void fillStore(TallowmereDatabase& database) {
    std::mt19937_64 random(7);
    const auto& queue = database.queue();

    ICloudScanRoot root{Uuid::random(), "/home/ada/Documents",
                        "Documents",    ICloudScanRootKind::documents,
                        true,           true,
                        std::nullopt,   kNow,
                        std::nullopt};
    ICloudScanRepository(queue).upsertDetectedRoots({root});

    ScanRun run;
    run.id = Uuid::random();
    run.startedAt = kNow;
    run.completedAt = kNow.addingSeconds(60);
    run.overallState = SafetyState::backupStale;
    run.safetyScore = 58;
    run.scannedItemCount = kFileResults;
    ScanRepository(queue).insert(run, {});

    const ICloudFileState states[] = {ICloudFileState::localCurrent, ICloudFileState::localCurrent,
                                      ICloudFileState::localCurrent, ICloudFileState::downloaded,
                                      ICloudFileState::cloudOnly,    ICloudFileState::unknown};
    std::vector<ICloudFileScanResult> results;
    results.reserve(kFileResults);
    for (int i = 0; i < kFileResults; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "Report %05d.pdf", i);
        ICloudFileScanResult result;
        result.id = Uuid::random();
        result.scanRunID = run.id;
        result.rootID = root.id;
        result.path = root.path + "/Project " + std::to_string(i % 300) + "/" + name;
        result.displayName = name;
        result.fileSize = static_cast<std::int64_t>(random() % 5'000'000);
        result.modifiedAt = kNow.addingSeconds(-double(random() % 10'000'000));
        result.state = states[random() % 6];
        result.confidence = ConfidenceLevel::verified;
        result.reason = "This file appears local and current.";
        result.scannedAt = kNow;
        results.push_back(std::move(result));
    }
    const auto summary = ICloudDriveScanSummary::make(run.id, run.completedAt,
                                                      ScanRunStatus::completed, false, results);
    ICloudScanRepository(queue).insert(summary, results);

    BackupDestination destination;
    destination.id = Uuid::random();
    destination.displayName = "Backup";
    destination.path = "/media/ada/Backup";
    destination.status = BackupDestinationStatus::connected;
    destination.isSelected = true;
    destination.isRemovable = true;
    destination.selectedAt = kNow;
    destination.updatedAt = kNow;
    BackupRepository backups(queue);
    backups.saveSelectedDestination(destination);

    BackupJobSnapshot job;
    job.id = Uuid::random();
    job.destinationID = destination.id;
    job.sourceScanRunID = run.id;
    job.status = BackupJobStatus::paused;
    job.startedAt = kNow;
    job.totalFiles = kManifestItems;
    job.message = "Backup paused. Tallowmere can continue from the remaining files.";
    backups.saveJob(job);
    std::vector<BackupManifestItem> items;
    items.reserve(kManifestItems);
    for (int i = 0; i < kManifestItems; ++i) {
        const auto& source = results[static_cast<std::size_t>(i)];
        BackupManifestItem item;
        item.id = Uuid::random();
        item.jobID = job.id;
        item.sourceResultID = source.id;
        item.rootID = root.id;
        item.sourcePath = source.path;
        item.relativePath = "Documents/" + source.displayName;
        item.destinationPath =
            "/media/ada/Backup/Tallowmere Backup/iCloud Drive/" + item.relativePath;
        item.fileSize = source.fileSize;
        item.sourceState = source.state;
        item.isEligible = true;
        item.status = i % 2 == 0 ? BackupItemStatus::copied : BackupItemStatus::pending;
        item.message = i % 2 == 0 ? "Copied." : "Ready to copy.";
        item.createdAt = kNow;
        item.updatedAt = kNow;
        items.push_back(std::move(item));
    }
    backups.replaceManifest(job.id, items);
}

}  // namespace

void runRefreshBench() {
    const ScratchFolder scratch("tallowmere-bench-refresh");
    const auto file = scratch.path() / "Tallowmere.sqlite";
    auto database = TallowmereDatabase::open(file.string());
    fillStore(*database);

    AppEnvironment environment;
    environment.openStore = [database] {
        return database;
    };
    environment.formatting = std::make_shared<EnglishFormatting>();
    AppModel model(std::move(environment));
    if (model.startupErrorMessage() || model.backupManifestItems().size() != 100 ||
        model.iCloudFileResults().size() != 100)
        throw std::runtime_error("the refresh bench's store did not load");

    std::vector<double> milliseconds;
    for (int round = 0; round < kRounds; ++round)
        milliseconds.push_back(1000.0 * secondsOf([&] { model.refreshFromStore(); }));
    std::sort(milliseconds.begin(), milliseconds.end());
    if (model.statusMessage() != "Ready")
        throw std::runtime_error("the refresh failed: " + model.statusMessage());
    // The target is under 100 ms.
    std::printf("bench refresh-from-store-median: %.1f ms\n",
                milliseconds[milliseconds.size() / 2]);
    std::printf("bench refresh-from-store-worst: %.1f ms\n", milliseconds.back());
}

}  // namespace tallowmere::bench
