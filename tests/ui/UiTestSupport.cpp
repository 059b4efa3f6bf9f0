#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QScrollArea>
#include <QTest>
#include <stdexcept>

#include "persistence/BackupRepository.h"
#include "persistence/ReportRepository.h"
#include "persistence/ScanRepository.h"
#include "persistence/SettingsRepository.h"
#include "persistence/VerificationRepository.h"
#include "ui/components/CountView.h"
#include "ui/components/TMButton.h"
#include "ui/screens/RedrawScheduler.h"

namespace tallowmere::testing {

ModelFixture::ModelFixture(std::shared_ptr<FileSystem> fileSystem)
    : m_database(TallowmereDatabase::inMemory()),
      m_clock(std::make_shared<FixedClock>(kNow)),
      m_dialogs(std::make_shared<FakePrompts>()),
      m_desktop(std::make_shared<FakeDesktop>()),
      m_photoLibrary(std::make_shared<FakePhotoLibrary>()) {
    AppEnvironment environment;
    auto store = m_database;
    environment.openStore = [store] {
        return store;
    };
    // No home folder: no default scan roots are found.
    environment.fileSystem = fileSystem
                                 ? std::move(fileSystem)
                                 : linuxFileSystemWith("/nonexistent/home", "/nonexistent/data");
    environment.clock = m_clock;
    environment.formatting = std::make_shared<EnglishFormatting>();
    environment.prompts = m_dialogs;
    environment.desktop = m_desktop;
    environment.photoLibrary = m_photoLibrary;
    environment.operatingSystemVersion = "Test OS 1.0";
    m_model = std::make_unique<AppModel>(std::move(environment));
    // Start-up re-checks the backup destination in the background; its outcome (and the
    // refresh after it) lands before the test seeds the store.
    if (!QTest::qWaitFor([this] { return m_model->startupDestinationCheck().isFinished(); }))
        throw std::runtime_error("the model's start-up never finished");
}

ModelFixture::~ModelFixture() = default;

void ModelFixture::storeScan(SafetyState overallState) {
    // Each stored scan is a minute later than the one before, so it is the latest.
    ScanRun run = scanRunIn(overallState);
    const double later = 60.0 * m_scansStored++;
    run.startedAt = run.startedAt.addingSeconds(later);
    run.completedAt = run.completedAt->addingSeconds(later);
    ScanRepository(m_database->queue())
        .insert(run, scannerFindings(run, overallState, "iCloud Drive", 50));
}

void ModelFixture::storeDestination(const BackupDestination& destination) {
    BackupRepository(m_database->queue(), m_clock).saveSelectedDestination(destination);
}

void ModelFixture::storeJob(const BackupJobSnapshot& job,
                            const std::vector<BackupManifestItem>& items) {
    BackupRepository repository(m_database->queue(), m_clock);
    repository.saveJob(job);
    if (!items.empty())
        repository.replaceManifest(job.id, items);
}

void ModelFixture::storeRun(const VerificationRun& run,
                            const std::vector<VerificationItemResult>& results) {
    VerificationRepository repository(m_database->queue(), m_clock);
    repository.saveRun(run);
    if (!results.empty())
        repository.replaceResults(run.id, results);
}

void ModelFixture::storeReport(const ReportSummary& report) {
    ReportRepository(m_database->queue()).insert(report);
}

void ModelFixture::setSetting(const std::string& key, const std::string& value) {
    SettingsRepository(m_database->queue(), m_clock).setString(value, key);
}

BackupManifestItem manifestItem(const BackupJobSnapshot& job, const std::string& relativePath,
                                BackupItemStatus status, const std::string& message) {
    BackupManifestItem item;
    item.id = Uuid::random();
    item.jobID = job.id;
    item.sourcePath = "/home/alex/Documents/" + relativePath;
    item.relativePath = relativePath;
    item.destinationPath =
        "/media/alex/Backup Drive/Tallowmere Backup/iCloud Drive/Documents/" + relativePath;
    item.fileSize = 1000;
    item.sourceState = ICloudFileState::localCurrent;
    item.isEligible = status != BackupItemStatus::skipped;
    item.status = status;
    item.message = message;
    item.createdAt = kNow.addingSeconds(-900);
    item.updatedAt = kNow.addingSeconds(-800);
    return item;
}

VerificationItemResult failedResult(const VerificationRun& run, const std::string& relativePath,
                                    VerificationItemStatus status,
                                    std::optional<std::string> reason) {
    VerificationItemResult result;
    result.id = Uuid::random();
    result.runID = run.id;
    result.backupJobID = Uuid::random();
    result.manifestItemID = Uuid::random();
    result.checkedPath = "/media/alex/Backup Drive/Tallowmere Backup/" + relativePath;
    result.relativePath = relativePath;
    result.status = status;
    result.failureReason = std::move(reason);
    result.createdAt = kNow.addingSeconds(-450);
    result.updatedAt = kNow.addingSeconds(-450);
    return result;
}

ReportSummary storedReport(const std::string& title, Date generatedAt) {
    ReportSummary report;
    report.id = Uuid::random();
    report.title = title;
    report.generatedAt = generatedAt;
    report.status = SafetyState::needsAttention;
    report.protectedFilesCount = 1200;
    report.unprotectedFilesCount = 4;
    report.failedFilesCount = 0;
    report.recommendedNextStep = "Download cloud-only files before copying.";
    return report;
}

void settleRedraws(QWidget& root) {
    const auto pending = [&root] {
        for (const RedrawScheduler* redraw : root.findChildren<RedrawScheduler*>()) {
            if (redraw->isPending())
                return true;
        }
        return false;
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return !pending(); }, 2000)) << "a redraw never ran";
    QApplication::processEvents();
}

QString textOf(const QWidget& parent, const char* name) {
    const auto* label = parent.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

bool shows(const QWidget& parent, const char* name) {
    const auto* child = parent.findChild<QWidget*>(QLatin1String(name));
    return child && child->isVisibleTo(&parent);
}

QString tileValue(const QWidget& view, const char* tile) {
    return textOf(*view.findChild<QWidget*>(QLatin1String(tile)), "metricValue");
}

QString tileDetail(const QWidget& view, const char* tile) {
    return textOf(*view.findChild<QWidget*>(QLatin1String(tile)), "metricDetail");
}

QString countValue(const QWidget& view, const char* title) {
    for (const CountView* count : view.findChildren<CountView*>()) {
        if (count->title() == QLatin1String(title))
            return count->value();
    }
    return QStringLiteral("<no count %1>").arg(QLatin1String(title));
}

TMButton* button(const QWidget& view, const char* name) {
    return view.findChild<TMButton*>(QLatin1String(name));
}

namespace {

// A layout that changes with the width (columns, wrapping) settles over a few passes.
void settleLayout() {
    for (int pass = 0; pass < 4; ++pass) {
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::processEvents();
    }
}

}  // namespace

void showAt(QWidget& widget, QSize size) {
    widget.resize(size);
    widget.show();
    settleLayout();
}

void saveFullScreenshot(QWidget& widget, const char* file) {
    if (auto* scroll = qobject_cast<QScrollArea*>(&widget)) {
        // The whole screen, not only what fits in the window.
        QWidget* content = scroll->widget();
        content->adjustSize();
        const int height = content->heightForWidth(scroll->viewport()->width());
        widget.resize(
            widget.width(),
            std::max(widget.height(), (height > 0 ? height : content->sizeHint().height()) +
                                          2 * scroll->frameWidth()));
    }
    widget.show();
    settleLayout();
    EXPECT_TRUE(saveScreenshot(widget, file)) << file;
}

}  // namespace tallowmere::testing
