#include "app/AppModel.h"
#include "core/photos/PhotosSafetySummaryMapper.h"

namespace tallowmere {
namespace {

constexpr const char* kScanFailed = "Tallowmere could not finish the safety scan.";

// What the main thread needs of a stored scan.
struct StoredScan {
    SafetyState overallState = SafetyState::unknown;
    bool cancelled = false;
};

ScanProgressSnapshot iCloudScanProgress(bool running, std::string message) {
    ScanProgressSnapshot progress = ScanProgressSnapshot::idle();
    progress.isRunning = running;
    progress.message = std::move(message);
    return progress;
}

PhotosScanProgressSnapshot photosScanProgress(bool running, std::string message) {
    PhotosScanProgressSnapshot progress = PhotosScanProgressSnapshot::idle();
    progress.isRunning = running;
    progress.message = std::move(message);
    return progress;
}

}  // namespace

QFuture<void> AppModel::runScan(ScanTrigger trigger) {
    if (m_isScanning)
        return QtFuture::makeReadyFuture();
    publish(m_isScanning, true, &AppModel::isScanningChanged);
    publish(m_scanProgress, iCloudScanProgress(true, "Starting iCloud Drive scan..."),
            &AppModel::scanProgressChanged);
    setStatusMessage("Starting iCloud Drive scan...");

    // The scan and the storing of its rows (up to 50,000) both run on the worker, so that
    // the main thread never waits for them. A store failure leaves stored what was stored.
    auto work = [scanner = m_scanner, fileSystem = m_environment.fileSystem,
                 scans = m_scanRepository, iCloudScans = m_iCloudScanRepository,
                 reports = m_reportRepository, generator = m_reportGenerator, trigger,
                 roots = m_iCloudScanRoots] {
        const SafetyScanResult result = scanner->runScan(trigger, roots);
        scans->insert(result.scanRun, result.findings);
        if (result.iCloudSummary)
            iCloudScans->insert(*result.iCloudSummary, result.iCloudFileResults);
        reports->insert(generator->makeSafetyReport(result));
        return StoredScan{
            result.scanRun.overallState,
            result.iCloudSummary && result.iCloudSummary->status == ScanRunStatus::cancelled};
    };
    return inBackground(std::move(work), [this](std::optional<StoredScan> stored) {
        if (stored) {
            refreshFromStore();
            setStatusMessage(stored->cancelled
                                 ? "Scan cancelled. Tallowmere did not modify your files."
                                 : "Scan finished. Tallowmere did not modify your files.");
            recordEvent(ActivityEventKind::iCloudScan,
                        stored->cancelled ? "iCloud scan cancelled" : "iCloud scan finished",
                        m_statusMessage, stored->overallState, AppSection::iCloudDriveSafety);
        } else {
            setStatusMessage(kScanFailed);
            publish(m_scanProgress, iCloudScanProgress(false, kScanFailed),
                    &AppModel::scanProgressChanged);
            recordEvent(ActivityEventKind::iCloudScan, "iCloud scan failed", kScanFailed,
                        SafetyState::needsAttention, AppSection::iCloudDriveSafety);
        }
        publish(m_isScanning, false, &AppModel::isScanningChanged);
    });
}

void AppModel::cancelScan() {
    if (!m_isScanning)
        return;
    m_scanner->cancelScan();
    setStatusMessage("Cancelling scan...");
}

QFuture<void> AppModel::runPhotosScan() {
    if (m_isScanningPhotos)
        return QtFuture::makeReadyFuture();
    publish(m_isScanningPhotos, true, &AppModel::isScanningPhotosChanged);
    // The status line follows the scanner's own messages from here on.
    publish(m_photosProgress, photosScanProgress(true, "Starting Photos safety scan..."),
            &AppModel::photosProgressChanged);

    // The scanner refers to the file system and the library; the work keeps them alive.
    auto work = [scanner = m_photosScanner, fileSystem = m_environment.fileSystem,
                 library = m_environment.photoLibrary, libraryPath = m_selectedPhotosLibraryPath] {
        return scanner->runScan(libraryPath);
    };
    return inBackground(std::move(work), [this](std::optional<PhotosScanSummary> summary) {
        bool stored = false;
        if (summary) {
            try {
                m_photosScanRepository->insert(*summary);
                stored = true;
            } catch (const std::exception&) {
            }
        }
        if (stored) {
            refreshFromStore();
            setStatusMessage(summary->message);
            const auto finding = PhotosSafetySummaryMapper::finding(
                summary, Uuid::random(), m_environment.clock->now(), *m_environment.formatting);
            recordEvent(ActivityEventKind::photosScan, "Photos safety scan finished",
                        summary->message, finding.state, AppSection::photosSafety);
        } else {
            // The scan itself never fails; what can fail is keeping its summary.
            setStatusMessage("Tallowmere could not save the Photos safety scan.");
            publish(m_photosProgress, photosScanProgress(false, m_statusMessage),
                    &AppModel::photosProgressChanged);
            recordEvent(ActivityEventKind::photosScan, "Photos scan failed", m_statusMessage,
                        SafetyState::needsAttention, AppSection::photosSafety);
        }
        publish(m_isScanningPhotos, false, &AppModel::isScanningPhotosChanged);
    });
}

}  // namespace tallowmere
