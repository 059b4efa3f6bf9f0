#include "tests/ui/UiTestModel.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <algorithm>
#include <stdexcept>

#include "core/icloud/ICloudDriveScanSummary.h"
#include "core/safety/SafetyStatusMapper.h"
#include "persistence/ActivityRepository.h"
#include "persistence/ICloudScanRepository.h"
#include "persistence/PhotosScanRepository.h"
#include "persistence/ScanRepository.h"

namespace tallowmere::testing {

UiTestModel::UiTestModel() {
    AppEnvironment environment;
    auto store = database;
    environment.openStore = [store] {
        return store;
    };
    environment.fileSystem = fileSystem;
    environment.clock = clock;
    environment.photoLibrary = photoLibrary;
    environment.formatting = std::make_shared<EnglishFormatting>();
    environment.operatingSystemVersion = "Test OS 1.0";
    m_model = std::make_unique<AppModel>(std::move(environment));
    // Start-up re-checks the backup destination in the background; its outcome (and the
    // refresh after it) lands before the test seeds the store.
    if (!QTest::qWaitFor([this] { return m_model->startupDestinationCheck().isFinished(); }))
        throw std::runtime_error("the model's start-up never finished");
}

std::vector<ICloudFileScanResult> UiTestModel::fileResults(
    int count, const std::vector<ICloudFileState>& states) {
    std::vector<ICloudFileScanResult> results;
    for (int i = 0; i < count; ++i) {
        ICloudFileScanResult result;
        result.id = Uuid::random();
        result.state = states[static_cast<std::size_t>(i) % states.size()];
        result.displayName = "Report " + std::to_string(i + 1) + ".pdf";
        result.path =
            "/home/tester/Documents/Projects/Quarterly/Report " + std::to_string(i + 1) + ".pdf";
        result.fileSize = 1000 * (i + 1);
        result.reason = result.state == ICloudFileState::cloudOnly
                            ? "The file's contents are not stored on this computer."
                            : "The file is stored on this computer.";
        result.confidence = ConfidenceLevel::likely;
        results.push_back(std::move(result));
    }
    return results;
}

void UiTestModel::storeICloudScan(const std::vector<ICloudFileScanResult>& rows,
                                  ScanRunStatus status) {
    const auto queue = database->queue();
    ICloudScanRepository iCloud(queue, clock);
    const Date now = clock->now();
    // The rows belong to a root, as a scanner's rows do.
    const auto roots = iCloud.fetchRoots(false);
    const Uuid rootID =
        roots.empty() ? iCloud.addUserRoot("/home/tester/Documents", "Documents", std::nullopt).id
                      : roots.front().id;

    ScanRun run;
    run.id = Uuid::random();
    run.startedAt = now.addingSeconds(-120);
    run.completedAt = now.addingSeconds(-60);
    run.status = status;
    std::vector<ICloudFileScanResult> results = rows;
    for (auto& result : results) {
        result.scanRunID = run.id;
        result.rootID = rootID;
        result.scannedAt = now.addingSeconds(-90);
    }
    const auto summary =
        ICloudDriveScanSummary::make(run.id, run.completedAt, status, false, results);
    SafetyFinding finding;
    finding.id = Uuid::random();
    finding.scanRunID = run.id;
    finding.domain = SafetyDomain::iCloudDrive;
    finding.state = summary.safetyState();
    finding.title = "iCloud Drive";
    finding.message = "Scanned.";
    finding.createdAt = now;
    run.overallState = finding.state;
    run.safetyScore = SafetyStatusMapper::score(finding.state);
    run.scannedItemCount = summary.scannedItemCount;

    ScanRepository(queue).insert(run, {finding});
    iCloud.insert(summary, results);
    m_model->refreshFromStore();
}

void UiTestModel::storePhotosScan(const PhotosScanSummary& summary) {
    PhotosScanRepository(database->queue()).insert(summary);
    m_model->refreshFromStore();
}

void UiTestModel::storeActivity(int count) {
    ActivityRepository activity(database->queue());
    for (int i = 0; i < count; ++i) {
        activity.insert(ActivityEvent(
            Uuid::random(), ActivityEventKind::iCloudScan, "Event " + std::to_string(i + 1),
            "Details of event " + std::to_string(i + 1), SafetyState::needsAttention, std::nullopt,
            clock->now().addingSeconds(-60.0 * (count - i))));
    }
    m_model->refreshFromStore();
}

ICloudScanRoot UiTestModel::addUserRoot(const std::string& path) {
    const auto slash = path.find_last_of('/');
    auto root = ICloudScanRepository(database->queue(), clock)
                    .addUserRoot(path, path.substr(slash + 1), std::nullopt);
    m_model->refreshFromStore();
    return root;
}

void UiTestModel::addScannableFolder(const std::string& path, int count, Gate* gate, int stopAt) {
    fileSystem->addFolder(path);
    for (int i = 1; i <= count; ++i)
        fileSystem->addFile(path + "/File " + std::to_string(i) + ".txt", "contents");
    if (gate) {
        const std::string stop = path + "/File " + std::to_string(stopAt) + ".txt";
        fileSystem->setEnumerationHook([gate, stop](const std::string& entry) {
            if (entry == stop)
                gate->pass();
        });
    }
    addUserRoot(path);
}

void UiTestModel::upsertDetectedRoot(const std::string& path, const std::string& name,
                                     ICloudScanRootKind kind) {
    ICloudScanRoot root;
    root.id = Uuid::random();
    root.path = path;
    root.displayName = name;
    root.kind = kind;
    root.isDetected = true;
    root.createdAt = clock->now();
    ICloudScanRepository(database->queue(), clock).upsertDetectedRoots({root});
    m_model->refreshFromStore();
}

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

QString shownText(const QWidget& parent, const char* objectName) {
    for (const QLabel* label : parent.findChildren<QLabel*>(QLatin1String(objectName))) {
        if (label->isVisibleTo(&parent))
            return label->text();
    }
    return QStringLiteral("<none: %1>").arg(QLatin1String(objectName));
}

std::vector<QWidget*> shownWidgets(const QWidget& parent, const QString& objectName) {
    std::vector<QWidget*> shown;
    for (QWidget* widget : parent.findChildren<QWidget*>(objectName)) {
        if (widget->isVisibleTo(&parent))
            shown.push_back(widget);
    }
    std::sort(shown.begin(), shown.end(), [&parent](QWidget* a, QWidget* b) {
        const QPoint pa = a->mapTo(&parent, QPoint());
        const QPoint pb = b->mapTo(&parent, QPoint());
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    return shown;
}

bool saveScreenshot(QWidget& widget, const char* file) {
    const QString folder = QStringLiteral(TALLOWMERE_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    return widget.grab().save(folder + QLatin1Char('/') + QLatin1String(file));
}

}  // namespace tallowmere::testing
