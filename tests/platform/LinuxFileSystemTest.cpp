#include "platform/linux/LinuxFileSystem.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "tests/platform/ChildProcess.h"
#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {
namespace {

using testing::runInChild;
using testing::TemporaryDirectory;
namespace fs = std::filesystem;

// Everything one enumeration reported.
struct WalkRecord {
    std::vector<DirectoryEntry> entries;
    std::vector<std::pair<std::string, std::error_code>> errors;
    std::error_code result;

    const DirectoryEntry* find(const std::string& path) const {
        for (const auto& entry : entries) {
            if (entry.path == path)
                return &entry;
        }
        return nullptr;
    }
    std::vector<std::string> paths() const {
        std::vector<std::string> out;
        for (const auto& entry : entries) out.push_back(entry.path);
        return out;
    }
};

WalkRecord walk(const FileSystem& fileSystem, const std::string& root,
                const std::function<WalkAction(const DirectoryEntry&)>& decide = {}) {
    WalkRecord record;
    record.result = fileSystem.enumerate(
        root,
        [&](const DirectoryEntry& entry) {
            record.entries.push_back(entry);
            return decide ? decide(entry) : WalkAction::descend;
        },
        [&](const std::string& path, std::error_code error) {
            record.errors.emplace_back(path, error);
        });
    return record;
}

std::string printable(const std::string& bytes) {
    std::ostringstream out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7f) {
            out << c;
        } else {
            out << "\\x" << std::hex << static_cast<int>(c) << std::dec;
        }
    }
    return out.str();
}

void writeFile(const fs::path& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
    ASSERT_TRUE(out.good()) << path;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (auto& byte : bytes) byte = static_cast<char>(generator() & 0xff);
    return bytes;
}

