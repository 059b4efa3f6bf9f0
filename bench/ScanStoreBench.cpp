#include "bench/ScanStoreBench.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "bench/BenchSupport.h"
#include "persistence/ICloudScanRepository.h"
#include "persistence/ScanRepository.h"
#include "persistence/TallowmereDatabase.h"

namespace tallowmere::bench {
namespace {

constexpr int kRows = 50'000;
constexpr int kRounds = 3;

struct ScanData {
    ScanRun run;
    std::vector<ICloudScanRoot> roots;
    std::vector<ICloudFileScanResult> results;
    ICloudDriveScanSummary summary;
};

// A scan as a real home folder gives it: three roots, nested project folders, a
// spread of sizes, mostly local files with some in every other state.
ScanData makeScan() {
    std::mt19937_64 random(42);
    ScanData data;
    const Date now(1'765'000'000);
    data.run.id = Uuid::random();
    data.run.startedAt = now;
    data.run.completedAt = now.addingSeconds(95.5);
    data.run.overallState = SafetyState::cloudOnly;
    data.run.safetyScore = 34;
    data.run.scannedItemCount = kRows;

    const char* rootNames[] = {"iCloud Drive", "Desktop", "Documents"};
    const ICloudScanRootKind kinds[] = {ICloudScanRootKind::iCloudDrive,
                                        ICloudScanRootKind::desktop, ICloudScanRootKind::documents};
    for (int i = 0; i < 3; ++i) {
        data.roots.push_back({Uuid::random(), std::string("/home/ada/Cloud/") + rootNames[i],
                              rootNames[i], kinds[i], true, true, std::nullopt, now, std::nullopt});
    }

    struct StateShare {
        ICloudFileState state;
        ConfidenceLevel confidence;
        const char* reason;
        int weight;
    };
    const StateShare shares[] = {
        {ICloudFileState::localCurrent, ConfidenceLevel::verified,
         "This file appears local and current.", 70},
        {ICloudFileState::downloaded, ConfidenceLevel::verified,
         "This file appears downloaded on this Mac.", 10},
        {ICloudFileState::cloudOnly, ConfidenceLevel::likely, "This file may only exist in iCloud.",
         8},
        {ICloudFileState::waitingToUpload, ConfidenceLevel::likely,
         "This item may be waiting to upload.", 3},
        {ICloudFileState::waitingToDownload, ConfidenceLevel::likely,
         "This item may be waiting to download.", 2},
        {ICloudFileState::possibleSyncIssue, ConfidenceLevel::likely,
         "This item reports an iCloud conflict or sync error.", 1},
        {ICloudFileState::excluded, ConfidenceLevel::verified,
         "This item is hidden, a package, or a symbolic link.", 4},
        {ICloudFileState::unknown, ConfidenceLevel::unknown,
         "Tallowmere could not verify this item's iCloud download state.", 2},
    };
    std::vector<int> weights;
    for (const auto& share : shares) weights.push_back(share.weight);
    std::discrete_distribution<int> pickState(weights.begin(), weights.end());
    std::lognormal_distribution<double> size(10.0, 2.5);
    const char* extensions[] = {".pdf", ".jpg", ".docx", ".txt", ".png", ".key", ".mov", ".csv"};

    data.results.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        const auto& root = data.roots[i % 3];
        const auto& share = shares[pickState(random)];
        char name[64];
        std::snprintf(name, sizeof name, "Document %05d%s", i, extensions[random() % 8]);
        char folder[96];
        std::snprintf(folder, sizeof folder, "/Projects/Project %03d/Drafts %02d/",
                      int(random() % 400), int(random() % 20));
        ICloudFileScanResult result;
        result.id = Uuid::random();
        result.scanRunID = data.run.id;
        result.rootID = root.id;
        result.path = root.path + folder + name;
        result.displayName = name;
        result.isDirectory = false;
        result.fileSize = static_cast<std::int64_t>(size(random));
        result.modifiedAt = Date(1'500'000'000 + double(random() % 265'000'000) + 0.125);
        result.state = share.state;
        result.confidence = share.confidence;
        result.reason = share.reason;
        result.scannedAt = now.addingSeconds(i * 0.001);
        data.results.push_back(std::move(result));
    }
    data.summary = ICloudDriveScanSummary::make(data.run.id, data.run.completedAt,
                                                ScanRunStatus::completed, false, data.results);
    return data;
}

// A fresh file with the store's schema, the scan run and the roots, as the
// application has them when it stores a scan's results.
std::shared_ptr<TallowmereDatabase> prepareDatabase(const std::filesystem::path& file,
                                                    const ScanData& data) {
    auto database = TallowmereDatabase::open(file.string());
    ScanRepository(database->queue()).insert(data.run, {});
    ICloudScanRepository(database->queue()).upsertDetectedRoots(data.roots);
    return database;
}

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

std::string real(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// The same writes as ICloudScanRepository::insert, as one SQL script for the sqlite3
// tool: foreign keys on, one transaction.
void writePeerScript(const std::filesystem::path& file, const ScanData& data) {
    std::ofstream out(file);
    const auto runID = quoted(data.run.id.toString());
    const auto& s = data.summary;
    out << "PRAGMA foreign_keys = ON;\nBEGIN;\n";
    out << "INSERT OR REPLACE INTO icloud_scan_summaries (scan_run_id, completed_at, status, "
           "scanned_item_count, "
           "local_current_count, downloaded_count, cloud_only_count, waiting_to_upload_count, "
           "waiting_to_download_count, possible_sync_issue_count, excluded_count, unknown_count, "
           "limit_reached, "
           "did_modify_files) VALUES ("
        << runID << ", " << real(s.completedAt->secondsSince1970()) << ", 'completed', "
        << s.scannedItemCount << ", " << s.localCurrentCount << ", " << s.downloadedCount << ", "
        << s.cloudOnlyCount << ", " << s.waitingToUploadCount << ", " << s.waitingToDownloadCount
        << ", " << s.possibleSyncIssueCount << ", " << s.excludedCount << ", " << s.unknownCount
        << ", 0, 0);\n";
    out << "DELETE FROM icloud_file_results WHERE scan_run_id = " << runID << ";\n";
    for (const auto& r : data.results) {
        out << "INSERT INTO icloud_file_results (id, scan_run_id, root_id, path, display_name, "
               "is_directory, "
               "file_size, modified_at, state, confidence, reason, scanned_at) VALUES ("
            << quoted(r.id.toString()) << ", " << runID << ", " << quoted(r.rootID.toString())
            << ", " << quoted(r.path) << ", " << quoted(r.displayName) << ", "
            << (r.isDirectory ? 1 : 0) << ", " << *r.fileSize << ", "
            << real(r.modifiedAt->secondsSince1970()) << ", "
            << quoted(std::string(rawValue(r.state))) << ", "
            << quoted(std::string(rawValue(r.confidence))) << ", " << quoted(r.reason) << ", "
            << real(r.scannedAt.secondsSince1970()) << ");\n";
    }
    for (const auto& root : data.roots) {
        out << "UPDATE icloud_scan_roots SET last_scanned_at = "
            << real(s.completedAt->secondsSince1970())
            << " WHERE id = " << quoted(root.id.toString()) << ";\n";
    }
    out << "COMMIT;\n";
    if (!out.flush())
        throw std::runtime_error("cannot write the sqlite3 script");
}

std::int64_t rowCount(TallowmereDatabase& database) {
    return database.queue()->read([](SQLite::Database& db) {
        return db.execAndGet("SELECT count(*) FROM icloud_file_results").getInt64();
    });
}

}  // namespace

void runScanStoreBench() {
    const ScratchFolder scratch("tallowmere-bench-scan");
    const ScanData data = makeScan();
    const auto script = scratch.path() / "peer.sql";
    writePeerScript(script, data);

    // Best of a few rounds, each into a fresh file, so that a busy moment of the
    // machine does not decide the figure.
    double ours = 1e9;
    double peer = 1e9;
    double readMilliseconds = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const auto oursFile = scratch.path() / ("ours-" + std::to_string(round) + ".sqlite");
        auto database = prepareDatabase(oursFile, data);
        const ICloudScanRepository repository(database->queue());
        ours = std::min(ours, secondsOf([&] { repository.insert(data.summary, data.results); }));
        std::vector<ICloudFileScanResult> recent;
        readMilliseconds =
            std::min(readMilliseconds,
                     1000 * secondsOf([&] { recent = repository.fetchRecentFileResults(100); }));
        if (rowCount(*database) != kRows || recent.size() != 100)
            throw std::runtime_error("our store lost rows");

        const auto peerFile = scratch.path() / ("peer-" + std::to_string(round) + ".sqlite");
        prepareDatabase(peerFile, data);
        peer = std::min(peer, secondsOf([&] {
                            runProgram({"sqlite3", peerFile.string()}, script);
                        }));
        if (rowCount(*TallowmereDatabase::open(peerFile.string())) != kRows) {
            throw std::runtime_error("the sqlite3 tool did not store every row");
        }
    }

    std::printf("bench scan-insert-50k: ours %.3f s, sqlite3 %.3f s, ratio %.2f\n", ours, peer,
                ours / peer);
    std::printf("bench scan-read-recent-100: %.2f ms\n", readMilliseconds);
}

}  // namespace tallowmere::bench
