#include "persistence/BackupRepository.h"

#include <string>

#include "persistence/SqlValues.h"

namespace tallowmere {
namespace {

// On a conflicting id every column but the id and the first selection time is replaced.
constexpr const char* kDestinationUpsert =
    "INSERT INTO backup_destinations (id, display_name, path, bookmark_data, available_bytes, "
    "status, is_selected, is_removable, volume_name, warning_message, selected_at, last_seen_at, "
    "updated_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
    "ON CONFLICT(id) DO UPDATE SET display_name = excluded.display_name, path = excluded.path, "
    "bookmark_data = excluded.bookmark_data, available_bytes = excluded.available_bytes, "
    "status = excluded.status, is_selected = excluded.is_selected, "
    "is_removable = excluded.is_removable, volume_name = excluded.volume_name, "
    "warning_message = excluded.warning_message, last_seen_at = excluded.last_seen_at, "
    "updated_at = excluded.updated_at";

// An upsert rather than INSERT OR REPLACE: replacing would delete the row first, and the
// delete would cascade to the job's manifest items.
constexpr const char* kJobUpsert =
    "INSERT INTO backup_jobs (id, destination_id, source_scan_run_id, status, started_at, "
    "completed_at, cancelled_at, total_files, completed_files, failed_files, skipped_files, "
    "conflict_files, prepared_bytes, copied_bytes, manifest_json_path, message, updated_at) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
    "ON CONFLICT(id) DO UPDATE SET destination_id = excluded.destination_id, "
    "source_scan_run_id = excluded.source_scan_run_id, status = excluded.status, "
    "started_at = excluded.started_at, completed_at = excluded.completed_at, "
    "cancelled_at = excluded.cancelled_at, total_files = excluded.total_files, "
    "completed_files = excluded.completed_files, failed_files = excluded.failed_files, "
    "skipped_files = excluded.skipped_files, conflict_files = excluded.conflict_files, "
    "prepared_bytes = excluded.prepared_bytes, copied_bytes = excluded.copied_bytes, "
    "manifest_json_path = excluded.manifest_json_path, message = excluded.message, "
    "updated_at = excluded.updated_at";

constexpr const char* kItemInsert =
    "INSERT INTO backup_manifest_items (id, job_id, source_result_id, root_id, source_path, "
    "relative_path, destination_path, file_size, modified_at, source_state, is_eligible, status, "
    "message, created_at, updated_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

constexpr const char* kItemUpdate =
    "UPDATE backup_manifest_items SET status = ?, message = ?, updated_at = ? WHERE id = ?";

constexpr const char* kItemOrder =
    " ORDER BY CASE status WHEN 'conflict' THEN 0 WHEN 'failed' THEN 1 WHEN 'skipped' THEN 2 "
    "WHEN 'pending' THEN 3 ELSE 4 END, relative_path ASC";

void upsertDestination(SQLite::Database& db, const BackupDestination& d) {
    SQLite::Statement statement(db, kDestinationUpsert);
    sql::bindAll(statement, d.id, d.displayName, d.path, d.bookmarkData, d.availableBytes, d.status,
                 d.isSelected, d.isRemovable, d.volumeName, d.warningMessage, d.selectedAt,
                 d.lastSeenAt, d.updatedAt);
    statement.exec();
}

BackupDestination readDestination(SQLite::Statement& row) {
    return BackupDestination{
        .id = sql::uuidOrRandom(row.getColumn("id")),
        .displayName = sql::text(row.getColumn("display_name")),
        .path = sql::optionalText(row.getColumn("path")),
        .bookmarkData = sql::optionalBytes(row.getColumn("bookmark_data")),
        .availableBytes = sql::optionalInteger(row.getColumn("available_bytes")),
        .status = sql::enumOr(row.getColumn("status"), BackupDestinationStatus::unknown),
        .isSelected = sql::flag(row.getColumn("is_selected")),
        .isRemovable = sql::flag(row.getColumn("is_removable")),
        .volumeName = sql::optionalText(row.getColumn("volume_name")),
        .warningMessage = sql::optionalText(row.getColumn("warning_message")),
        .selectedAt = sql::date(row.getColumn("selected_at")),
        .lastSeenAt = sql::optionalDate(row.getColumn("last_seen_at")),
        .updatedAt = sql::date(row.getColumn("updated_at")),
    };
}

BackupJobSnapshot readJob(SQLite::Statement& row) {
    return BackupJobSnapshot{
        .id = sql::uuidOrRandom(row.getColumn("id")),
        .destinationID = sql::optionalUuid(row.getColumn("destination_id")),
        .sourceScanRunID = sql::optionalUuid(row.getColumn("source_scan_run_id")),
        .status = sql::enumOr(row.getColumn("status"), BackupJobStatus::notStarted),
        .startedAt = sql::optionalDate(row.getColumn("started_at")),
        .completedAt = sql::optionalDate(row.getColumn("completed_at")),
        .cancelledAt = sql::optionalDate(row.getColumn("cancelled_at")),
        .totalFiles = sql::integer(row.getColumn("total_files")),
        .completedFiles = sql::integer(row.getColumn("completed_files")),
        .failedFiles = sql::integer(row.getColumn("failed_files")),
        .skippedFiles = sql::integer(row.getColumn("skipped_files")),
        .conflictFiles = sql::integer(row.getColumn("conflict_files")),
        .preparedBytes = sql::integer(row.getColumn("prepared_bytes")),
        .copiedBytes = sql::integer(row.getColumn("copied_bytes")),
        .manifestJSONPath = sql::optionalText(row.getColumn("manifest_json_path")),
        .message = sql::text(row.getColumn("message")),
    };
}

BackupManifestItem readItem(SQLite::Statement& row) {
    return BackupManifestItem{
        .id = sql::uuidOrRandom(row.getColumn("id")),
        .jobID = sql::uuidOrRandom(row.getColumn("job_id")),
        .sourceResultID = sql::optionalUuid(row.getColumn("source_result_id")),
        .rootID = sql::optionalUuid(row.getColumn("root_id")),
        .sourcePath = sql::text(row.getColumn("source_path")),
        .relativePath = sql::text(row.getColumn("relative_path")),
        .destinationPath = sql::text(row.getColumn("destination_path")),
        .fileSize = sql::optionalInteger(row.getColumn("file_size")),
        .modifiedAt = sql::optionalDate(row.getColumn("modified_at")),
        .sourceState = sql::enumOr(row.getColumn("source_state"), ICloudFileState::unknown),
        .isEligible = sql::flag(row.getColumn("is_eligible")),
        .status = sql::enumOr(row.getColumn("status"), BackupItemStatus::failed),
        .message = sql::text(row.getColumn("message")),
        .createdAt = sql::date(row.getColumn("created_at")),
        .updatedAt = sql::date(row.getColumn("updated_at")),
    };
}

}  // namespace

BackupRepository::BackupRepository(std::shared_ptr<DatabaseQueue> queue,
                                   std::shared_ptr<const Clock> clock)
    : m_queue(std::move(queue)), m_clock(std::move(clock)) {}

void BackupRepository::saveSelectedDestination(const BackupDestination& destination) const {
    m_queue->write([&](SQLite::Database& db) {
        db.exec("UPDATE backup_destinations SET is_selected = 0");
        upsertDestination(db, destination);
    });
}

void BackupRepository::updateDestination(const BackupDestination& destination) const {
    m_queue->write([&](SQLite::Database& db) { upsertDestination(db, destination); });
}

std::optional<BackupDestination> BackupRepository::fetchSelectedDestination() const {
    return m_queue->read([&](SQLite::Database& db) -> std::optional<BackupDestination> {
        SQLite::Statement query(db,
                                "SELECT * FROM backup_destinations WHERE is_selected = 1 "
                                "ORDER BY selected_at DESC LIMIT 1");
        if (!query.executeStep())
            return std::nullopt;
        return readDestination(query);
    });
}

void BackupRepository::saveJob(const BackupJobSnapshot& job) const {
    const Date now = m_clock->now();
    m_queue->write([&](SQLite::Database& db) {
        SQLite::Statement statement(db, kJobUpsert);
        sql::bindAll(statement, job.id, job.destinationID, job.sourceScanRunID, job.status,
                     job.startedAt, job.completedAt, job.cancelledAt, job.totalFiles,
                     job.completedFiles, job.failedFiles, job.skippedFiles, job.conflictFiles,
                     job.preparedBytes, job.copiedBytes, job.manifestJSONPath, job.message, now);
        statement.exec();
    });
}

std::optional<BackupJobSnapshot> BackupRepository::fetchLatestJobSnapshot() const {
    return m_queue->read([&](SQLite::Database& db) -> std::optional<BackupJobSnapshot> {
        SQLite::Statement query(db,
                                "SELECT * FROM backup_jobs ORDER BY updated_at DESC, "
                                "COALESCE(completed_at, started_at, 0) DESC LIMIT 1");
        if (!query.executeStep())
            return std::nullopt;
        return readJob(query);
    });
}

void BackupRepository::replaceManifest(const Uuid& jobID,
                                       const std::vector<BackupManifestItem>& items) const {
    m_queue->write([&](SQLite::Database& db) {
        SQLite::Statement remove(db, "DELETE FROM backup_manifest_items WHERE job_id = ?");
        sql::bindAll(remove, jobID);
        remove.exec();

        SQLite::Statement insert(db, kItemInsert);
        for (const auto& item : items) {
            sql::bindAll(insert, item.id, item.jobID, item.sourceResultID, item.rootID,
                         item.sourcePath, item.relativePath, item.destinationPath, item.fileSize,
                         item.modifiedAt, item.sourceState, item.isEligible, item.status,
                         item.message, item.createdAt, item.updatedAt);
            insert.exec();
            insert.reset();
        }
    });
}

std::vector<BackupManifestItem> BackupRepository::fetchManifestItems(
    const Uuid& jobID, const std::optional<std::set<BackupItemStatus>>& statuses,
    std::optional<std::int64_t> limit) const {
    const bool filtered = statuses && !statuses->empty();
    std::string text = "SELECT * FROM backup_manifest_items WHERE job_id = ?";
    if (filtered) {
        text += " AND status IN (";
        for (std::size_t i = 0; i < statuses->size(); ++i) text += i == 0 ? "?" : ", ?";
        text += ")";
    }
    text += kItemOrder;
    if (limit)
        text += " LIMIT ?";

    return m_queue->read([&](SQLite::Database& db) {
        SQLite::Statement query(db, text);
        int index = 1;
        sql::bind(query, index++, jobID);
        if (filtered) {
            for (const auto status : *statuses) sql::bind(query, index++, status);
        }
        if (limit)
            sql::bind(query, index++, *limit);
        std::vector<BackupManifestItem> items;
        while (query.executeStep()) items.push_back(readItem(query));
        return items;
    });
}

std::vector<BackupManifestItem> BackupRepository::fetchLatestManifestItems(
    std::optional<std::int64_t> limit) const {
    const auto job = fetchLatestJobSnapshot();
    if (!job)
        return {};
    return fetchManifestItems(job->id, std::nullopt, limit);
}

void BackupRepository::updateManifestItem(const Uuid& id, BackupItemStatus status,
                                          const std::string& message, Date updatedAt) const {
    updateManifestItems({{id, status, message, updatedAt}});
}

void BackupRepository::updateManifestItems(
    const std::vector<BackupManifestItemUpdate>& updates) const {
    if (updates.empty())
        return;
    m_queue->write([&](SQLite::Database& db) {
        SQLite::Statement statement(db, kItemUpdate);
        for (const auto& update : updates) {
            sql::bindAll(statement, update.status, update.message, update.updatedAt, update.id);
            statement.exec();
            statement.reset();
        }
    });
}

BackupManifestStats BackupRepository::manifestStats(const Uuid& jobID) const {
    return m_queue->read([&](SQLite::Database& db) {
        SQLite::Statement query(db,
                                "SELECT status, is_eligible, COALESCE(file_size, 0) AS file_size "
                                "FROM backup_manifest_items WHERE job_id = ?");
        sql::bindAll(query, jobID);
        BackupManifestStats stats;
        while (query.executeStep()) {
            const auto size = sql::integer(query.getColumn("file_size"));
            if (sql::flag(query.getColumn("is_eligible"))) {
                ++stats.totalEligibleFiles;
                stats.preparedBytes += size;
            }
            switch (sql::enumOr(query.getColumn("status"), BackupItemStatus::failed)) {
                case BackupItemStatus::pending:
                    ++stats.pendingFiles;
                    break;
                case BackupItemStatus::copied:
                case BackupItemStatus::alreadyCopied:
                    ++stats.completedFiles;
                    stats.copiedBytes += size;
                    break;
                case BackupItemStatus::skipped:
                    ++stats.skippedFiles;
                    break;
                case BackupItemStatus::conflict:
                    ++stats.conflictFiles;
                    break;
                case BackupItemStatus::failed:
                    ++stats.failedFiles;
                    break;
            }
        }
        return stats;
    });
}

}  // namespace tallowmere
