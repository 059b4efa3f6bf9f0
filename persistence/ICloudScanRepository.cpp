#include "persistence/ICloudScanRepository.h"

#include <set>

#include "core/platform/PathStandardizing.h"
#include "persistence/SqlValues.h"

namespace tallowmere {
namespace {

// The run with a summary that finished (or started) last, joined to its scan run.
constexpr const char* kLatestRunOrder =
    " FROM icloud_scan_summaries s JOIN scan_runs r ON r.id = s.scan_run_id "
    "ORDER BY COALESCE(r.completed_at, r.started_at) DESC LIMIT 1";

ICloudScanRoot rootFromRow(SQLite::Statement& query) {
    return ICloudScanRoot{
        .id = sql::uuidOrRandom(query.getColumn("id")),
        .path = sql::text(query.getColumn("path")),
        .displayName = sql::text(query.getColumn("display_name")),
        .kind = sql::enumOr(query.getColumn("kind"), ICloudScanRootKind::userSelected),
        .isDetected = sql::flag(query.getColumn("is_detected")),
        .isSelected = sql::flag(query.getColumn("is_selected")),
        .bookmarkData = sql::optionalBytes(query.getColumn("bookmark_data")),
        .createdAt = sql::date(query.getColumn("created_at")),
        .lastScannedAt = sql::optionalDate(query.getColumn("last_scanned_at")),
    };
}

ICloudDriveScanSummary summaryFromRow(SQLite::Statement& query) {
    return ICloudDriveScanSummary{
        .scanRunID = sql::optionalUuid(query.getColumn("scan_run_id")),
        .completedAt = sql::optionalDate(query.getColumn("completed_at")),
        .status = sql::enumOr(query.getColumn("status"), ScanRunStatus::completed),
        .scannedItemCount = sql::integer(query.getColumn("scanned_item_count")),
        .localCurrentCount = sql::integer(query.getColumn("local_current_count")),
        .downloadedCount = sql::integer(query.getColumn("downloaded_count")),
        .cloudOnlyCount = sql::integer(query.getColumn("cloud_only_count")),
        .waitingToUploadCount = sql::integer(query.getColumn("waiting_to_upload_count")),
        .waitingToDownloadCount = sql::integer(query.getColumn("waiting_to_download_count")),
        .possibleSyncIssueCount = sql::integer(query.getColumn("possible_sync_issue_count")),
        .excludedCount = sql::integer(query.getColumn("excluded_count")),
        .unknownCount = sql::integer(query.getColumn("unknown_count")),
        .limitReached = sql::flag(query.getColumn("limit_reached")),
        .didModifyFiles = sql::flag(query.getColumn("did_modify_files")),
    };
}

ICloudFileScanResult fileResultFromRow(SQLite::Statement& query) {
    return ICloudFileScanResult{
        .id = sql::uuidOrRandom(query.getColumn("id")),
        .scanRunID = sql::uuidOrRandom(query.getColumn("scan_run_id")),
        .rootID = sql::uuidOrRandom(query.getColumn("root_id")),
        .path = sql::text(query.getColumn("path")),
        .displayName = sql::text(query.getColumn("display_name")),
        .isDirectory = sql::flag(query.getColumn("is_directory")),
        .fileSize = sql::optionalInteger(query.getColumn("file_size")),
        .modifiedAt = sql::optionalDate(query.getColumn("modified_at")),
        .state = sql::enumOr(query.getColumn("state"), ICloudFileState::unknown),
        .confidence = sql::enumOr(query.getColumn("confidence"), ConfidenceLevel::unknown),
        .reason = sql::text(query.getColumn("reason")),
        .scannedAt = sql::date(query.getColumn("scanned_at")),
    };
}

std::vector<ICloudFileScanResult> fileResultsFromRows(SQLite::Statement& query) {
    std::vector<ICloudFileScanResult> results;
    while (query.executeStep()) results.push_back(fileResultFromRow(query));
    return results;
}

// The stored text of the latest run's id, when it is a UUID. The text itself (not
// its canonical form) is what the run's file results were stored with.
std::optional<std::string> latestScanRunIDText(SQLite::Database& db) {
    SQLite::Statement query(db, std::string("SELECT s.scan_run_id") + kLatestRunOrder);
    if (!query.executeStep())
        return std::nullopt;
    std::string text = query.getColumn(0).getString();
    if (!Uuid::fromString(text))
        return std::nullopt;
    return text;
}

}  // namespace

ICloudScanRepository::ICloudScanRepository(std::shared_ptr<DatabaseQueue> queue,
                                           std::shared_ptr<const Clock> clock)
    : m_queue(std::move(queue)),
      m_clock(clock ? std::move(clock) : std::make_shared<const SystemClock>()) {}

void ICloudScanRepository::upsertDetectedRoots(const std::vector<ICloudScanRoot>& roots) const {
    m_queue->write([&](SQLite::Database& db) {
        SQLite::Statement upsert(
            db,
            "INSERT INTO icloud_scan_roots (id, path, display_name, kind, is_detected, "
            "is_selected, bookmark_data, created_at, last_scanned_at) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) "
            "ON CONFLICT(path) DO UPDATE SET display_name = excluded.display_name, "
            "kind = excluded.kind, is_detected = 1");
        for (const ICloudScanRoot& root : roots) {
            upsert.reset();
            upsert.clearBindings();
            sql::bindAll(upsert, root.id, root.path, root.displayName, root.kind, root.isDetected,
                         root.isSelected, root.bookmarkData, root.createdAt, root.lastScannedAt);
            upsert.exec();
        }
    });
}

ICloudScanRoot ICloudScanRepository::addUserRoot(const std::string& path,
                                                 const std::string& displayName,
                                                 const std::optional<Bytes>& bookmarkData) const {
    const ICloudScanRoot root{
        .id = Uuid::random(),
        .path = PathStandardizing::standardizedPath(path),
        .displayName = displayName,
        .kind = ICloudScanRootKind::userSelected,
        .isDetected = false,
        .isSelected = true,
        .bookmarkData = bookmarkData,
        .createdAt = m_clock->now(),
        .lastScannedAt = std::nullopt,
    };
    m_queue->write([&](SQLite::Database& db) {
        SQLite::Statement upsert(
            db,
            "INSERT INTO icloud_scan_roots (id, path, display_name, kind, is_detected, "
            "is_selected, bookmark_data, created_at, last_scanned_at) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) "
            "ON CONFLICT(path) DO UPDATE SET display_name = excluded.display_name, "
            "kind = excluded.kind, is_selected = 1, bookmark_data = excluded.bookmark_data");
        sql::bindAll(upsert, root.id, root.path, root.displayName, root.kind, root.isDetected,
                     root.isSelected, root.bookmarkData, root.createdAt, root.lastScannedAt);
        upsert.exec();
    });
    return root;
}

void ICloudScanRepository::deselectRoot(const Uuid& id) const {
    m_queue->write([&](SQLite::Database& db) {
        SQLite::Statement update(db, "UPDATE icloud_scan_roots SET is_selected = 0 WHERE id = ?");
        sql::bindAll(update, id);
        update.exec();
    });
}

std::vector<ICloudScanRoot> ICloudScanRepository::fetchRoots(bool includeDeselected) const {
    return m_queue->read([&](SQLite::Database& db) {
        SQLite::Statement query(db, std::string("SELECT * FROM icloud_scan_roots") +
                                        (includeDeselected ? "" : " WHERE is_selected = 1") +
                                        " ORDER BY is_detected DESC, kind ASC, display_name ASC");
        std::vector<ICloudScanRoot> roots;
        while (query.executeStep()) roots.push_back(rootFromRow(query));
        return roots;
    });
}

void ICloudScanRepository::insert(const ICloudDriveScanSummary& summary,
                                  const std::vector<ICloudFileScanResult>& fileResults) const {
    if (!summary.scanRunID)
        return;
    const Uuid& scanRunID = *summary.scanRunID;
    m_queue->write([&](SQLite::Database& db) {
        SQLite::Statement storeSummary(
            db,
            "INSERT OR REPLACE INTO icloud_scan_summaries (scan_run_id, completed_at, status, "
            "scanned_item_count, "
            "local_current_count, downloaded_count, cloud_only_count, waiting_to_upload_count, "
            "waiting_to_download_count, possible_sync_issue_count, excluded_count, unknown_count, "
            "limit_reached, "
            "did_modify_files) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        sql::bindAll(storeSummary, scanRunID, summary.completedAt, summary.status,
                     summary.scannedItemCount, summary.localCurrentCount, summary.downloadedCount,
                     summary.cloudOnlyCount, summary.waitingToUploadCount,
                     summary.waitingToDownloadCount, summary.possibleSyncIssueCount,
                     summary.excludedCount, summary.unknownCount, summary.limitReached,
                     summary.didModifyFiles);
        storeSummary.exec();

        // Storing a run twice must not duplicate its items.
        SQLite::Statement clear(db, "DELETE FROM icloud_file_results WHERE scan_run_id = ?");
        sql::bindAll(clear, scanRunID);
        clear.exec();

        // One prepared statement for every row: a scan can hold 50,000 of them.
        SQLite::Statement insertResult(
            db,
            "INSERT INTO icloud_file_results (id, scan_run_id, root_id, path, "
            "display_name, is_directory, file_size, modified_at, state, confidence, "
            "reason, scanned_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        std::set<Uuid> rootIDs;
        for (const ICloudFileScanResult& result : fileResults) {
            insertResult.reset();
            insertResult.clearBindings();
            sql::bindAll(insertResult, result.id, result.scanRunID, result.rootID, result.path,
                         result.displayName, result.isDirectory, result.fileSize, result.modifiedAt,
                         result.state, result.confidence, result.reason, result.scannedAt);
            insertResult.exec();
            rootIDs.insert(result.rootID);
        }

        if (summary.completedAt) {
            SQLite::Statement stamp(
                db, "UPDATE icloud_scan_roots SET last_scanned_at = ? WHERE id = ?");
            for (const Uuid& rootID : rootIDs) {
                stamp.reset();
                stamp.clearBindings();
                sql::bindAll(stamp, *summary.completedAt, rootID);
                stamp.exec();
            }
        }
    });
}

std::optional<Uuid> ICloudScanRepository::fetchLatestScanRunID() const {
    return m_queue->read([&](SQLite::Database& db) -> std::optional<Uuid> {
        const auto text = latestScanRunIDText(db);
        if (!text)
            return std::nullopt;
        return Uuid::fromString(*text);
    });
}

std::optional<ICloudDriveScanSummary> ICloudScanRepository::fetchLatestSummary() const {
    return m_queue->read([&](SQLite::Database& db) -> std::optional<ICloudDriveScanSummary> {
        SQLite::Statement query(db, std::string("SELECT s.*") + kLatestRunOrder);
        if (!query.executeStep())
            return std::nullopt;
        return summaryFromRow(query);
    });
}

std::vector<ICloudFileScanResult> ICloudScanRepository::fetchRecentFileResults(
    std::int64_t limit) const {
    return m_queue->read([&](SQLite::Database& db) {
        const auto scanRunID = latestScanRunIDText(db);
        if (!scanRunID)
            return std::vector<ICloudFileScanResult>{};
        SQLite::Statement query(
            db,
            "SELECT * FROM icloud_file_results WHERE scan_run_id = ? "
            "ORDER BY CASE state WHEN 'possibleSyncIssue' THEN 0 WHEN 'waitingToUpload' THEN 1 "
            "WHEN 'waitingToDownload' THEN 2 WHEN 'cloudOnly' THEN 3 WHEN 'unknown' THEN 4 "
            "ELSE 5 END, display_name ASC LIMIT ?");
        sql::bindAll(query, *scanRunID, limit);
        return fileResultsFromRows(query);
    });
}

std::vector<ICloudFileScanResult> ICloudScanRepository::fetchFileResults(
    const Uuid& scanRunID, std::optional<std::int64_t> limit) const {
    return m_queue->read([&](SQLite::Database& db) {
        std::string text =
            "SELECT * FROM icloud_file_results WHERE scan_run_id = ? ORDER BY path ASC";
        if (limit)
            text += " LIMIT ?";
        SQLite::Statement query(db, text);
        sql::bindAll(query, scanRunID);
        if (limit)
            sql::bind(query, 2, *limit);
        return fileResultsFromRows(query);
    });
}

std::vector<ICloudFileScanResult> ICloudScanRepository::fetchLatestFileResults(
    std::optional<std::int64_t> limit) const {
    const auto scanRunID = fetchLatestScanRunID();
    if (!scanRunID)
        return {};
    return fetchFileResults(*scanRunID, limit);
}

}  // namespace tallowmere
