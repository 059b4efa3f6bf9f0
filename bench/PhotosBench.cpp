#include "bench/PhotosBench.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/PhotosLibraryScanner.h"
#include "bench/BenchSupport.h"
#include "platform/linux/FolderPhotoLibrary.h"
#include "platform/linux/LinuxFileSystem.h"

namespace tallowmere::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kAssets = 5'000;
constexpr int kSmallAssets = 500;
constexpr int kPerFolder = 250;
constexpr int kRounds = 3;
// 2015-01-01T00:00:00Z; photo i is dated i hours later.
constexpr long long kFirstDate = 1'420'070'400;

void putBig16(std::string& out, unsigned value) {
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
    out.push_back(static_cast<char>(value & 0xFF));
}

void putLittle(std::string& out, unsigned long long value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A 1x1 grey baseline JPEG whose EXIF block holds only DateTimeOriginal, as a camera would
// write it ("YYYY:MM:DD HH:MM:SS"). The EXIF block is built by hand so that the tool we
// compare with did not write what it reads.
std::string jpegWithOriginalDate(const std::string& dateTime) {
    std::string tiff = "II";
    putLittle(tiff, 42, 2);
    putLittle(tiff, 8, 4);
    // First directory: one entry pointing at the EXIF directory (offset 26).
    putLittle(tiff, 1, 2);
    putLittle(tiff, 0x8769, 2);
    putLittle(tiff, 4, 2);
    putLittle(tiff, 1, 4);
    putLittle(tiff, 26, 4);
    putLittle(tiff, 0, 4);
    // EXIF directory: DateTimeOriginal, 20 ASCII bytes at offset 44.
    putLittle(tiff, 1, 2);
    putLittle(tiff, 0x9003, 2);
    putLittle(tiff, 2, 2);
    putLittle(tiff, 20, 4);
    putLittle(tiff, 44, 4);
    putLittle(tiff, 0, 4);
    tiff += dateTime;
    tiff.push_back('\0');

    std::string out = "\xFF\xD8\xFF\xE1";
    putBig16(out, static_cast<unsigned>(2 + 6 + tiff.size()));
    out += std::string("Exif\0\0", 6);
    out += tiff;
    out += "\xFF\xDB";
    putBig16(out, 67);
    out.push_back('\0');
    out.append(64, '\x01');
    out += "\xFF\xC0";
    putBig16(out, 11);
    out += std::string("\x08\x00\x01\x00\x01\x01\x01\x11\x00", 9);
    for (const char tableClass : {'\x00', '\x10'}) {
        out += "\xFF\xC4";
        putBig16(out, 20);
        out.push_back(tableClass);
        out.push_back('\x01');
        out.append(16, '\0');
    }
    out += "\xFF\xDA";
    putBig16(out, 8);
    out += std::string("\x01\x01\x00\x00\x3F\x00", 6);
    out += "\x3F\xFF\xD9";
    return out;
}

std::string exifDate(long long seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm fields{};
    ::gmtime_r(&time, &fields);
    char text[32];
    std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &fields);
    return text;
}

// `count` photos in folders of kPerFolder, as a camera import by day would leave them.
// Returns the paths.
std::vector<std::string> writePhotos(const fs::path& root, int count) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        char folder[32];
        char name[32];
        std::snprintf(folder, sizeof folder, "Import %03d", i / kPerFolder);
        std::snprintf(name, sizeof name, "IMG_%05d.JPG", i);
        const fs::path path = root / folder / name;
        if (i % kPerFolder == 0)
            fs::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary);
        // Dates in the original's offset-less form, read as local time; UTC here keeps the
        // check below independent of the machine's zone.
        const std::string bytes = jpegWithOriginalDate(exifDate(kFirstDate + 3600LL * i));
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write the photos");
        paths.push_back(path.string());
    }
    return paths;
}

struct ChildRun {
    double seconds = 0;
    std::string output;
    long peakKiB = 0;
};

