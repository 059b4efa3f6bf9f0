#include "persistence/ReportRepository.h"

#include "persistence/SqlValues.h"

namespace tallowmere {

void ReportRepository::insert(const ReportSummary& report) const {
    m_queue->write([&](SQLite::Database& db) {
        SQLite::Statement statement(
            db,
            "INSERT OR REPLACE INTO reports (id, kind, title, generated_at, status, "
            "protected_files_count, unprotected_files_count, failed_files_count, "
            "recommended_next_step) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
        sql::bindAll(statement, report.id, report.kind, report.title, report.generatedAt,
                     report.status, report.protectedFilesCount, report.unprotectedFilesCount,
                     report.failedFilesCount, report.recommendedNextStep);
        statement.exec();
    });
}

std::vector<ReportSummary> ReportRepository::fetchRecentReports(std::int64_t limit) const {
    return m_queue->read([&](SQLite::Database& db) {
        SQLite::Statement query(db, "SELECT * FROM reports ORDER BY generated_at DESC LIMIT ?");
        sql::bindAll(query, limit);
        std::vector<ReportSummary> reports;
        while (query.executeStep()) {
            reports.push_back(ReportSummary{
                .id = sql::uuidOrRandom(query.getColumn("id")),
                .kind = sql::enumOr(query.getColumn("kind"), ReportKind::safety),
                .title = sql::text(query.getColumn("title")),
                .generatedAt = sql::date(query.getColumn("generated_at")),
                .status = sql::enumOr(query.getColumn("status"), SafetyState::unknown),
                .protectedFilesCount = sql::integer(query.getColumn("protected_files_count")),
                .unprotectedFilesCount = sql::integer(query.getColumn("unprotected_files_count")),
                .failedFilesCount = sql::integer(query.getColumn("failed_files_count")),
                .recommendedNextStep = sql::text(query.getColumn("recommended_next_step")),
            });
        }
        return reports;
    });
}

}  // namespace tallowmere
