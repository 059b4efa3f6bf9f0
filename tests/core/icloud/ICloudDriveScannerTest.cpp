#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <mutex>
#include <set>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "core/icloud/ICloudDriveScanner.h"
#include "tests/support/FixedClock.h"
#include "tests/support/InMemoryFileSystem.h"

namespace tallowmere {
namespace {

using testing::FixedClock;
using testing::InMemoryFileSystem;
using S = ICloudFileState;
using C = ConfidenceLevel;

constexpr const char* kUnreadable = "Tallowmere could not read metadata for this item.";
constexpr const char* kTooDeep =
    "This item was skipped because the scan depth safety limit was reached.";
constexpr const char* kUnavailableRoot = "This scan root was not available.";
constexpr const char* kUnenumerableRoot = "Tallowmere could not enumerate this folder.";
constexpr const char* kHiddenPackageLink = "This item is hidden, a package, or a symbolic link.";
constexpr const char* kExcludedFromSync = "This item is marked as excluded from iCloud sync.";
constexpr const char* kCurrent = "This file appears local and current.";
constexpr const char* kStarting = "Starting iCloud Drive scan...";
constexpr const char* kScanning = "Scanning iCloud Drive metadata...";
constexpr const char* kFinished = "Scan finished. Tallowmere did not modify your files.";
constexpr const char* kCancelled = "Scan cancelled. Tallowmere did not modify your files.";
constexpr const char* kLimit = "Scan limit reached. Tallowmere did not modify your files.";

ICloudScanRoot makeRoot(const std::string& path, const std::string& name) {
    ICloudScanRoot root;
    root.id = Uuid::random();
    root.path = path;
    root.displayName = name;
    root.kind = ICloudScanRootKind::userSelected;
    root.isSelected = true;
    return root;
}

// A local file whose values are then changed by `edit`.
void addFile(InMemoryFileSystem& fs, const std::string& path,
             const std::function<void(ResourceValues&)>& edit = {}) {
    fs.addFile(path, "data");
    if (edit)
        fs.updateValues(path, edit);
}

void addFiles(InMemoryFileSystem& fs, const std::string& folder, int count) {
    for (int i = 1; i <= count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%03d", i);
        addFile(fs, folder + "/" + name);
    }
}

// Every snapshot published, in order, from whichever thread.
class SnapshotRecorder {
public:
    ICloudDriveScanner::ProgressHandler handler() {
        return [this](const ScanProgressSnapshot& snapshot) {
            std::lock_guard lock(m_mutex);
            m_snapshots.push_back(snapshot);
        };
    }
    std::vector<ScanProgressSnapshot> snapshots() const {
        std::lock_guard lock(m_mutex);
        return m_snapshots;
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& snapshot : snapshots()) out.push_back(snapshot.message);
        return out;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<ScanProgressSnapshot> m_snapshots;
};

ScanProgressSnapshot snapshot(bool running, std::optional<std::string> root, std::int64_t items,
                              std::int64_t local, std::string message) {
    ScanProgressSnapshot s;
    s.isRunning = running;
    s.currentRoot = std::move(root);
    s.scannedItemCount = items;
    s.localAvailableCount = local;
    s.message = std::move(message);
    return s;
}

std::vector<std::string> pathsOf(const SafetyScanResult& result) {
    std::vector<std::string> paths;
    for (const auto& row : result.iCloudFileResults) paths.push_back(row.path);
    return paths;
}

const ICloudFileScanResult* rowAt(const SafetyScanResult& result, const std::string& path) {
    for (const auto& row : result.iCloudFileResults) {
        if (row.path == path)
            return &row;
    }
    return nullptr;
}

const SafetyFinding& iCloudFinding(const SafetyScanResult& result) {
    return result.findings.at(2);
}

class ICloudDriveScannerTest : public ::testing::Test {
protected:
    SafetyScanResult scan(const std::vector<ICloudScanRoot>& roots, ICloudScanLimits limits = {}) {
        ICloudDriveScanner scanner(fs, limits, clock);
        scanner.setProgressHandler(recorder.handler());
        return scanner.runScan(ScanTrigger::manual, roots);
    }

    // From now on, keeps the paths the walk looks at, in order.
    void recordVisits() {
        fs.setEnumerationHook([this](const std::string& path) { m_visited.push_back(path); });
    }
    bool wasVisited(const std::string& path) const {
        return std::find(m_visited.begin(), m_visited.end(), path) != m_visited.end();
    }

