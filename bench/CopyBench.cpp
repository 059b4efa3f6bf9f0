#include "bench/CopyBench.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <stdexcept>

#include "app/LocalBackupCoordinator.h"
#include "bench/BenchSupport.h"
#include "core/icloud/ICloudDriveScanSummary.h"
#include "persistence/ScanRepository.h"
#include "persistence/TallowmereDatabase.h"
#include "platform/linux/LinuxBookmarks.h"
#include "platform/linux/LinuxFileSystem.h"

namespace tallowmere::bench {
namespace {

namespace fs = std::filesystem;

struct CopySet {
    std::string name;
    fs::path source;
    std::vector<std::string> files;  // relative to `source`
    std::int64_t bytes = 0;
};

void writeBytes(const fs::path& path, const char* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary);
    out.write(data, static_cast<std::streamsize>(size));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

CopySet makeLargeSet(const fs::path& folder) {
    constexpr std::size_t kSize = 16u << 20;
    CopySet set{"copy-large-64x16MiB", folder, {}, 0};
    std::mt19937_64 random(7);
    std::vector<std::uint64_t> block(kSize / sizeof(std::uint64_t));
    for (auto& word : block) word = random();
    fs::create_directories(folder);
    for (int i = 0; i < 64; ++i) {
        // Each file differs, so that nothing could be shared between them.
        block[0] = static_cast<std::uint64_t>(i);
        const std::string name = "video-" + std::to_string(i) + ".mov";
        writeBytes(folder / name, reinterpret_cast<const char*>(block.data()), kSize);
        set.files.push_back(name);
        set.bytes += kSize;
    }
    return set;
}

CopySet makeSmallSet(const fs::path& folder) {
    CopySet set{"copy-small-20k", folder, {}, 0};
    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> size(1, 16 * 1024);
    std::string data(16 * 1024, '\0');
    for (auto& byte : data) byte = static_cast<char>(random() & 0xff);
    for (int f = 0; f < 200; ++f) {
        const std::string sub = "Project " + std::to_string(f) + "/Notes";
        fs::create_directories(folder / sub);
        for (int i = 0; i < 100; ++i) {
            const std::string name = sub + "/note-" + std::to_string(i) + ".txt";
            const std::size_t bytes = size(random);
            data[0] = static_cast<char>(i);
            writeBytes(folder / name, data.data(), bytes);
            set.files.push_back(name);
            set.bytes += static_cast<std::int64_t>(bytes);
        }
    }
    return set;
}

// Reads every source once, so that both copies find them in the page cache, and writes
// out whatever earlier steps left dirty, so that neither pays for the other's writes.
void warmAndSettle(const CopySet& set, const fs::path& scratch) {
    std::vector<char> buffer(1 << 20);
    for (const auto& file : set.files) {
        const int fd = ::open((set.source / file).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            throw std::runtime_error("cannot read a source");
        while (::read(fd, buffer.data(), buffer.size()) > 0) {
        }
        ::close(fd);
    }
    flushFileSystem(scratch);
}

// A store holding a scan of the set, a selected destination and a prepared job.
struct OurSide {
    std::shared_ptr<TallowmereDatabase> database;
    std::unique_ptr<LocalBackupCoordinator> coordinator;
    double prepareSeconds = 0;
};

OurSide prepareOurs(const CopySet& set, const fs::path& storeFile, const fs::path& destination) {
    OurSide side;
    side.database = TallowmereDatabase::open(storeFile.string());
    const auto clock = std::make_shared<SystemClock>();
    BackupRepository backups(side.database->queue(), clock);
    ICloudScanRepository scans(side.database->queue(), clock);
    auto fileSystem = std::make_shared<LinuxFileSystem>();

    ScanRun run;
    run.id = Uuid::random();
    run.startedAt = clock->now();
    run.completedAt = clock->now();
    ScanRepository(side.database->queue()).insert(run, {});
    scans.upsertDetectedRoots({ICloudScanRoot{.id = Uuid::random(),
                                              .path = set.source.string(),
                                              .displayName = "Documents",
                                              .kind = ICloudScanRootKind::documents,
                                              .isDetected = true,
                                              .isSelected = true,
                                              .bookmarkData = std::nullopt,
                                              .createdAt = clock->now(),
                                              .lastScannedAt = std::nullopt}});
    const Uuid rootID = scans.fetchRoots(false).front().id;
    std::vector<ICloudFileScanResult> results;
    for (const auto& file : set.files) {
        const std::string path = (set.source / file).string();
        const auto values = fileSystem->resourceValues(path).value();
        ICloudFileScanResult result;
        result.id = Uuid::random();
        result.scanRunID = run.id;
        result.rootID = rootID;
        result.path = path;
        result.displayName = values.name;
        result.fileSize = values.fileSize;
        result.modifiedAt = values.contentModificationDate;
        result.state = ICloudFileState::localCurrent;
        result.confidence = ConfidenceLevel::verified;
        result.scannedAt = clock->now();
        results.push_back(std::move(result));
    }
    scans.insert(ICloudDriveScanSummary::make(run.id, run.completedAt, ScanRunStatus::completed,
                                              false, results),
                 results);

    fs::create_directories(destination);
    side.coordinator = std::make_unique<LocalBackupCoordinator>(
        backups, scans, fileSystem, std::make_shared<LinuxBookmarks>(), clock,
        std::make_shared<EnglishFormatting>());
    side.coordinator->selectDestination(destination.string(), std::nullopt);
    side.prepareSeconds = secondsOf([&] {
        if (side.coordinator->prepareBackup().status != BackupJobStatus::prepared)
            throw std::runtime_error("the backup could not be prepared");
    });
    return side;
}

void compare(const CopySet& set, const fs::path& scratch, int rounds) {
    double ours = 1e9;
    double cp = 1e9;
    double cpSync = 1e9;
    double prepare = 1e9;
    for (int round = 0; round < rounds; ++round) {
        const std::string tag = std::to_string(round);
        const fs::path oursDestination = scratch / ("ours-" + tag);
        OurSide side = prepareOurs(set, scratch / ("store-" + tag + ".sqlite"), oursDestination);
        prepare = std::min(prepare, side.prepareSeconds);
        warmAndSettle(set, scratch);
        BackupJobSnapshot job;
        ours = std::min(ours, secondsOf([&] { job = side.coordinator->startBackup(); }));
        if (job.status != BackupJobStatus::completed ||
            job.completedFiles != static_cast<std::int64_t>(set.files.size()) ||
            job.copiedBytes != set.bytes) {
            throw std::runtime_error("our copy of " + set.name + " is incomplete");
        }
        side = {};
        removeTree(oursDestination);

        const fs::path cpDestination = scratch / ("cp-" + tag);
        warmAndSettle(set, scratch);
        cp = std::min(
            cp, secondsOf([&] {
                runProgram({"cp", "-r", set.source.string(), cpDestination.string()}, "/dev/null");
            }));
        removeTree(cpDestination);

        warmAndSettle(set, scratch);
        cpSync = std::min(
            cpSync, secondsOf([&] {
                runProgram({"cp", "-r", set.source.string(), cpDestination.string()}, "/dev/null");
                runProgram({"sync", "-f", cpDestination.string()}, "/dev/null");
            }));
        removeTree(cpDestination);
    }
    std::printf("bench %s: ours %.3f s, cp %.3f s, ratio %.2f\n", set.name.c_str(), ours, cp,
                ours / cp);
    std::printf("bench %s-vs-synced-cp: ours %.3f s, cp-sync %.3f s, ratio %.2f\n",
                set.name.c_str(), ours, cpSync, ours / cpSync);
    std::printf("bench %s-prepare: %.3f s\n", set.name.c_str(), prepare);
    std::fflush(stdout);
}

}  // namespace

void runCopyBench() {
    {
        const ScratchFolder scratch("tallowmere-bench-copy-large");
        compare(makeLargeSet(scratch.path() / "source"), scratch.path(), 3);
    }
    {
        const ScratchFolder scratch("tallowmere-bench-copy-small");
        compare(makeSmallSet(scratch.path() / "Documents"), scratch.path(), 3);
    }
}

}  // namespace tallowmere::bench
