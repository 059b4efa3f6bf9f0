#include "platform/linux/LinuxBookmarks.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;

// A made-up machine around a real folder: the "drive" is the temporary folder's own file
// system, described to the bookmarks as the device 8:17 ("sdz1", UUID ABCD-1234), mounted
// wherever the test's mountinfo says. The root file system is another device (8:99).
class LinuxBookmarksTest : public ::testing::Test {
protected:
    LinuxBookmarksTest() {
        m_paths.mountInfo = (m_temp / "mountinfo").string();
        m_paths.sysDevBlock = (m_temp / "sys" / "dev" / "block").string();
        m_paths.diskByLabel = (m_temp / "by-label").string();
        m_paths.diskByUuid = (m_temp / "by-uuid").string();
        const fs::path partition =
            m_temp / "sys" / "devices" / "pci0000:00" / "usb1" / "block" / "sdz" / "sdz1";
        fs::create_directories(partition);
        fs::create_directories(m_paths.sysDevBlock);
        fs::create_symlink(partition, fs::path(m_paths.sysDevBlock) / "8:17");
        fs::create_directories(m_paths.diskByUuid);
        fs::create_symlink("../../sdy1", fs::path(m_paths.diskByUuid) / "1111-2222");
        fs::create_symlink("../../sdz1", uuidLink());
        fs::create_directories(m_temp / "A" / "Backups");
        mountDriveAt({"A"});
    }

    fs::path uuidLink() const { return fs::path(m_paths.diskByUuid) / "ABCD-1234"; }

    // The drive mounted at each of `places` (below the temporary folder); none: unmounted.
    void mountDriveAt(const std::vector<std::string>& places) {
        std::ofstream out(m_paths.mountInfo);
        out << "28 1 8:99 / / rw,relatime - ext4 /dev/fakeroot rw\n";
        int id = 90;
        for (const auto& place : places) {
            out << id++ << " 28 8:17 / " << (m_temp / place).string()
                << " rw,nosuid shared:51 - ext4 /dev/sdz1 rw\n";
        }
    }

    std::string path(const std::string& relative) const { return (m_temp / relative).string(); }

    LinuxBookmarks bookmarks() const { return LinuxBookmarks(m_paths); }

    testing::TemporaryDirectory m_temp;
    linux_fs::SystemPaths m_paths;
};

TEST_F(LinuxBookmarksTest, RecordsTheFileSystemByUuidAndThePathInsideIt) {
    const auto bookmark = bookmarks().create(path("A/./Backups/"));
    ASSERT_TRUE(bookmark.ok()) << bookmark.error().message();
    const auto record = linux_fs::decodeBookmark(*bookmark);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->path, fs::canonical(path("A/Backups")).string());
    EXPECT_EQ(record->fileSystemUUID, "ABCD-1234");
    EXPECT_EQ(record->fileSystemType, "ext4");
    EXPECT_EQ(record->fileSystemSource, "/dev/sdz1");
    EXPECT_EQ(record->pathInFileSystem, "/Backups");

    const auto resolved = bookmarks().resolve(*bookmark);
    ASSERT_TRUE(resolved.ok()) << resolved.error().message();
    EXPECT_EQ(*resolved, (ResolvedBookmark{record->path, false}));
}

TEST_F(LinuxBookmarksTest, ADriveMountedElsewhereResolvesToItsNewPlace) {
    const auto bookmark = bookmarks().create(path("A/Backups"));
    ASSERT_TRUE(bookmark.ok());
    fs::rename(m_temp / "A", m_temp / "B");
    mountDriveAt({"B"});

    const auto resolved = bookmarks().resolve(*bookmark);
    ASSERT_TRUE(resolved.ok()) << resolved.error().message();
    EXPECT_EQ(resolved->path, path("B/Backups"));
    EXPECT_TRUE(resolved->isStale);
}

