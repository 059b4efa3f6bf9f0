#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/AppModel.h"
#include "persistence/PhotosScanRepository.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {
namespace {

using testing::TemporaryDirectory;
using testing::TestEnvironment;

constexpr const char* kReportExported =
    "Report exported without file paths, manifests, checksums, files, or photos.";

LocalReportCard cardOf(LocalReportKind kind, SafetyState status) {
    LocalReportCard card;
    card.id = Uuid::random();
    card.kind = kind;
    card.title = "Card";
    card.generatedAt = Date(1'765'000'000);
    card.status = status;
    card.summary = "Summary.";
    card.details = {{"Files checked", "1,204"}, {"Failures", "0"}};
    card.nextStep = "Next.";
    card.privacyNote = "No paths.";
    return card;
}

Json readJson(const std::filesystem::path& path) {
    return Json::parse(testing::fileBytes(path.string()).value());
}

std::vector<std::string> keysOf(const Json& object) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : object.items()) keys.push_back(key);
    return keys;
}

TEST(AppModelExportsTest, ExportedCardHoldsExactlyItsNineMembers) {
    TemporaryDirectory folder;
    TestEnvironment test;
    test.prompts->saveAnswer = (folder / "card.json").string();
    AppModel model(test.make());
    const auto card = cardOf(LocalReportKind::storedReport, SafetyState::needsAttention);
    model.exportReportCard(card);

    ASSERT_EQ(test.prompts->saveRequests.size(), 1u);
    const auto& request = test.prompts->saveRequests[0];
    EXPECT_EQ(request.title, "Export Tallowmere Report");
    EXPECT_EQ(request.prompt, "Export");
    EXPECT_TRUE(request.canCreateDirectories);
    EXPECT_TRUE(request.proposedFileName.starts_with("storedReport-report-"));
    EXPECT_TRUE(request.proposedFileName.ends_with(".json"));

    const auto text = testing::fileBytes((folder / "card.json").string());
    ASSERT_TRUE(text);
    const Json written = Json::parse(*text);
    EXPECT_EQ(keysOf(written),
              (std::vector<std::string>{"details", "generatedAt", "id", "kind", "nextStep",
                                        "privacyNote", "status", "summary", "title"}));
    EXPECT_EQ(written["kind"], "storedReport");
    EXPECT_EQ(written["status"], "needsAttention");
    EXPECT_EQ(written["generatedAt"], "2025-12-06T05:46:40Z");
    EXPECT_EQ(written["details"][0], (Json{{"label", "Files checked"}, {"value", "1,204"}}));
    // Pretty-printed.
    EXPECT_NE(text->find("\n  \"details\""), std::string::npos);
    EXPECT_EQ(model.statusMessage(), kReportExported);
}

TEST(AppModelExportsTest, EachCardKindNamesItsEvent) {
    const std::vector<std::pair<LocalReportKind, std::string>> cases = {
        {LocalReportKind::iCloudScan, "iCloud scan exported"},
        {LocalReportKind::photosScan, "Photos scan exported"},
        {LocalReportKind::backupJob, "Backup job exported"},
        {LocalReportKind::verificationRun, "Verification exported"},
        {LocalReportKind::restoreTest, "Restore test exported"},
        {LocalReportKind::storedReport, "Saved report exported"},
    };
    TemporaryDirectory folder;
    TestEnvironment test;
    AppModel model(test.make());
    for (const auto& [kind, title] : cases) {
        SCOPED_TRACE(title);
        test.prompts->saveAnswer = (folder / (title + ".json")).string();
        test.clock->advance(1);
        model.exportReportCard(cardOf(kind, SafetyState::cloudOnly));
        const auto& event = model.activityEvents().at(0);
        EXPECT_EQ(event.kind, ActivityEventKind::report);
        EXPECT_EQ(event.title, title);
        EXPECT_EQ(event.message, kReportExported);
        EXPECT_EQ(event.severity, SafetyState::cloudOnly);
        EXPECT_EQ(event.localActionTarget, "reports");
    }
}

TEST(AppModelExportsTest, CardExportReplacesAFileAndReportsAWriteThatFails) {
    TemporaryDirectory folder;
    TestEnvironment test;
    AppModel model(test.make());
    const auto target = folder / "card.json";
    std::ofstream(target) << "old contents";
    test.prompts->saveAnswer = target.string();
    model.exportReportCard(cardOf(LocalReportKind::iCloudScan, SafetyState::protected_));
    EXPECT_EQ(readJson(target)["kind"], "iCloudScan");
    ASSERT_EQ(model.activityEvents().size(), 1u);

    // A folder that is a file cannot take the export.
    test.prompts->saveAnswer = (target / "inside.json").string();
    model.exportReportCard(cardOf(LocalReportKind::iCloudScan, SafetyState::protected_));
    EXPECT_EQ(model.statusMessage(), "Tallowmere could not export that report.");
    EXPECT_EQ(model.activityEvents().size(), 1u);
    EXPECT_EQ(readJson(target)["kind"], "iCloudScan");
}

