#include "tests/support/InMemoryFileSystem.h"

#include <gtest/gtest.h>

namespace tallowmere {
namespace {

using testing::InMemoryFileSystem;
using Operation = InMemoryFileSystem::Operation;

struct WalkRecord {
    std::vector<std::string> entries;  // "path depth" or "path depth !error"
    std::vector<std::string> errors;
    std::error_code result;
};

WalkRecord walk(const FileSystem& fileSystem, const std::string& root,
                const std::function<WalkAction(const DirectoryEntry&)>& decide = {}) {
    WalkRecord record;
    record.result = fileSystem.enumerate(
        root,
        [&](const DirectoryEntry& entry) {
            record.entries.push_back(
                entry.path + " " + std::to_string(entry.depth) +
                (entry.values.ok() ? "" : " !" + entry.values.error().message()));
            return decide ? decide(entry) : WalkAction::descend;
        },
        [&](const std::string& path, std::error_code error) {
            record.errors.push_back(path + " " + error.message());
        });
    return record;
}

const std::string kIoError = std::make_error_code(std::errc::io_error).message();
const std::string kDenied = std::make_error_code(std::errc::permission_denied).message();

TEST(InMemoryFileSystemTest, WalkReportsFaultsWhereTheyAreAndGoesOn) {
    InMemoryFileSystem fileSystem;
    fileSystem.addFile("/r/a.txt", "a");
    fileSystem.addFile("/r/broken/inside.txt");
    fileSystem.addFile("/r/locked/inside.txt");
    fileSystem.addFile("/r/sub/deeper/b.txt", "b");
    fileSystem.addLink("/r/sub/link", "/r/sub/deeper");
    fileSystem.addFile("/r/z.txt");
    fileSystem.failOperation(Operation::resourceValues, "/r/a.txt",
                             std::make_error_code(std::errc::io_error));
    fileSystem.failOperation(Operation::enumerate, "/r/broken",
                             std::make_error_code(std::errc::io_error));
    fileSystem.setReadable("/r/locked", false);

    const WalkRecord record = walk(fileSystem, "/r/");
    EXPECT_FALSE(record.result);
    EXPECT_EQ(record.entries,
              (std::vector<std::string>{"/r/a.txt 1 !" + kIoError, "/r/broken 1", "/r/locked 1",
                                        "/r/sub 1", "/r/sub/deeper 2", "/r/sub/deeper/b.txt 3",
                                        "/r/sub/link 2", "/r/z.txt 1"}));
    EXPECT_EQ(record.errors,
              (std::vector<std::string>{"/r/broken " + kIoError, "/r/locked " + kDenied}));

    // The same faults at the root end the walk before it starts.
    struct Case {
        std::string root;
        std::errc error;
    };
    for (const Case& c :
         {Case{"/missing", std::errc::no_such_file_or_directory},
          Case{"/r/a.txt", std::errc::not_a_directory}, Case{"/r/broken", std::errc::io_error},
          Case{"/r/locked", std::errc::permission_denied}}) {
        SCOPED_TRACE(c.root);
        const WalkRecord rootRecord = walk(fileSystem, c.root);
        EXPECT_EQ(rootRecord.result, std::make_error_code(c.error));
        EXPECT_TRUE(rootRecord.entries.empty());
        EXPECT_TRUE(rootRecord.errors.empty());
    }
}

TEST(InMemoryFileSystemTest, SkipStopAndALinkedRoot) {
    InMemoryFileSystem fileSystem;
    fileSystem.addFile("/r/a/1.txt");
    fileSystem.addFile("/r/b/2.txt");
    fileSystem.addLink("/alias", "r");

    const WalkRecord skipped = walk(fileSystem, "/alias", [](const DirectoryEntry& entry) {
        return entry.path == "/alias/a" ? WalkAction::skipDescendants : WalkAction::descend;
    });
    EXPECT_EQ(skipped.entries,
              (std::vector<std::string>{"/alias/a 1", "/alias/b 1", "/alias/b/2.txt 2"}));

    const WalkRecord stopped =
        walk(fileSystem, "/r", [](const DirectoryEntry&) { return WalkAction::stop; });
    EXPECT_FALSE(stopped.result);
    EXPECT_EQ(stopped.entries, std::vector<std::string>{"/r/a 1"});
}

TEST(InMemoryFileSystemTest, ItemsAppearAndVanishWhileTheWalkRuns) {
    InMemoryFileSystem fileSystem;
    fileSystem.addFile("/r/a/old.txt");
    fileSystem.addFile("/r/b.txt");
    fileSystem.addFile("/r/c/old.txt");
    fileSystem.setEnumerationHook([&](const std::string& path) {
        if (path == "/r/a") {
            fileSystem.erase("/r/b.txt");      // listed, gone before it is looked at
            fileSystem.erase("/r/c/old.txt");  // in a folder not entered yet
            fileSystem.addFile("/r/c/new.txt");
            fileSystem.addFile("/r/late.txt");  // the root was listed already
        }
        if (path == "/r/a/old.txt")
            fileSystem.erase("/r/a/old.txt");
    });

    const WalkRecord record = walk(fileSystem, "/r");
    EXPECT_EQ(record.entries, (std::vector<std::string>{"/r/a 1", "/r/c 1", "/r/c/new.txt 2"}));
    EXPECT_TRUE(record.errors.empty());
}

TEST(InMemoryFileSystemTest, CopiesNeverReplaceAndReadsComeInChunks) {
    InMemoryFileSystem fileSystem;
    fileSystem.addFile("/src/photo.jpg", std::string(10, 'p'), Date(1'600'000'000));
    fileSystem.addFile("/dst/taken.jpg", "other");
    fileSystem.addFolder("/dst/readonly");
    fileSystem.setWritable("/dst/readonly", false);

    EXPECT_EQ(fileSystem.copyFile("/src/photo.jpg", "/dst/taken.jpg"),
              std::make_error_code(std::errc::file_exists));
    EXPECT_EQ(fileSystem.contents("/dst/taken.jpg"), "other");
    EXPECT_TRUE(isNotFound(fileSystem.copyFile("/src/photo.jpg", "/nowhere/x.jpg")));
    EXPECT_TRUE(isNotFound(fileSystem.copyFile("/src/missing.jpg", "/dst/x.jpg")));
    EXPECT_EQ(fileSystem.copyFile("/src/photo.jpg", "/dst/readonly/x.jpg"),
              std::make_error_code(std::errc::permission_denied));
    EXPECT_TRUE(fileSystem.changes().empty());

    ASSERT_FALSE(fileSystem.copyFile("/src/photo.jpg", "/dst/photo.jpg"));
    EXPECT_EQ(fileSystem.contents("/dst/photo.jpg"), std::string(10, 'p'));
    EXPECT_EQ(fileSystem.storedValues("/dst/photo.jpg")->contentModificationDate,
              Date(1'600'000'000));
    EXPECT_EQ(fileSystem.changes(),
              std::vector<std::string>{"copy /src/photo.jpg -> /dst/photo.jpg"});

    auto reader = fileSystem.openForReading("/dst/photo.jpg");
    ASSERT_TRUE(reader.ok());
    std::vector<std::uint8_t> buffer(4);
    std::vector<std::size_t> sizes;
    for (;;) {
        const auto count = (*reader)->read(buffer);
        ASSERT_TRUE(count.ok());
        sizes.push_back(*count);
        if (*count == 0)
            break;
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{4, 4, 2, 0}));

    fileSystem.failOperation(Operation::read, "/src/photo.jpg",
                             std::make_error_code(std::errc::io_error));
    auto failing = fileSystem.openForReading("/src/photo.jpg");
    ASSERT_TRUE(failing.ok());
    EXPECT_EQ((*failing)->read(buffer).error(), std::make_error_code(std::errc::io_error));
}

// The fake keeps the two-step copy's contract, as the engines' fault tests rely on it.
TEST(InMemoryFileSystemTest, TwoStepCopiesAndFoldersBelowABase) {
    InMemoryFileSystem fileSystem;
    fileSystem.addFile("/src/a.txt", "data", Date(1'600'000'000));
    fileSystem.addFolder("/drive/backup");
    fileSystem.addLink("/drive/backup/link", "/elsewhere");
    std::vector<std::string> hooked;
    fileSystem.setChangeHook([&](Operation, const std::string& path) { hooked.push_back(path); });

    EXPECT_TRUE(isNotFound(fileSystem.createDirectoryBelow("/gone", "/gone/x")));
    EXPECT_EQ(fileSystem.createDirectoryBelow("/drive/backup", "/drive/other"),
              std::make_error_code(std::errc::invalid_argument));
    EXPECT_EQ(fileSystem.createDirectoryBelow("/drive/backup", "/drive/backup/link/x"),
              std::make_error_code(std::errc::not_a_directory));
    ASSERT_FALSE(fileSystem.createDirectoryBelow("/drive/backup", "/drive/backup/f/g"));
    EXPECT_FALSE(fileSystem.exists("/gone"));
    EXPECT_FALSE(fileSystem.exists("/elsewhere"));

    const auto temporary = fileSystem.copyToTemporaryFile("/src/a.txt", "/drive/backup/f/g/a.txt");
    ASSERT_TRUE(temporary.ok());
    EXPECT_EQ(fileSystem.contents(*temporary), "data");
    EXPECT_FALSE(fileSystem.exists("/drive/backup/f/g/a.txt"));
    fileSystem.addFile("/drive/backup/f/g/taken.txt", "theirs");
    EXPECT_EQ(fileSystem.publishTemporaryFile(*temporary, "/drive/backup/f/g/taken.txt"),
              std::make_error_code(std::errc::file_exists));
    EXPECT_EQ(fileSystem.publishTemporaryFile(*temporary, "/drive/backup/f/a.txt"),
              std::make_error_code(std::errc::invalid_argument));
    ASSERT_FALSE(fileSystem.publishTemporaryFile(*temporary, "/drive/backup/f/g/a.txt"));
    EXPECT_EQ(fileSystem.contents("/drive/backup/f/g/a.txt"), "data");
    EXPECT_EQ(fileSystem.storedValues("/drive/backup/f/g/a.txt")->contentModificationDate,
              Date(1'600'000'000));
    EXPECT_EQ(fileSystem.pathsBelow("/drive/backup/f/g"),
              (std::vector<std::string>{"/drive/backup/f/g", "/drive/backup/f/g/a.txt",
                                        "/drive/backup/f/g/taken.txt"}));

    fileSystem.failOperation(Operation::read, "/src/a.txt",
                             std::make_error_code(std::errc::io_error));
    EXPECT_EQ(fileSystem.copyToTemporaryFile("/src/a.txt", "/drive/backup/b.txt").error(),
              std::make_error_code(std::errc::io_error));
    EXPECT_EQ(fileSystem.pathsBelow("/drive/backup").size(), 6u);
    // Every change asked for reached the hook, with the path it changes.
    EXPECT_EQ(hooked.size(), 9u);
    EXPECT_EQ(hooked.back(), "/drive/backup/b.txt");
}

}  // namespace
}  // namespace tallowmere
