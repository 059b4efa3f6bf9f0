#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <openssl/evp.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "app/LocalBackupCoordinator.h"
#include "platform/linux/LinuxBookmarks.h"
#include "platform/linux/LinuxFileSystem.h"
#include "tests/app/BackupTestSupport.h"
#include "tests/support/ForwardingFileSystem.h"
#include "tests/support/JsonPrinting.h"
#include "tests/support/TemporaryDirectory.h"

// The coordinator on real folders, through the Linux file system: copies, what is already
// at a destination, sources that change after the scan, pause, cancel, leftovers and crashes.
namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using testing::BackupStore;
using testing::ForwardingFileSystem;
using S = BackupItemStatus;
using J = BackupJobStatus;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& contents, time_t seconds, long nanos) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
    const struct timespec times[2] = {{0, UTIME_OMIT}, {seconds, nanos}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

std::string sha256(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr);
    std::string hex;
    char pair[3];
    for (unsigned i = 0; i < size; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        hex += pair;
    }
    return hex;
}

// Size, modification time to the nanosecond, and a hash of the contents.
struct Fingerprint {
    std::int64_t size = 0;
    std::int64_t mtimeNanoseconds = 0;
    std::string hash;

    bool operator==(const Fingerprint&) const = default;
};

Fingerprint fingerprint(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return {st.st_size, st.st_mtim.tv_sec * 1'000'000'000ll + st.st_mtim.tv_nsec,
            sha256(readFile(path))};
}

std::map<std::string, Fingerprint> fingerprints(const fs::path& folder) {
    std::map<std::string, Fingerprint> all;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            all[entry.path().string()] = fingerprint(entry.path());
    }
    return all;
}

std::vector<std::string> partialFiles(const fs::path& folder) {
    std::vector<std::string> found;
    if (!fs::exists(folder))
        return found;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(FileSystem::kPartialFilePrefix, 0) == 0)
            found.push_back(entry.path().string());
    }
    return found;
}

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (auto& byte : bytes) byte = static_cast<char>(generator() & 0xff);
    return bytes;
}

class LocalBackupCoordinatorDiskTest : public ::testing::Test {
protected:
    LocalBackupCoordinatorDiskTest() {
        fs::create_directories(destination());
        fs::create_directories(documents());
    }

    fs::path documents() const { return m_temp / "home" / "Documents"; }
    fs::path destination() const { return m_temp / "drive" / "Backups"; }
    fs::path copies() const {
        return destination() / "Tallowmere Backup" / "iCloud Drive" / "Documents";
    }