struct timespec modificationTime(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mtim;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool hasPartialFile(const fs::path& folder) {
    for (const auto& name : namesIn(folder)) {
        if (name.rfind(FileSystem::kPartialFilePrefix, 0) == 0)
            return true;
    }
    return false;
}

class LinuxFileSystemTest : public ::testing::Test {
protected:
    std::string path(const std::string& relative) const { return (m_temp / relative).string(); }
    fs::path root() const { return m_temp.path(); }

    TemporaryDirectory m_temp;
    LinuxFileSystem m_fileSystem;
};

// ---------------------------------------------------------------- enumeration

TEST_F(LinuxFileSystemTest, WalkReportsEveryEntryAndNeverFollowsLinks) {
    const fs::path r = root() / "root";
    fs::create_directories(r / ".hiddenFolder");
    fs::create_directories(r / "Notes.app" / "Contents");
    fs::create_directories(r / "docs" / "sub");
    writeFile(r / ".hidden.txt", "h");
    writeFile(r / ".hiddenFolder" / "inner.txt", "i");
    writeFile(r / "Notes.app" / "Contents" / "Info.plist", "p");
    writeFile(r / "docs" / "a.txt", "aaa");
    writeFile(r / "docs" / "sub" / "b.txt", "bb");
    fs::create_directory_symlink(r / "docs", r / "linkToDocs");
    fs::create_directory_symlink(".", r / "self");
    fs::create_symlink(r / "loopB", r / "loopA");
    fs::create_symlink(r / "loopA", r / "loopB");
    fs::create_symlink(r / "missing", r / "dangling");
    ASSERT_EQ(::mkfifo((r / "pipe").c_str(), 0600), 0);

    enum Kind { file, folder, link, other };
    struct Expected {
        std::string relative;
        int depth;
        Kind kind;
        bool hidden = false;
        bool package = false;
    };
    // Sorted bytewise within each folder; a folder's entry comes before its contents.
    const std::vector<Expected> expected = {
        {".hidden.txt", 1, file, true},
        {".hiddenFolder", 1, folder, true},
        {".hiddenFolder/inner.txt", 2, file},
        {"Notes.app", 1, folder, false, true},
        {"Notes.app/Contents", 2, folder},
        {"Notes.app/Contents/Info.plist", 3, file},
        {"dangling", 1, link},
        {"docs", 1, folder},
        {"docs/a.txt", 2, file},
        {"docs/sub", 2, folder},
        {"docs/sub/b.txt", 3, file},
        {"linkToDocs", 1, link},
        {"loopA", 1, link},
        {"loopB", 1, link},
        {"pipe", 1, other},
        {"self", 1, link},
    };

    const WalkRecord record = walk(m_fileSystem, r.string());
    EXPECT_FALSE(record.result);
    EXPECT_TRUE(record.errors.empty());
    std::vector<std::string> expectedPaths;
    for (const auto& e : expected) expectedPaths.push_back((r / e.relative).string());
    EXPECT_EQ(record.paths(), expectedPaths);

    for (const auto& e : expected) {
        SCOPED_TRACE(e.relative);
        const DirectoryEntry* entry = record.find((r / e.relative).string());
        ASSERT_NE(entry, nullptr);
        ASSERT_TRUE(entry->values.ok());
        const ResourceValues& v = *entry->values;
        EXPECT_EQ(entry->depth, e.depth);
        EXPECT_EQ(v.name, fs::path(e.relative).filename().string());
        EXPECT_EQ(v.isRegularFile, e.kind == file);
        EXPECT_EQ(v.isDirectory, e.kind == folder);
        EXPECT_EQ(v.isSymbolicLink, e.kind == link);
        EXPECT_EQ(v.isHidden, e.hidden);
        EXPECT_EQ(v.isPackage, e.package);
        EXPECT_FALSE(v.isUbiquitousItem.has_value());
        EXPECT_EQ(v.downloadingStatus.has_value(), e.kind == file);
    }
    EXPECT_EQ(record.find((r / "docs" / "a.txt").string())->values->fileSize, 3);
}

TEST_F(LinuxFileSystemTest, WalkOfARootThatIsALinkToAFolderListsTheFolder) {
    fs::create_directories(root() / "real");
    writeFile(root() / "real" / "a.txt", "a");
    fs::create_directory_symlink(root() / "real", root() / "alias");

    const WalkRecord record = walk(m_fileSystem, path("alias") + "/");
    EXPECT_FALSE(record.result);
    EXPECT_EQ(record.paths(), std::vector<std::string>{path("alias/a.txt")});
}

TEST_F(LinuxFileSystemTest, VisitorCanSkipAFoldersContentsOrStopTheWalk) {
    for (const char* folder : {"a", "b", "c"}) {
        fs::create_directories(root() / "r" / folder);
        writeFile(root() / "r" / folder / "inside.txt", folder);
    }
    const std::string r = path("r");

    const WalkRecord skipped = walk(m_fileSystem, r, [&](const DirectoryEntry& entry) {
        return entry.path == r + "/b" ? WalkAction::skipDescendants : WalkAction::descend;
    });
    EXPECT_EQ(skipped.paths(), (std::vector<std::string>{r + "/a", r + "/a/inside.txt", r + "/b",
                                                         r + "/c", r + "/c/inside.txt"}));

    const WalkRecord stopped = walk(m_fileSystem, r, [&](const DirectoryEntry& entry) {
        return entry.path == r + "/a/inside.txt" ? WalkAction::stop : WalkAction::descend;
    });
    EXPECT_FALSE(stopped.result);
    EXPECT_EQ(stopped.paths(), (std::vector<std::string>{r + "/a", r + "/a/inside.txt"}));
}

TEST_F(LinuxFileSystemTest, WalkOfAMissingOrNonFolderRootFailsWithoutReporting) {
    writeFile(root() / "file.txt", "x");
    struct Case {
        std::string root;
        std::errc error;
        bool notFound;
    };
    for (const Case& c : {Case{path("missing"), std::errc::no_such_file_or_directory, true},
                          Case{path("file.txt"), std::errc::not_a_directory, true},
                          Case{"", std::errc::no_such_file_or_directory, true}}) {
        SCOPED_TRACE(c.root);
        const WalkRecord record = walk(m_fileSystem, c.root);
        EXPECT_EQ(record.result, std::make_error_code(c.error));
        EXPECT_EQ(isNotFound(record.result), c.notFound);
        EXPECT_TRUE(record.entries.empty());
        EXPECT_TRUE(record.errors.empty());
    }
}

TEST_F(LinuxFileSystemTest, UnusualNamesAreOrdinaryNames) {
    const std::vector<std::string> names = {
        "caf\xe9 (latin-1).txt",  // not UTF-8
        "line\nbreak.txt",
        std::string(251, 'n') + ".txt",  // 255 bytes, the longest a name may be
        "colon: and \\ back",
        "\xff\xfe",
    };
    fs::create_directories(root() / "src");
    fs::create_directories(root() / "dst");
    for (const auto& name : names) writeFile(root() / "src" / name, "contents of " + name);

    const WalkRecord record = walk(m_fileSystem, path("src"));
    EXPECT_TRUE(record.errors.empty());
    ASSERT_EQ(record.entries.size(), names.size());
    for (const auto& name : names) {
        SCOPED_TRACE(printable(name));
        const std::string source = path("src") + "/" + name;
        const DirectoryEntry* entry = record.find(source);
        ASSERT_NE(entry, nullptr);
        ASSERT_TRUE(entry->values.ok());
        EXPECT_EQ(entry->values->name, name);
        EXPECT_TRUE(entry->values->isRegularFile);

        const auto values = m_fileSystem.resourceValues(source);
        ASSERT_TRUE(values.ok());
        EXPECT_EQ(values->name, name);

        const std::string copy = path("dst") + "/" + name;
        EXPECT_FALSE(m_fileSystem.copyFile(source, copy));
        EXPECT_EQ(readFile(copy), "contents of " + name);
        EXPECT_FALSE(m_fileSystem.remove(copy));
        EXPECT_FALSE(m_fileSystem.exists(copy));
    }
}

TEST_F(LinuxFileSystemTest, UnreadableFoldersGoToTheErrorHandlerAndTheWalkGoesOn) {
    const fs::path r = root() / "r";
    fs::create_directories(r / "a-open");
    fs::create_directories(r / "b-locked");
    fs::create_directories(r / "c-listable-only");
    writeFile(r / "a-open" / "x.txt", "x");
    writeFile(r / "b-locked" / "y.txt", "y");
    writeFile(r / "c-listable-only" / "z.txt", "z");
    writeFile(r / "d.txt", "d");
    writeFile(r / "secret.txt", "s");
    fs::permissions(r / "b-locked", fs::perms::none);
    // Names can be listed but not looked up.
    fs::permissions(r / "c-listable-only", fs::perms::owner_read);
    fs::permissions(r / "secret.txt", fs::perms::none);

    // Root ignores permissions, so the walk runs in a child that gave that power up.
    const auto output = runInChild([&]() -> std::string {
        if (!testing::dropPermissionOverride())
            return "cannot drop";
        if (::open((r / "b-locked").c_str(), O_RDONLY | O_DIRECTORY) >= 0)
            return "still privileged";
        std::vector<std::string> lines;
        const WalkRecord record = walk(m_fileSystem, r.string());
        lines.push_back("result " + std::to_string(record.result.value()));
        for (const auto& entry : record.entries) {
            lines.push_back("entry " + entry.path + " " +
                            (entry.values.ok() ? std::string("ok")
                                               : std::to_string(entry.values.error().value())));
        }
        for (const auto& [path, error] : record.errors) {
            lines.push_back("error " + path + " " + std::to_string(error.value()));
        }
        const WalkRecord lockedRoot = walk(m_fileSystem, (r / "b-locked").string());
        lines.push_back("locked root " + std::to_string(lockedRoot.result.value()) + " " +
                        std::to_string(lockedRoot.entries.size() + lockedRoot.errors.size()));
        lines.push_back(std::string("readable secret ") +
                        (m_fileSystem.isReadable((r / "secret.txt").string()) ? "yes" : "no"));
        lines.push_back(std::string("readable d ") +
                        (m_fileSystem.isReadable((r / "d.txt").string()) ? "yes" : "no"));
        auto reader = m_fileSystem.openForReading((r / "secret.txt").string());
        lines.push_back("open secret " + std::to_string(reader.ok() ? 0 : reader.error().value()));
        return testing::joinRecords(lines);
    });
    ASSERT_TRUE(output.has_value());
    if (*output == "cannot drop" || *output == "still privileged") {
        GTEST_SKIP() << "this process cannot be made to obey file permissions: " << *output;
    }
    const std::string denied = std::to_string(EACCES);
    EXPECT_THAT(
        testing::splitRecords(*output),
        ::testing::ElementsAre("result 0", "entry " + (r / "a-open").string() + " ok",
                               "entry " + (r / "a-open" / "x.txt").string() + " ok",
                               "entry " + (r / "b-locked").string() + " ok",
                               "entry " + (r / "c-listable-only").string() + " ok",
                               "entry " + (r / "c-listable-only" / "z.txt").string() + " " + denied,
                               "entry " + (r / "d.txt").string() + " ok",
                               "entry " + (r / "secret.txt").string() + " ok",
                               "error " + (r / "b-locked").string() + " " + denied,
                               "locked root " + denied + " 0", "readable secret no",
                               "readable d yes", "open secret " + denied));
}

// Makes `levels` nested folders with long names, each also holding a file sorted after the
// folder, without ever using a path longer than one name.
void makeDeepTree(const fs::path& top, int levels) {
    fs::create_directories(top);
    int fd = ::open(top.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int level = 1; level <= levels; ++level) {
        const std::string folder = "level-" + std::to_string(level) + std::string(40, 'd');
        ASSERT_EQ(::mkdirat(fd, folder.c_str(), 0755), 0);
        const int file = ::openat(fd, "z-file", O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(file, 0);
        ASSERT_EQ(::write(file, "z", 1), 1);
        ::close(file);
        const int next = ::openat(fd, folder.c_str(), O_RDONLY | O_DIRECTORY);
        ASSERT_GE(next, 0);
        ::close(fd);
        fd = next;
    }
    ::close(fd);
}

TEST_F(LinuxFileSystemTest, DeepTreesAreWalkedAndRemovedBeyondThePathLimitAndDescriptorBudget) {
    constexpr int kLevels = 200;  // about 10,000 bytes of path, more than the kernel accepts
    const fs::path top = root() / "deep";
    makeDeepTree(top, kLevels);
    LinuxFileSystem::Options options;
    options.maxOpenFolders = 4;
    LinuxFileSystem fileSystem(options);

    const WalkRecord record = walk(fileSystem, top.string());
    EXPECT_FALSE(record.result);
    EXPECT_TRUE(record.errors.empty());
    ASSERT_EQ(record.entries.size(), static_cast<std::size_t>(2 * kLevels));
    std::string expectedFolder = top.string();
    for (int level = 1; level <= kLevels; ++level) {
        SCOPED_TRACE(level);
        const DirectoryEntry& folder = record.entries[static_cast<std::size_t>(level - 1)];
        expectedFolder += "/level-" + std::to_string(level) + std::string(40, 'd');
        EXPECT_EQ(folder.path, expectedFolder);
        EXPECT_EQ(folder.depth, level);
        EXPECT_TRUE(folder.values.ok() && folder.values->isDirectory);
        // The files come on the way back up, each read from a folder whose descriptor had
        // been given up meanwhile.
        const DirectoryEntry& file = record.entries[static_cast<std::size_t>(2 * kLevels - level)];
        EXPECT_EQ(file.depth, level);
        EXPECT_TRUE(file.values.ok() && file.values->fileSize == 1);
    }
    EXPECT_GT(expectedFolder.size(), static_cast<std::size_t>(PATH_MAX));

    EXPECT_FALSE(fileSystem.remove(top.string()));
    EXPECT_FALSE(fs::exists(top));
}

TEST_F(LinuxFileSystemTest, EntriesRemovedOrAddedDuringTheWalk) {
    const fs::path r = root() / "r";
    fs::create_directories(r / "a");
    fs::create_directories(r / "c");
    writeFile(r / "b.txt", "b");
    writeFile(r / "c" / "old.txt", "o");

    const WalkRecord record = walk(m_fileSystem, r.string(), [&](const DirectoryEntry& entry) {
        if (entry.path == (r / "a").string()) {
            fs::remove(r / "a");  // walked into after it is gone
            fs::remove(r / "b.txt");
            fs::remove(r / "c" / "old.txt");
            writeFile(r / "c" / "new.txt", "n");
        }
        return WalkAction::descend;
    });
    EXPECT_FALSE(record.result);
    EXPECT_TRUE(record.errors.empty());
    EXPECT_EQ(record.paths(), (std::vector<std::string>{(r / "a").string(), (r / "c").string(),
                                                        (r / "c" / "new.txt").string()}));
}

// ---------------------------------------------------------------- values of one item

TEST_F(LinuxFileSystemTest, ResourceValuesOfLocalItems) {
    writeFile(root() / "plain.txt", "12345");
    writeFile(root() / "empty", "");
    writeFile(root() / ".dotfile", "d");
    fs::create_directories(root() / "folder");
    fs::create_directories(root() / "Report.PAGES");
    fs::create_directories(root() / ".app");
    fs::create_symlink("plain.txt", root() / "link");
    {
        // Size without data: on a local disk this is still a complete local file.
        const int fd = ::open(path("sparse").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 1 << 20), 0);
        ::close(fd);
    }
    const struct timespec times[2] = {{0, UTIME_OMIT}, {1'700'000'000, 250'000'000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path("plain.txt").c_str(), times, 0), 0);

    enum Kind { file, folder, link };
    struct Case {
        std::string name;
        Kind kind;
        std::optional<std::int64_t> size;
        bool hidden = false;
        bool package = false;
    };
    for (const Case& c :
         {Case{"plain.txt", file, 5}, Case{"empty", file, 0}, Case{"sparse", file, 1 << 20},
          Case{".dotfile", file, 1, true}, Case{"folder", folder, std::nullopt},
          Case{"Report.PAGES", folder, std::nullopt, false, true},
          Case{".app", folder, std::nullopt, true, false}, Case{"link", link, 9}}) {
        SCOPED_TRACE(c.name);
        const auto values =
            m_fileSystem.resourceValues(path(c.name) + (c.kind == folder ? "/" : ""));
        ASSERT_TRUE(values.ok()) << values.error().message();
        EXPECT_EQ(values->name, c.name);
        EXPECT_EQ(values->isRegularFile, c.kind == file);
        EXPECT_EQ(values->isDirectory, c.kind == folder);
        EXPECT_EQ(values->isSymbolicLink, c.kind == link);
        EXPECT_EQ(values->isHidden, c.hidden);
        EXPECT_EQ(values->isPackage, c.package);
        EXPECT_EQ(values->fileSize, c.size);
        EXPECT_TRUE(values->contentModificationDate.has_value());
        EXPECT_EQ(values->isUbiquitousItem, std::nullopt);
        if (c.kind == file) {
            EXPECT_EQ(values->downloadingStatus, DownloadingStatus::current());
        } else {
            EXPECT_EQ(values->downloadingStatus, std::nullopt);
        }
        for (const auto& flag :
             {values->isDownloading, values->downloadRequested, values->isUploaded,
              values->isUploading, values->hasUnresolvedConflicts}) {
            EXPECT_EQ(flag, std::nullopt);
        }
        EXPECT_FALSE(values->isExcludedFromSync);
        EXPECT_EQ(values->downloadingError, std::nullopt);
        EXPECT_EQ(values->uploadingError, std::nullopt);
    }

    const auto plain = m_fileSystem.resourceValues(path("plain.txt"));
    ASSERT_TRUE(plain.ok());
    EXPECT_NEAR(plain->contentModificationDate->secondsSince1970(), 1'700'000'000.25, 1e-6);

    const auto missing = m_fileSystem.resourceValues(path("missing"));
    EXPECT_TRUE(missing.notFound());
}

TEST(LinuxResourceValuesTest, SyncedFileSystemsReportPlaceholdersAsNotDownloaded) {
    struct Case {
        const char* label;
        bool synced;
        mode_t type;
        std::uint64_t size;
        std::optional<std::uint64_t> blocks;  // absent: not reported
        std::optional<bool> ubiquitous;
        std::optional<DownloadingStatus> status;
    };
    const std::vector<Case> cases = {
        {"local file", false, S_IFREG, 10, 8, std::nullopt, DownloadingStatus::current()},
        {"local sparse file", false, S_IFREG, 10, 0, std::nullopt, DownloadingStatus::current()},
        {"synced file with data", true, S_IFREG, 10, 8, true, DownloadingStatus::downloaded()},
        {"synced placeholder", true, S_IFREG, 10, 0, true, DownloadingStatus::notDownloaded()},
        {"synced empty file", true, S_IFREG, 0, 0, true, DownloadingStatus::downloaded()},
        {"synced file, blocks unknown", true, S_IFREG, 10, std::nullopt, true, std::nullopt},
        {"synced folder", true, S_IFDIR, 4096, 0, true, std::nullopt},
        {"synced link", true, S_IFLNK, 5, 0, true, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        struct statx record {};
        record.stx_mask = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_MTIME;
        record.stx_mode = static_cast<std::uint16_t>(c.type | 0644);
        record.stx_size = c.size;
        if (c.blocks) {
            record.stx_mask |= STATX_BLOCKS;
            record.stx_blocks = *c.blocks;
        }
        const ResourceValues values = linux_fs::resourceValuesFrom(record, "item", c.synced);
        EXPECT_EQ(values.isUbiquitousItem, c.ubiquitous);
        EXPECT_EQ(values.downloadingStatus, c.status);
    }
}

TEST(LinuxResourceValuesTest, NetworkAndFuseFileSystemsAreSynced) {
    EXPECT_TRUE(linux_fs::isSyncedFileSystemType(0x65735546));  // FUSE
    EXPECT_TRUE(linux_fs::isSyncedFileSystemType(0x6969));      // NFS
    // CIFS's magic number has its top bit set; a 32-bit field hands it over negative.
    EXPECT_TRUE(
        linux_fs::isSyncedFileSystemType(static_cast<long>(static_cast<std::int32_t>(0xFF534D42))));
    EXPECT_FALSE(linux_fs::isSyncedFileSystemType(0xEF53));      // ext4
    EXPECT_FALSE(linux_fs::isSyncedFileSystemType(0x01021994));  // tmpfs
}

TEST(LinuxResourceValuesTest, PackagesAreFoldersWithABundleExtension) {
    for (const auto& [name, package] :
         std::vector<std::pair<std::string, bool>>{{"Mail.app", true},
                                                   {"Photos Library.photoslibrary", true},
                                                   {"Disk.SparseBundle", true},
                                                   {"Archive.tar.key", true},
                                                   {".app", false},
                                                   {"app", false},
                                                   {"Mail.app.txt", false},
                                                   {"Mail.apps", false},
                                                   {"Mail.", false}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(linux_fs::isPackageName(name), package);
    }
}

TEST_F(LinuxFileSystemTest, ExistenceFollowsLinksLikeTheFileManager) {
    writeFile(root() / "file", "f");
    fs::create_directories(root() / "folder");
    fs::create_directory_symlink(root() / "folder", root() / "folderLink");
    fs::create_symlink(root() / "nothing", root() / "dangling");
    struct Case {
        std::string name;
        bool exists;
        bool folder;
    };
    for (const Case& c :
         {Case{"file", true, false}, Case{"folder", true, true}, Case{"folderLink", true, true},
          Case{"dangling", false, false}, Case{"missing", false, false}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(m_fileSystem.exists(path(c.name)), c.exists);
        EXPECT_EQ(m_fileSystem.isDirectory(path(c.name)), c.folder);
    }
    EXPECT_TRUE(m_fileSystem.isWritable(path("folder")));
    EXPECT_FALSE(m_fileSystem.isWritable(path("missing")));
    EXPECT_TRUE(m_fileSystem.isReadable(path("file")));
}

// ---------------------------------------------------------------- copies

TEST_F(LinuxFileSystemTest, CopyKeepsDataTimeAndPermissionsAndLeavesTheSourceAlone) {
    fs::create_directories(root() / "dst");
    const std::string data = randomBytes(3 * (1 << 20) + 17, 1);
    writeFile(root() / "source.bin", data);
    ::chmod(path("source.bin").c_str(), 0640);
    const struct timespec times[2] = {{0, UTIME_OMIT}, {1'600'000'000, 123'456'789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path("source.bin").c_str(), times, 0), 0);

    ASSERT_FALSE(m_fileSystem.copyFile(path("source.bin"), path("dst/copy.bin")));

    EXPECT_EQ(readFile(root() / "dst" / "copy.bin"), data);
    const struct timespec copied = modificationTime(root() / "dst" / "copy.bin");
    EXPECT_EQ(copied.tv_sec, 1'600'000'000);
    EXPECT_EQ(copied.tv_nsec, 123'456'789);
    struct stat st {};
    ASSERT_EQ(::stat(path("dst/copy.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(namesIn(root() / "dst"), std::vector<std::string>{"copy.bin"});
    // The original is untouched.
    EXPECT_EQ(readFile(root() / "source.bin"), data);
    const struct timespec original = modificationTime(root() / "source.bin");
    EXPECT_EQ(original.tv_sec, 1'600'000'000);
    EXPECT_EQ(original.tv_nsec, 123'456'789);
}

TEST_F(LinuxFileSystemTest, CopyNeverReplacesWhatIsAtTheDestination) {
    fs::create_directories(root() / "dst");
    writeFile(root() / "source.txt", "new contents");
    writeFile(root() / "dst" / "taken.txt", "old");
    fs::create_symlink(root() / "nowhere", root() / "dst" / "dangling");

    for (const std::string name : {"taken.txt", "dangling"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(m_fileSystem.copyFile(path("source.txt"), path("dst/" + name)),
                  std::make_error_code(std::errc::file_exists));
    }
    EXPECT_EQ(readFile(root() / "dst" / "taken.txt"), "old");
    EXPECT_TRUE(fs::is_symlink(root() / "dst" / "dangling"));
    EXPECT_FALSE(fs::exists(root() / "nowhere"));
    EXPECT_EQ(namesIn(root() / "dst"), (std::vector<std::string>{"dangling", "taken.txt"}));
}

// The copy looks before it starts, but only the final step can close the gap to an item
// that appears while the data is being copied.
TEST_F(LinuxFileSystemTest, PublishingAFinishedCopyNeverReplacesAnItemThatAppearedMeanwhile) {
    writeFile(root() / ".tallowmere-partial-1", "copy");
    writeFile(root() / "arrived.txt", "someone else's");
    fs::create_symlink(root() / "nowhere", root() / "arrivedLink");
    const int folder = ::open(root().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);

    for (const std::string name : {"arrived.txt", "arrivedLink"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(linux_fs::publishWithoutReplacing(folder, ".tallowmere-partial-1", name),
                  std::make_error_code(std::errc::file_exists));
    }
    EXPECT_EQ(readFile(root() / "arrived.txt"), "someone else's");
    EXPECT_TRUE(fs::is_symlink(root() / "arrivedLink"));
    EXPECT_FALSE(linux_fs::publishWithoutReplacing(folder, ".tallowmere-partial-1", "free.txt"));
    EXPECT_EQ(readFile(root() / "free.txt"), "copy");
    EXPECT_EQ(namesIn(root()),
              (std::vector<std::string>{"arrived.txt", "arrivedLink", "free.txt"}));
    ::close(folder);
}

TEST_F(LinuxFileSystemTest, CopyRefusesWhatIsNotARegularFile) {
    fs::create_directories(root() / "dst");
    fs::create_directories(root() / "folder");
    writeFile(root() / "target.txt", "t");
    fs::create_symlink(root() / "target.txt", root() / "link");
    struct Case {
        std::string source;
        std::string destination;
        bool notFound;
    };
    for (const Case& c :
         {Case{"missing", "dst/a", true}, Case{"folder", "dst/b", false},
          Case{"link", "dst/c", false}, Case{"target.txt", "no-such-folder/d", true}}) {
        SCOPED_TRACE(c.source + " -> " + c.destination);
        const std::error_code error = m_fileSystem.copyFile(path(c.source), path(c.destination));
        EXPECT_TRUE(error);
        EXPECT_EQ(isNotFound(error), c.notFound) << error.message();
    }
    EXPECT_TRUE(namesIn(root() / "dst").empty());
}

TEST_F(LinuxFileSystemTest, ACopyThatFailsHalfwayLeavesNothingBehind) {
    fs::create_directories(root() / "dst");
    const std::string data = randomBytes(1 << 20, 2);
    writeFile(root() / "big.bin", data);

    // A file size limit makes the disk "fill up" after 64 KiB, in a child process only.
    const auto output = runInChild([&]() -> std::string {
        std::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return "no limit";
        return std::to_string(m_fileSystem.copyFile(path("big.bin"), path("dst/big.bin")).value());
    });
    ASSERT_TRUE(output.has_value());
    EXPECT_EQ(*output, std::to_string(EFBIG));
    EXPECT_TRUE(namesIn(root() / "dst").empty());
    EXPECT_FALSE(hasPartialFile(root() / "dst"));
    EXPECT_EQ(readFile(root() / "big.bin"), data);
}

// A copy made in two steps gets its name only when asked, and never over anything.
TEST_F(LinuxFileSystemTest, TwoStepCopyKeepsTheDataUnnamedUntilPublished) {
    fs::create_directories(root() / "dst");
    const std::string data = randomBytes(2 * (1 << 20) + 5, 4);
    writeFile(root() / "source.bin", data);
    ::chmod(path("source.bin").c_str(), 0604);
    const struct timespec times[2] = {{0, UTIME_OMIT}, {1'500'000'000, 5}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path("source.bin").c_str(), times, 0), 0);

    const auto temporary = m_fileSystem.copyToTemporaryFile(path("source.bin"), path("dst/a.bin"));
    ASSERT_TRUE(temporary.ok()) << temporary.error().message();
    EXPECT_EQ(fs::path(*temporary).parent_path(), root() / "dst");
    EXPECT_EQ(fs::path(*temporary).filename().string().rfind(FileSystem::kPartialFilePrefix, 0),
              0u);
    EXPECT_FALSE(fs::exists(root() / "dst" / "a.bin"));
    EXPECT_EQ(readFile(*temporary), data);
    EXPECT_EQ(modificationTime(*temporary).tv_sec, 1'500'000'000);
    EXPECT_EQ(modificationTime(*temporary).tv_nsec, 5);

    // Someone else's file takes the name first: it stays, and so does the copy.
    writeFile(root() / "dst" / "a.bin", "theirs");
    EXPECT_EQ(m_fileSystem.publishTemporaryFile(*temporary, path("dst/a.bin")),
              std::make_error_code(std::errc::file_exists));
    EXPECT_EQ(readFile(root() / "dst" / "a.bin"), "theirs");
    EXPECT_EQ(readFile(*temporary), data);
    // Only within one folder.
    fs::create_directories(root() / "other");
    EXPECT_EQ(m_fileSystem.publishTemporaryFile(*temporary, path("other/b.bin")),
              std::make_error_code(std::errc::invalid_argument));

    ASSERT_FALSE(m_fileSystem.publishTemporaryFile(*temporary, path("dst/b.bin")));
    EXPECT_EQ(readFile(root() / "dst" / "b.bin"), data);
    struct stat st {};
    ASSERT_EQ(::stat(path("dst/b.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0604u);
    EXPECT_EQ(namesIn(root() / "dst"), (std::vector<std::string>{"a.bin", "b.bin"}));
    EXPECT_EQ(readFile(root() / "source.bin"), data);

    // Nothing is copied for a name that is taken already.
    EXPECT_EQ(m_fileSystem.copyToTemporaryFile(path("source.bin"), path("dst/a.bin")).error(),
              std::make_error_code(std::errc::file_exists));
    EXPECT_FALSE(hasPartialFile(root() / "dst"));
}

TEST_F(LinuxFileSystemTest, AFirstStepThatFailsHalfwayLeavesNothingBehind) {
    fs::create_directories(root() / "dst");
    const std::string data = randomBytes(1 << 20, 5);
    writeFile(root() / "big.bin", data);
    const auto output = runInChild([&]() -> std::string {
        std::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return "no limit";
        return std::to_string(
            m_fileSystem.copyToTemporaryFile(path("big.bin"), path("dst/big.bin")).error().value());
    });
    ASSERT_TRUE(output.has_value());
    EXPECT_EQ(*output, std::to_string(EFBIG));
    EXPECT_TRUE(namesIn(root() / "dst").empty());
    EXPECT_EQ(readFile(root() / "big.bin"), data);
}

TEST_F(LinuxFileSystemTest, CreatingBelowAFolderNeverMakesTheFolderOrLeavesIt) {
    fs::create_directories(root() / "drive" / "backup");
    fs::create_directories(root() / "outside");
    fs::create_symlink(root() / "outside", root() / "drive" / "backup" / "link");
    writeFile(root() / "drive" / "backup" / "file", "f");

    EXPECT_FALSE(
        m_fileSystem.createDirectoryBelow(path("drive/backup"), path("drive/backup/a/b/c")));
    EXPECT_TRUE(fs::is_directory(root() / "drive" / "backup" / "a" / "b" / "c"));
    EXPECT_FALSE(m_fileSystem.createDirectoryBelow(path("drive/backup"), path("drive/backup/a/b")));
    EXPECT_FALSE(m_fileSystem.createDirectoryBelow(path("drive/backup"), path("drive/backup")));

    struct Case {
        std::string base;
        std::string path;
        std::error_code error;
    };
    const auto code = [](std::errc e) {
        return std::make_error_code(e);
    };
    for (const Case& c : {
             // The drive went away: its folder is not made again.
             Case{"gone/backup", "gone/backup/a", code(std::errc::no_such_file_or_directory)},
             Case{"drive/backup", "drive/elsewhere", code(std::errc::invalid_argument)},
             Case{"drive/backup", "drive/backup/../x", code(std::errc::invalid_argument)},
             Case{"drive/backup", "drive/backup/link/x", code(std::errc::not_a_directory)},
             Case{"drive/backup", "drive/backup/link", code(std::errc::file_exists)},
             Case{"drive/backup", "drive/backup/file", code(std::errc::file_exists)},
             Case{"drive/backup", "drive/backup/file/x", code(std::errc::not_a_directory)},
         }) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(m_fileSystem.createDirectoryBelow(path(c.base), path(c.path)), c.error);
    }
    EXPECT_FALSE(fs::exists(root() / "gone"));
    EXPECT_FALSE(fs::exists(root() / "drive" / "elsewhere"));
    EXPECT_TRUE(namesIn(root() / "outside").empty());
}

// ---------------------------------------------------------------- other changes

TEST_F(LinuxFileSystemTest, AtomicWriteReplacesWholeOrNotAtAll) {
    const std::string target = path("manifest.json");
    const std::string first = "{\"a\": 1, \"long\": \"" + std::string(1000, 'x') + "\"}";
    const std::string second = "{\"b\": 2}";
    const auto bytes = [](const std::string& text) {
        return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                             text.size());
    };

    ASSERT_FALSE(m_fileSystem.writeFileAtomically(target, bytes(first)));
    EXPECT_EQ(readFile(target), first);
    ASSERT_FALSE(m_fileSystem.writeFileAtomically(target, bytes(second)));
    EXPECT_EQ(readFile(target), second);

    const std::string tooBig = randomBytes(256 * 1024, 3);
    const auto output = runInChild([&]() -> std::string {
        std::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return "no limit";
        return std::to_string(m_fileSystem.writeFileAtomically(target, bytes(tooBig)).value());
    });
    ASSERT_TRUE(output.has_value());
    EXPECT_EQ(*output, std::to_string(EFBIG));
    EXPECT_EQ(readFile(target), second);
    EXPECT_EQ(namesIn(root()), std::vector<std::string>{"manifest.json"});

    EXPECT_TRUE(
        isNotFound(m_fileSystem.writeFileAtomically(path("missing/file.json"), bytes(first))));
}

TEST_F(LinuxFileSystemTest, CreateDirectoryMakesIntermediatesAndRefusesFiles) {
    EXPECT_FALSE(m_fileSystem.createDirectory(path("a/b/c/")));
    EXPECT_TRUE(fs::is_directory(root() / "a" / "b" / "c"));
    EXPECT_FALSE(m_fileSystem.createDirectory(path("a/b")));

    writeFile(root() / "a" / "file", "f");
    EXPECT_EQ(m_fileSystem.createDirectory(path("a/file")),
              std::make_error_code(std::errc::file_exists));
    EXPECT_EQ(m_fileSystem.createDirectory(path("a/file/sub")),
              std::make_error_code(std::errc::not_a_directory));
    EXPECT_EQ(readFile(root() / "a" / "file"), "f");
}

TEST_F(LinuxFileSystemTest, RemoveTakesFoldersWithEverythingInsideButNeverFollowsLinks) {
    fs::create_directories(root() / "keep");
    writeFile(root() / "keep" / "precious.txt", "p");
    fs::create_directories(root() / "tree" / "x" / "y");
    writeFile(root() / "tree" / "x" / "y" / "f.txt", "f");
    writeFile(root() / "tree" / "top.txt", "t");
    fs::create_directory_symlink(root() / "keep", root() / "tree" / "x" / "linkToKeep");
    fs::create_symlink(root() / "keep" / "precious.txt", root() / "fileLink");

    EXPECT_FALSE(m_fileSystem.remove(path("tree")));
    EXPECT_FALSE(fs::exists(root() / "tree"));
    EXPECT_FALSE(m_fileSystem.remove(path("fileLink")));
    EXPECT_EQ(readFile(root() / "keep" / "precious.txt"), "p");
    EXPECT_EQ(namesIn(root()), std::vector<std::string>{"keep"});

    const std::error_code missing = m_fileSystem.remove(path("tree"));
    EXPECT_TRUE(isNotFound(missing)) << missing.message();
}

TEST_F(LinuxFileSystemTest, SetModificationDateKeepsTheFraction) {
    writeFile(root() / "file", "f");
    writeFile(root() / "target", "t");
    fs::create_symlink(root() / "target", root() / "link");
    const struct timespec targetBefore = modificationTime(root() / "target");

    ASSERT_FALSE(m_fileSystem.setModificationDate(path("file"), Date(1'500'000'000.75)));
    const struct timespec set = modificationTime(root() / "file");
    EXPECT_EQ(set.tv_sec, 1'500'000'000);
    EXPECT_NEAR(static_cast<double>(set.tv_nsec), 750'000'000.0, 1000.0);

    ASSERT_FALSE(m_fileSystem.setModificationDate(path("link"), Date(1'000'000'000)));
    EXPECT_EQ(modificationTime(root() / "link").tv_sec, 1'000'000'000);
    EXPECT_EQ(modificationTime(root() / "target").tv_sec, targetBefore.tv_sec);

    EXPECT_TRUE(isNotFound(m_fileSystem.setModificationDate(path("missing"), Date(1))));
}

TEST_F(LinuxFileSystemTest, ReadsAFileInChunks) {
    const std::string data = randomBytes(2 * (1 << 20) + 5, 4);
    writeFile(root() / "data.bin", data);
    fs::create_directories(root() / "folder");

    auto reader = m_fileSystem.openForReading(path("data.bin"));
    ASSERT_TRUE(reader.ok());
    std::vector<std::uint8_t> buffer(1 << 20);
    std::string read;
    int chunks = 0;
    for (;;) {
        const auto count = (*reader)->read(buffer);
        ASSERT_TRUE(count.ok());
        if (*count == 0)
            break;
        read.append(reinterpret_cast<const char*>(buffer.data()), *count);
        ++chunks;
    }
    EXPECT_EQ(read, data);
    EXPECT_GE(chunks, 3);

    EXPECT_TRUE(m_fileSystem.openForReading(path("missing")).notFound());
    const auto folder = m_fileSystem.openForReading(path("folder"));
    EXPECT_EQ(folder.error(), std::make_error_code(std::errc::is_a_directory));
    EXPECT_FALSE(folder.notFound());
}

// ---------------------------------------------------------------- folders and volumes

TEST(LinuxFileSystemFoldersTest, HomeAndApplicationSupportFollowTheEnvironment) {
    struct passwd* account = ::getpwuid(::getuid());
    ASSERT_NE(account, nullptr);
    const std::string accountHome = account->pw_dir;

    struct Case {
        const char* label;
        std::map<std::string, std::string> environment;
        std::string home;
        std::string support;
    };
    const std::vector<Case> cases = {
        {"defaults", {{"HOME", "/home/ann"}}, "/home/ann", "/home/ann/.local/share"},
        {"trailing slash", {{"HOME", "/home/ann/"}}, "/home/ann", "/home/ann/.local/share"},
        {"data home set",
         {{"HOME", "/home/ann"}, {"XDG_DATA_HOME", "/data/ann"}},
         "/home/ann",
         "/data/ann"},
        {"relative data home ignored",
         {{"HOME", "/home/ann"}, {"XDG_DATA_HOME", "data"}},
         "/home/ann",
         "/home/ann/.local/share"},
        {"empty data home ignored",
         {{"HOME", "/home/ann"}, {"XDG_DATA_HOME", ""}},
         "/home/ann",
         "/home/ann/.local/share"},
        {"no HOME", {}, accountHome, (accountHome == "/" ? "" : accountHome) + "/.local/share"},
        {"empty HOME",
         {{"HOME", ""}},
         accountHome,
         (accountHome == "/" ? "" : accountHome) + "/.local/share"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        LinuxFileSystem::Options options;
        options.environment = [&](const char* name) -> std::optional<std::string> {
            const auto found = c.environment.find(name);
            if (found == c.environment.end())
                return std::nullopt;
            return found->second;
        };
        const LinuxFileSystem fileSystem(options);
        EXPECT_EQ(fileSystem.homeDirectory().value(), c.home);
        EXPECT_EQ(fileSystem.applicationSupportDirectory().value(), c.support);
    }
}

TEST_F(LinuxFileSystemTest, FreeSpaceAndVolumeOfAnExistingFolder) {
    const auto free = m_fileSystem.freeSpace(root().string());
    ASSERT_TRUE(free.ok());
    struct statvfs record {};
    ASSERT_EQ(::statvfs(root().c_str(), &record), 0);
    EXPECT_GE(*free, 0);
    EXPECT_LE(*free, static_cast<std::int64_t>(record.f_blocks * record.f_frsize));

    EXPECT_TRUE(m_fileSystem.freeSpace(path("missing")).notFound());
    const auto volume = m_fileSystem.volumeValues(root().string());
    ASSERT_TRUE(volume.ok());
    EXPECT_TRUE(volume->volumeIsRemovable.has_value());
    EXPECT_TRUE(m_fileSystem.volumeValues(path("missing")).notFound());
}

TEST_F(LinuxFileSystemTest, AllocatedSizeIsTheSpaceTakenOnDisk) {
    writeFile(root() / "small", "12345");
    writeFile(root() / "larger", randomBytes(100'000, 3));
    {
        // A megabyte long with nothing written: next to no space taken.
        const int fd = ::open(path("sparse").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 1 << 20), 0);
        ::close(fd);
    }
    fs::create_directories(root() / "folder");
    std::map<std::string, std::int64_t> walked;
    walk(m_fileSystem, root().string(), [&](const DirectoryEntry& entry) {
        if (entry.values.ok() && entry.values->allocatedSize)
            walked[entry.values->name] = *entry.values->allocatedSize;
        return WalkAction::descend;
    });
    for (const char* name : {"small", "larger", "sparse", "folder"}) {
        SCOPED_TRACE(name);
        struct stat st {};
        ASSERT_EQ(::lstat(path(name).c_str(), &st), 0);
        const auto values = m_fileSystem.resourceValues(path(name));
        ASSERT_TRUE(values.ok());
        EXPECT_EQ(values->allocatedSize, std::int64_t(st.st_blocks) * 512);
        EXPECT_EQ(walked[name], std::int64_t(st.st_blocks) * 512);
    }
    EXPECT_GE(*m_fileSystem.resourceValues(path("larger"))->allocatedSize, 100'000);
    EXPECT_LT(*m_fileSystem.resourceValues(path("sparse"))->allocatedSize, 1 << 20);

    // statx counts 512-byte units; a record without them has no allocated size.
    struct statx record {};
    record.stx_mask = STATX_TYPE | STATX_MODE | STATX_SIZE;
    record.stx_mode = S_IFREG | 0644;
    record.stx_size = 10;
    EXPECT_EQ(linux_fs::resourceValuesFrom(record, "f", false).allocatedSize, std::nullopt);
    record.stx_mask |= STATX_BLOCKS;
    record.stx_blocks = 8;
    EXPECT_EQ(linux_fs::resourceValuesFrom(record, "f", false).allocatedSize, 4096);
}

TEST(LinuxFileSystemFoldersTest, PicturesFolderFollowsTheUserDirectoriesFile) {
    TemporaryDirectory temp;
    const std::string home = (temp / "home").string();
    const std::string config = (temp / "config").string();
    fs::create_directories(temp / "home" / ".config");
    fs::create_directories(temp / "config");
    struct Case {
        const char* label;
        std::optional<std::string> homeFile;    // ~/.config/user-dirs.dirs
        std::optional<std::string> configFile;  // $XDG_CONFIG_HOME/user-dirs.dirs
        bool useConfigHome;
        std::string pictures;
    };
    const std::vector<Case> cases = {
        {"no file", std::nullopt, std::nullopt, false, home + "/Pictures"},
        {"home relative", "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n",
         std::nullopt, false, home + "/Bilder"},
        {"absolute, with a trailing slash", "XDG_PICTURES_DIR=\"/srv/photos/\"\n", std::nullopt,
         false, "/srv/photos"},
        {"escaped quote and spaces", "XDG_PICTURES_DIR=\"$HOME/My \\\"Pics\\\"\"\n", std::nullopt,
         false, home + "/My \"Pics\""},
        {"the last assignment wins",
         "XDG_PICTURES_DIR=\"$HOME/One\"\nXDG_PICTURES_DIR=\"$HOME/Two\"\n", std::nullopt, false,
         home + "/Two"},
        {"home itself", "XDG_PICTURES_DIR=\"$HOME\"\n", std::nullopt, false, home},
        {"comments and other keys only",
         "# XDG_PICTURES_DIR=\"$HOME/No\"\nXDG_MUSIC_DIR=\"$HOME/M\"\n", std::nullopt, false,
         home + "/Pictures"},
        {"relative paths are not allowed", "XDG_PICTURES_DIR=\"Pictures2\"\n", std::nullopt, false,
         home + "/Pictures"},
        {"unquoted values are not allowed", "XDG_PICTURES_DIR=$HOME/Raw\n", std::nullopt, false,
         home + "/Pictures"},
        {"a longer key is another key", "XDG_PICTURES_DIRS=\"$HOME/No\"\n", std::nullopt, false,
         home + "/Pictures"},
        {"$HOMEX is not $HOME", "XDG_PICTURES_DIR=\"$HOMEX/No\"\n", std::nullopt, false,
         home + "/Pictures"},
        {"config home set", "XDG_PICTURES_DIR=\"$HOME/Ignored\"\n",
         "XDG_PICTURES_DIR=\"$HOME/Chosen\"\n", true, home + "/Chosen"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fs::remove(temp / "home" / ".config" / "user-dirs.dirs");
        fs::remove(temp / "config" / "user-dirs.dirs");
        if (c.homeFile)
            writeFile(temp / "home" / ".config" / "user-dirs.dirs", *c.homeFile);
        if (c.configFile)
            writeFile(temp / "config" / "user-dirs.dirs", *c.configFile);
        LinuxFileSystem::Options options;
        options.environment = [&](const char* name) -> std::optional<std::string> {
            if (std::string(name) == "HOME")
                return home;
            if (std::string(name) == "XDG_CONFIG_HOME" && c.useConfigHome)
                return config;
            return std::nullopt;
        };
        EXPECT_EQ(LinuxFileSystem(options).picturesDirectory().value(), c.pictures);
    }
}

}  // namespace
}  // namespace tallowmere
