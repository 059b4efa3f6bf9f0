#include "app/AppModel.h"
#include "core/photos/PhotosSafetySummaryMapper.h"

namespace tallowmere {
namespace {

PhotosScanProgressSnapshot photosScanProgress(bool running, std::string message) {
    PhotosScanProgressSnapshot progress = PhotosScanProgressSnapshot::idle();
    progress.isRunning = running;
    progress.message = std::move(message);
    return progress;
}

}  // namespace

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
