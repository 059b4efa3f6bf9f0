#include "app/ReportCards.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/JsonPrinting.h"
#include "tests/support/StoredStateFixtures.h"

namespace tallowmere {
namespace {

using testing::kNow;
using testing::StoredState;

struct Inputs {
    StoredState state = StoredState::freshInstall();
    std::vector<ReportSummary> reports;
    DashboardSnapshot dashboard = DashboardSnapshot::empty();
};

std::vector<LocalReportCard> cardsFor(const Inputs& in) {
    const EnglishFormatting english;
    const StoredState& s = in.state;
    return makeReportCards(in.reports, in.dashboard, s.iCloudSummary, s.photosSummary,
                           s.backupDestination, s.backupSnapshot, s.verificationSnapshot,
                           s.restoreTestSnapshot, kNow, english);
}

// The only card of the given kind; fails the test when there is not exactly one.
LocalReportCard only(const std::vector<LocalReportCard>& cards, LocalReportKind kind) {
    const LocalReportCard* found = nullptr;
    int count = 0;
    for (const auto& card : cards) {
        if (card.kind == kind) {
            found = &card;
            ++count;
        }
    }
    EXPECT_EQ(count, 1) << "cards of kind " << rawValue(kind);
    return found ? *found : LocalReportCard{};
}

std::vector<LocalReportKind> kinds(const std::vector<LocalReportCard>& cards) {
    std::vector<LocalReportKind> result;
    for (const auto& card : cards) result.push_back(card.kind);
    return result;
}

ReportSummary storedReport(std::string title, Date generatedAt) {
    ReportSummary report;
    report.id = Uuid::random();
    report.title = std::move(title);
    report.generatedAt = generatedAt;
    report.status = SafetyState::cloudOnly;
    report.protectedFilesCount = 1200;
    report.unprotectedFilesCount = 4;
    report.recommendedNextStep = "Download local copies before relying on a local backup.";
    return report;
}

TEST(ReportCardsTest, FreshInstallHasNoCards) {
    EXPECT_TRUE(cardsFor(Inputs{}).empty());

    Inputs emptyScan;
    emptyScan.state.iCloudSummary = testing::iCloudSummaryOf(0, 0, 0);
    EXPECT_TRUE(cardsFor(emptyScan).empty());
}

TEST(ReportCardsTest, ICloudDriveCard) {
    Inputs in;
    in.state.iCloudSummary = testing::iCloudSummaryOf(1000, 200, 4, 3, 5);
    in.state.iCloudSummary->scannedItemCount = 1204 + 3 + 5 + 6;
    in.state.iCloudSummary->waitingToUploadCount = 2;
    in.state.iCloudSummary->waitingToDownloadCount = 1;
    in.state.iCloudSummary->excludedCount = 3;

    const auto card = only(cardsFor(in), LocalReportKind::iCloudScan);
    EXPECT_EQ(card.title, "iCloud Drive scan");
    EXPECT_EQ(card.generatedAt, *in.state.iCloudSummary->completedAt);
    EXPECT_EQ(card.status, SafetyState::stuckSyncing);
    EXPECT_EQ(card.summary, "1,218 items checked. 1,200 appear local; 4 may only be in iCloud.");
    EXPECT_EQ(card.details, (std::vector<LocalReportDetail>{
                                {"Local/current or downloaded", "1,200"},
                                {"Cloud-only", "4"},
                                {"Waiting", "3"},
                                {"Possible sync issue", "3"},
                                {"Unknown", "5"},
                            }));
    EXPECT_EQ(card.nextStep, "Download cloud-only files in Finder before copying them.");
    EXPECT_EQ(card.privacyNote, "This report omits file paths and file names.");
}

TEST(ReportCardsTest, ICloudDriveCardTextsAndTimes) {
    struct Case {
        const char* name;
        std::function<void(Inputs&)> setUp;
        std::string summary;
        std::string nextStep;
        SafetyState status;
        Date generatedAt;
    };
    const Date summaryTime = kNow.addingSeconds(-3600);
    const Date scanTime = kNow.addingSeconds(-5000);
    const std::vector<Case> cases{
        {"1,204 items, 4 cloud-only",
         [](Inputs& in) { in.state.iCloudSummary = testing::iCloudSummaryOf(1000, 200, 4); },
         "1,204 items checked. 1,200 appear local; 4 may only be in iCloud.",
         "Download cloud-only files in Finder before copying them.", SafetyState::cloudOnly,
         summaryTime},
        {"all local",
         [](Inputs& in) { in.state.iCloudSummary = testing::iCloudSummaryOf(40, 0, 0); },
         "40 items checked. 40 appear local; 0 may only be in iCloud.",
         "Re-scan after major file changes.", SafetyState::protected_, summaryTime},
        {"no completion time: the dashboard's last scan",
         [scanTime](Inputs& in) {
             in.state.iCloudSummary = testing::iCloudSummaryOf(40, 0, 0);
             in.state.iCloudSummary->completedAt.reset();
             in.dashboard.lastScanAt = scanTime;
         },
         "40 items checked. 40 appear local; 0 may only be in iCloud.",
         "Re-scan after major file changes.", SafetyState::protected_, scanTime},
        {"no time at all: now",
         [](Inputs& in) {
             in.state.iCloudSummary = testing::iCloudSummaryOf(0, 0, 0, 0, 7);
             in.state.iCloudSummary->completedAt.reset();
         },
         "7 items checked. 0 appear local; 0 may only be in iCloud.",
         "Re-scan after major file changes.", SafetyState::needsAttention, kNow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Inputs in;
        c.setUp(in);
        const auto card = only(cardsFor(in), LocalReportKind::iCloudScan);
        EXPECT_EQ(card.summary, c.summary);
        EXPECT_EQ(card.nextStep, c.nextStep);
        EXPECT_EQ(card.status, c.status);
        EXPECT_EQ(card.generatedAt, c.generatedAt);
    }
}

TEST(ReportCardsTest, PhotosCard) {
    struct Case {
        const char* name;
        std::function<PhotosScanSummary()> summary;
        std::string summaryText;
        std::vector<LocalReportDetail> details;
        Date generatedAt;
    };
    const std::vector<Case> cases{
        {"access denied",
         [] { return testing::photosScan(PhotosAuthorizationState::denied); },
         "Photos access is needed before metadata can be scanned.",
         {{"Authorization", "Access denied"},
          {"Photos", "0"},
          {"Videos", "0"},
          {"Library package", "Not detected"},
          {"Package size", "Unknown"}},
         kNow.addingSeconds(-1790)},
        {"authorized",
         [] { return testing::photosScan(); },
         "2,113 Photos items counted from metadata.",
         {{"Authorization", "Authorized"},
          {"Photos", "1,902"},
          {"Videos", "211"},
          {"Library package", "Pictures"},
          {"Package size", "12.3 GB"}},
         kNow.addingSeconds(-1790)},
        {"limited access, library not found, scan unfinished",
         [] {
             auto s = testing::photosScan(PhotosAuthorizationState::limited, 30);
             s.libraryExists = false;
             s.libraryDisplayName.reset();
             s.localLibrarySizeBytes.reset();
             s.completedAt.reset();
             return s;
         },
         "30 Photos items counted from metadata.",
         {{"Authorization", "Limited access"},
          {"Photos", "27"},
          {"Videos", "3"},
          {"Library package", "Not detected"},
          {"Package size", "Unknown"}},
         kNow.addingSeconds(-1800)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Inputs in;
        in.state.photosSummary = c.summary();
        const auto card = only(cardsFor(in), LocalReportKind::photosScan);
        EXPECT_EQ(card.title, "Photos safety scan");
        EXPECT_EQ(card.status, SafetyState::needsAttention);
        EXPECT_EQ(card.summary, c.summaryText);
        EXPECT_EQ(card.details, c.details);
        EXPECT_EQ(card.generatedAt, c.generatedAt);
        EXPECT_EQ(card.nextStep,
                  "Treat local-original and iCloud optimized-storage details as unknown until "
                  "Photos backup/export is implemented.");
        EXPECT_EQ(card.privacyNote,
                  "This report omits Photos metadata, asset names, paths, and originals.");
    }
}

TEST(ReportCardsTest, BackupJobCardStatusAndNextStep) {
    const std::string verifyNext =
        "Run verification to confirm Tallowmere can read the second copy.";
    const std::string resumeNext =
        "Prepare or resume copying when your external drive is available.";
    struct Case {
        const char* name;
        BackupJobStatus jobStatus;
        std::int64_t skipped;
        std::int64_t conflicts;
        std::int64_t failed;
        SafetyState expected;
        std::string nextStep;
    };
    const std::vector<Case> cases{
        {"clean copy", BackupJobStatus::completed, 0, 0, 0, SafetyState::protected_, verifyNext},
        {"two skipped", BackupJobStatus::completedWithSkipped, 2, 0, 0, SafetyState::backupStale,
         verifyNext},
        {"a conflict outranks skipped", BackupJobStatus::completedWithSkipped, 5, 1, 0,
         SafetyState::needsAttention, verifyNext},
        {"a failed file", BackupJobStatus::completed, 0, 0, 1, SafetyState::needsAttention,
         verifyNext},
        {"prepared", BackupJobStatus::prepared, 0, 0, 0, SafetyState::protected_, resumeNext},
        {"paused with skipped", BackupJobStatus::paused, 3, 0, 0, SafetyState::backupStale,
         resumeNext},
        {"cancelled", BackupJobStatus::cancelled, 0, 0, 0, SafetyState::protected_, resumeNext},
        // A job that could not start has nothing counted but is still a failure.
        {"failed job", BackupJobStatus::failed, 0, 0, 0, SafetyState::needsAttention, resumeNext},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Inputs in;
        in.state.backupSnapshot = testing::jobIn(c.jobStatus, c.skipped);
        in.state.backupSnapshot.conflictFiles = c.conflicts;
        in.state.backupSnapshot.failedFiles = c.failed;
        const auto card = only(cardsFor(in), LocalReportKind::backupJob);
        EXPECT_EQ(card.status, c.expected);
        EXPECT_EQ(card.nextStep, c.nextStep);
        EXPECT_EQ(card.summary, in.state.backupSnapshot.message);
    }
}

TEST(ReportCardsTest, BackupJobCardDetailsAndTimes) {
    Inputs in;
    in.state.backupDestination = testing::externalDrive();
    in.state.backupSnapshot = testing::jobIn(BackupJobStatus::completedWithSkipped, 4);
    in.state.backupSnapshot.completedFiles = 1198;
    in.state.backupSnapshot.conflictFiles = 2;
    auto card = only(cardsFor(in), LocalReportKind::backupJob);
    EXPECT_EQ(card.title, "Backup job");
    EXPECT_EQ(card.details, (std::vector<LocalReportDetail>{{"Destination", "Backup Drive"},
                                                            {"Prepared", "1,204"},
                                                            {"Copied", "1,198"},
                                                            {"Skipped", "4"},
                                                            {"Conflicts", "2"}}));
    EXPECT_EQ(card.generatedAt, *in.state.backupSnapshot.completedAt);
    EXPECT_EQ(card.privacyNote,
              "This report omits source paths, destination paths, manifests, and checksums.");

    in.state.backupDestination.reset();
    in.state.backupSnapshot = testing::jobIn(BackupJobStatus::running);
    card = only(cardsFor(in), LocalReportKind::backupJob);
    EXPECT_EQ(card.details.front(), (LocalReportDetail{"Destination", "Not selected"}));
    EXPECT_EQ(card.generatedAt, *in.state.backupSnapshot.startedAt);

    in.state.backupSnapshot.startedAt.reset();
    EXPECT_EQ(only(cardsFor(in), LocalReportKind::backupJob).generatedAt, kNow);
}

TEST(ReportCardsTest, VerificationAndRestoreTestCards) {
    Inputs in;
    in.state.verificationSnapshot =
        testing::finishedRun(VerificationMode::quick, VerificationStatus::verified);
    in.state.restoreTestSnapshot =
        testing::finishedRun(VerificationMode::restoreTest, VerificationStatus::failed);
    in.state.restoreTestSnapshot.restoreTestPath = "/home/alex/.local/share/Tallowmere/R";

    auto cards = cardsFor(in);
    auto verification = only(cards, LocalReportKind::verificationRun);
    EXPECT_EQ(verification.title, "Quick verification");
    EXPECT_EQ(verification.status, SafetyState::protected_);
    EXPECT_EQ(verification.summary, "Verification passed.");
    EXPECT_EQ(verification.generatedAt, kNow.addingSeconds(-400));
    EXPECT_EQ(verification.details,
              (std::vector<LocalReportDetail>{
                  {"Checked", "24"}, {"Failed", "0"}, {"Skipped", "0"}, {"Bytes read", "3.5 MB"}}));
    EXPECT_EQ(verification.nextStep, "Run a restore test for sample restore confidence.");
    EXPECT_EQ(verification.privacyNote, "This report omits file paths and checksums.");

    auto restore = only(cards, LocalReportKind::restoreTest);
    EXPECT_EQ(restore.title, "Restore test");
    EXPECT_EQ(restore.status, SafetyState::needsAttention);
    EXPECT_EQ(restore.details,
              (std::vector<LocalReportDetail>{
                  {"Sample files", "24"}, {"Failed", "2"}, {"Retained folder", "Yes"}}));
    EXPECT_EQ(restore.nextStep, "Review the retained restore-test folder if one was kept.");
    EXPECT_EQ(restore.privacyNote, "This report omits restored sample paths and checksums.");

    in.state.verificationSnapshot =
        testing::finishedRun(VerificationMode::full, VerificationStatus::running);
    in.state.restoreTestSnapshot =
        testing::finishedRun(VerificationMode::restoreTest, VerificationStatus::verified);
    cards = cardsFor(in);
    verification = only(cards, LocalReportKind::verificationRun);
    EXPECT_EQ(verification.title, "Full verification");
    EXPECT_EQ(verification.status, SafetyState::needsAttention);
    EXPECT_EQ(verification.generatedAt, kNow.addingSeconds(-500));
    EXPECT_EQ(verification.nextStep,
              "Review verification failures and copy again after fixing the destination.");
    restore = only(cards, LocalReportKind::restoreTest);
    EXPECT_EQ(restore.status, SafetyState::protected_);
    EXPECT_EQ(restore.details.back(), (LocalReportDetail{"Retained folder", "No"}));
    EXPECT_EQ(restore.nextStep, "Sample restore test passed. Full restore tooling can come later.");
}

TEST(ReportCardsTest, FirstThreeStoredReportsBecomeCards) {
    Inputs in;
    for (int i = 0; i < 5; ++i) {
        in.reports.push_back(
            storedReport("Last scan report " + std::to_string(i), kNow.addingSeconds(-100.0 * i)));
    }
    const auto cards = cardsFor(in);
    ASSERT_EQ(cards.size(), 3u);
    for (std::size_t i = 0; i < cards.size(); ++i) {
        SCOPED_TRACE(i);
        const ReportSummary& report = in.reports[i];
        EXPECT_EQ(cards[i].id, report.id);
        EXPECT_EQ(cards[i].kind, LocalReportKind::storedReport);
        EXPECT_EQ(cards[i].title, report.title);
        EXPECT_EQ(cards[i].generatedAt, report.generatedAt);
        EXPECT_EQ(cards[i].status, SafetyState::cloudOnly);
        EXPECT_EQ(cards[i].summary, report.recommendedNextStep);
        EXPECT_EQ(cards[i].nextStep, report.recommendedNextStep);
        EXPECT_EQ(cards[i].details, (std::vector<LocalReportDetail>{{"Protected files", "1,200"},
                                                                    {"Unprotected files", "4"},
                                                                    {"Failed files", "0"}}));
        EXPECT_EQ(cards[i].privacyNote,
                  "Stored report summary only; file lists are not exported here.");
    }

    in.reports.resize(2);
    EXPECT_EQ(cardsFor(in).size(), 2u);
}

// Every area with results at once, each at the given time.
Inputs everyArea(Date iCloud, Date photos, Date backup, Date verification, Date restore,
                 Date report) {
    Inputs in;
    in.state.iCloudSummary = testing::iCloudSummaryOf(6, 2, 2);
    in.state.iCloudSummary->completedAt = iCloud;
    in.state.photosSummary = testing::photosScan();
    in.state.photosSummary->completedAt = photos;
    in.state.backupSnapshot = testing::jobIn(BackupJobStatus::completed);
    in.state.backupSnapshot.completedAt = backup;
    in.state.verificationSnapshot =
        testing::finishedRun(VerificationMode::quick, VerificationStatus::verified);
    in.state.verificationSnapshot.completedAt = verification;
    in.state.restoreTestSnapshot =
        testing::finishedRun(VerificationMode::restoreTest, VerificationStatus::verified);
    in.state.restoreTestSnapshot.completedAt = restore;
    in.reports = {storedReport("Last scan report", report)};
    return in;
}

TEST(ReportCardsTest, NewestFirstAndEqualTimesKeepBuildOrder) {
    using K = LocalReportKind;
    const Date t = kNow.addingSeconds(-1000);
    EXPECT_EQ(kinds(cardsFor(everyArea(t, t, t, t, t, t))),
              (std::vector<K>{K::iCloudScan, K::photosScan, K::backupJob, K::verificationRun,
                              K::restoreTest, K::storedReport}));

    const auto at = [t](double offset) {
        return t.addingSeconds(offset);
    };
    EXPECT_EQ(kinds(cardsFor(everyArea(at(0), at(50), at(10), at(40), at(40), at(0)))),
              (std::vector<K>{K::photosScan, K::verificationRun, K::restoreTest, K::backupJob,
                              K::iCloudScan, K::storedReport}));
}

TEST(ReportCardsTest, CardsHoldNoPathsAndFreshIdsAtEachBuild) {
    Inputs in = everyArea(kNow, kNow, kNow, kNow, kNow, kNow);
    in.state.backupDestination = testing::externalDrive();
    in.state.backupSnapshot.manifestJSONPath = "/media/alex/Backup Drive/manifest.json";
    in.state.restoreTestSnapshot.restoreTestPath = "/home/alex/.local/share/Tallowmere/R";
    const auto first = cardsFor(in);
    const std::string text = Json(first).dump();
    for (const char* path : {"/home/alex", "/media/alex", "manifest.json"}) {
        EXPECT_EQ(text.find(path), std::string::npos) << path;
    }

    const auto second = cardsFor(in);
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        SCOPED_TRACE(rawValue(first[i].kind));
        if (first[i].kind == LocalReportKind::storedReport) {
            EXPECT_EQ(first[i].id, second[i].id);
        } else {
            EXPECT_NE(first[i].id, second[i].id);
        }
    }
}

TEST(ReportCardsTest, KindsLabelsAndJson) {
    struct Case {
        LocalReportKind kind;
        const char* raw;
        const char* label;
    };
    const std::vector<Case> cases{
        {LocalReportKind::iCloudScan, "iCloudScan", "iCloud scan"},
        {LocalReportKind::photosScan, "photosScan", "Photos scan"},
        {LocalReportKind::backupJob, "backupJob", "Backup job"},
        {LocalReportKind::verificationRun, "verificationRun", "Verification"},
        {LocalReportKind::restoreTest, "restoreTest", "Restore test"},
        {LocalReportKind::storedReport, "storedReport", "Saved report"},
    };
    ASSERT_EQ(cases.size(), allCases<LocalReportKind>().size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].raw);
        EXPECT_EQ(caseIndex(cases[i].kind), i);
        EXPECT_EQ(rawValue(cases[i].kind), cases[i].raw);
        EXPECT_EQ(label(cases[i].kind), cases[i].label);
        EXPECT_EQ(fromRaw<LocalReportKind>(cases[i].raw), cases[i].kind);
    }

    Inputs in = everyArea(kNow, kNow, kNow, kNow, kNow, kNow);
    for (const auto& card : cardsFor(in)) {
        SCOPED_TRACE(rawValue(card.kind));
        const Json json = card;
        EXPECT_EQ(json.at("kind"), rawValue(card.kind));
        EXPECT_EQ(json.at("details").at(0).size(), 2u);
        EXPECT_TRUE(json.at("details").at(0).contains("label"));
        EXPECT_EQ(json.get<LocalReportCard>(), card);
    }
}

}  // namespace
}  // namespace tallowmere
