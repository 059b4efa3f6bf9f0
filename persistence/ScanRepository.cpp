#include "persistence/ScanRepository.h"

#include "persistence/SqlValues.h"

namespace tallowmere {
namespace {

// Unparsable stored text reads as: id a new UUID, trigger manual, overall state
// unknown, status completed.
ScanRun scanRunFromRow(SQLite::Statement& query) {
    return ScanRun{
        .id = sql::uuidOrRandom(query.getColumn("id")),
        .trigger = sql::enumOr(query.getColumn("trigger"), ScanTrigger::manual),
        .startedAt = sql::date(query.getColumn("started_at")),
        .completedAt = sql::optionalDate(query.getColumn("completed_at")),
        .overallState = sql::enumOr(query.getColumn("overall_state"), SafetyState::unknown),
        .safetyScore = sql::integer(query.getColumn("safety_score")),
        .status = sql::enumOr(query.getColumn("scan_status"), ScanRunStatus::completed),
        .scannedItemCount = sql::integer(query.getColumn("scanned_item_count")),
        .errorMessage = sql::optionalText(query.getColumn("scan_error_message")),
        .limitReached = sql::flag(query.getColumn("scan_limit_reached")),
    };
}

// Unparsable stored text reads as: ids new UUIDs, domain overall, state and confidence
// unknown.
SafetyFinding findingFromRow(SQLite::Statement& query) {
    return SafetyFinding{
        .id = sql::uuidOrRandom(query.getColumn("id")),
        .scanRunID = sql::uuidOrRandom(query.getColumn("scan_run_id")),
        .domain = sql::enumOr(query.getColumn("domain"), SafetyDomain::overall),
        .state = sql::enumOr(query.getColumn("state"), SafetyState::unknown),
        .confidence = sql::enumOr(query.getColumn("confidence"), ConfidenceLevel::unknown),
        .title = sql::text(query.getColumn("title")),
        .message = sql::text(query.getColumn("message")),
        .recommendedAction = sql::text(query.getColumn("recommended_action")),
        .severity = sql::integer(query.getColumn("severity")),
        .createdAt = sql::date(query.getColumn("created_at")),
    };
}

}  // namespace

void ScanRepository::insert(const ScanRun& scanRun,
                            const std::vector<SafetyFinding>& findings) const {
    m_queue->write([&](SQLite::Database& db) {
        // An upsert rather than INSERT OR REPLACE: replacing the row would delete it
        // first, and the foreign keys' ON DELETE CASCADE would take the run's stored
        // summary and file results with it.
        SQLite::Statement run(
            db,
            "INSERT INTO scan_runs (id, trigger, started_at, completed_at, overall_state, "
            "safety_score, scan_status, scanned_item_count, scan_error_message, "
            "scan_limit_reached) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
            "ON CONFLICT(id) DO UPDATE SET trigger = excluded.trigger, "
            "started_at = excluded.started_at, completed_at = excluded.completed_at, "
            "overall_state = excluded.overall_state, safety_score = excluded.safety_score, "
            "scan_status = excluded.scan_status, scanned_item_count = excluded.scanned_item_count, "
            "scan_error_message = excluded.scan_error_message, "
            "scan_limit_reached = excluded.scan_limit_reached");
        sql::bindAll(run, scanRun.id, scanRun.trigger, scanRun.startedAt, scanRun.completedAt,
                     scanRun.overallState, scanRun.safetyScore, scanRun.status,
                     scanRun.scannedItemCount, scanRun.errorMessage, scanRun.limitReached);
        run.exec();

        // Storing a run again gives it exactly the findings passed now, as replacing
        // the run row used to.
        SQLite::Statement clear(db, "DELETE FROM safety_findings WHERE scan_run_id = ?");
        sql::bindAll(clear, scanRun.id);
        clear.exec();

        SQLite::Statement insertFinding(
            db,
            "INSERT OR REPLACE INTO safety_findings (id, scan_run_id, domain, state, "
            "confidence, title, message, recommended_action, severity, created_at) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        for (const SafetyFinding& finding : findings) {
            insertFinding.reset();
            insertFinding.clearBindings();
            sql::bindAll(insertFinding, finding.id, finding.scanRunID, finding.domain,
                         finding.state, finding.confidence, finding.title, finding.message,
                         finding.recommendedAction, finding.severity, finding.createdAt);
            insertFinding.exec();
        }
    });
}

std::optional<ScanRun> ScanRepository::fetchLatestScanRun() const {
    return m_queue->read([&](SQLite::Database& db) -> std::optional<ScanRun> {
        SQLite::Statement query(
            db, "SELECT * FROM scan_runs ORDER BY COALESCE(completed_at, started_at) DESC LIMIT 1");
        if (!query.executeStep())
            return std::nullopt;
        return scanRunFromRow(query);
    });
}

std::vector<SafetyFinding> ScanRepository::fetchFindings(const Uuid& scanRunID) const {
    return m_queue->read([&](SQLite::Database& db) {
        SQLite::Statement query(db,
                                "SELECT * FROM safety_findings WHERE scan_run_id = ? ORDER BY "
                                "severity DESC, created_at ASC");
        sql::bindAll(query, scanRunID);
        std::vector<SafetyFinding> findings;
        while (query.executeStep()) findings.push_back(findingFromRow(query));
        return findings;
    });
}

}  // namespace tallowmere
