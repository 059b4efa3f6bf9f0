#include "bench/ScanBench.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include "bench/BenchSupport.h"
#include "core/icloud/ICloudDriveScanner.h"
#include "platform/linux/LinuxFileSystem.h"

namespace tallowmere::bench {
namespace {

constexpr int kGroups = 25;
constexpr int kFoldersPerGroup = 39;  // 25 + 25 * 39 = 1,000 folders
constexpr int kFilesPerFolder = 49;   // in every folder: 49,000 files
constexpr int kFiles = kGroups * (1 + kFoldersPerGroup) * kFilesPerFolder;
constexpr int kRounds = 3;

void makeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) != 0)
        throw std::runtime_error("cannot create " + path);
}

void makeFile(const std::string& path, std::size_t size) {
    static const std::string kData(4096, 'x');
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot create " + path);
    const bool written = ::write(fd, kData.data(), size) == static_cast<ssize_t>(size);
    ::close(fd);
    if (!written)
        throw std::runtime_error("cannot write " + path);
}

// Files of a few hundred bytes to a few KiB, named like documents, in project folders.
std::string makeTree(const std::filesystem::path& scratch) {
    const std::string top = (scratch / "tree").string();
    makeFolder(top);
    const char* extensions[] = {".pdf", ".jpg", ".docx", ".txt", ".png", ".md", ".mov"};
    int made = 0;
    auto fill = [&](const std::string& folder) {
        makeFolder(folder);
        for (int i = 0; i < kFilesPerFolder; ++i, ++made) {
            makeFile(folder + "/Document " + std::to_string(made) + extensions[made % 7],
                     static_cast<std::size_t>(200 + made % 3900));
        }
    };
    for (int g = 0; g < kGroups; ++g) {
        const std::string group = top + "/Project " + std::to_string(g);
        fill(group);
        for (int f = 0; f < kFoldersPerGroup; ++f) fill(group + "/Drafts " + std::to_string(f));
    }
    if (made != kFiles)
        throw std::runtime_error("the tree has the wrong number of files");
    return top;
}

// Starts the peak resident memory afresh from the current resident size; false when the
// kernel does not offer that.
bool resetPeakMemory() {
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    out.flush();
    return out.good();
}

// Peak resident memory of this process since the last reset, in KiB.
long peakMemoryKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

void runScanBench() {
    const ScratchFolder scratch("tallowmere-bench-tree");
    const std::string tree = makeTree(scratch.path());

    const LinuxFileSystem fileSystem;
    ICloudDriveScanner scanner(fileSystem);
    ICloudScanRoot root;
    root.id = Uuid::random();
    root.path = tree;
    root.displayName = "Tree";
    const std::vector<ICloudScanRoot> roots{root};
    const std::vector<std::string> find = {"find", tree, "-printf", "%s %T@ %y\\n"};

    auto scanOnce = [&] {
        const SafetyScanResult result = scanner.runScan(ScanTrigger::manual, roots);
        if (result.scanRun.status != ScanRunStatus::completed ||
            result.iCloudSummary->localCurrentCount != kFiles ||
            result.iCloudFileResults.size() != static_cast<std::size_t>(kFiles)) {
            throw std::runtime_error("the scan did not record every file");
        }
    };

    // Both walk a tree whose metadata is in memory.
    scanOnce();
    runProgram(find, "/dev/null");

    double ours = 1e9;
    double peer = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        ours = std::min(ours, secondsOf(scanOnce));
        peer = std::min(peer, secondsOf([&] { runProgram(find, "/dev/null"); }));
    }

    const bool reset = resetPeakMemory();
    scanOnce();
    const double peakMiB = static_cast<double>(peakMemoryKiB()) / 1024.0;

    std::printf("bench icloud-scan-49k: ours %.3f s, find %.3f s, ratio %.2f\n", ours, peer,
                ours / peer);
    std::printf("bench icloud-scan-49k-peak-rss: %.1f MiB%s\n", peakMiB,
                reset ? "" : " (process peak)");
}

}  // namespace tallowmere::bench
