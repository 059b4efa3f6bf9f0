#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "persistence/BackupRepository.h"
#include "persistence/TallowmereDatabase.h"
#include "persistence/VerificationRepository.h"
#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {
namespace {

constexpr int kWriters = 4;
constexpr int kReaders = 2;
constexpr int kJobsPerWriter = 12;
constexpr int kItemsPerJob = 20;
constexpr int kCopiedPerJob = 12;

BackupManifestItem pendingItem(const Uuid& jobID, int writer, int job, int index) {
    const auto relative =
        "w" + std::to_string(writer) + "/j" + std::to_string(job) + "/f" + std::to_string(index);
    return BackupManifestItem{.id = Uuid::random(),
                              .jobID = jobID,
                              .sourcePath = "/home/alex/" + relative,
                              .relativePath = relative,
                              .destinationPath = "/media/alex/Drive/Tallowmere Backup/" + relative,
                              .fileSize = index + 1,
                              .sourceState = ICloudFileState::localCurrent,
                              .isEligible = true,
                              .status = BackupItemStatus::pending,
                              .message = "Ready to copy.",
                              .createdAt = Date(1'765'000'000),
                              .updatedAt = Date(1'765'000'000)};
}

// Collects what went wrong on any thread, to be reported on the test's thread.
class Failures {
public:
    void record(const std::string& what) {
        std::lock_guard lock(m_mutex);
        if (m_messages.size() < 20)
            m_messages.push_back(what);
    }
    std::vector<std::string> messages() {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_messages;
};

// Writers prepare jobs, copy part of their manifests and verify them while readers
// keep reading the latest state of the same file database.
TEST(ConcurrentStoreTest, WritersAndReadersShareOneFileDatabaseWithoutLosingOrTearingAnything) {
    testing::TemporaryDirectory folder;
    auto database = TallowmereDatabase::open((folder / "Tallowmere.sqlite").string());
    // Durability is not what this test is about; without a flush per transaction its
    // hundreds of small writes take a fraction of a second instead of many.
    database->queue()->read([](SQLite::Database& db) { db.exec("PRAGMA synchronous = OFF"); });
    BackupRepository backups(database->queue());
    VerificationRepository verifications(database->queue());

    Failures failures;
    std::latch start(kWriters + kReaders);
    std::atomic<int> writersRunning = kWriters;
    std::atomic<std::int64_t> reads = 0;
    std::vector<std::vector<Uuid>> jobsOfWriter(kWriters);
    std::vector<std::thread> threads;

    for (int w = 0; w < kWriters; ++w) {
        threads.emplace_back([&, w] {
            start.arrive_and_wait();
            try {
                for (int j = 0; j < kJobsPerWriter; ++j) {
                    BackupJobSnapshot job{.id = Uuid::random(),
                                          .status = BackupJobStatus::prepared,
                                          .totalFiles = kItemsPerJob,
                                          .message = "Prepared."};
                    backups.saveJob(job);
                    std::vector<BackupManifestItem> items;
                    for (int i = 0; i < kItemsPerJob; ++i)
                        items.push_back(pendingItem(job.id, w, j, i));
                    backups.replaceManifest(job.id, items);
                    for (int i = 0; i < kCopiedPerJob; ++i) {
                        backups.updateManifestItem(items[i].id, BackupItemStatus::copied, "Copied.",
                                                   Date(1'765'000'001));
                    }
                    job.status = BackupJobStatus::completed;
                    job.completedFiles = kCopiedPerJob;
                    backups.saveJob(job);

                    VerificationRun run{.id = Uuid::random(),
                                        .mode = VerificationMode::full,
                                        .status = VerificationStatus::verified,
                                        .backupJobID = job.id,
                                        .startedAt = Date(1'765'000'002),
                                        .completedAt = Date(1'765'000'003),
                                        .checkedFiles = kCopiedPerJob,
                                        .message = "Verified."};
                    verifications.saveRun(run);
                    std::vector<VerificationItemResult> results;
                    for (int i = 0; i < kCopiedPerJob; ++i) {
                        results.push_back(
                            VerificationItemResult{.id = Uuid::random(),
                                                   .runID = run.id,
                                                   .backupJobID = job.id,
                                                   .manifestItemID = items[i].id,
                                                   .checkedPath = items[i].destinationPath,
                                                   .relativePath = items[i].relativePath,
                                                   .actualChecksum = "sum" + std::to_string(i),
                                                   .status = VerificationItemStatus::passed,
                                                   .createdAt = Date(1'765'000'003),
                                                   .updatedAt = Date(1'765'000'003)});
                    }
                    verifications.replaceResults(run.id, results);
                    jobsOfWriter[w].push_back(job.id);
                }
            } catch (const std::exception& error) {
                failures.record(std::string("writer: ") + error.what());
            }
            --writersRunning;
        });
    }
    for (int r = 0; r < kReaders; ++r) {
        threads.emplace_back([&] {
            start.arrive_and_wait();
            try {
                while (writersRunning.load() > 0) {
                    if (const auto job = backups.fetchLatestJobSnapshot()) {
                        // A manifest is replaced whole: a reader sees none of it or all of it.
                        const auto stats = backups.manifestStats(job->id);
                        if (stats.totalEligibleFiles != 0 &&
                            stats.totalEligibleFiles != kItemsPerJob) {
                            failures.record("torn manifest of " +
                                            std::to_string(stats.totalEligibleFiles));
                        }
                        if (stats.completedFiles + stats.pendingFiles != stats.totalEligibleFiles) {
                            failures.record("items neither pending nor copied");
                        }
                    }
                    const auto items = backups.fetchLatestManifestItems(100);
                    if (!items.empty() && items.size() != static_cast<std::size_t>(kItemsPerJob)) {
                        failures.record("latest manifest of " + std::to_string(items.size()) +
                                        " items");
                    }
                    if (verifications.fetchLatestRun())
                        verifications.fetchLatestFailureResults(100);
                    ++reads;
                }
            } catch (const std::exception& error) {
                failures.record(std::string("reader: ") + error.what());
            }
        });
    }
    for (auto& thread : threads) thread.join();

    EXPECT_EQ(failures.messages(), std::vector<std::string>{});
    EXPECT_GT(reads.load(), 0);

    // Everything written is there, from a fresh connection to the file.
    auto reopened = TallowmereDatabase::open((folder / "Tallowmere.sqlite").string());
    BackupRepository backupsAfter(reopened->queue());
    VerificationRepository verificationsAfter(reopened->queue());
    const auto jobCount = reopened->queue()->read([](SQLite::Database& db) {
        return db.execAndGet("SELECT count(*) FROM backup_jobs").getInt64();
    });
    EXPECT_EQ(jobCount, kWriters * kJobsPerWriter);
    for (int w = 0; w < kWriters; ++w) {
        ASSERT_EQ(jobsOfWriter[w].size(), static_cast<std::size_t>(kJobsPerWriter));
        for (const auto& jobID : jobsOfWriter[w]) {
            const auto stats = backupsAfter.manifestStats(jobID);
            EXPECT_EQ(stats.totalEligibleFiles, kItemsPerJob);
            EXPECT_EQ(stats.completedFiles, kCopiedPerJob);
            EXPECT_EQ(stats.pendingFiles, kItemsPerJob - kCopiedPerJob);
            const auto copied =
                backupsAfter.fetchManifestItems(jobID, std::set{BackupItemStatus::copied});
            ASSERT_EQ(copied.size(), static_cast<std::size_t>(kCopiedPerJob));
            for (const auto& item : copied) {
                EXPECT_TRUE(verificationsAfter.fetchLatestPassedChecksum(item.id))
                    << item.relativePath;
            }
        }
    }
    const auto resultCount = reopened->queue()->read([](SQLite::Database& db) {
        return db.execAndGet("SELECT count(*) FROM verification_item_results").getInt64();
    });
    EXPECT_EQ(resultCount, kWriters * kJobsPerWriter * kCopiedPerJob);
}

}  // namespace
}  // namespace tallowmere