TEST(AppModelExportsTest, CancellingTheSavePanelChangesNothing) {
    TestEnvironment test;
    AppModel model(test.make());
    test.prompts->saveAnswer.reset();
    model.exportReportCard(cardOf(LocalReportKind::iCloudScan, SafetyState::protected_));
    EXPECT_EQ(test.prompts->saveRequests.size(), 1u);
    EXPECT_EQ(model.statusMessage(), "Ready");

    model.exportSupportDiagnostics();
    EXPECT_EQ(test.prompts->confirmations.size(), 1u);
    EXPECT_EQ(test.prompts->saveRequests.size(), 2u);
    EXPECT_EQ(model.statusMessage(), "Ready");
    EXPECT_TRUE(model.activityEvents().empty());
}

TEST(AppModelExportsTest, DecliningDiagnosticsAsksNoFurther) {
    TestEnvironment test;
    test.prompts->confirmAnswer = false;
    AppModel model(test.make());
    model.exportSupportDiagnostics();

    ASSERT_EQ(test.prompts->confirmations.size(), 1u);
    const auto& question = test.prompts->confirmations[0];
    EXPECT_EQ(question.message, "Export privacy-safe support diagnostics?");
    EXPECT_EQ(question.informativeText,
              "Tallowmere will export app version, build, macOS version, last scan dates, backup "
              "status, verification status, generation time, and the redaction list.\n\nThe "
              "export omits file paths, Photos metadata, scan results, backup manifests, "
              "checksums, local reports, files, and photos. Review the JSON before attaching it to "
              "a support request.");
    EXPECT_EQ(question.confirmButton, "Export");
    EXPECT_EQ(question.cancelButton, "Cancel");
    EXPECT_TRUE(test.prompts->saveRequests.empty());
    EXPECT_EQ(model.statusMessage(), "Support diagnostics export cancelled.");
    EXPECT_TRUE(model.activityEvents().empty());
}

TEST(AppModelExportsTest, DiagnosticsBeforeAnythingRan) {
    TemporaryDirectory folder;
    TestEnvironment test;
    test.bundle[BundleKeys::kShortVersion] = QStringLiteral("2.4.1");
    test.bundle[BundleKeys::kBuild] = 311;  // not text
    test.prompts->saveAnswer = (folder / "diagnostics.json").string();
    AppModel model(test.make());
    model.exportSupportDiagnostics();

    ASSERT_EQ(test.prompts->saveRequests.size(), 1u);
    EXPECT_EQ(test.prompts->saveRequests[0].title, "Export Tallowmere Support Diagnostics");
    EXPECT_TRUE(
        test.prompts->saveRequests[0].proposedFileName.starts_with("Tallowmere-Diagnostics-"));

    const Json written = readJson(folder / "diagnostics.json");
    EXPECT_EQ(keysOf(written), (std::vector<std::string>{
                                   "appVersion", "backupStatus", "build", "generatedAt",
                                   "macOSVersion", "privacyRedactions", "verificationStatus"}));
    EXPECT_EQ(written["appVersion"], "2.4.1");
    EXPECT_EQ(written["build"], "0");
    EXPECT_EQ(written["macOSVersion"], "Test OS 1.0 (6.1.0-test)");
    EXPECT_EQ(written["backupStatus"], "notStarted");
    EXPECT_EQ(written["verificationStatus"], "notRun");
    EXPECT_EQ(written["generatedAt"], test.clock->now().iso8601());
    EXPECT_EQ(written["privacyRedactions"].size(), 7u);

    EXPECT_EQ(model.statusMessage(),
              "Support diagnostics exported without file paths or local media data.");
    ASSERT_EQ(model.activityEvents().size(), 1u);
    const auto& event = model.activityEvents()[0];
    EXPECT_EQ(event.kind, ActivityEventKind::diagnostics);
    EXPECT_EQ(event.title, "Support diagnostics exported");
    EXPECT_EQ(event.message, model.statusMessage());
    EXPECT_EQ(event.severity, SafetyState::protected_);
    EXPECT_EQ(event.localActionTarget, "settings");
}

TEST(AppModelExportsTest, DiagnosticsLeaveOutAPhotosScanThatNeverCompleted) {
    TemporaryDirectory folder;
    TestEnvironment test;
    PhotosScanSummary unfinished;
    unfinished.id = Uuid::random();
    unfinished.startedAt = test.clock->now();
    PhotosScanRepository(test.database->queue()).insert(unfinished);
    test.prompts->saveAnswer = (folder / "diagnostics.json").string();
    AppModel model(test.make());
    ASSERT_TRUE(model.photosSummary());
    model.exportSupportDiagnostics();
    const Json written = readJson(folder / "diagnostics.json");
    EXPECT_FALSE(written.contains("lastPhotosScanAt"));
    EXPECT_EQ(written["appVersion"], "0");
}

TEST(AppModelExportsTest, DiagnosticsThatCannotBeWrittenRecordNothing) {
    TemporaryDirectory folder;
    TestEnvironment test;
    test.prompts->saveAnswer = (folder / "missing-folder/diagnostics.json").string();
    AppModel model(test.make());
    model.exportSupportDiagnostics();
    EXPECT_EQ(model.statusMessage(), "Tallowmere could not export support diagnostics.");
    EXPECT_TRUE(model.activityEvents().empty());
    EXPECT_FALSE(std::filesystem::exists(folder / "missing-folder"));
}

}  // namespace
}  // namespace tallowmere
