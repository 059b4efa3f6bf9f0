#include <gtest/gtest.h>

#include "persistence/ActivityRepository.h"
#include "persistence/ReportRepository.h"
#include "persistence/SettingsRepository.h"
#include "persistence/TallowmereDatabase.h"
#include "tests/support/FixedClock.h"

namespace tallowmere {
namespace {

class RepositoryTest : public ::testing::Test {
protected:
    void exec(const std::string& sql) {
        m_database->queue()->write([&](SQLite::Database& db) { db.exec(sql); });
    }

    std::shared_ptr<TallowmereDatabase> m_database = TallowmereDatabase::inMemory();
    std::shared_ptr<testing::FixedClock> m_clock =
        std::make_shared<testing::FixedClock>(Date(1000));
};

ReportSummary report(double generatedAt, std::string step = "Run a safety scan.") {
    return ReportSummary{.id = Uuid::random(),
                         .kind = ReportKind::safety,
                         .title = "Last scan report",
                         .generatedAt = Date(generatedAt),
                         .status = SafetyState::cloudOnly,
                         .protectedFilesCount = 12,
                         .unprotectedFilesCount = 3,
                         .failedFilesCount = 1,
                         .recommendedNextStep = std::move(step)};
}

TEST_F(RepositoryTest, ReportsRoundTripNewestFirstWithinTheLimitAndReplaceById) {
    ReportRepository reports(m_database->queue());
    const auto older = report(10.25);
    auto newer = report(20.5);
    const auto newest = report(30);
    reports.insert(older);
    reports.insert(newest);
    reports.insert(newer);
    EXPECT_EQ(reports.fetchRecentReports(10), (std::vector{newest, newer, older}));
    EXPECT_EQ(reports.fetchRecentReports(2), (std::vector{newest, newer}));

    newer.recommendedNextStep = "Choose a backup destination.";
    reports.insert(newer);
    EXPECT_EQ(reports.fetchRecentReports(10), (std::vector{newest, newer, older}));
}

TEST_F(RepositoryTest, ReportsWithUnparsableTextReadWithFallbacks) {
    exec("INSERT INTO reports VALUES ('not-a-uuid', 'weekly', 't', 5, 'fine', 1, 2, 3, 'n')");
    const auto reports = ReportRepository(m_database->queue()).fetchRecentReports(1);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].id, Uuid());
    EXPECT_EQ(reports[0].kind, ReportKind::safety);
    EXPECT_EQ(reports[0].status, SafetyState::unknown);
    EXPECT_EQ(reports[0].failedFilesCount, 3);
}

TEST_F(RepositoryTest, ActivityEventsRoundTripNewestFirst) {
    ActivityRepository activity(m_database->queue());
    const ActivityEvent first(Uuid::random(), ActivityEventKind::iCloudScan, "iCloud scan finished",
                              "Scan finished.", SafetyState::protected_, "iCloudDriveSafety",
                              Date(100.5));
    const ActivityEvent second(Uuid::random(), ActivityEventKind::backup, "Copy paused", "Paused.",
                               SafetyState::needsAttention, std::nullopt, Date(200));
    const ActivityEvent sameTime(Uuid::random(), ActivityEventKind::diagnostics, "Exported",
                                 "Saved.", SafetyState::unknown, "settings", Date(200));
    activity.insert(first);
    activity.insert(second);
    activity.insert(sameTime);

    const auto events = activity.fetchRecent(12);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2], first);
    // Equal times come back in either order.
    EXPECT_TRUE((events[0] == second && events[1] == sameTime) ||
                (events[0] == sameTime && events[1] == second));
    EXPECT_EQ(activity.fetchRecent(1).size(), 1u);
}

TEST_F(RepositoryTest, ActivityEventsWithUnparsableTextReadWithFallbacks) {
    exec(
        "INSERT INTO activity_events VALUES ('x', 'weather', 'Title', 'Message', 'dire', NULL, 7)");
    const auto events = ActivityRepository(m_database->queue()).fetchRecent(12);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_NE(events[0].id, Uuid());
    EXPECT_EQ(events[0].kind, ActivityEventKind::report);
    EXPECT_EQ(events[0].severity, SafetyState::unknown);
    EXPECT_FALSE(events[0].localActionTarget);
}

TEST_F(RepositoryTest, SettingsKeepOneRowPerKeyWithTheLatestValueAndTime) {
    SettingsRepository settings(m_database->queue(), m_clock);
    EXPECT_FALSE(settings.string("backupStaleReminderDays"));
    settings.setString("7", "backupStaleReminderDays");
    m_clock->set(Date(2000));
    settings.setString("14", "backupStaleReminderDays");
    EXPECT_EQ(settings.string("backupStaleReminderDays"), "14");
    m_database->queue()->read([](SQLite::Database& db) {
        SQLite::Statement rows(
            db, "SELECT value, updated_at FROM settings WHERE key = 'backupStaleReminderDays'");
        ASSERT_TRUE(rows.executeStep());
        EXPECT_EQ(rows.getColumn(0).getString(), "14");
        EXPECT_EQ(rows.getColumn(1).getDouble(), 2000.0);
        EXPECT_FALSE(rows.executeStep());
    });
}

TEST_F(RepositoryTest, BooleanSettingsAreTrueOnlyForTheExactWord) {
    SettingsRepository settings(m_database->queue(), m_clock);
    EXPECT_TRUE(settings.boolean("hasCompletedOnboarding", true));
    EXPECT_FALSE(settings.boolean("hasCompletedOnboarding", false));
    struct Case {
        const char* stored;
        bool expected;
    };
    for (const Case& c :
         {Case{"true", true}, Case{"false", false}, Case{"TRUE", false}, Case{"True", false},
          Case{"1", false}, Case{"", false}, Case{"yes", false}}) {
        SCOPED_TRACE(c.stored);
        settings.setString(c.stored, "flag");
        EXPECT_EQ(settings.boolean("flag", true), c.expected);
    }
    settings.setBool(true, "flag");
    EXPECT_EQ(settings.string("flag"), "true");
    settings.setBool(false, "flag");
    EXPECT_EQ(settings.string("flag"), "false");
}

TEST_F(RepositoryTest, FailedStatementsThrowDatabaseError) {
    exec("DROP TABLE reports");
    EXPECT_THROW(ReportRepository(m_database->queue()).insert(report(1)), DatabaseError);
    EXPECT_THROW(ReportRepository(m_database->queue()).fetchRecentReports(1), DatabaseError);
}

}  // namespace
}  // namespace tallowmere
