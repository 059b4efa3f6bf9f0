#include "platform/linux/LinuxVolumes.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TemporaryDirectory.h"

namespace tallowmere::linux_fs {
namespace {

namespace fs = std::filesystem;

TEST(LinuxVolumesTest, ParsesMountInfoLines) {
    const std::string text =
        "28 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        "95 28 8:17 / /media/ann/My\\040Photos rw,nosuid shared:51 master:3 - exfat /dev/sdb1 rw\n"
        "garbage line\n"
        "96 28 0:50 /doc\\040root /run/user/1000/doc rw - fuse.portal portal rw\n"
        "97 28 x:y / /broken rw - ext4 /dev/sdc rw\n"
        "98 28 0:51 / /no-separator rw ext4 /dev/sdd rw";
    const std::vector<MountInfoEntry> expected = {
        {254, 0, "/", "ext4", "/dev/vda", "/"},
        {8, 17, "/media/ann/My Photos", "exfat", "/dev/sdb1", "/"},
        {0, 50, "/run/user/1000/doc", "fuse.portal", "portal", "/doc root"},
    };
    EXPECT_EQ(parseMountInfo(text), expected);
}

TEST(LinuxVolumesTest, DecodesEscapes) {
    struct Case {
        std::string raw;
        std::string octal;
        std::string hex;
    };
    for (const Case& c :
         {Case{"My\\040Drive", "My Drive", "My\\040Drive"},
          Case{"My\\x20Drive", "My\\x20Drive", "My Drive"},
          Case{"tab\\011and\\134", "tab\tand\\", "tab\\011and\\134"},
          Case{"end\\04", "end\\04", "end\\04"}, Case{"end\\x2", "end\\x2", "end\\x2"},
          Case{"\\xc3\\xa9t\\xC3\\xA9", "\\xc3\\xa9t\\xC3\\xA9", "\xc3\xa9t\xc3\xa9"}}) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(decodeOctalEscapes(c.raw), c.octal);
        EXPECT_EQ(decodeHexEscapes(c.raw), c.hex);
    }
}

// A fixture system: a mountinfo file, a /sys/dev/block folder and a by-label folder, all
// describing a made-up disk "sdz" that holds the real device of a real temporary folder.
TEST(LinuxVolumesTest, RemovableAndNameComeFromTheDiskUnderTheMount) {
    struct Case {
        const char* label;
        std::string deviceFolder;  // below the fixture's sys/devices
        const char* removableFlag;
        std::string labelLink;  // empty: no label
        bool removable;
        std::optional<std::string> name;
    };
    const std::vector<Case> cases = {
        {"USB stick with a label",
         "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdz/sdz1", "0",
         "Photo\\x20Backup", true, "Photo Backup"},
        {"card reader flagged removable", "pci0000:00/0000:00:1d.0/mmc_host/mmc0/block/sdz/sdz1",
         "1", "", true, "My Drive"},
        {"internal disk", "pci0000:00/0000:00:17.0/ata1/host0/block/sdz/sdz1", "0", "SYSTEM", false,
         "SYSTEM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        testing::TemporaryDirectory temp;
        const fs::path mountPoint = temp.path() / "media" / "My Drive";
        const fs::path probed = mountPoint / "Backups";
        fs::create_directories(probed);
        struct stat st {};
        ASSERT_EQ(::stat(probed.c_str(), &st), 0);
        const std::string device =
            std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));

        SystemPaths paths;
        paths.mountInfo = (temp.path() / "mountinfo").string();
        paths.sysDevBlock = (temp.path() / "sys" / "dev" / "block").string();
        paths.diskByLabel = (temp.path() / "by-label").string();
        {
            std::string escapedMount = mountPoint.string();
            escapedMount.replace(escapedMount.find("My Drive"), 8, "My\\040Drive");
            std::ofstream(paths.mountInfo) << "28 1 " << device << " / / rw - ext4 /dev/vda rw\n"
                                           << "95 28 " << device << " / " << escapedMount
                                           << " rw - exfat /dev/no-such-disk rw\n";
        }
        const fs::path partition = temp.path() / "sys" / "devices" / c.deviceFolder;
        fs::create_directories(partition);
        std::ofstream(partition / "partition") << "1\n";
        std::ofstream(partition.parent_path() / "removable") << c.removableFlag << "\n";
        fs::create_directories(paths.sysDevBlock);
        fs::create_symlink(partition, fs::path(paths.sysDevBlock) / device);
        fs::create_directories(paths.diskByLabel);
        fs::create_symlink("../../sdy1", fs::path(paths.diskByLabel) / "Other");
        if (!c.labelLink.empty())
            fs::create_symlink("../../sdz1", fs::path(paths.diskByLabel) / c.labelLink);

        const auto values = volumeValuesOf(probed.string(), paths);
        ASSERT_TRUE(values.ok());
        EXPECT_EQ(values->volumeIsRemovable, c.removable);
        EXPECT_EQ(values->volumeName, c.name);
    }
}

TEST(LinuxVolumesTest, UnknownDeviceIsNotRemovableAndTheRootMountHasNoName) {
    testing::TemporaryDirectory temp;
    struct stat st {};
    ASSERT_EQ(::stat(temp.path().c_str(), &st), 0);
    SystemPaths paths;
    paths.mountInfo = (temp.path() / "mountinfo").string();
    paths.sysDevBlock = (temp.path() / "empty").string();
    paths.diskByLabel = (temp.path() / "empty").string();
    std::ofstream(paths.mountInfo)
        << "28 1 " << major(st.st_dev) << ":" << minor(st.st_dev) << " / / rw - ext4 /dev/vda rw\n";

    const auto values = volumeValuesOf(temp.path().string(), paths);
    ASSERT_TRUE(values.ok());
    EXPECT_EQ(values->volumeIsRemovable, false);
    EXPECT_EQ(values->volumeName, std::nullopt);
}

}  // namespace
}  // namespace tallowmere::linux_fs
