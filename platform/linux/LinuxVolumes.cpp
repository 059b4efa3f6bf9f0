#include "platform/linux/LinuxVolumes.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace tallowmere::linux_fs {
namespace {

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t end = line.find(' ', start);
        const std::size_t stop = end == std::string_view::npos ? line.size() : end;
        if (stop > start)
            fields.push_back(line.substr(start, stop - start));
        start = stop + 1;
    }
    return fields;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string> readSmallFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::optional<std::string> canonical(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return std::nullopt;
    std::string result(resolved);
    std::free(resolved);
    return result;
}

std::string lastComponent(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

// "/a/b" lies under "/a" and under "/", not under "/a/bc".
bool isUnder(const std::string& path, const std::string& mountPoint) {
    if (mountPoint == "/")
        return true;
    if (path.compare(0, mountPoint.size(), mountPoint) != 0)
        return false;
    return path.size() == mountPoint.size() || path[mountPoint.size()] == '/';
}

// The sysfs folder of a whole disk, given the folder of a disk or of a partition.
std::string wholeDiskFolder(const std::string& deviceFolder) {
    struct stat st {};
    if (::stat((deviceFolder + "/partition").c_str(), &st) == 0)
        return parentOf(deviceFolder);
    return deviceFolder;
}

bool isRemovableDisk(const std::string& deviceFolder, int depth) {
    if (depth > 8)
        return false;
    if (deviceFolder.find("/usb") != std::string::npos)
        return true;
    const std::string disk = wholeDiskFolder(deviceFolder);
    if (const auto flag = readSmallFile(disk + "/removable");
        flag && !flag->empty() && (*flag)[0] == '1') {
        return true;
    }
    // A device-mapper or RAID device (an encrypted drive, for one) is as removable as the
    // disks beneath it.
    std::error_code ec;
    for (const auto& slave : std::filesystem::directory_iterator(disk + "/slaves", ec)) {
        const auto resolved = canonical(slave.path().string());
        if (resolved && isRemovableDisk(*resolved, depth + 1))
            return true;
    }
    return false;
}

}  // namespace

std::optional<std::string> linkNamePointingAt(const std::string& kernelName,
                                              const std::string& folder) {
    std::error_code ec;
    for (const auto& link : std::filesystem::directory_iterator(folder, ec)) {
        std::error_code readError;
        const auto target = std::filesystem::read_symlink(link.path(), readError);
        if (!readError && target.filename().string() == kernelName)
            return link.path().filename().string();
    }
    return std::nullopt;
}

std::string decodeOctalEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '3' &&
            text[i + 2] >= '0' && text[i + 2] <= '7' && text[i + 3] >= '0' && text[i + 3] <= '7') {
            out.push_back(static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 +
                                            (text[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::string decodeHexEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' &&
            hexDigit(text[i + 2]) >= 0 && hexDigit(text[i + 3]) >= 0) {
            out.push_back(static_cast<char>(hexDigit(text[i + 2]) * 16 + hexDigit(text[i + 3])));
            i += 3;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::vector<MountInfoEntry> parseMountInfo(std::string_view text) {
    std::vector<MountInfoEntry> entries;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const auto fields = splitFields(text.substr(start, end - start));
        start = end + 1;

        // id parent major:minor root mount-point options [optional...] - type source options
        std::size_t separator = 6;
        while (separator < fields.size() && fields[separator] != "-") ++separator;
        if (fields.size() < 6 || separator + 2 >= fields.size())
            continue;
        const std::string_view device = fields[2];
        const std::size_t colon = device.find(':');
        if (colon == std::string_view::npos)
            continue;
        MountInfoEntry entry;
        const auto majorText = device.substr(0, colon);
        const auto minorText = device.substr(colon + 1);
        if (std::from_chars(majorText.data(), majorText.data() + majorText.size(), entry.major)
                    .ec != std::errc() ||
            std::from_chars(minorText.data(), minorText.data() + minorText.size(), entry.minor)
                    .ec != std::errc()) {
            continue;
        }
        entry.root = decodeOctalEscapes(fields[3]);
        entry.mountPoint = decodeOctalEscapes(fields[4]);
        entry.fileSystemType = decodeOctalEscapes(fields[separator + 1]);
        entry.source = decodeOctalEscapes(fields[separator + 2]);
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::optional<std::vector<MountInfoEntry>> readMountInfo(const std::string& path) {
    const auto text = readSmallFile(path);
    if (!text)
        return std::nullopt;
    return parseMountInfo(*text);
}

std::optional<MountInfoEntry> mountContaining(const std::string& path, dev_t device,
                                              const std::vector<MountInfoEntry>& mounts) {
    std::optional<MountInfoEntry> best;
    bool bestMatchesDevice = false;
    for (const auto& entry : mounts) {
        if (!isUnder(path, entry.mountPoint))
            continue;
        const bool matchesDevice = entry.major == major(device) && entry.minor == minor(device);
        // The deepest mount containing the path is the one it is on; a mount of the path's
        // own device wins over one that merely contains the path (stacked mounts).
        const bool better = !best || (matchesDevice && !bestMatchesDevice) ||
                            (matchesDevice == bestMatchesDevice &&
                             entry.mountPoint.size() >= best->mountPoint.size());
        if (better) {
            best = entry;
            bestMatchesDevice = matchesDevice;
        }
    }
    return best;
}

dev_t blockDeviceOf(dev_t device, const std::optional<MountInfoEntry>& mount) {
    // A file system on a block device reports that device; others (btrfs, for one) report an
    // anonymous number, so the mount's source device is asked first.
    if (mount && mount->source.rfind("/dev/", 0) == 0) {
        struct stat source {};
        if (::stat(mount->source.c_str(), &source) == 0 && S_ISBLK(source.st_mode)) {
            return source.st_rdev;
        }
    }
    return device;
}

std::optional<std::string> kernelNameOf(dev_t device, const std::string& sysDevBlock) {
    const auto folder = canonical(sysDevBlock + "/" + std::to_string(major(device)) + ":" +
                                  std::to_string(minor(device)));
    if (!folder)
        return std::nullopt;
    return lastComponent(*folder);
}

FileResult<VolumeValues> volumeValuesOf(const std::string& path, const SystemPaths& paths) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::error_code(errno, std::generic_category());
    const std::string resolved = canonical(path).value_or(path);
    std::optional<MountInfoEntry> mount;
    if (const auto mounts = readMountInfo(paths.mountInfo))
        mount = mountContaining(resolved, st.st_dev, *mounts);
    const dev_t blockDevice = blockDeviceOf(st.st_dev, mount);

    VolumeValues values;
    values.volumeIsRemovable = false;
    const std::string sysLink = paths.sysDevBlock + "/" + std::to_string(major(blockDevice)) + ":" +
                                std::to_string(minor(blockDevice));
    std::optional<std::string> label;
    if (const auto deviceFolder = canonical(sysLink)) {
        values.volumeIsRemovable = isRemovableDisk(*deviceFolder, 0);
        if (const auto name = linkNamePointingAt(lastComponent(*deviceFolder), paths.diskByLabel))
            label = decodeHexEscapes(*name);
    }
    if (label && !label->empty()) {
        values.volumeName = *label;
    } else if (mount && mount->mountPoint != "/") {
        values.volumeName = lastComponent(mount->mountPoint);
    }
    return values;
}

}  // namespace tallowmere::linux_fs