// The empty-mount-point trap: the drive is not mounted, and an empty folder waits at the old
// path on another disk. It must never be taken for the drive.
TEST_F(LinuxBookmarksTest, ADriveThatIsNotMountedIsNotFoundWhateverSitsAtTheOldPath) {
    const auto bookmark = bookmarks().create(path("A/Backups"));
    ASSERT_TRUE(bookmark.ok());
    ASSERT_TRUE(fs::is_directory(path("A/Backups")));

    struct Case {
        const char* label;
        std::function<void()> change;
    };
    const std::vector<Case> cases = {
        {"attached, mounted nowhere, while another drive with that folder is",
         [&] {
             fs::create_directories(path("C/Backups"));
             std::ofstream(m_paths.mountInfo)
                 << "28 1 8:99 / / rw - ext4 /dev/fakeroot rw\n"
                 << "91 28 8:33 / " << path("C") << " rw - ext4 /dev/sdy1 rw\n";
         }},
        {"attached, mounted nowhere",
         [&] {
             mountDriveAt({});
         }},
        {"unplugged",
         [&] {
             fs::remove(uuidLink());
         }},
        {"mounted, but the folder is gone",
         [&] {
             fs::remove(path("A/Backups"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        c.change();
        const auto resolved = bookmarks().resolve(*bookmark);
        EXPECT_FALSE(resolved.ok());
        EXPECT_TRUE(resolved.notFound()) << resolved.error().message();
    }
}

TEST_F(LinuxBookmarksTest, AFolderUnderAMountStackedOverTheDriveIsNotTheDrive) {
    // The drive's own numbers are 8:17 in this made-up machine, while the folder really sits
    // on the temporary folder's device: a mount of that device over A/Backups is what the
    // folder is on.
    struct stat st {};
    ASSERT_EQ(::stat(path("A/Backups").c_str(), &st), 0);
    const auto bookmark = bookmarks().create(path("A/Backups"));
    ASSERT_TRUE(bookmark.ok());
    {
        std::ofstream out(m_paths.mountInfo, std::ios::app);
        out << "99 90 " << major(st.st_dev) << ":" << minor(st.st_dev) << " / " << path("A/Backups")
            << " rw - tmpfs tmpfs rw\n";
    }
    const auto resolved = bookmarks().resolve(*bookmark);
    EXPECT_TRUE(resolved.notFound());
}

TEST_F(LinuxBookmarksTest, WithoutAUuidTheTypeAndSourceNameTheFileSystem) {
    fs::remove(uuidLink());
    const auto bookmark = bookmarks().create(path("A/Backups"));
    ASSERT_TRUE(bookmark.ok());
    EXPECT_EQ(linux_fs::decodeBookmark(*bookmark)->fileSystemUUID, "");

    fs::rename(m_temp / "A", m_temp / "B");
    mountDriveAt({"B"});
    const auto moved = bookmarks().resolve(*bookmark);
    ASSERT_TRUE(moved.ok());
    EXPECT_EQ(moved->path, path("B/Backups"));

    // Another folder of that name is not the recorded one: type and source are a weak name.
    fs::rename(path("B/Backups"), path("B/Old"));
    fs::create_directories(path("B/Backups"));
    EXPECT_TRUE(bookmarks().resolve(*bookmark).notFound());

    mountDriveAt({});
    EXPECT_TRUE(bookmarks().resolve(*bookmark).notFound());
}

TEST_F(LinuxBookmarksTest, WithoutAnyMountInformationOnlyTheRecordedFolderItselfResolves) {
    m_paths.mountInfo = path("no-such-mountinfo");
    const auto bookmark = bookmarks().create(path("A/Backups"));
    ASSERT_TRUE(bookmark.ok());
    const auto resolved = bookmarks().resolve(*bookmark);
    ASSERT_TRUE(resolved.ok());
    EXPECT_EQ(resolved->path, fs::canonical(path("A/Backups")).string());

    fs::rename(path("A/Backups"), path("A/Old"));
    fs::create_directories(path("A/Backups"));
    EXPECT_TRUE(bookmarks().resolve(*bookmark).notFound());
}

TEST_F(LinuxBookmarksTest, ScopedAccessIsNotAThingHere) {
    auto linux = bookmarks();
    EXPECT_FALSE(linux.startAccessing(path("A")));
    EXPECT_FALSE(bookmarks().create(path("no-such-folder")).ok());
}

TEST(LinuxBookmarkBytesTest, AnyPathSurvivesAndEveryTruncationIsRejected) {
    const linux_fs::BookmarkRecord record{.path = "/media/ann/My Drive\n\xFF/back 12\nups",
                                          .fileSystemUUID = "ABCD-1234",
                                          .fileSystemType = "exfat",
                                          .fileSystemSource = "/dev/sdb1",
                                          .pathInFileSystem = "/back 12\nups",
                                          .device = 2065,
                                          .inode = 18'446'744'073'709'551'615u};
    const Bytes bytes = linux_fs::encodeBookmark(record);
    EXPECT_EQ(linux_fs::decodeBookmark(bytes), record);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        SCOPED_TRACE(size);
        EXPECT_FALSE(linux_fs::decodeBookmark(Bytes(bytes.begin(), bytes.begin() + size)));
    }
    Bytes longer = bytes;
    longer.push_back('x');
    EXPECT_FALSE(linux_fs::decodeBookmark(longer));

    // Bytes that are not a bookmark are an error of their own, not "not found".
    const auto resolved = LinuxBookmarks().resolve(Bytes{'b', 'o', 'o', 'k'});
    EXPECT_FALSE(resolved.ok());
    EXPECT_FALSE(resolved.notFound());
}

}  // namespace
}  // namespace tallowmere
