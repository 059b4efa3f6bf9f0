#include "persistence/VerificationRepository.h"

#include "persistence/SqlValues.h"

namespace tallowmere {
namespace {

constexpr const char* kRunUpsert =
    "INSERT INTO verification_runs (id, mode, status, backup_job_id, started_at, completed_at, "
    "checked_files, failed_files, skipped_files, restored_sample_files, bytes_checked, "
    "restore_test_path, message, updated_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
    "ON CONFLICT(id) DO UPDATE SET mode = excluded.mode, status = excluded.status, "
    "backup_job_id = excluded.backup_job_id, started_at = excluded.started_at, "
    "completed_at = excluded.completed_at, checked_files = excluded.checked_files, "
    "failed_files = excluded.failed_files, skipped_files = excluded.skipped_files, "
    "restored_sample_files = excluded.restored_sample_files, "
    "bytes_checked = excluded.bytes_checked, restore_test_path = excluded.restore_test_path, "
    "message = excluded.message, updated_at = excluded.updated_at";

constexpr const char* kResultInsert =
    "INSERT INTO verification_item_results (id, run_id, backup_job_id, manifest_item_id, "
    "checked_path, relative_path, algorithm, expected_size, actual_size, expected_checksum, "
    "actual_checksum, status, failure_reason, created_at, updated_at) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

constexpr const char* kResultOrder =
    " ORDER BY CASE status WHEN 'missing' THEN 0 WHEN 'checksumMismatch' THEN 1 "
    "WHEN 'sizeMismatch' THEN 2 WHEN 'unreadable' THEN 3 WHEN 'unknown' THEN 4 "
    "WHEN 'skipped' THEN 5 ELSE 6 END, relative_path ASC";

// Appends " AND column IN (?, ?, ...)" with one placeholder per value.
template <typename Set>
void appendIn(std::string& text, const char* keyword, const char* column, const Set& values) {
    text += keyword;
    text += column;
    text += " IN (";
    for (std::size_t i = 0; i < values.size(); ++i) text += i == 0 ? "?" : ", ?";
    text += ")";
}

VerificationRun readRun(SQLite::Statement& row) {
    return VerificationRun{
        .id = sql::uuidOrRandom(row.getColumn("id")),
        .mode = sql::enumOr(row.getColumn("mode"), VerificationMode::quick),
        .status = sql::enumOr(row.getColumn("status"), VerificationStatus::unknown),
        .backupJobID = sql::optionalUuid(row.getColumn("backup_job_id")),
        .startedAt = sql::date(row.getColumn("started_at")),
        .completedAt = sql::optionalDate(row.getColumn("completed_at")),
        .checkedFiles = sql::integer(row.getColumn("checked_files")),
        .failedFiles = sql::integer(row.getColumn("failed_files")),
        .skippedFiles = sql::integer(row.getColumn("skipped_files")),
        .restoredSampleFiles = sql::integer(row.getColumn("restored_sample_files")),
        .bytesChecked = sql::integer(row.getColumn("bytes_checked")),
        .restoreTestPath = sql::optionalText(row.getColumn("restore_test_path")),
        .message = sql::text(row.getColumn("message")),
    };
}

VerificationItemResult readResult(SQLite::Statement& row) {
    return VerificationItemResult{
        .id = sql::uuidOrRandom(row.getColumn("id")),
        .runID = sql::uuidOrRandom(row.getColumn("run_id")),
        .backupJobID = sql::uuidOrRandom(row.getColumn("backup_job_id")),
        .manifestItemID = sql::uuidOrRandom(row.getColumn("manifest_item_id")),
        .checkedPath = sql::text(row.getColumn("checked_path")),
        .relativePath = sql::text(row.getColumn("relative_path")),
        .algorithm = sql::enumOr(row.getColumn("algorithm"), ChecksumAlgorithm::sha256),
        .expectedSize = sql::optionalInteger(row.getColumn("expected_size")),
        .actualSize = sql::optionalInteger(row.getColumn("actual_size")),
        .expectedChecksum = sql::optionalText(row.getColumn("expected_checksum")),
        .actualChecksum = sql::optionalText(row.getColumn("actual_checksum")),
        .status = sql::enumOr(row.getColumn("status"), VerificationItemStatus::unknown),
        .failureReason = sql::optionalText(row.getColumn("failure_reason")),
        .createdAt = sql::date(row.getColumn("created_at")),
        .updatedAt = sql::date(row.getColumn("updated_at")),
    };
}

}  // namespace

VerificationRepository::VerificationRepository(std::shared_ptr<DatabaseQueue> queue,
                                               std::shared_ptr<const Clock> clock)
    : m_queue(std::move(queue)), m_clock(std::move(clock)) {}

void VerificationRepository::saveRun(const VerificationRun& run) const {
    const Date now = m_clock->now();
    m_queue->write([&](SQLite::Database& db) {
        SQLite::Statement statement(db, kRunUpsert);
        sql::bindAll(statement, run.id, run.mode, run.status, run.backupJobID, run.startedAt,
                     run.completedAt, run.checkedFiles, run.failedFiles, run.skippedFiles,
                     run.restoredSampleFiles, run.bytesChecked, run.restoreTestPath, run.message,
                     now);
        statement.exec();
    });
}

void VerificationRepository::replaceResults(
    const Uuid& runID, const std::vector<VerificationItemResult>& results) const {
    m_queue->write([&](SQLite::Database& db) {
        SQLite::Statement remove(db, "DELETE FROM verification_item_results WHERE run_id = ?");
        sql::bindAll(remove, runID);
        remove.exec();

        SQLite::Statement insert(db, kResultInsert);
        for (const auto& r : results) {
            sql::bindAll(insert, r.id, r.runID, r.backupJobID, r.manifestItemID, r.checkedPath,
                         r.relativePath, r.algorithm, r.expectedSize, r.actualSize,
                         r.expectedChecksum, r.actualChecksum, r.status, r.failureReason,
                         r.createdAt, r.updatedAt);
            insert.exec();
            insert.reset();
        }
    });
}

std::optional<VerificationRun> VerificationRepository::fetchLatestRun(
    const std::optional<std::set<VerificationMode>>& modes) const {
    const bool filtered = modes && !modes->empty();
    std::string text = "SELECT * FROM verification_runs";
    if (filtered)
        appendIn(text, " WHERE ", "mode", *modes);
    text += " ORDER BY COALESCE(completed_at, started_at) DESC LIMIT 1";

    return m_queue->read([&](SQLite::Database& db) -> std::optional<VerificationRun> {
        SQLite::Statement query(db, text);
        int index = 1;
        if (filtered) {
            for (const auto mode : *modes) sql::bind(query, index++, mode);
        }
        if (!query.executeStep())
            return std::nullopt;
        return readRun(query);
    });
}

std::vector<VerificationItemResult> VerificationRepository::fetchResults(
    const Uuid& runID, const std::optional<std::set<VerificationItemStatus>>& statuses,
    std::optional<std::int64_t> limit) const {
    const bool filtered = statuses && !statuses->empty();
    std::string text = "SELECT * FROM verification_item_results WHERE run_id = ?";
    if (filtered)
        appendIn(text, " AND ", "status", *statuses);
    text += kResultOrder;
    if (limit)
        text += " LIMIT ?";

    return m_queue->read([&](SQLite::Database& db) {
        SQLite::Statement query(db, text);
        int index = 1;
        sql::bind(query, index++, runID);
        if (filtered) {
            for (const auto status : *statuses) sql::bind(query, index++, status);
        }
        if (limit)
            sql::bind(query, index++, *limit);
        std::vector<VerificationItemResult> results;
        while (query.executeStep()) results.push_back(readResult(query));
        return results;
    });
}

std::vector<VerificationItemResult> VerificationRepository::fetchLatestFailureResults(
    std::int64_t limit) const {
    const auto run = fetchLatestRun();
    if (!run)
        return {};
    using S = VerificationItemStatus;
    return fetchResults(run->id,
                        std::set<S>{S::missing, S::sizeMismatch, S::checksumMismatch, S::unreadable,
                                    S::skipped, S::unknown},
                        limit);
}

std::optional<std::string> VerificationRepository::fetchLatestPassedChecksum(
    const Uuid& manifestItemID) const {
    return m_queue->read([&](SQLite::Database& db) -> std::optional<std::string> {
        // "+status" keeps SQLite from walking the status index, which holds every passed
        // result of every run: a full verification would then read the whole table once
        // per item. The item's own few rows come from the manifest item index.
        SQLite::Statement query(
            db,
            "SELECT COALESCE(expected_checksum, actual_checksum) AS checksum "
            "FROM verification_item_results WHERE manifest_item_id = ? AND +status = 'passed' "
            "AND COALESCE(expected_checksum, actual_checksum) IS NOT NULL "
            "ORDER BY updated_at DESC, created_at DESC LIMIT 1");
        sql::bindAll(query, manifestItemID);
        if (!query.executeStep())
            return std::nullopt;
        return sql::text(query.getColumn("checksum"));
    });
}

}  // namespace tallowmere
