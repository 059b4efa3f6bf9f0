#include "app/LocalVerificationCoordinator.h"

#include <gtest/gtest.h>

#include <SQLiteCpp/Database.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "persistence/DatabaseError.h"
#include "persistence/TallowmereDatabase.h"
#include "platform/linux/LinuxFileSystem.h"
#include "tests/support/FileTreeSnapshot.h"
#include "tests/support/FixedClock.h"
#include "tests/support/JsonPrinting.h"
#include "tests/support/ObservedFileSystem.h"
#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using S = VerificationItemStatus;
using M = VerificationMode;
using testing::FileTreeSnapshot;

void writeFile(const fs::path& path, const std::string& contents) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Changes one byte in the middle of the file; its size stays the same.
void flipByte(const fs::path& path) {
    std::string contents = readFile(path);
    ASSERT_FALSE(contents.empty());
    contents[contents.size() / 2] ^= 0x20;
    writeFile(path, contents);
}

std::string numbered(const char* stem, int index) {
    char name[64];
    std::snprintf(name, sizeof name, "%s-%04d.txt", stem, index);
    return name;
}

// The parts of a result that do not change from one run to the next.
struct ResultOutline {
    std::string relativePath;
    S status;
    std::optional<std::string> failureReason;
    std::optional<std::int64_t> actualSize;
    std::optional<std::string> expectedChecksum;
    std::optional<std::string> actualChecksum;
    bool operator==(const ResultOutline&) const = default;
};

std::vector<ResultOutline> outlines(const std::vector<VerificationItemResult>& results) {
    std::vector<ResultOutline> out;
    for (const auto& r : results) {
        out.push_back({r.relativePath, r.status, r.failureReason, r.actualSize, r.expectedChecksum,
                       r.actualChecksum});
    }
    return out;
}

// A backup job whose files were copied by hand into a "Tallowmere Backup" folder on a
// temporary "drive", a store in memory, the real file system of this machine and a fixed
// clock.
class VerificationCoordinatorFixture : public ::testing::Test {
protected:
    testing::TemporaryDirectory temp;
    const fs::path sources = temp / "Home" / "Documents";
    const fs::path drive = temp / "Drive";
    const fs::path backupRoot = drive / "Tallowmere Backup";
    const fs::path support = temp / "Support";
    const fs::path restoreTests = support / "Tallowmere" / "Restore Tests";

    std::shared_ptr<testing::ObservedFileSystem> fileSystem =
        std::make_shared<testing::ObservedFileSystem>(
            std::make_shared<LinuxFileSystem>(LinuxFileSystem::Options{
                .environment = [this](const char* name) -> std::optional<std::string> {
                    if (std::string_view(name) == "XDG_DATA_HOME")
                        return support.string();
                    return std::nullopt;
                },
                .systemPaths = {},
                .maxOpenFolders = 128}));
    std::shared_ptr<TallowmereDatabase> database = TallowmereDatabase::inMemory();
    std::shared_ptr<testing::FixedClock> clock = std::make_shared<testing::FixedClock>();
    BackupRepository backups{database->queue(), clock};
    VerificationRepository verifications{database->queue(), clock};

    BackupJobSnapshot job{
        .id = Uuid::random(), .status = BackupJobStatus::completed, .message = "Backup finished."};
    std::vector<BackupManifestItem> items;
    std::vector<VerificationProgressSnapshot> progress;

    void SetUp() override {
        fs::create_directories(backupRoot);
        fs::create_directories(sources);
    }

    // A source file and its copy in the backup, recorded as an item of the job.
    BackupManifestItem& addCopy(const std::string& relativePath, const std::string& contents,
                                BackupItemStatus status = BackupItemStatus::copied) {
        writeFile(sources / relativePath, contents);
        if (status == BackupItemStatus::copied || status == BackupItemStatus::alreadyCopied)
            writeFile(backupRoot / relativePath, contents);
        BackupManifestItem item;
        item.id = Uuid::random();
        item.jobID = job.id;
        item.sourcePath = (sources / relativePath).string();
        item.relativePath = relativePath;
        item.destinationPath = (backupRoot / relativePath).string();
        item.fileSize = static_cast<std::int64_t>(contents.size());
        item.sourceState = ICloudFileState::localCurrent;
        item.isEligible = true;
        item.status = status;
        item.message = "Copied.";
        items.push_back(item);
        return items.back();
    }