    // Files of the Documents folder, with sizes from empty to a few megabytes and
    // modification times with nanoseconds.
    void makeSources(const std::vector<std::string>& relatives) {
        unsigned seed = 1;
        for (const auto& relative : relatives) {
            const std::size_t size = seed % 3 == 0 ? (3u << 20) + seed : seed * 1000;
            writeFile(documents() / relative, randomBytes(size, seed),
                      1'600'000'000 + static_cast<time_t>(seed), 123'456'789);
            ++seed;
        }
    }

    // A scan that found each file as it is now, the way the Linux scanner reads it.
    Uuid scan(BackupStore& store, const std::vector<std::string>& relatives) {
        LinuxFileSystem reader;
        std::vector<ICloudFileScanResult> results;
        for (const auto& relative : relatives) {
            const auto values = reader.resourceValues((documents() / relative).string()).value();
            results.push_back(BackupStore::result((documents() / relative).string(),
                                                  values.fileSize, values.contentModificationDate));
        }
        return store.storeScan(BackupStore::documentsRoot(documents().string()), results);
    }

    std::shared_ptr<LinuxFileSystem> m_linux = std::make_shared<LinuxFileSystem>();
    testing::TemporaryDirectory m_temp;
};

TEST_F(LocalBackupCoordinatorDiskTest, PrepareFailsWithoutAUsableDestination) {
    BackupStore store;
    auto forwarding = std::make_shared<ForwardingFileSystem>(m_linux);
    auto coordinator = store.coordinator(forwarding);
    makeSources({"a.txt"});
    scan(store, {"a.txt"});

    EXPECT_EQ(coordinator->prepareBackup().message,
              "Choose a backup destination before preparing a backup.");

    coordinator->selectDestination((m_temp / "drive" / "Unplugged").string(), std::nullopt);
    store.clock->advance(1);
    EXPECT_EQ(coordinator->prepareBackup().message,
              "Tallowmere cannot prepare this destination yet: missing.");
    EXPECT_FALSE(fs::exists(m_temp / "drive" / "Unplugged"));

    // Too little room for the files: prepared all the same, but not copied.
    forwarding->freeBytes = 10;
    coordinator->selectDestination(destination().string(), std::nullopt);
    store.clock->advance(1);
    const auto prepared = coordinator->prepareBackup();
    EXPECT_EQ(prepared.status, J::prepared);
    EXPECT_EQ(store.backups.fetchSelectedDestination()->status,
              BackupDestinationStatus::lowStorage);
    store.clock->advance(1);
    const auto refused = coordinator->startBackup();
    EXPECT_EQ(refused.status, J::failed);
    EXPECT_EQ(refused.message, "Tallowmere cannot copy to this destination yet: low space.");
    EXPECT_TRUE(fs::is_empty(destination() / "Tallowmere Backup" / "iCloud Drive"));
}

TEST_F(LocalBackupCoordinatorDiskTest, AScanOfOnlyFoldersAndCloudOnlyFilesCopiesNothing) {
    makeSources({"remote.pdf"});
    fs::create_directories(documents() / "Folder");
    BackupStore store;
    auto coordinator = store.coordinator(m_linux);
    coordinator->selectDestination(destination().string(), std::nullopt);
    store.storeScan(BackupStore::documentsRoot(documents().string()),
                    {BackupStore::result((documents() / "Folder").string(), std::nullopt,
                                         Date(1'600'000'000), ICloudFileState::localCurrent, true),
                     BackupStore::result((documents() / "remote.pdf").string(), 1000,
                                         Date(1'600'000'000), ICloudFileState::cloudOnly)});
    const auto prepared = coordinator->prepareBackup();
    EXPECT_EQ(prepared.message,
              "Backup prepared. 0 local files are ready to copy; 2 items were skipped.");
    const auto done = coordinator->startBackup();
    EXPECT_EQ(done.status, J::completedWithSkipped);
    EXPECT_EQ(done.skippedFiles, 2);
    EXPECT_TRUE(fs::is_empty(destination() / "Tallowmere Backup" / "iCloud Drive"));
}

TEST_F(LocalBackupCoordinatorDiskTest, CopiesKeepBytesAndTimesAndNeverTouchWhatIsThere) {
    const std::vector<std::string> files = {
        "a.bin",           "big/photo.raw", "empty-later.txt",   "keep/same.doc",
        "keep/theirs.doc", "removed.txt",   "z/notes: draft.txt"};
    makeSources(files);
    writeFile(documents() / "empty-later.txt", "", 1'600'000'000, 0);
    BackupStore store;
    auto coordinator = store.coordinator(m_linux, {.maxFiles = 3});
    coordinator->selectDestination(destination().string(), std::nullopt);
    scan(store, files);
    const auto prepared = coordinator->prepareBackup();
    ASSERT_EQ(prepared.status, J::prepared);

    // Already at the destination: an identical copy whose time is 1 s off, and another
    // file under a name the job wants. One source goes away after the scan.
    const std::string same = readFile(documents() / "keep" / "same.doc");
    writeFile(copies() / "keep" / "same.doc", same, 1'600'000'000 + 4 + 1, 0);
    writeFile(copies() / "keep" / "theirs.doc", "not the same file", 1'600'000'000, 0);
    const auto theirsBefore = fingerprint(copies() / "keep" / "theirs.doc");
    struct stat sameBefore {};
    ::stat((copies() / "keep" / "same.doc").c_str(), &sameBefore);
    fs::remove(documents() / "removed.txt");
    const auto sourcesBefore = fingerprints(documents());

    const auto done = coordinator->startBackup();
    EXPECT_EQ(done.status, J::completedWithSkipped);
    EXPECT_EQ(store.statuses(done.id),
              (std::map<std::string, S>{{"a.bin", S::copied},
                                        {"big/photo.raw", S::copied},
                                        {"empty-later.txt", S::copied},
                                        {"keep/same.doc", S::alreadyCopied},
                                        {"keep/theirs.doc", S::conflict},
                                        {"removed.txt", S::failed},
                                        {"z/notes- draft.txt", S::copied}}));
    testing::expectCountersMatchStore(done, store.backups);

    // Copies hold the sources' bytes and times to the nanosecond.
    for (const std::string relative : {"a.bin", "big/photo.raw", "empty-later.txt"}) {
        SCOPED_TRACE(relative);
        EXPECT_EQ(fingerprint(copies() / relative), fingerprint(documents() / relative));
    }
    EXPECT_EQ(fingerprint(copies() / "z" / "notes- draft.txt"),
              fingerprint(documents() / "z" / "notes: draft.txt"));
    // What was there is exactly as it was.
    EXPECT_EQ(fingerprint(copies() / "keep" / "theirs.doc"), theirsBefore);
    struct stat sameAfter {};
    ::stat((copies() / "keep" / "same.doc").c_str(), &sameAfter);
    EXPECT_EQ(sameAfter.st_ino, sameBefore.st_ino);
    EXPECT_EQ(sameAfter.st_mtim.tv_sec, sameBefore.st_mtim.tv_sec);
    EXPECT_FALSE(fs::exists(copies() / "removed.txt"));
    // Sources: same size, time and contents.
    EXPECT_EQ(fingerprints(documents()), sourcesBefore);
    EXPECT_THAT(partialFiles(destination()), ::testing::IsEmpty());
    // The preview file and the three folders are all the backup folder holds besides copies.
    EXPECT_TRUE(fs::is_regular_file(*done.manifestJSONPath));
    EXPECT_TRUE(fs::is_directory(destination() / "Tallowmere Backup" / "Reports"));
}

TEST_F(LocalBackupCoordinatorDiskTest, PauseResumeAndCancelOnDisk) {
    const std::vector<std::string> files = {"1.bin", "2.bin", "3.bin", "4.bin", "5.bin"};
    makeSources(files);
    BackupStore store;
    auto coordinator = store.coordinator(m_linux);
    coordinator->selectDestination(destination().string(), std::nullopt);
    scan(store, files);
    const auto prepared = coordinator->prepareBackup();

    std::string stopAt = "2.bin";
    bool cancel = false;
    coordinator->setProgressHandler([&](const BackupProgressSnapshot& progress) {
        if (progress.currentFile == stopAt)
            cancel ? coordinator->cancelBackup() : coordinator->pauseBackup();
    });
    const auto paused = coordinator->startBackup();
    EXPECT_EQ(paused.status, J::paused);
    EXPECT_EQ(paused.completedFiles, 2);
    EXPECT_TRUE(fs::exists(copies() / "2.bin"));
    EXPECT_FALSE(fs::exists(copies() / "3.bin"));

    stopAt = "3.bin";
    cancel = true;
    store.clock->advance(1);
    const auto cancelled = coordinator->startBackup();
    EXPECT_EQ(cancelled.id, prepared.id);
    EXPECT_EQ(cancelled.status, J::cancelled);
    EXPECT_EQ(cancelled.completedFiles, 3);
    for (const std::string name : {"1.bin", "2.bin", "3.bin"})
        EXPECT_EQ(fingerprint(copies() / name), fingerprint(documents() / name)) << name;
    EXPECT_FALSE(fs::exists(copies() / "4.bin"));

    store.clock->advance(1);
    const auto done = coordinator->startBackup();
    EXPECT_EQ(done.status, J::completed);
    EXPECT_EQ(done.completedFiles, 5);
    EXPECT_EQ(fingerprints(copies()).size(), 5u);
}

TEST_F(LocalBackupCoordinatorDiskTest, LeftoversOfAnEarlierRunAreRemovedWhenCopyingStarts) {
    makeSources({"a.txt"});
    BackupStore store;
    auto coordinator = store.coordinator(m_linux);
    coordinator->selectDestination(destination().string(), std::nullopt);
    scan(store, {"a.txt"});
    coordinator->prepareBackup();
    const fs::path leftover = copies() / "sub" / ".tallowmere-partial-0123";
    writeFile(leftover, "half a file", 1, 0);
    // Only the program's own folder is cleaned; nothing of the user's is touched.
    const fs::path usersOwn = destination() / ".tallowmere-partial-mine";
    writeFile(usersOwn, "mine", 1, 0);

    EXPECT_EQ(coordinator->startBackup().status, J::completed);
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_TRUE(fs::exists(copies() / "sub"));
    EXPECT_EQ(readFile(usersOwn), "mine");
}

// A crash is acted out by ending a child process at the n-th flush of the copy run; the
// store is a file, and the parent then looks at what the child left and starts again.
class LocalBackupCoordinatorCrashTest : public LocalBackupCoordinatorDiskTest {
protected:
    static constexpr int kCrashed = 77;

    void SetUp() override {
        makeSources(m_files);
        BackupStore store(TallowmereDatabase::open(databasePath()));
        auto coordinator = store.coordinator(m_linux);
        coordinator->selectDestination(destination().string(), std::nullopt);
        scan(store, m_files);
        m_jobID = coordinator->prepareBackup().id;
        m_sourcesBefore = fingerprints(documents());
    }

    std::string databasePath() const { return (m_temp / "Tallowmere.sqlite").string(); }

    // Runs a start in a child that dies just before its `crashAt`-th flush; the child's
    // exit status.
    int startAndCrash(int crashAt) {
        const pid_t child = ::fork();
        if (child == 0) {
            int status = 1;
            try {
                BackupStore store(TallowmereDatabase::open(databasePath()));
                auto forwarding = std::make_shared<ForwardingFileSystem>(m_linux);
                forwarding->beforeSynchronize = [crashAt](int call) {
                    if (call == crashAt)
                        ::_exit(kCrashed);
                };
                store.coordinator(forwarding, {.maxFiles = 2})->startBackup();
                status = 0;
            } catch (...) {
                status = 2;
            }
            ::_exit(status);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The parent's view after the crash: a store that says `running`, then a start.
    BackupJobSnapshot resume(BackupStore& store) {
        EXPECT_EQ(store.latestJob().id, m_jobID);
        EXPECT_EQ(store.latestJob().status, J::running);
        store.clock->advance(10);
        return store.coordinator(m_linux)->startBackup();
    }

    const std::vector<std::string> m_files = {"1.bin", "2.bin", "3.bin", "4.bin", "5.bin"};
    Uuid m_jobID;
    std::map<std::string, Fingerprint> m_sourcesBefore;
};

// Copies of the first group got their names, but the crash came before their statuses
// were written: they are found again as already copied, and nothing is copied twice.
TEST_F(LocalBackupCoordinatorCrashTest, CopiesWhoseStatusWasNotWrittenAreFoundAgain) {
    ASSERT_EQ(startAndCrash(2), kCrashed);
    BackupStore store(TallowmereDatabase::open(databasePath()));
    EXPECT_EQ(store.statuses(m_jobID), (std::map<std::string, S>{{"1.bin", S::pending},
                                                                 {"2.bin", S::pending},
                                                                 {"3.bin", S::pending},
                                                                 {"4.bin", S::pending},
                                                                 {"5.bin", S::pending}}));
    EXPECT_EQ(fingerprint(copies() / "1.bin"), fingerprint(documents() / "1.bin"));
    EXPECT_FALSE(fs::exists(copies() / "3.bin"));

    const auto done = resume(store);
    EXPECT_EQ(done.id, m_jobID);
    EXPECT_EQ(done.status, J::completed);
    EXPECT_EQ(store.statuses(m_jobID), (std::map<std::string, S>{{"1.bin", S::alreadyCopied},
                                                                 {"2.bin", S::alreadyCopied},
                                                                 {"3.bin", S::copied},
                                                                 {"4.bin", S::copied},
                                                                 {"5.bin", S::copied}}));
    testing::expectCountersMatchStore(done, store.backups);
    const auto copied = fingerprints(copies());
    EXPECT_EQ(copied.size(), 5u);
    for (const auto& name : m_files)
        EXPECT_EQ(copied.at((copies() / name).string()),
                  m_sourcesBefore.at((documents() / name).string()));
    EXPECT_EQ(fingerprints(documents()), m_sourcesBefore);
}

// The crash came while the second group's data waited for its flush: no copy of it has a
// name, temporary files are cleared by the next start, and the first group (named and
// flushed, its statuses written or about to be) ends up complete either way.
TEST_F(LocalBackupCoordinatorCrashTest, UnnamedCopiesOfACrashAreClearedAndMadeAgain) {
    ASSERT_EQ(startAndCrash(3), kCrashed);
    BackupStore store(TallowmereDatabase::open(databasePath()));
    const auto statuses = store.statuses(m_jobID);
    for (const std::string name : {"1.bin", "2.bin"}) {
        EXPECT_THAT(statuses.at(name), ::testing::AnyOf(S::copied, S::pending)) << name;
        EXPECT_EQ(fingerprint(copies() / name), m_sourcesBefore.at((documents() / name).string()));
    }
    for (const std::string name : {"3.bin", "4.bin", "5.bin"}) {
        EXPECT_EQ(statuses.at(name), S::pending) << name;
        EXPECT_FALSE(fs::exists(copies() / name)) << name;
    }
    // The second group's two, and maybe one of the third, copied meanwhile.
    EXPECT_GE(partialFiles(destination()).size(), 2u);

    const auto done = resume(store);
    EXPECT_EQ(done.status, J::completed);
    EXPECT_EQ(done.completedFiles, 5);
    EXPECT_TRUE(partialFiles(destination()).empty());
    for (const auto& name : m_files)
        EXPECT_EQ(fingerprint(copies() / name), m_sourcesBefore.at((documents() / name).string()));
}

// The empty-mount-point trap, on a made-up machine around real folders: the drive (UUID
// ABCD-1234, device 8:17) holds the destination folder while it is mounted at <temp>/A.
// When it is not mounted, the folder at <temp>/A/Backups is just a folder on another disk.
class LocalBackupCoordinatorMountTest : public LocalBackupCoordinatorDiskTest {
protected:
    void SetUp() override {
        m_paths.mountInfo = (m_temp / "mountinfo").string();
        m_paths.sysDevBlock = (m_temp / "sys" / "dev" / "block").string();
        m_paths.diskByLabel = (m_temp / "by-label").string();
        m_paths.diskByUuid = (m_temp / "by-uuid").string();
        const fs::path partition = m_temp / "sys" / "devices" / "usb1" / "block" / "sdz" / "sdz1";
        fs::create_directories(partition);
        fs::create_directories(m_paths.sysDevBlock);
        fs::create_symlink(partition, fs::path(m_paths.sysDevBlock) / "8:17");
        fs::create_directories(m_paths.diskByUuid);
        fs::create_symlink("../../sdz1", fs::path(m_paths.diskByUuid) / "ABCD-1234");
        fs::create_directories(m_temp / "A" / "Backups");
        mountDriveAt(m_temp / "A");
        makeSources({"a.txt", "b.txt"});
    }

    // The drive's file system mounted at `mountPoint`, or nowhere.
    void mountDriveAt(const std::optional<fs::path>& mountPoint) {
        std::ofstream out(m_paths.mountInfo);
        out << "28 1 8:99 / / rw - ext4 /dev/fakeroot rw\n";
        if (mountPoint)
            out << "90 28 8:17 / " << mountPoint->string() << " rw - ext4 /dev/sdz1 rw\n";
    }

    linux_fs::SystemPaths m_paths;
};

TEST_F(LocalBackupCoordinatorMountTest, NothingIsEverCopiedToAFolderWhoseDriveIsNotMounted) {
    BackupStore store;
    auto bookmarks = std::make_shared<LinuxBookmarks>(m_paths);
    auto coordinator = store.coordinator(m_linux, {}, bookmarks);
    const std::string folder = (m_temp / "A" / "Backups").string();
    const auto bookmark = bookmarks->create(folder);
    ASSERT_TRUE(bookmark.ok());
    EXPECT_EQ(coordinator->selectDestination(folder, *bookmark).status,
              BackupDestinationStatus::connected);
    scan(store, {"a.txt", "b.txt"});
    store.clock->advance(1);
    const auto prepared = coordinator->prepareBackup();
    ASSERT_EQ(prepared.status, J::prepared);
    const auto before = fingerprints(m_temp / "A");

    // Unmounted: the folder is still there at the old path, but it is not the drive.
    mountDriveAt(std::nullopt);
    store.clock->advance(1);
    const auto refreshed = coordinator->refreshDestinationStatus().value();
    EXPECT_EQ(refreshed.status, BackupDestinationStatus::missing);
    store.clock->advance(1);
    const auto refused = coordinator->startBackup();
    EXPECT_EQ(refused.id, prepared.id);
    EXPECT_EQ(refused.status, J::failed);
    EXPECT_EQ(refused.message, "Tallowmere cannot copy to this destination yet: missing.");
    store.clock->advance(1);
    EXPECT_EQ(coordinator->prepareBackup().message,
              "Tallowmere cannot prepare this destination yet: missing.");
    EXPECT_EQ(fingerprints(m_temp / "A"), before);
    EXPECT_TRUE(fs::is_empty(m_temp / "A" / "Backups" / "Tallowmere Backup" / "iCloud Drive"));

    // Mounted again, now at <temp>/B: the copy goes there, never to the old place.
    fs::rename(m_temp / "A", m_temp / "B");
    fs::create_directories(m_temp / "A" / "Backups");
    mountDriveAt(m_temp / "B");
    store.clock->advance(1);
    const auto done = coordinator->startBackup();
    EXPECT_EQ(done.status, J::completed);
    EXPECT_EQ(done.completedFiles, 2);
    EXPECT_TRUE(fs::exists(m_temp / "B" / "Backups" / "Tallowmere Backup" / "iCloud Drive" /
                           "Documents" / "a.txt"));
    EXPECT_TRUE(fs::is_empty(m_temp / "A" / "Backups"));
    EXPECT_EQ(store.backups.fetchSelectedDestination()->path, (m_temp / "B" / "Backups").string());
}

TEST_F(LocalBackupCoordinatorMountTest, ADriveUnmountedMidRunLeavesNothingNamedAtItsOldPlace) {
    BackupStore store;
    auto bookmarks = std::make_shared<LinuxBookmarks>(m_paths);
    auto coordinator = store.coordinator(m_linux, {}, bookmarks);
    const fs::path backups = m_temp / "A" / "Backups";
    const auto bookmark = bookmarks->create(backups.string());
    ASSERT_TRUE(bookmark.ok());
    coordinator->selectDestination(backups.string(), *bookmark);
    scan(store, {"a.txt", "b.txt"});
    store.clock->advance(1);
    const auto prepared = coordinator->prepareBackup();
    ASSERT_EQ(prepared.status, J::prepared);
    const fs::path layout = fs::path("Tallowmere Backup") / "iCloud Drive" / "Documents";

    // Just before the second file the drive goes (its files with it), and the old mount
    // point holds a folder laid out like a backup, on the other disk.
    coordinator->setProgressHandler([&](const BackupProgressSnapshot& progress) {
        if (progress.currentFile != "b.txt")
            return;
        fs::rename(m_temp / "A", m_temp / "unplugged");
        fs::create_directories(backups / layout);
        mountDriveAt(std::nullopt);
    });
    store.clock->advance(1);
    EXPECT_THROW(coordinator->startBackup(), std::system_error);
    EXPECT_EQ(store.latestJob().status, J::running);
    EXPECT_EQ(fingerprints(backups), (std::map<std::string, Fingerprint>{}));
    EXPECT_THAT(partialFiles(backups), ::testing::IsEmpty());

    // Mounted again elsewhere: the job goes on there, and the old place stays empty.
    coordinator->setProgressHandler({});
    fs::rename(m_temp / "unplugged", m_temp / "B");
    mountDriveAt(m_temp / "B");
    store.clock->advance(1);
    const auto done = coordinator->startBackup();
    EXPECT_EQ(done.status, J::completed);
    EXPECT_EQ(done.completedFiles, 2);
    EXPECT_EQ(fingerprints(m_temp / "B" / "Backups" / layout).size(), 2u);
    EXPECT_THAT(partialFiles(m_temp / "B" / "Backups"), ::testing::IsEmpty());
    EXPECT_EQ(fingerprints(backups), (std::map<std::string, Fingerprint>{}));
}

}  // namespace
}  // namespace tallowmere
