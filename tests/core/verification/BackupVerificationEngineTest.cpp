#include "core/verification/BackupVerificationEngine.h"

#include <gtest/gtest.h>

#include "tests/support/InMemoryFileSystem.h"
#include "tests/support/JsonPrinting.h"

namespace tallowmere {
namespace {

using testing::InMemoryFileSystem;
using Op = InMemoryFileSystem::Operation;
using S = VerificationItemStatus;

constexpr const char* kBackup = "/media/alex/Drive/Tallowmere Backup";
constexpr const char* kRestoreRoot = "/home/tester/.local/share/Tallowmere/Restore Tests/RUN";
// SHA-256 of "hello" and of "jello".
const std::string kHello = "2cf24dba5fb0a30e26e83b2ac5b9e29e1b161e5c1fa7425e73043362938b9824";
const std::string kJello = "187c9bceeb919e1b3e6d20fa50ecabf7d9d50b5343e8f9a3d912abb13929102e";

class BackupVerificationEngineTest : public ::testing::Test {
protected:
    InMemoryFileSystem fileSystem;
    const Uuid runID = Uuid::random();
    const Date now = Date(1'765'000'123.5);

    BackupManifestItem copiedItem(const std::string& relativePath, const std::string& contents,
                                  BackupItemStatus status = BackupItemStatus::copied) {
        BackupManifestItem item;
        item.id = Uuid::random();
        item.jobID = Uuid::random();
        item.sourcePath = "/home/alex/Documents/" + relativePath;
        item.relativePath = relativePath;
        item.destinationPath = std::string(kBackup) + "/" + relativePath;
        item.fileSize = static_cast<std::int64_t>(contents.size());
        item.status = status;
        fileSystem.addFile(item.destinationPath, contents);
        return item;
    }

    VerificationItemResult verify(const BackupManifestItem& item,
                                  std::optional<std::string> expected = std::nullopt) {
        return BackupVerificationEngine::verifyDestinationFile(item, runID, expected, fileSystem,
                                                               now);
    }

    VerificationItemResult restore(const BackupManifestItem& item,
                                   std::optional<std::string> expected = std::nullopt) {
        return BackupVerificationEngine::restoreTest(item, runID, kRestoreRoot, expected,
                                                     fileSystem, now);
    }

    // The fields every result carries whatever its outcome.
    VerificationItemResult expectedFrame(const BackupManifestItem& item,
                                         const VerificationItemResult& actual,
                                         std::string checkedPath) {
        VerificationItemResult frame;
        frame.id = actual.id;
        frame.runID = runID;
        frame.backupJobID = item.jobID;
        frame.manifestItemID = item.id;
        frame.checkedPath = std::move(checkedPath);
        frame.relativePath = item.relativePath;
        frame.expectedSize = item.fileSize;
        frame.createdAt = now;
        frame.updatedAt = now;
        return frame;
    }
};

TEST_F(BackupVerificationEngineTest, VerifiesTheBackupFileAgainstSizeAndLastPassedChecksum) {
    struct Case {
        const char* name;
        std::function<BackupManifestItem()> arrange;
        std::optional<std::string> given;
        S status;
        std::optional<std::string> reason;
        std::optional<std::int64_t> actualSize;
        std::optional<std::string> expectedChecksum;
        std::optional<std::string> actualChecksum;
    };
    const std::vector<Case> cases{
        {"first check records its own checksum as the baseline",
         [&] { return copiedItem("a/first.txt", "hello"); }, std::nullopt, S::passed, std::nullopt,
         5, kHello, kHello},
        {"an already copied item matching the last passed checksum",
         [&] { return copiedItem("a/again.txt", "hello", BackupItemStatus::alreadyCopied); },
         kHello, S::passed, std::nullopt, 5, kHello, kHello},
        {"same size, different bytes", [&] { return copiedItem("a/flipped.txt", "jello"); }, kHello,
         S::checksumMismatch, "The copied file checksum does not match the last verified value.", 5,
         kHello, kJello},
        {"no recorded size: hashed and compared",
         [&] {
             auto item = copiedItem("a/unsized.txt", "hello");
             item.fileSize = std::nullopt;
             return item;
         },
         kHello, S::passed, std::nullopt, 5, kHello, kHello},
        {"missing",
         [&] {
             auto item = copiedItem("a/gone.txt", "hello");
             fileSystem.erase(item.destinationPath);
             return item;
         },
         kHello, S::missing, "The copied file is missing from the backup destination.",
         std::nullopt, kHello, std::nullopt},
        {"a folder where the copy should be",
         [&] {
             auto item = copiedItem("a/folder", "hello");
             fileSystem.erase(item.destinationPath);
             fileSystem.addFolder(item.destinationPath);
             return item;
         },
         kHello, S::unreadable, "Tallowmere could not read the copied file.", std::nullopt, kHello,
         std::nullopt},
        {"not readable: size reported, nothing hashed",
         [&] {
             auto item = copiedItem("a/locked.txt", "hello");
             fileSystem.setReadable(item.destinationPath, false);
             return item;
         },
         std::nullopt, S::unreadable, "Tallowmere could not read the copied file.", 5, std::nullopt,
         std::nullopt},
        {"a read error while hashing",
         [&] {
             auto item = copiedItem("a/bad-sector.txt", "hello");
             fileSystem.failOperation(Op::read, item.destinationPath,
                                      std::make_error_code(std::errc::io_error));
             return item;
         },
         kHello, S::unreadable, "Tallowmere could not read the copied file checksum.", 5, kHello,
         std::nullopt},
        {"size cannot be read: unknown even though hashed",
         [&] {
             auto item = copiedItem("a/sizeless.txt", "hello");
             fileSystem.failOperation(Op::resourceValues, item.destinationPath,
                                      std::make_error_code(std::errc::io_error));
             return item;
         },
         std::nullopt, S::unknown, "Tallowmere could not read the copied file size.", std::nullopt,
         kHello, kHello},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto item = c.arrange();
        const auto result = verify(item, c.given);
        auto expected = expectedFrame(item, result, item.destinationPath);
        expected.status = c.status;
        expected.failureReason = c.reason;
        expected.actualSize = c.actualSize;
        expected.expectedChecksum = c.expectedChecksum;
        expected.actualChecksum = c.actualChecksum;
        EXPECT_EQ(result, expected);
        EXPECT_NE(result.id, Uuid());
    }
}

TEST_F(BackupVerificationEngineTest, WrongSizeIsReportedWithoutReadingTheFile) {
    auto item = copiedItem("short.txt", "hell");
    item.fileSize = 5;
    // Were the file opened, the result would be about an unreadable checksum instead.
    fileSystem.failOperation(Op::open, item.destinationPath,
                             std::make_error_code(std::errc::io_error));

    const auto result = verify(item, kHello);

    auto expected = expectedFrame(item, result, item.destinationPath);
    expected.status = S::sizeMismatch;
    expected.failureReason = "The copied file size does not match the manifest.";
    expected.actualSize = 4;
    expected.expectedChecksum = kHello;
    EXPECT_EQ(result, expected);
}

TEST_F(BackupVerificationEngineTest, ItemsThatWereNotCopiedAreSkippedWithoutLookingAtTheDisk) {
    for (const auto status : {BackupItemStatus::pending, BackupItemStatus::skipped,
                              BackupItemStatus::conflict, BackupItemStatus::failed}) {
        SCOPED_TRACE(rawValue(status));
        auto item = copiedItem("never-copied.txt", "hello", status);
        fileSystem.erase(item.destinationPath);
        const auto result = verify(item, kHello);
        auto expected = expectedFrame(item, result, item.destinationPath);
        expected.status = S::skipped;
        expected.failureReason = "Only copied backup items are verified in this milestone.";
        EXPECT_EQ(result, expected);
    }
}

TEST_F(BackupVerificationEngineTest, RestoreTestCopiesIntoTheFolderAndChecksTheRestoredFile) {
    const auto item = copiedItem("Photos/2024/beach.jpg", "hello");
    const std::string restored = std::string(kRestoreRoot) + "/Photos/2024/beach.jpg";

    const auto result = restore(item);

    auto expected = expectedFrame(item, result, restored);
    expected.status = S::passed;
    expected.actualSize = 5;
    expected.expectedChecksum = kHello;
    expected.actualChecksum = kHello;
    EXPECT_EQ(result, expected);
    EXPECT_EQ(fileSystem.contents(restored), "hello");
    EXPECT_EQ(fileSystem.contents(item.destinationPath), "hello");
}

TEST_F(BackupVerificationEngineTest, RestoreTestOutcomes) {
    struct Case {
        const char* name;
        std::function<BackupManifestItem()> arrange;
        std::optional<std::string> given;
        S status;
        std::optional<std::string> reason;
        std::optional<std::int64_t> actualSize;
        std::optional<std::string> expectedChecksum;
        bool hasActualChecksum;
    };
    const std::string failedCopy =
        "Tallowmere could not copy this sample into the restore-test folder.";
    const std::vector<Case> cases{
        {"backup changed since it last passed",
         [&] { return copiedItem("x/changed.txt", "jello"); }, kHello, S::checksumMismatch,
         "The copied file checksum does not match the last verified value.", 5, kHello, true},
        {"backup shorter than recorded",
         [&] {
             auto item = copiedItem("x/short.txt", "hell");
             item.fileSize = 5;
             return item;
         },
         // Without a given checksum the restored file is compared with the backup file.
         std::nullopt, S::sizeMismatch, "The copied file size does not match the manifest.", 4,
         "0ebdc3317b75839f643387d783535adc360ca01f33c75f7c1e7373adcd675c0b", true},
        {"backup missing",
         [&] {
             auto item = copiedItem("x/gone.txt", "hello");
             fileSystem.erase(item.destinationPath);
             return item;
         },
         kHello, S::unreadable, failedCopy, std::nullopt, kHello, false},
        {"copy refused",
         [&] {
             auto item = copiedItem("x/refused.txt", "hello");
             fileSystem.failOperation(Op::copy, item.destinationPath,
                                      std::make_error_code(std::errc::no_space_on_device));
             return item;
         },
         kHello, S::unreadable, failedCopy, std::nullopt, kHello, false},
        {"backup unreadable while hashing",
         [&] {
             auto item = copiedItem("x/bad-sector.txt", "hello");
             fileSystem.failOperation(Op::read, item.destinationPath,
                                      std::make_error_code(std::errc::io_error));
             return item;
         },
         kHello, S::unreadable, failedCopy, std::nullopt, kHello, false},
        {"restore folder cannot be made",
         [&] {
             auto item = copiedItem("y/blocked/file.txt", "hello");
             fileSystem.failOperation(Op::createDirectory, std::string(kRestoreRoot) + "/y/blocked",
                                      std::make_error_code(std::errc::permission_denied));
             return item;
         },
         kHello, S::unreadable, failedCopy, std::nullopt, kHello, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto item = c.arrange();
        const auto result = restore(item, c.given);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.failureReason, c.reason);
        EXPECT_EQ(result.actualSize, c.actualSize);
        EXPECT_EQ(result.expectedChecksum, c.expectedChecksum);
        EXPECT_EQ(result.actualChecksum.has_value(), c.hasActualChecksum);
        EXPECT_EQ(result.checkedPath, std::string(kRestoreRoot) + "/" + item.relativePath);
    }
}

TEST_F(BackupVerificationEngineTest, RestoreTestReplacesWhatAnEarlierTestLeftBehind) {
    const auto item = copiedItem("notes.txt", "hello");
    const std::string restored = std::string(kRestoreRoot) + "/notes.txt";
    fileSystem.addFile(restored, "stale restored copy");

    const auto result = restore(item, kHello);

    EXPECT_EQ(result.status, S::passed);
    EXPECT_EQ(fileSystem.contents(restored), "hello");
}

TEST_F(BackupVerificationEngineTest, RestorePathLeadingOutOfTheFolderIsSkippedAndWritesNothing) {
    for (const std::string relativePath : {"../escape.txt", "../../../../../../etc/cron.d/job",
                                           "a/../../RUN-sibling/x", "", "a/.."}) {
        SCOPED_TRACE(relativePath);
        auto item = copiedItem("safe.txt", "hello");
        item.relativePath = relativePath;
        const auto changesBefore = fileSystem.changes();

        const auto result = restore(item, kHello);

        EXPECT_EQ(result.status, S::skipped);
        EXPECT_EQ(result.failureReason,
                  "Tallowmere skipped this restore sample because its path could not be safely "
                  "mapped.");
        EXPECT_EQ(result.actualSize, std::nullopt);
        EXPECT_EQ(result.expectedChecksum, kHello);
        EXPECT_EQ(result.actualChecksum, std::nullopt);
        EXPECT_EQ(fileSystem.changes(), changesBefore);
    }
}

TEST_F(BackupVerificationEngineTest, RestorePathThatStaysInsideAfterDotDotIsRestored) {
    auto item = copiedItem("b.txt", "hello");
    item.relativePath = "a/./../b.txt";
    const auto result = restore(item, kHello);
    EXPECT_EQ(result.status, S::passed);
    EXPECT_EQ(result.checkedPath, std::string(kRestoreRoot) + "/b.txt");
    EXPECT_EQ(fileSystem.contents(std::string(kRestoreRoot) + "/b.txt"), "hello");
}

}  // namespace
}  // namespace tallowmere