// Runs the program, its output into a pipe (or discarded), and measures the whole process:
// start, work and exit.
ChildRun runChild(const std::vector<std::string>& arguments, bool keepOutput) {
    int pipeFds[2] = {-1, -1};
    if (keepOutput && ::pipe2(pipeFds, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe");
    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    ChildRun run;
    pid_t child = -1;
    int status = 0;
    struct rusage usage {};
    run.seconds = secondsOf([&] {
        child = ::fork();
        if (child == 0) {
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, STDIN_FILENO);
            ::dup2(keepOutput ? pipeFds[1] : null, STDOUT_FILENO);
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        if (child < 0)
            throw std::runtime_error("cannot start " + arguments.front());
        if (keepOutput) {
            ::close(pipeFds[1]);
            char buffer[4096];
            ssize_t got = 0;
            while ((got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
                run.output.append(buffer, got);
            ::close(pipeFds[0]);
        }
        while (::wait4(child, &status, 0, &usage) < 0) {
        }
    });
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(arguments.front() + " failed");
    run.peakKiB = usage.ru_maxrss;
    return run;
}

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (!folder.empty() && ::access((folder + "/" + program).c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

std::string selfPath() {
    return fs::read_symlink("/proc/self/exe").string();
}

// Runs our scan of the folder in a fresh process and checks that it found every photo with
// its EXIF date.
ChildRun scanInChild(const fs::path& folder, int expected) {
    ChildRun run = runChild({selfPath(), "--photos-scan-child", folder.string()}, true);
    long long assets = -1, photos = -1;
    double oldest = 0, newest = 0;
    std::istringstream fields(run.output);
    std::string label;
    fields >> label >> assets >> label >> photos >> label >> oldest >> label >> newest;
    const double lastDate = static_cast<double>(kFirstDate + 3600LL * (expected - 1));
    // The dates were read as local time: they may differ from UTC by a zone's offset.
    const auto near = [](double a, double b) {
        return a > b - 15 * 3600 && a < b + 15 * 3600;
    };
    if (assets != expected || photos != expected || !near(oldest, double(kFirstDate)) ||
        !near(newest, lastDate) ||
        std::abs((newest - oldest) - (lastDate - double(kFirstDate))) > 7200) {
        throw std::runtime_error("our scan did not read every photo's date: " + run.output);
    }
    return run;
}

}  // namespace

int runPhotosScanChild(const char* folder) {
    const LinuxFileSystem fileSystem;
    FolderPhotoLibrary library(fileSystem);
    PhotosLibraryScanner scanner(fileSystem, library);
    const PhotosScanSummary summary = scanner.runScan(std::string(folder));
    std::printf("assets %lld photos %lld oldest %.0f newest %.0f\n",
                static_cast<long long>(summary.totalAssetCount),
                static_cast<long long>(summary.photoCount),
                summary.oldestCreationDate.value_or(Date()).secondsSince1970(),
                summary.newestCreationDate.value_or(Date()).secondsSince1970());
    return 0;
}

void runPhotosBench() {
    const ScratchFolder scratch("tallowmere-bench-photos");
    const fs::path large = scratch.path() / "Pictures 5k";
    const fs::path small = scratch.path() / "Pictures 500";
    const std::vector<std::string> paths = writePhotos(large, kAssets);
    writePhotos(small, kSmallAssets);

    const bool havePeer = onPath("exiv2");
    std::vector<std::string> peerCommand = {"exiv2", "-pt"};
    peerCommand.insert(peerCommand.end(), paths.begin(), paths.end());

    // One untimed pass of each, so both read from the page cache; then the best of a few
    // rounds, alternating, so that a busy moment of the machine does not decide the figure.
    scanInChild(large, kAssets);
    if (havePeer)
        runChild(peerCommand, false);
    double ours = 1e9;
    double peer = 1e9;
    long peakKiB = 0;
    for (int round = 0; round < kRounds; ++round) {
        const ChildRun run = scanInChild(large, kAssets);
        ours = std::min(ours, run.seconds);
        peakKiB = std::max(peakKiB, run.peakKiB);
        if (havePeer)
            peer = std::min(peer, runChild(peerCommand, false).seconds);
    }
    const long smallPeakKiB = scanInChild(small, kSmallAssets).peakKiB;

    if (havePeer) {
        std::printf("bench photos-scan-5k: ours %.3f s, exiv2 %.3f s, ratio %.2f\n", ours, peer,
                    ours / peer);
    } else {
        std::printf(
            "bench photos-scan-5k: ours %.3f s (the exiv2 tool is not installed: the "
            "Debian package exiv2 provides it)\n",
            ours);
    }
    std::printf("bench photos-scan-5k-rate: %.0f assets/s\n", kAssets / ours);
    std::printf("bench photos-scan-5k-peak-rss: %.1f MiB\n", peakKiB / 1024.0);
    std::printf("bench photos-scan-500-peak-rss: %.1f MiB\n", smallPeakKiB / 1024.0);
}

}  // namespace tallowmere::bench
