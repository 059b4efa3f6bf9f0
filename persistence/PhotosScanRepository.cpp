#include "persistence/PhotosScanRepository.h"

#include "persistence/SqlValues.h"

namespace tallowmere {
namespace {

constexpr const char* kNewestFirst =
    "SELECT * FROM photos_scan_summaries ORDER BY COALESCE(completed_at, started_at) DESC";

PhotosScanSummary summaryFromRow(SQLite::Statement& query) {
    return PhotosScanSummary{
        .id = sql::uuidOrRandom(query.getColumn("id")),
        .startedAt = sql::date(query.getColumn("started_at")),
        .completedAt = sql::optionalDate(query.getColumn("completed_at")),
        .authorizationStatus =
            sql::enumOr(query.getColumn("authorization_status"), PhotosAuthorizationState::unknown),
        .scanStatus = sql::enumOr(query.getColumn("scan_status"), ScanRunStatus::completed),
        .totalAssetCount = sql::integer(query.getColumn("total_asset_count")),
        .photoCount = sql::integer(query.getColumn("photo_count")),
        .videoCount = sql::integer(query.getColumn("video_count")),
        .livePhotoCount = sql::integer(query.getColumn("live_photo_count")),
        .screenshotCount = sql::integer(query.getColumn("screenshot_count")),
        .favoriteCount = sql::integer(query.getColumn("favorite_count")),
        .hiddenCount = sql::integer(query.getColumn("hidden_count")),
        .approximateResourceCount = sql::integer(query.getColumn("approximate_resource_count")),
        .videoDurationSeconds = sql::real(query.getColumn("video_duration_seconds")),
        .libraryPath = sql::optionalText(query.getColumn("library_path")),
        .libraryDisplayName = sql::optionalText(query.getColumn("library_display_name")),
        .libraryExists = sql::flag(query.getColumn("library_exists")),
        .localLibrarySizeBytes = sql::optionalInteger(query.getColumn("local_library_size_bytes")),
        .oldestCreationDate = sql::optionalDate(query.getColumn("oldest_creation_date")),
        .newestCreationDate = sql::optionalDate(query.getColumn("newest_creation_date")),
        .canReadMetadata = sql::flag(query.getColumn("can_read_metadata")),
        .localOriginalsUnknown = sql::flag(query.getColumn("local_originals_unknown")),
        .iCloudPhotosStatusUnknown = sql::flag(query.getColumn("icloud_photos_status_unknown")),
        .needsUserReview = sql::flag(query.getColumn("needs_user_review")),
        .didModifyPhotos = sql::flag(query.getColumn("did_modify_photos")),
        .message = sql::text(query.getColumn("message")),
    };
}

}  // namespace

void PhotosScanRepository::insert(const PhotosScanSummary& summary) const {
    m_queue->write([&](SQLite::Database& db) {
        SQLite::Statement statement(
            db,
            "INSERT INTO photos_scan_summaries (id, started_at, completed_at, "
            "authorization_status, scan_status, "
            "total_asset_count, photo_count, video_count, live_photo_count, screenshot_count, "
            "favorite_count, "
            "hidden_count, approximate_resource_count, video_duration_seconds, library_path, "
            "library_display_name, "
            "library_exists, local_library_size_bytes, oldest_creation_date, newest_creation_date, "
            "can_read_metadata, local_originals_unknown, icloud_photos_status_unknown, "
            "needs_user_review, "
            "did_modify_photos, message) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?)");
        sql::bindAll(statement, summary.id, summary.startedAt, summary.completedAt,
                     summary.authorizationStatus, summary.scanStatus, summary.totalAssetCount,
                     summary.photoCount, summary.videoCount, summary.livePhotoCount,
                     summary.screenshotCount, summary.favoriteCount, summary.hiddenCount,
                     summary.approximateResourceCount, summary.videoDurationSeconds,
                     summary.libraryPath, summary.libraryDisplayName, summary.libraryExists,
                     summary.localLibrarySizeBytes, summary.oldestCreationDate,
                     summary.newestCreationDate, summary.canReadMetadata,
                     summary.localOriginalsUnknown, summary.iCloudPhotosStatusUnknown,
                     summary.needsUserReview, summary.didModifyPhotos, summary.message);
        statement.exec();
    });
}

std::optional<PhotosScanSummary> PhotosScanRepository::fetchLatestSummary() const {
    return m_queue->read([&](SQLite::Database& db) -> std::optional<PhotosScanSummary> {
        SQLite::Statement query(db, std::string(kNewestFirst) + " LIMIT 1");
        if (!query.executeStep())
            return std::nullopt;
        return summaryFromRow(query);
    });
}

std::vector<PhotosScanSummary> PhotosScanRepository::fetchRecentSummaries(
    std::int64_t limit) const {
    return m_queue->read([&](SQLite::Database& db) {
        SQLite::Statement query(db, std::string(kNewestFirst) + " LIMIT ?");
        sql::bindAll(query, limit);
        std::vector<PhotosScanSummary> summaries;
        while (query.executeStep()) summaries.push_back(summaryFromRow(query));
        return summaries;
    });
}

}  // namespace tallowmere