    void storeJob(BackupJobStatus status = BackupJobStatus::completed) {
        job.status = status;
        backups.saveJob(job);
        backups.replaceManifest(job.id, items);
    }

    void selectDestination(const fs::path& folder, std::optional<Bytes> bookmark = std::nullopt) {
        backups.saveSelectedDestination(
            BackupDestination{.id = Uuid::random(),
                              .displayName = folder.filename(),
                              .path = folder.string(),
                              .bookmarkData = std::move(bookmark),
                              .status = BackupDestinationStatus::connected,
                              .isSelected = true,
                              .selectedAt = clock->now(),
                              .updatedAt = clock->now()});
    }

    std::unique_ptr<LocalVerificationCoordinator> coordinator(
        std::size_t parallelChecks = 1,
        LocalVerificationCoordinator::DestinationResolver resolver = {}) {
        auto made = std::make_unique<LocalVerificationCoordinator>(
            backups, verifications, fileSystem, clock,
            LocalVerificationCoordinator::Options{.resolveDestination = std::move(resolver),
                                                  .parallelChecks = parallelChecks});
        made->setProgressHandler(
            [this](const VerificationProgressSnapshot& snapshot) { progress.push_back(snapshot); });
        return made;
    }

    // Runs one check and shows that neither the sources nor the backup copies changed.
    VerificationRun run(LocalVerificationCoordinator& coordinator, M mode) {
        const auto sourcesBefore = FileTreeSnapshot::of(sources);
        const auto backupBefore = FileTreeSnapshot::of(drive);
        EXPECT_FALSE(sourcesBefore.entries().empty());
        progress.clear();
        clock->advance(60);
        const VerificationRun result = mode == M::quick  ? coordinator.runQuickVerification()
                                       : mode == M::full ? coordinator.runFullVerification()
                                                         : coordinator.runRestoreTest();
        EXPECT_EQ(FileTreeSnapshot::of(sources), sourcesBefore);
        EXPECT_EQ(FileTreeSnapshot::of(drive), backupBefore);
        return result;
    }

    // The run's stored results in the order they were made.
    std::vector<VerificationItemResult> storedResults(const Uuid& runID) {
        auto stored = verifications.fetchResults(runID);
        std::vector<VerificationItemResult> ordered;
        for (const auto& item : items) {
            for (const auto& result : stored)
                if (result.manifestItemID == item.id)
                    ordered.push_back(result);
        }
        EXPECT_EQ(ordered.size(), stored.size());
        return ordered;
    }

    // Worked out apart from the code under test.
    std::string checksumOf(const std::string& contents) {
        const fs::path scratch = temp / "Scratch";
        writeFile(scratch / "file", contents);
        auto entry = FileTreeSnapshot::of(scratch).entries().at("file");
        fs::remove_all(scratch);
        return entry.sha256;
    }
};

// Quick and full verification with one file at a time and with several at once.
class FileVerificationTest : public VerificationCoordinatorFixture,
                             public ::testing::WithParamInterface<std::size_t> {};

INSTANTIATE_TEST_SUITE_P(Threads, FileVerificationTest, ::testing::Values(1, 3),
                         [](const auto& info) { return "parallel" + std::to_string(info.param); });

