#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/platform/FileSystem.h"

namespace tallowmere::linux_fs {

// Where the kernel and udev describe mounts and disks. Tests point these at fixtures.
struct SystemPaths {
    std::string mountInfo = "/proc/self/mountinfo";
    std::string sysDevBlock = "/sys/dev/block";
    std::string diskByLabel = "/dev/disk/by-label";
};

// One line of a mountinfo file, escapes decoded.
struct MountInfoEntry {
    unsigned major = 0;
    unsigned minor = 0;
    std::string mountPoint;
    std::string fileSystemType;
    std::string source;

    bool operator==(const MountInfoEntry&) const = default;
};

// Lines that cannot be read are left out.
std::vector<MountInfoEntry> parseMountInfo(std::string_view text);

// Mount points and sources write space, tab, newline and backslash as "\ooo" octal escapes.
std::string decodeOctalEscapes(std::string_view text);

// udev writes unsafe bytes of a label as "\xHH" in its link name.
std::string decodeHexEscapes(std::string_view text);

// Removable = the block device under the mount of `path` (or the disk it is a partition
// of, or a disk a device-mapper device sits on) reports itself removable or hangs off a USB
// bus. Name = the file system's label, else the mount point's last component (none for "/").
// An error only when `path` cannot be examined at all.
FileResult<VolumeValues> volumeValuesOf(const std::string& path, const SystemPaths& paths);

}  // namespace tallowmere::linux_fs
