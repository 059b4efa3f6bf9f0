#pragma once

#include <sys/types.h>

#include <optional>
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
    std::string diskByUuid = "/dev/disk/by-uuid";
};

// One line of a mountinfo file, escapes decoded.
struct MountInfoEntry {
    // The st_dev of the items on this mount.
    unsigned major = 0;
    unsigned minor = 0;
    std::string mountPoint;
    std::string fileSystemType;
    std::string source;
    // The folder of the file system that appears at the mount point ("/" unless only part
    // of the file system is mounted there).
    std::string root;

    bool operator==(const MountInfoEntry&) const = default;
};

// Lines that cannot be read are left out.
std::vector<MountInfoEntry> parseMountInfo(std::string_view text);

// The lines of the mountinfo file at `path`; none when it cannot be read.
std::optional<std::vector<MountInfoEntry>> readMountInfo(const std::string& path);

// The name, as udev wrote it, of the link in `folder` (one of the /dev/disk/by-* folders)
// that points at the kernel device `kernelName`; none when no link does.
std::optional<std::string> linkNamePointingAt(const std::string& kernelName,
                                              const std::string& folder);

// The mount that the (canonical) `path`, whose st_dev is `device`, is on: the deepest mount
// point containing it, a mount of that device winning over one that merely contains it.
std::optional<MountInfoEntry> mountContaining(const std::string& path, dev_t device,
                                              const std::vector<MountInfoEntry>& mounts);

// The block device that holds the items of `mount` (whose st_dev is `device`): the device
// itself for most file systems, the mount's source device for those that report an
// anonymous number (btrfs).
dev_t blockDeviceOf(dev_t device, const std::optional<MountInfoEntry>& mount);

// The kernel's name of a block device ("sdb1"), through the sysfs folder /sys/dev/block.
std::optional<std::string> kernelNameOf(dev_t device, const std::string& sysDevBlock);

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