TEST_P(FileVerificationTest, FirstRunRecordsTheBaselineAndALaterRunCatchesAFlippedByte) {
    addCopy("Letters/a.txt", "first letter");
    addCopy("Letters/b.txt", "second letter");
    addCopy("Photos/c.jpg", std::string(300'000, 'c'));
    storeJob();
    selectDestination(drive);
    auto verifier = coordinator(GetParam());

    const auto first = run(*verifier, M::full);
    EXPECT_EQ(first.status, VerificationStatus::verified);
    EXPECT_EQ(first.message, "Full verification passed for 3 copied files.");
    EXPECT_EQ(first.checkedFiles, 3);
    EXPECT_EQ(first.bytesChecked, 12 + 13 + 300'000);
    const auto baseline = storedResults(first.id);
    ASSERT_EQ(baseline.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(items[i].relativePath);
        const auto expected = checksumOf(readFile(items[i].destinationPath));
        EXPECT_EQ(baseline[i].status, S::passed);
        EXPECT_EQ(baseline[i].expectedChecksum, expected);
        EXPECT_EQ(baseline[i].actualChecksum, expected);
    }

    flipByte(backupRoot / "Letters/b.txt");
    // Both modes compare with the checksum that last passed, and keep doing so: a
    // mismatch does not become the new baseline.
    for (const auto mode : {M::full, M::quick, M::full}) {
        SCOPED_TRACE(rawValue(mode));
        const auto later = run(*verifier, mode);
        EXPECT_EQ(later.status, VerificationStatus::failed);
        EXPECT_EQ(later.message, "Verification found 1 file that could not be checked.");
        EXPECT_EQ(later.checkedFiles, 3);
        EXPECT_EQ(later.failedFiles, 1);
        const auto results = storedResults(later.id);
        ASSERT_EQ(results.size(), 3u);
        EXPECT_EQ(results[0].status, S::passed);
        EXPECT_EQ(results[1].status, S::checksumMismatch);
        EXPECT_EQ(results[1].failureReason,
                  "The copied file checksum does not match the last verified value.");
        EXPECT_EQ(results[1].expectedChecksum, baseline[1].actualChecksum);
        EXPECT_EQ(results[1].actualChecksum, checksumOf(readFile(backupRoot / "Letters/b.txt")));
        EXPECT_EQ(results[2].status, S::passed);
    }
}

TEST_P(FileVerificationTest, DamagedCopiesAreReportedFileByFile) {
    addCopy("1-intact.txt", "intact");
    addCopy("2-truncated.txt", "this copy loses its tail");
    addCopy("3-deleted.txt", "this copy is deleted");
    addCopy("4-folder.txt", "this copy is replaced by a folder");
    storeJob();
    selectDestination(drive);
    fs::resize_file(backupRoot / "2-truncated.txt", 9);
    fs::remove(backupRoot / "3-deleted.txt");
    fs::remove(backupRoot / "4-folder.txt");
    fs::create_directory(backupRoot / "4-folder.txt");
    auto verifier = coordinator(GetParam());

    const auto verification = run(*verifier, M::full);

    EXPECT_EQ(verification.status, VerificationStatus::failed);
    EXPECT_EQ(verification.message, "Verification found 3 files that could not be checked.");
    EXPECT_EQ(verification.checkedFiles, 4);
    EXPECT_EQ(verification.failedFiles, 3);
    EXPECT_EQ(verification.skippedFiles, 0);
    // Actual sizes where read, the recorded size otherwise.
    EXPECT_EQ(verification.bytesChecked, 6 + 9 + 20 + 33);
    const auto intact = checksumOf("intact");
    const std::vector<ResultOutline> expected{
        {"1-intact.txt", S::passed, std::nullopt, 6, intact, intact},
        {"2-truncated.txt", S::sizeMismatch, "The copied file size does not match the manifest.", 9,
         std::nullopt, std::nullopt},
        {"3-deleted.txt", S::missing, "The copied file is missing from the backup destination.",
         std::nullopt, std::nullopt, std::nullopt},
        {"4-folder.txt", S::unreadable, "Tallowmere could not read the copied file.", std::nullopt,
         std::nullopt, std::nullopt},
    };
    EXPECT_EQ(outlines(storedResults(verification.id)), expected);
    // A copy of the wrong size is never read.
    EXPECT_EQ(fileSystem->openCount(items[1].destinationPath), 0);
    EXPECT_EQ(fileSystem->openCount(items[0].destinationPath), 1);
    EXPECT_EQ(verifications.fetchLatestRun(), verification);
}

TEST_P(FileVerificationTest, FailureMessageSaysOneFileOrCountsThem) {
    const std::vector<std::pair<int, std::string>> cases{
        {1, "Verification found 1 file that could not be checked."},
        {2, "Verification found 2 files that could not be checked."},
    };
    addCopy("a.txt", "a");
    addCopy("b.txt", "b");
    addCopy("c.txt", "c");
    storeJob();
    selectDestination(drive);
    auto verifier = coordinator(GetParam());
    for (const auto& [missing, message] : cases) {
        SCOPED_TRACE(missing);
        fs::remove(items[static_cast<std::size_t>(missing) - 1].destinationPath);
        const auto verification = run(*verifier, M::full);
        EXPECT_EQ(verification.status, VerificationStatus::failed);
        EXPECT_EQ(verification.failedFiles, missing);
        EXPECT_EQ(verification.message, message);
        EXPECT_EQ(verifications.fetchResults(verification.id).size(), 3u);
    }
}

TEST_P(FileVerificationTest, PassMessagesGiveTheCountAsAPlainNumber) {
    std::int64_t bytes = 0;
    for (int i = 0; i < 1'204; ++i) {
        const std::string contents(static_cast<std::size_t>(i % 7), 'x');
        bytes += static_cast<std::int64_t>(contents.size());
        addCopy(numbered("file", i), contents);
    }
    storeJob(BackupJobStatus::completedWithSkipped);
    selectDestination(drive);
    auto verifier = coordinator(GetParam());

    const auto full = run(*verifier, M::full);
    EXPECT_EQ(full.status, VerificationStatus::verified);
    EXPECT_EQ(full.message, "Full verification passed for 1204 copied files.");
    EXPECT_EQ(full.bytesChecked, bytes);

    const auto quick = run(*verifier, M::quick);
    EXPECT_EQ(quick.status, VerificationStatus::verified);
    EXPECT_EQ(quick.message, "Sample verification passed for 100 copied files.");
    EXPECT_EQ(quick.checkedFiles, 100);
    EXPECT_EQ(quick.restoredSampleFiles, 0);
}

TEST_P(FileVerificationTest, ProgressFollowsTheRunInItemOrder) {
    addCopy("a.txt", "alpha");
    addCopy("b.txt", "beta");
    addCopy("c.txt", "gamma");
    storeJob();
    selectDestination(drive);
    fs::remove(backupRoot / "b.txt");
    auto verifier = coordinator(GetParam());

    run(*verifier, M::full);

    const std::string during = "Verification checks that Tallowmere can read the second copy.";
    const std::vector<VerificationProgressSnapshot> expected{
        {M::full, false, std::nullopt, 3, 0, 0, 0, 0,
         "Tallowmere does not modify your original files."},
        {M::full, true, std::nullopt, 3, 0, 0, 0, 0, "Starting full verification..."},
        {M::full, true, "a.txt", 3, 1, 0, 0, 5, during},
        {M::full, true, "b.txt", 3, 2, 1, 0, 9, during},
        {M::full, true, "c.txt", 3, 3, 1, 0, 14, during},
        {M::full, false, std::nullopt, 3, 3, 1, 0, 14,
         "Verification found 1 file that could not be checked."},
    };
    EXPECT_EQ(progress, expected);
}

TEST_F(VerificationCoordinatorFixture, CheckingSeveralFilesAtOnceGivesTheSequentialOutcome) {
    for (int i = 0; i < 60; ++i)
        addCopy(numbered("doc", i), std::string(static_cast<std::size_t>(1 + i * 997),
                                                static_cast<char>('a' + i % 26)));
    addCopy("never-copied.txt", "pending", BackupItemStatus::pending);
    storeJob();
    selectDestination(drive);
    // A first run records the baseline that the compared runs check against.
    run(*coordinator(1), M::full);
    flipByte(backupRoot / numbered("doc", 7));
    fs::resize_file(backupRoot / numbered("doc", 20), 3);
    fs::remove(backupRoot / numbered("doc", 41));
    fs::remove(backupRoot / numbered("doc", 59));
    fs::create_directory(backupRoot / numbered("doc", 59));

    struct Outcome {
        VerificationRun run;
        std::vector<ResultOutline> results;
        std::vector<VerificationProgressSnapshot> progress;
    };
    const auto outcomeOf = [&](std::size_t threads) {
        auto verifier = coordinator(threads);
        Outcome outcome;
        outcome.run = run(*verifier, M::full);
        outcome.progress = progress;
        outcome.results = outlines(storedResults(outcome.run.id));
        return outcome;
    };
    const Outcome sequential = outcomeOf(1);
    for (const std::size_t threads : {2u, 4u, 16u}) {
        SCOPED_TRACE(threads);
        const Outcome parallel = outcomeOf(threads);
        auto expectedRun = sequential.run;
        expectedRun.id = parallel.run.id;
        expectedRun.startedAt = parallel.run.startedAt;
        expectedRun.completedAt = parallel.run.completedAt;
        EXPECT_EQ(parallel.run, expectedRun);
        EXPECT_EQ(parallel.results, sequential.results);
        EXPECT_EQ(parallel.progress, sequential.progress);
    }
    EXPECT_EQ(sequential.run.failedFiles, 4);
    EXPECT_EQ(sequential.run.checkedFiles, 60);
}

TEST_F(VerificationCoordinatorFixture, OnlyAFinishedJobCopiedToTheSelectedDestinationIsChecked) {
    using J = BackupJobStatus;
    struct Case {
        const char* name;
        std::optional<J> jobStatus;  // none: no job stored
        bool otherDestination;
        bool nothingCopied;
        bool runs;
        bool noFilesMessage;
    };
    const std::vector<Case> cases{
        {"no job", std::nullopt, false, false, false, false},
        {"not started", J::notStarted, false, false, false, false},
        {"preparing", J::preparing, false, false, false, false},
        {"running", J::running, false, false, false, false},
        {"cancelled", J::cancelled, false, false, false, false},
        {"failed", J::failed, false, false, false, false},
        {"prepared", J::prepared, false, false, true, false},
        {"paused", J::paused, false, false, true, false},
        {"completed", J::completed, false, false, true, false},
        {"completed with skipped", J::completedWithSkipped, false, false, true, false},
        {"copied to another destination", J::completed, true, false, false, true},
        {"nothing copied", J::completed, false, true, false, true},
    };
    for (const auto& c : cases) {
        for (const auto mode : {M::quick, M::full, M::restoreTest}) {
            SCOPED_TRACE(std::string(c.name) + ", " + std::string(rawValue(mode)));
            database = TallowmereDatabase::inMemory();
            backups = BackupRepository(database->queue(), clock);
            verifications = VerificationRepository(database->queue(), clock);
            items.clear();
            job.id = Uuid::random();
            addCopy("a.txt", "alpha",
                    c.nothingCopied ? BackupItemStatus::failed : BackupItemStatus::copied);
            addCopy("b.txt", "beta",
                    c.nothingCopied ? BackupItemStatus::pending : BackupItemStatus::alreadyCopied);
            if (c.jobStatus)
                storeJob(*c.jobStatus);
            selectDestination(c.otherDestination ? temp / "Other Drive" : drive);

            const auto verification = run(*coordinator(), mode);

            if (c.runs) {
                EXPECT_EQ(verification.status, VerificationStatus::verified);
                EXPECT_EQ(verification.checkedFiles, 2);
                continue;
            }
            const bool restore = mode == M::restoreTest;
            const std::string message =
                c.noFilesMessage
                    ? (restore ? "There are no copied files available for a restore test."
                               : "There are no copied files available for verification.")
                    : (restore ? "Copy files into a backup destination before running a restore "
                                 "test."
                               : "Copy files into a backup destination before running "
                                 "verification.");
            const VerificationRun expected{
                .id = verification.id,
                .mode = mode,
                .status = VerificationStatus::failed,
                .backupJobID = c.noFilesMessage ? std::optional(job.id) : std::nullopt,
                .startedAt = clock->now(),
                .completedAt = clock->now(),
                .message = message};
            EXPECT_EQ(verification, expected);
            EXPECT_EQ(verifications.fetchLatestRun(), expected);
            EXPECT_TRUE(verifications.fetchResults(verification.id).empty());
            EXPECT_FALSE(fs::exists(restoreTests / verification.id.toString()));
        }
    }
}

TEST_F(VerificationCoordinatorFixture, BookmarkedDestinationIsMatchedByItsResolvedFolder) {
    addCopy("a.txt", "alpha");
    storeJob();
    selectDestination(drive, Bytes{1, 2, 3});
    struct Case {
        const char* name;
        std::optional<std::string> resolved;
        VerificationStatus status;
    };
    const std::vector<Case> cases{
        {"resolved to the folder the items were copied to", drive.string() + "/",
         VerificationStatus::verified},
        {"resolved to a folder elsewhere", (temp / "Remounted").string(),
         VerificationStatus::failed},
        {"not resolvable: the stored path is used", std::nullopt, VerificationStatus::verified},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int asked = 0;
        auto verifier = coordinator(1, [&](const BackupDestination& destination) {
            ++asked;
            EXPECT_EQ(destination.bookmarkData, (Bytes{1, 2, 3}));
            return c.resolved;
        });
        const auto verification = run(*verifier, M::quick);
        EXPECT_EQ(verification.status, c.status);
        EXPECT_EQ(asked, 1);
    }
}

TEST_F(VerificationCoordinatorFixture, RestoreTestThatPassesLeavesNoFolderBehind) {
    addCopy("Letters/a.txt", "alpha");
    addCopy("Letters/b.txt", "beta");
    addCopy("Photos/2024/c.jpg", std::string(70'000, 'c'));
    storeJob();
    selectDestination(drive);

    const auto restore = run(*coordinator(), M::restoreTest);

    EXPECT_EQ(restore.status, VerificationStatus::verified);
    EXPECT_EQ(restore.message,
              "Sample restore test passed. Tallowmere checked restored copies in a temporary "
              "folder.");
    EXPECT_EQ(restore.checkedFiles, 3);
    EXPECT_EQ(restore.restoredSampleFiles, 3);
    EXPECT_EQ(restore.bytesChecked, 5 + 4 + 70'000);
    EXPECT_EQ(restore.restoreTestPath, std::nullopt);
    EXPECT_TRUE(fs::is_directory(restoreTests));
    EXPECT_TRUE(fs::is_empty(restoreTests));
    const auto results = storedResults(restore.id);
    ASSERT_EQ(results.size(), 3u);
    const std::string folder = (restoreTests / restore.id.toString()).string();
    EXPECT_EQ(results[2].checkedPath, folder + "/Photos/2024/c.jpg");
    EXPECT_EQ(results[2].expectedChecksum, checksumOf(std::string(70'000, 'c')));
    EXPECT_EQ(progress.front().message, "Tallowmere does not modify your original files.");
    EXPECT_EQ(progress[1].message, "Starting sample restore test...");
    EXPECT_EQ(progress[2].message, "Checking restored sample...");
    EXPECT_EQ(progress.back().message, restore.message);
    EXPECT_FALSE(progress.back().isRunning);
}

TEST_F(VerificationCoordinatorFixture, RestoreTestThatFailsKeepsItsFolderAndRecordsItsPath) {
    addCopy("a.txt", "alpha");
    addCopy("b.txt", "bravo");
    storeJob();
    selectDestination(drive);
    auto verifier = coordinator();
    run(*verifier, M::full);
    flipByte(backupRoot / "b.txt");

    std::vector<std::string> folders;
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt);
        const auto restore = run(*verifier, M::restoreTest);
        const fs::path folder = restoreTests / restore.id.toString();
        EXPECT_EQ(restore.status, VerificationStatus::failed);
        EXPECT_EQ(restore.message,
                  "Sample restore test found files that could not be restored or checked.");
        EXPECT_EQ(restore.restoreTestPath, folder.string());
        EXPECT_EQ(restore.checkedFiles, 2);
        EXPECT_EQ(restore.failedFiles, 1);
        EXPECT_EQ(restore.restoredSampleFiles, 2);
        EXPECT_EQ(readFile(folder / "a.txt"), "alpha");
        EXPECT_EQ(readFile(folder / "b.txt"), readFile(backupRoot / "b.txt"));
        const auto results = storedResults(restore.id);
        ASSERT_EQ(results.size(), 2u);
        EXPECT_EQ(results[1].status, S::checksumMismatch);
        EXPECT_EQ(verifications.fetchLatestRun(std::set{M::restoreTest}), restore);
        folders.push_back(folder.string());
    }
    // One folder per failed run.
    std::vector<std::string> kept;
    for (const auto& entry : fs::directory_iterator(restoreTests)) kept.push_back(entry.path());
    std::sort(kept.begin(), kept.end());
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(kept, folders);
}

TEST_F(VerificationCoordinatorFixture, RestorePathsLeadingOutsideAreSkippedAndNothingIsWritten) {
    addCopy("a.txt", "alpha").relativePath = "../../../outside.txt";
    addCopy("b.txt", "bravo").relativePath = "../sibling/b.txt";
    storeJob();
    selectDestination(drive);

    const auto restore = run(*coordinator(), M::restoreTest);

    const fs::path folder = restoreTests / restore.id.toString();
    EXPECT_EQ(restore.status, VerificationStatus::failed);
    EXPECT_EQ(restore.checkedFiles, 0);
    EXPECT_EQ(restore.skippedFiles, 2);
    EXPECT_EQ(restore.restoreTestPath, folder.string());
    for (const auto& result : storedResults(restore.id)) {
        SCOPED_TRACE(result.relativePath);
        EXPECT_EQ(result.status, S::skipped);
        EXPECT_EQ(result.failureReason,
                  "Tallowmere skipped this restore sample because its path could not be safely "
                  "mapped.");
    }
    // The run's own folder is the only thing made.
    EXPECT_EQ(fileSystem->changes(),
              std::vector<std::string>{"createDirectory " + folder.string()});
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_FALSE(fs::exists(support / "outside.txt"));
    EXPECT_FALSE(fs::exists(support / "Tallowmere" / "outside.txt"));
    EXPECT_FALSE(fs::exists(restoreTests / "sibling"));
}

TEST_F(VerificationCoordinatorFixture, RestoreFolderThatCannotBeMadeFailsBeforeAnythingIsStored) {
    addCopy("a.txt", "alpha");
    storeJob();
    selectDestination(drive);
    // Application Support is a file, so no folder can be made below it.
    writeFile(support, "not a folder");

    EXPECT_THROW(coordinator()->runRestoreTest(), std::system_error);
    EXPECT_EQ(verifications.fetchLatestRun(), std::nullopt);
}

TEST_F(VerificationCoordinatorFixture, StoreFailureMidRunLeavesTheRunStoredAsRunning) {
    addCopy("a.txt", "alpha");
    addCopy("b.txt", "bravo");
    addCopy("c.txt", "charlie");
    storeJob();
    selectDestination(drive);
    database->queue()->write(
        [](SQLite::Database& db) { db.exec("DROP TABLE verification_item_results"); });
    for (const std::size_t threads : {1u, 2u}) {
        SCOPED_TRACE(threads);
        auto verifier = coordinator(threads);
        EXPECT_THROW(verifier->runFullVerification(), DatabaseError);
        const auto stored = verifications.fetchLatestRun();
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->status, VerificationStatus::running);
        EXPECT_EQ(stored->message, "Full verification checks every copied file.");
        EXPECT_EQ(stored->completedAt, std::nullopt);
        clock->advance(1);
    }
}

TEST_F(VerificationCoordinatorFixture, LatestVerificationIsAPlaceholderUntilARunIsStored) {
    auto verifier = coordinator();
    const auto placeholder = verifier->latestVerification();
    EXPECT_EQ(placeholder.status, VerificationStatus::notRun);
    EXPECT_EQ(placeholder.mode, M::quick);
    EXPECT_EQ(placeholder.message, "No verification has been run yet.");
    EXPECT_EQ(placeholder.startedAt, clock->now());
    EXPECT_EQ(verifications.fetchLatestRun(), std::nullopt);

    addCopy("a.txt", "alpha");
    storeJob();
    selectDestination(drive);
    const auto full = run(*verifier, M::full);
    EXPECT_EQ(verifier->latestVerification(), full);
}

}  // namespace
}  // namespace tallowmere