    InMemoryFileSystem fs;
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>(Date(1'800'000'000));
    SnapshotRecorder recorder;

private:
    std::vector<std::string> m_visited;
};

// ---------------------------------------------------------------- roots

TEST_F(ICloudDriveScannerTest, NoSelectedRootsGiveAnEmptyCompletedScan) {
    ICloudScanRoot deselected = makeRoot("/home/tester/Trips", "Trips");
    deselected.isSelected = false;
    addFiles(fs, "/home/tester/Trips", 2);
    for (const auto& roots : {std::vector<ICloudScanRoot>{}, std::vector{deselected}}) {
        SCOPED_TRACE(roots.size());
        SnapshotRecorder local;
        ICloudDriveScanner scanner(fs, {}, clock);
        scanner.setProgressHandler(local.handler());
        const SafetyScanResult result = scanner.runScan(ScanTrigger::firstRun, roots);

        EXPECT_TRUE(result.iCloudFileResults.empty());
        const ScanRun& run = result.scanRun;
        EXPECT_EQ(run.trigger, ScanTrigger::firstRun);
        EXPECT_EQ(run.startedAt, Date(1'800'000'000));
        EXPECT_EQ(run.completedAt, Date(1'800'000'000));
        EXPECT_EQ(run.status, ScanRunStatus::completed);
        EXPECT_EQ(run.overallState, SafetyState::backupStale);
        EXPECT_EQ(run.safetyScore, 58);
        EXPECT_EQ(run.scannedItemCount, 0);
        EXPECT_FALSE(run.errorMessage);
        EXPECT_FALSE(run.limitReached);
        ASSERT_TRUE(result.iCloudSummary);
        EXPECT_EQ(*result.iCloudSummary,
                  ICloudDriveScanSummary::make(run.id, run.completedAt, ScanRunStatus::completed,
                                               false, {}));
        EXPECT_EQ(iCloudFinding(result).title, "Choose iCloud scan folders");

        EXPECT_EQ(local.snapshots(),
                  (std::vector<ScanProgressSnapshot>{
                      snapshot(true, std::nullopt, 0, 0, "No scan roots selected."),
                      snapshot(false, std::nullopt, 0, 0, kFinished)}));
    }
}

TEST_F(ICloudDriveScannerTest, RootsThatAreMissingOrCannotBeListedBecomeOneRowEach) {
    fs.addFile("/data/plain-file", "x");
    fs.addFolder("/data/failing");
    fs.failOperation(InMemoryFileSystem::Operation::enumerate, "/data/failing",
                     std::make_error_code(std::errc::io_error));
    const ICloudScanRoot missing = makeRoot("/data/./gone/", "Gone");
    const ICloudScanRoot file = makeRoot("/data/plain-file", "File");
    const ICloudScanRoot failing = makeRoot("/data/failing", "Failing");

    const SafetyScanResult result = scan({missing, file, failing});

    struct Expected {
        std::string path;
        std::string displayName;
        Uuid rootID;
        const char* reason;
    };
    const std::vector<Expected> expected = {
        {"/data/gone", "gone", missing.id, kUnavailableRoot},
        {"/data/plain-file", "plain-file", file.id, kUnenumerableRoot},
        {"/data/failing", "failing", failing.id, kUnenumerableRoot},
    };
    ASSERT_EQ(result.iCloudFileResults.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].path);
        const ICloudFileScanResult& row = result.iCloudFileResults[i];
        EXPECT_EQ(row.path, expected[i].path);
        EXPECT_EQ(row.displayName, expected[i].displayName);
        EXPECT_EQ(row.rootID, expected[i].rootID);
        EXPECT_EQ(row.scanRunID, result.scanRun.id);
        EXPECT_TRUE(row.isDirectory);
        EXPECT_FALSE(row.fileSize);
        EXPECT_FALSE(row.modifiedAt);
        EXPECT_EQ(row.state, S::excluded);
        EXPECT_EQ(row.confidence, C::verified);
        EXPECT_EQ(row.reason, expected[i].reason);
        EXPECT_EQ(row.scannedAt, Date(1'800'000'000));
    }
    EXPECT_EQ(result.iCloudSummary->scannedItemCount, 3);
    EXPECT_EQ(result.iCloudSummary->excludedCount, 3);
    EXPECT_EQ(result.scanRun.status, ScanRunStatus::completed);
    // Excluded rows never select a finding.
    EXPECT_EQ(iCloudFinding(result).title, "iCloud Drive files appear local");
}

// ---------------------------------------------------------------- what is recorded

TEST_F(ICloudDriveScannerTest, RecordsFilesAndSpecialItemsAndWalksOnlyOrdinaryFolders) {
    const std::string r = "/home/tester/Cloud";
    fs.addFolder(r + "/Projects/Empty");
    addFile(fs, r + "/Projects/plan.txt", [](ResourceValues& v) {
        v.fileSize = 1234;
        v.contentModificationDate = Date(1'700'000'123.5);
    });
    addFile(fs, r + "/.DS_Store");
    fs.addFolder(r + "/.git");
    addFile(fs, r + "/.git/config");
    fs.addItem(r + "/Tool.app", [] {
        ResourceValues v = InMemoryFileSystem::localFolderValues("Tool.app");
        v.isPackage = true;
        return v;
    }());
    addFile(fs, r + "/Tool.app/Contents/Info.plist");
    fs.addFolder(r + "/Cache");
    fs.updateValues(r + "/Cache", [](ResourceValues& v) { v.isExcludedFromSync = true; });
    addFile(fs, r + "/Cache/blob");
    fs.addLink(r + "/Shortcut", r + "/Projects");
    ResourceValues socket;
    socket.name = "agent.sock";
    fs.addItem(r + "/agent.sock", socket);
    ResourceValues hiddenSocket;
    hiddenSocket.name = ".hidden.sock";
    hiddenSocket.isHidden = true;
    fs.addItem(r + "/.hidden.sock", hiddenSocket);
    // A file whose name value is missing is shown by its path's last component.
    addFile(fs, r + "/nameless", [](ResourceValues& v) { v.name.clear(); });
    recordVisits();

    const ICloudScanRoot root = makeRoot(r, "Cloud");
    const SafetyScanResult result = scan({root});

    struct Expected {
        std::string path;
        std::string displayName;
        bool isDirectory;
        S state;
        const char* reason;
    };
    const std::vector<Expected> expected = {
        {r + "/.DS_Store", ".DS_Store", false, S::excluded, kHiddenPackageLink},
        {r + "/.git", ".git", true, S::excluded, kHiddenPackageLink},
        {r + "/.hidden.sock", ".hidden.sock", false, S::excluded, kHiddenPackageLink},
        {r + "/Cache", "Cache", true, S::excluded, kExcludedFromSync},
        {r + "/Projects/plan.txt", "plan.txt", false, S::localCurrent, kCurrent},
        {r + "/Shortcut", "Shortcut", false, S::excluded, kHiddenPackageLink},
        {r + "/Tool.app", "Tool.app", true, S::excluded, kHiddenPackageLink},
        {r + "/nameless", "nameless", false, S::localCurrent, kCurrent},
    };
    ASSERT_EQ(result.iCloudFileResults.size(), expected.size())
        << ::testing::PrintToString(pathsOf(result));
    std::set<Uuid> ids;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].path);
        const ICloudFileScanResult& row = result.iCloudFileResults[i];
        EXPECT_EQ(row.path, expected[i].path);
        EXPECT_EQ(row.displayName, expected[i].displayName);
        EXPECT_EQ(row.isDirectory, expected[i].isDirectory);
        EXPECT_EQ(row.state, expected[i].state);
        EXPECT_EQ(row.reason, expected[i].reason);
        EXPECT_EQ(row.scanRunID, result.scanRun.id);
        EXPECT_EQ(row.rootID, root.id);
        ids.insert(row.id);
    }
    EXPECT_EQ(ids.size(), expected.size());
    const ICloudFileScanResult* plan = rowAt(result, r + "/Projects/plan.txt");
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->fileSize, 1234);
    EXPECT_EQ(plan->modifiedAt, Date(1'700'000'123.5));
    EXPECT_EQ(plan->confidence, C::verified);
    const ICloudFileScanResult* package = rowAt(result, r + "/Tool.app");
    ASSERT_NE(package, nullptr);
    EXPECT_FALSE(package->fileSize);

    // Hidden folders, packages, links and excluded folders are looked at but not entered.
    for (const char* inside :
         {"/.git/config", "/Tool.app/Contents", "/Cache/blob", "/Shortcut/plan.txt"}) {
        SCOPED_TRACE(inside);
        EXPECT_FALSE(wasVisited(r + inside));
    }
    EXPECT_TRUE(wasVisited(r + "/Projects/Empty"));
    EXPECT_TRUE(fs.changes().empty());
}

TEST_F(ICloudDriveScannerTest, UnreadableItemsAndFoldersBecomeRowsAndTheWalkGoesOn) {
    const std::string r = "/data/root";
    fs.addFolder(r + "/a-locked");
    addFile(fs, r + "/a-locked/secret");
    fs.setReadable(r + "/a-locked", false);
    addFile(fs, r + "/b-unreadable-values");
    fs.failOperation(InMemoryFileSystem::Operation::resourceValues, r + "/b-unreadable-values",
                     std::make_error_code(std::errc::permission_denied));
    addFile(fs, r + "/c-file");

    // Three entries; the report about the locked folder does not count as one.
    const SafetyScanResult result = scan({makeRoot(r, "Root")}, {.maxEntries = 3, .maxDepth = 64});

    EXPECT_EQ(pathsOf(result), (std::vector<std::string>{
                                   r + "/a-locked", r + "/b-unreadable-values", r + "/c-file"}));
    for (const std::string name : {"a-locked", "b-unreadable-values"}) {
        SCOPED_TRACE(name);
        const ICloudFileScanResult* row = rowAt(result, r + "/" + name);
        EXPECT_EQ(row->displayName, name);
        EXPECT_TRUE(row->isDirectory);
        EXPECT_FALSE(row->fileSize);
        EXPECT_EQ(row->state, S::excluded);
        EXPECT_EQ(row->confidence, C::verified);
        EXPECT_EQ(row->reason, kUnreadable);
    }
    EXPECT_EQ(rowAt(result, r + "/c-file")->state, S::localCurrent);
    EXPECT_EQ(result.scanRun.status, ScanRunStatus::completed);
    EXPECT_FALSE(result.scanRun.limitReached);
}

// ---------------------------------------------------------------- limits

TEST_F(ICloudDriveScannerTest, ItemsBelowTheDepthLimitAreRecordedAsTooDeepAndNotEntered) {
    // /r/d1/.../d64 is the level-64 folder; f64 beside d64 is at level 64 and file65 and
    // d65 inside it at level 65.
    std::string level63 = "/r";
    for (int level = 1; level <= 63; ++level) level63 += "/d" + std::to_string(level);
    const std::string level64 = level63 + "/d64";
    addFile(fs, level63 + "/f64");
    addFile(fs, level64 + "/file65");
    fs.addFolder(level64 + "/d65/inner");
    recordVisits();

    const SafetyScanResult result = scan({makeRoot("/r", "R")});

    EXPECT_EQ(pathsOf(result),
              (std::vector<std::string>{level64 + "/d65", level64 + "/file65", level63 + "/f64"}));
    for (int i : {0, 1}) {
        const auto& row = result.iCloudFileResults[i];
        EXPECT_EQ(row.reason, kTooDeep);
        EXPECT_EQ(row.state, S::excluded);
        EXPECT_TRUE(row.isDirectory);
        EXPECT_FALSE(row.fileSize);
    }
    EXPECT_EQ(result.iCloudFileResults[2].state, S::localCurrent);
    EXPECT_TRUE(wasVisited(level64 + "/d65"));
    EXPECT_FALSE(wasVisited(level64 + "/d65/inner"));
    EXPECT_EQ(result.scanRun.status, ScanRunStatus::completed);
}

TEST_F(ICloudDriveScannerTest, TheEntryLimitCountsEntriesOverAllRoots) {
    struct Case {
        const char* name;
        std::int64_t maxEntries;
        std::vector<int> filesPerRoot;
        std::vector<std::size_t> rowsPerRoot;
        bool limitReached;
    };
    const std::vector<Case> cases = {
        {"three of five", 3, {5}, {3}, true},
        {"exactly as many as allowed", 5, {5}, {5}, false},
        {"the counter goes on in the second root", 10, {6, 6}, {6, 4}, true},
        {"roots after the limit are not visited", 4, {6, 6}, {4, 0}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InMemoryFileSystem local;
        std::vector<ICloudScanRoot> roots;
        for (std::size_t i = 0; i < c.filesPerRoot.size(); ++i) {
            const std::string path = "/root" + std::to_string(i);
            for (int f = 1; f <= c.filesPerRoot[i]; ++f)
                addFile(local, path + "/f" + std::to_string(f));
            roots.push_back(makeRoot(path, "Root"));
        }
        // A missing last root would add a row if it were visited.
        roots.push_back(makeRoot("/missing", "Missing"));
        SnapshotRecorder snapshots;
        ICloudDriveScanner scanner(local, {.maxEntries = c.maxEntries, .maxDepth = 64}, clock);
        scanner.setProgressHandler(snapshots.handler());
        const SafetyScanResult result = scanner.runScan(ScanTrigger::manual, roots);

        for (std::size_t i = 0; i < c.rowsPerRoot.size(); ++i) {
            const auto rows =
                std::count_if(result.iCloudFileResults.begin(), result.iCloudFileResults.end(),
                              [&](const auto& row) { return row.rootID == roots[i].id; });
            EXPECT_EQ(static_cast<std::size_t>(rows), c.rowsPerRoot[i]) << "root " << i;
        }
        const bool missingVisited = rowAt(result, "/missing") != nullptr;
        EXPECT_EQ(missingVisited, !c.limitReached);
        const ScanRunStatus status =
            c.limitReached ? ScanRunStatus::limitReached : ScanRunStatus::completed;
        EXPECT_EQ(result.scanRun.status, status);
        EXPECT_EQ(result.scanRun.limitReached, c.limitReached);
        EXPECT_EQ(result.iCloudSummary->status, status);
        EXPECT_EQ(result.iCloudSummary->limitReached, c.limitReached);
        EXPECT_FALSE(result.scanRun.errorMessage);
        const ScanProgressSnapshot last = snapshots.snapshots().back();
        EXPECT_EQ(last.limitReached, c.limitReached);
        EXPECT_EQ(last.message, c.limitReached ? kLimit : kFinished);
        EXPECT_EQ(iCloudFinding(result).title,
                  c.limitReached ? "Scan limit reached" : "iCloud Drive files appear local");
    }
}

// ---------------------------------------------------------------- cancelling

TEST_F(ICloudDriveScannerTest, ACancellationBeforeTheScanIsForgotten) {
    addFiles(fs, "/r", 3);
    ICloudDriveScanner scanner(fs, {}, clock);
    scanner.setProgressHandler(recorder.handler());
    scanner.cancelScan();
    const SafetyScanResult result = scanner.runScan(ScanTrigger::manual, {makeRoot("/r", "R")});

    EXPECT_EQ(result.scanRun.status, ScanRunStatus::completed);
    EXPECT_EQ(result.iCloudFileResults.size(), 3u);
    ScanProgressSnapshot cancelling;
    cancelling.isRunning = true;
    cancelling.isCancelling = true;
    cancelling.message = "Cancelling scan...";
    EXPECT_EQ(recorder.snapshots().front(), cancelling);
}

TEST_F(ICloudDriveScannerTest, CancellingFromAnotherThreadEndsTheScanAtTheNextEntry) {
    addFiles(fs, "/r", 5);
    ICloudDriveScanner scanner(fs, {}, clock);
    scanner.setProgressHandler(recorder.handler());
    fs.setEnumerationHook([&](const std::string& path) {
        if (path == "/r/f003")
            std::thread([&] { scanner.cancelScan(); }).join();
    });
    const SafetyScanResult result =
        scanner.runScan(ScanTrigger::manual, {makeRoot("/r", "R"), makeRoot("/missing", "M")});

    // The entry seen after the request is not examined, and the next root is not visited.
    EXPECT_EQ(pathsOf(result), (std::vector<std::string>{"/r/f001", "/r/f002"}));
    EXPECT_EQ(result.scanRun.status, ScanRunStatus::cancelled);
    EXPECT_EQ(result.scanRun.errorMessage, "Scan cancelled by user.");
    EXPECT_FALSE(result.scanRun.limitReached);
    EXPECT_EQ(result.scanRun.scannedItemCount, 2);
    EXPECT_EQ(result.iCloudSummary->status, ScanRunStatus::cancelled);
    EXPECT_EQ(iCloudFinding(result).title, "Scan incomplete");
    EXPECT_EQ(recorder.messages(),
              (std::vector<std::string>{kStarting, kScanning, "Cancelling scan...", kCancelled}));
    const ScanProgressSnapshot last = recorder.snapshots().back();
    EXPECT_FALSE(last.isRunning);
    EXPECT_FALSE(last.isCancelling);
    EXPECT_EQ(last.scannedItemCount, 2);

    // The next scan starts afresh.
    fs.setEnumerationHook({});
    EXPECT_EQ(scanner.runScan(ScanTrigger::manual, {makeRoot("/r", "R")}).scanRun.status,
              ScanRunStatus::completed);
}

TEST_F(ICloudDriveScannerTest, ACancellationRequestedByTheHandlerIsNoticedAtTheNextRoot) {
    addFiles(fs, "/r", 50);
    ICloudDriveScanner scanner(fs, {}, clock);
    // The handler runs without the scanner's lock, so it may call back into the scanner.
    scanner.setProgressHandler([&](const ScanProgressSnapshot& snapshot) {
        recorder.handler()(snapshot);
        if (snapshot.scannedItemCount == 50 && snapshot.isRunning && !snapshot.isCancelling)
            scanner.cancelScan();
    });
    const SafetyScanResult result =
        scanner.runScan(ScanTrigger::manual, {makeRoot("/r", "R"), makeRoot("/missing", "M")});

    EXPECT_EQ(result.iCloudFileResults.size(), 50u);
    EXPECT_FALSE(rowAt(result, "/missing"));
    EXPECT_EQ(result.scanRun.status, ScanRunStatus::cancelled);
    EXPECT_EQ(recorder.messages(), (std::vector<std::string>{kStarting, kScanning, kScanning,
                                                             "Cancelling scan...", kCancelled}));
}

TEST_F(ICloudDriveScannerTest, AStopRequestedThroughTheTokenCancelsLikeCancelScan) {
    addFiles(fs, "/r", 5);
    std::stop_source stop;
    fs.setEnumerationHook([&](const std::string& path) {
        if (path == "/r/f004")
            stop.request_stop();
    });
    ICloudDriveScanner scanner(fs, {}, clock);
    const SafetyScanResult result =
        scanner.runScan(ScanTrigger::manual, {makeRoot("/r", "R")}, stop.get_token());
    EXPECT_EQ(result.iCloudFileResults.size(), 3u);
    EXPECT_EQ(result.scanRun.status, ScanRunStatus::cancelled);
    EXPECT_EQ(result.scanRun.errorMessage, "Scan cancelled by user.");
}

// ---------------------------------------------------------------- progress

TEST_F(ICloudDriveScannerTest, ProgressIsPublishedAtEveryRootAndAtEachMultipleOfFiftyRows) {
    const std::string r = "/r";
    // Examined before any file: adds no row while the count stands at 0.
    fs.addFolder(r + "/0-folder");
    addFiles(fs, r, 120);
    // Examined right after the 50th file: the count still stands at 50.
    fs.addFolder(r + "/f050a");
    for (int i = 1; i <= 10; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/f%03d", i);
        fs.updateValues(r + name, [](ResourceValues& v) {
            v.downloadingStatus = DownloadingStatus::notDownloaded();
        });
    }

    const SafetyScanResult result = scan({makeRoot(r, "Photos")});

    auto counts = [](std::int64_t items, std::int64_t local, std::int64_t cloudOnly) {
        ScanProgressSnapshot s = snapshot(true, "Photos", items, local, kScanning);
        s.cloudOnlyCount = cloudOnly;
        return s;
    };
    ScanProgressSnapshot finished = snapshot(false, std::nullopt, 120, 110, kFinished);
    finished.cloudOnlyCount = 10;
    EXPECT_EQ(recorder.snapshots(), (std::vector<ScanProgressSnapshot>{
                                        snapshot(true, std::nullopt, 0, 0, kStarting),
                                        counts(0, 0, 0),      // the root
                                        counts(0, 0, 0),      // 0-folder
                                        counts(50, 40, 10),   // f050
                                        counts(50, 40, 10),   // f050a
                                        counts(100, 90, 10),  // f100
                                        finished,
                                    }));
    EXPECT_EQ(result.iCloudFileResults.size(), 120u);
}

// ---------------------------------------------------------------- findings

TEST_F(ICloudDriveScannerTest, EachICloudFindingIsReachedAndDecidesTheRunsStateAndScore) {
    using Setup = std::function<void(InMemoryFileSystem&, ICloudDriveScanner&)>;
    struct Case {
        const char* name;
        bool withRoot;
        ICloudScanLimits limits;
        Setup setUp;
        // The expected iCloud Drive finding.
        SafetyState state;
        ConfidenceLevel confidence;
        std::string title;
        std::string message;
        std::string action;
        std::int64_t severity;
        SafetyState overall;
        std::int64_t score;
    };
    auto values = [](const std::string& path,
                     const std::function<void(ResourceValues&)>& edit) -> Setup {
        return [=](InMemoryFileSystem& fs, ICloudDriveScanner&) {
            addFile(fs, path, edit);
        };
    };
    auto both = [](Setup a, Setup b) -> Setup {
        return [=](InMemoryFileSystem& fs, ICloudDriveScanner& s) {
            a(fs, s);
            b(fs, s);
        };
    };
    const Setup syncIssue = values("/r/a-issue", [](auto& v) { v.hasUnresolvedConflicts = true; });
    const Setup upload = values("/r/b-upload", [](auto& v) { v.isUploading = true; });
    const Setup download = values("/r/c-download", [](auto& v) { v.isDownloading = true; });
    const Setup cloudOnly = values("/r/d-cloud", [](auto& v) {
        v.isUbiquitousItem = true;
        v.downloadingStatus = DownloadingStatus::notDownloaded();
    });
    const Setup unknown = values("/r/e-unknown", [](auto& v) { v.isUbiquitousItem = false; });
    const Setup local = values("/r/f-local", {});
    const Setup hidden = values("/r/.hidden", {});
    const Setup cancelAtLocal = [](InMemoryFileSystem& fs, ICloudDriveScanner& scanner) {
        fs.setEnumerationHook([&scanner](const std::string& path) {
            if (path == "/r/f-local")
                scanner.cancelScan();
        });
    };
    const ICloudScanLimits standard{};
    const ICloudScanLimits oneEntry{.maxEntries = 1, .maxDepth = 64};

    const std::vector<Case> cases = {
        {"1 no selected roots", false, standard, local, SafetyState::unknown, C::unknown,
         "Choose iCloud scan folders", "No iCloud Drive scan roots are selected.",
         "Choose iCloud Drive, Desktop, Documents, or another folder to scan.", 70,
         SafetyState::backupStale, 58},
        {"2 cancelled outranks a sync issue", true, standard,
         both(both(syncIssue, local), cancelAtLocal), SafetyState::needsAttention, C::unknown,
         "Scan incomplete",
         "The iCloud Drive scan was cancelled. Tallowmere did not modify your files.",
         "Run the scan again when you are ready.", 72, SafetyState::backupStale, 58},
        {"3 limit reached outranks a sync issue", true, oneEntry, both(syncIssue, local),
         SafetyState::needsAttention, C::likely, "Scan limit reached",
         "Tallowmere reached its read-only safety limit before scanning every item.",
         "Scan a smaller folder or raise the limit in a later advanced setting.", 76,
         SafetyState::backupStale, 58},
        {"4 sync issues outrank uploads", true, standard, both(syncIssue, upload),
         SafetyState::stuckSyncing, C::likely, "Review possible sync issues",
         "1 items may have iCloud sync issues.",
         "Review the file list for items marked possible sync issue.", 92,
         SafetyState::stuckSyncing, 46},
        {"5 uploads outrank downloads", true, standard,
         both(both(upload, values("/r/b-upload2", [](auto& v) { v.isUploaded = false; })),
              download),
         SafetyState::stuckSyncing, C::likely, "Review waiting uploads",
         "2 items may be waiting to upload.",
         "Open iCloud Drive status in Finder and confirm those items finish syncing.", 88,
         SafetyState::stuckSyncing, 46},
        {"6 downloads outrank cloud-only", true, standard, both(download, cloudOnly),
         SafetyState::needsAttention, C::likely, "Review waiting downloads",
         "1 items may be waiting to download.",
         "Let iCloud finish downloading local copies before relying on local backup.", 82,
         SafetyState::backupStale, 58},
        {"7 cloud-only outranks unknown", true, standard, both(cloudOnly, unknown),
         SafetyState::cloudOnly, C::likely, "Review cloud-only files",
         "1 files may only exist in iCloud.",
         "Download local copies before relying on a local backup.", 86, SafetyState::cloudOnly, 34},
        {"8 unknown", true, standard, both(both(unknown, local), hidden),
         SafetyState::needsAttention, C::unknown, "Review unknown files",
         "1 items could not be verified.",
         "Review unknown items before assuming they are protected.", 58, SafetyState::backupStale,
         58},
        {"9 local and excluded only", true, standard, both(local, hidden), SafetyState::protected_,
         C::verified, "iCloud Drive files appear local",
         "These files appear local. Tallowmere did not modify your files.",
         "Prepare a second copy when backup is available.", 10, SafetyState::backupStale, 58},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InMemoryFileSystem local;
        ICloudDriveScanner scanner(local, c.limits, clock);
        c.setUp(local, scanner);
        std::vector<ICloudScanRoot> roots;
        if (c.withRoot)
            roots.push_back(makeRoot("/r", "R"));
        const SafetyScanResult result = scanner.runScan(ScanTrigger::manual, roots);
        const Uuid runID = result.scanRun.id;
        const Date now(1'800'000'000);

        ASSERT_EQ(result.findings.size(), 3u);
        const SafetyFinding photos{result.findings[0].id,
                                   runID,
                                   SafetyDomain::photos,
                                   SafetyState::unknown,
                                   C::unknown,
                                   "Review Photos safety",
                                   "Photos safety has not been scanned yet.",
                                   "Run a Photos safety scan when you are ready to grant "
                                   "Photos access.",
                                   35,
                                   now};
        const SafetyFinding secondCopy{result.findings[1].id,
                                       runID,
                                       SafetyDomain::secondCopy,
                                       SafetyState::backupStale,
                                       C::likely,
                                       "Create first second copy",
                                       "Your first copied second copy has not been created yet.",
                                       "Choose a backup destination and prepare a first backup.",
                                       80,
                                       now};
        const SafetyFinding drive{result.findings[2].id,
                                  runID,
                                  SafetyDomain::iCloudDrive,
                                  c.state,
                                  c.confidence,
                                  c.title,
                                  c.message,
                                  c.action,
                                  c.severity,
                                  now};
        EXPECT_EQ(result.findings[0], photos);
        EXPECT_EQ(result.findings[1], secondCopy);
        EXPECT_EQ(result.findings[2], drive);
        EXPECT_EQ(
            std::set<Uuid>({result.findings[0].id, result.findings[1].id, result.findings[2].id})
                .size(),
            3u);
        EXPECT_EQ(result.scanRun.overallState, c.overall);
        EXPECT_EQ(result.scanRun.safetyScore, c.score);
        // The stored counts are those of the rows.
        const ICloudDriveScanSummary& summary = *result.iCloudSummary;
        EXPECT_EQ(summary, ICloudDriveScanSummary::make(
                               runID, result.scanRun.completedAt, result.scanRun.status,
                               result.scanRun.limitReached, result.iCloudFileResults));
        EXPECT_EQ(result.scanRun.scannedItemCount, summary.scannedItemCount);
        EXPECT_FALSE(summary.didModifyFiles);
    }
}

TEST_F(ICloudDriveScannerTest, TheFinalSnapshotCarriesTheSummarysCounts) {
    addFile(fs, "/r/local");
    addFile(fs, "/r/downloaded",
            [](auto& v) { v.downloadingStatus = DownloadingStatus::downloaded(); });
    addFile(fs, "/r/cloud",
            [](auto& v) { v.downloadingStatus = DownloadingStatus::notDownloaded(); });
    addFile(fs, "/r/up", [](auto& v) { v.isUploading = true; });
    addFile(fs, "/r/down1", [](auto& v) { v.isDownloading = true; });
    addFile(fs, "/r/down2", [](auto& v) {
        v.downloadRequested = true;
        v.downloadingStatus.reset();
    });
    addFile(fs, "/r/issue",
            [](auto& v) { v.uploadingError = std::make_error_code(std::errc::io_error); });
    addFile(fs, "/r/unknown", [](auto& v) { v.downloadingStatus.reset(); });
    addFile(fs, "/r/.hidden");

    scan({makeRoot("/r", "R")});
    ScanProgressSnapshot expected;
    expected.scannedItemCount = 9;
    expected.localAvailableCount = 2;
    expected.cloudOnlyCount = 1;
    expected.waitingCount = 3;
    expected.possibleIssueCount = 1;
    expected.unknownCount = 1;
    expected.excludedCount = 1;
    expected.message = kFinished;
    EXPECT_EQ(recorder.snapshots().back(), expected);
}

// ---------------------------------------------------------------- added folders

TEST_F(ICloudDriveScannerTest, BookmarkedRootsAreReadWhereTheBookmarkPointsWithAccessAroundThem) {
    addFile(fs, "/moved/Trips/a");
    addFile(fs, "/stored/Trips/b");
    std::vector<std::string> log;
    const Bytes goodBookmark{1, 2, 3};
    const Bytes staleBookmark{9};
    ScanRootAccess access;
    access.resolveBookmark = [&](const Bytes& bookmark) -> std::optional<std::string> {
        log.push_back("resolve");
        if (bookmark == goodBookmark)
            return std::string("/moved/./Trips/");
        return std::nullopt;
    };
    access.startAccessing = [&](const std::string& path) {
        log.push_back("start " + path);
        return true;
    };
    access.stopAccessing = [&](const std::string& path) {
        log.push_back("stop " + path);
    };

    struct Case {
        const char* name;
        std::optional<Bytes> bookmark;
        std::vector<std::string> rows;
        std::vector<std::string> log;
    };
    const std::vector<Case> cases = {
        {"resolved",
         goodBookmark,
         {"/moved/Trips/a"},
         {"snapshot " + std::string(kScanning), "resolve", "start /moved/./Trips/",
          "stop /moved/./Trips/", "snapshot " + std::string(kFinished)}},
        {"stale",
         staleBookmark,
         {"/stored/Trips/b"},
         {"snapshot " + std::string(kScanning), "resolve", "snapshot " + std::string(kFinished)}},
        {"no bookmark",
         std::nullopt,
         {"/stored/Trips/b"},
         {"snapshot " + std::string(kScanning), "snapshot " + std::string(kFinished)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        ICloudDriveScanner scanner(fs, {}, clock, access);
        scanner.setProgressHandler([&](const ScanProgressSnapshot& s) {
            if (s.message != kStarting)
                log.push_back("snapshot " + s.message);
        });
        ICloudScanRoot root = makeRoot("/stored/Trips", "Trips");
        root.bookmarkData = c.bookmark;
        EXPECT_EQ(pathsOf(scanner.runScan(ScanTrigger::manual, {root})), c.rows);
        EXPECT_EQ(log, c.log);
    }
}

TEST_F(ICloudDriveScannerTest, AccessIsStoppedWhenTheScanStopsInsideTheRoot) {
    addFiles(fs, "/moved/Trips", 3);
    int started = 0;
    int stopped = 0;
    ScanRootAccess access;
    access.resolveBookmark = [](const Bytes&) {
        return std::optional<std::string>("/moved/Trips");
    };
    access.startAccessing = [&](const std::string&) {
        return ++started, true;
    };
    access.stopAccessing = [&](const std::string&) {
        ++stopped;
    };
    ICloudScanRoot root = makeRoot("/stored/Trips", "Trips");
    root.bookmarkData = Bytes{1};

    ICloudDriveScanner limited(fs, {.maxEntries = 1, .maxDepth = 64}, clock, access);
    EXPECT_EQ(limited.runScan(ScanTrigger::manual, {root, root}).scanRun.status,
              ScanRunStatus::limitReached);
    EXPECT_EQ(started, 1);
    EXPECT_EQ(stopped, 1);

    // Access that was not granted is not given back.
    access.startAccessing = [&](const std::string&) {
        return ++started, false;
    };
    ICloudDriveScanner refused(fs, {}, clock, access);
    EXPECT_EQ(refused.runScan(ScanTrigger::manual, {root}).iCloudFileResults.size(), 3u);
    EXPECT_EQ(started, 2);
    EXPECT_EQ(stopped, 1);
}

}  // namespace
}  // namespace tallowmere
