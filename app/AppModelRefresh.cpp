#include "app/AppModel.h"
#include "app/SettingsKeys.h"
#include "app/StaleReminderDays.h"
#include "core/dashboard/NextBestActionEngine.h"
#include "core/icloud/ICloudScanRootDetector.h"

namespace tallowmere {

void AppModel::refreshFromStore() {
    try {
        m_iCloudScanRepository->upsertDetectedRoots(ICloudScanRootDetector::detectDefaultRoots(
            *m_environment.fileSystem, *m_environment.clock));
        publish(m_iCloudScanRoots, m_iCloudScanRepository->fetchRoots(false),
                &AppModel::iCloudScanRootsChanged);
        publish(m_iCloudSummary, m_iCloudScanRepository->fetchLatestSummary(),
                &AppModel::iCloudSummaryChanged);
        publish(m_iCloudFileResults, m_iCloudScanRepository->fetchRecentFileResults(100),
                &AppModel::iCloudFileResultsChanged);
        publish(m_photosSummary, m_photosScanRepository->fetchLatestSummary(),
                &AppModel::photosSummaryChanged);
        publish(m_selectedPhotosLibraryPath,
                m_settingsRepository->string(SettingsKeys::kSelectedPhotosLibraryPath),
                &AppModel::selectedPhotosLibraryPathChanged);
        publish(m_backupDestination, m_backupRepository->fetchSelectedDestination(),
                &AppModel::backupDestinationChanged);
        auto job = m_backupRepository->fetchLatestJobSnapshot();
        publish(m_backupSnapshot,
                job ? std::move(*job) : placeholderBackupJob("No backup has been prepared yet."),
                &AppModel::backupSnapshotChanged);
        publish(m_backupManifestItems, m_backupRepository->fetchLatestManifestItems(100),
                &AppModel::backupManifestItemsChanged);
        auto verification = m_verificationRepository->fetchLatestRun(
            std::set{VerificationMode::quick, VerificationMode::full});
        publish(m_verificationSnapshot,
                verification ? std::move(*verification)
                             : placeholderVerification(VerificationMode::quick,
                                                       "No verification has been run yet."),
                &AppModel::verificationSnapshotChanged);
        auto restoreTest =
            m_verificationRepository->fetchLatestRun(std::set{VerificationMode::restoreTest});
        publish(m_restoreTestSnapshot,
                restoreTest ? std::move(*restoreTest)
                            : placeholderVerification(VerificationMode::restoreTest,
                                                      "No restore test has been run yet."),
                &AppModel::restoreTestSnapshotChanged);
        publish(m_verificationResults, m_verificationRepository->fetchLatestFailureResults(100),
                &AppModel::verificationResultsChanged);
        publish(m_hasCompletedOnboarding,
                m_settingsRepository->boolean(SettingsKeys::kHasCompletedOnboarding, false),
                &AppModel::hasCompletedOnboardingChanged);
        publish(m_localReminderBackupCompleted,
                m_settingsRepository->boolean(SettingsKeys::kLocalReminderBackupCompleted, true),
                &AppModel::localReminderBackupCompletedChanged);
        publish(m_localReminderDriveMissing,
                m_settingsRepository->boolean(SettingsKeys::kLocalReminderDriveMissing, true),
                &AppModel::localReminderDriveMissingChanged);
        publish(
            m_backupStaleReminderDays,
            StaleReminderDays::fromStoredText(
                m_settingsRepository->string(SettingsKeys::kBackupStaleReminderDays).value_or("7")),
            &AppModel::backupStaleReminderDaysChanged);
        publish(
            m_allowLocalBackupTestDestination,
            m_settingsRepository->boolean(SettingsKeys::kAllowLocalBackupTestDestination, false),
            &AppModel::allowLocalBackupTestDestinationChanged);
        publish(m_reports, m_reportRepository->fetchRecentReports(10), &AppModel::reportsChanged);
        publish(m_activityEvents, m_activityRepository->fetchRecent(12),
                &AppModel::activityEventsChanged);

        const auto latestRun = m_scanRepository->fetchLatestScanRun();
        const auto findings = latestRun ? m_scanRepository->fetchFindings(latestRun->id)
                                        : std::vector<SafetyFinding>{};
        const Date now = m_environment.clock->now();
        const Formatting& formatting = *m_environment.formatting;
        publish(m_dashboardSnapshot,
                DashboardSnapshot::assemble(latestRun, findings, m_iCloudSummary, m_photosSummary,
                                            m_backupDestination, m_backupSnapshot,
                                            m_verificationSnapshot, now, formatting),
                &AppModel::dashboardSnapshotChanged);
        publish(m_reportCards,
                makeReportCards(m_reports, m_dashboardSnapshot, m_iCloudSummary, m_photosSummary,
                                m_backupDestination, m_backupSnapshot, m_verificationSnapshot,
                                m_restoreTestSnapshot, now, formatting),
                &AppModel::reportCardsChanged);
        publish(m_nextBestActions,
                NextBestActionEngine::makeActions(m_iCloudSummary, m_photosSummary,
                                                  m_backupDestination, m_backupSnapshot,
                                                  m_verificationSnapshot, m_restoreTestSnapshot,
                                                  m_allowLocalBackupTestDestination, formatting),
                &AppModel::nextBestActionsChanged);
    } catch (const std::exception&) {
        setStatusMessage("Tallowmere could not load local history.");
    }
}

void AppModel::perform(const NextBestAction& action) {
    // Workflows start on a later turn of the event loop, never inside the caller's turn.
    const auto later = [this](auto workflow) {
        QMetaObject::invokeMethod(
            this, [this, workflow] { (this->*workflow)(); }, Qt::QueuedConnection);
    };
    switch (action.kind) {
        case NextBestActionKind::runICloudScan:
            QMetaObject::invokeMethod(
                this, [this] { runScan(ScanTrigger::manual); }, Qt::QueuedConnection);
            return;
        case NextBestActionKind::scanPhotos:
            later(&AppModel::runPhotosScan);
            return;
        case NextBestActionKind::quickVerify:
            later(&AppModel::runQuickVerification);
            return;
        case NextBestActionKind::restoreTest:
            later(&AppModel::runRestoreTest);
            return;
        case NextBestActionKind::downloadCloudOnlyFiles:
            setStatusMessage(
                "Open iCloud Drive Safety to review cloud-only files. Tallowmere will not force "
                "downloads.");
            return;
        case NextBestActionKind::chooseExternalDrive:
        case NextBestActionKind::prepareBackup:
        case NextBestActionKind::startCopy:
            setStatusMessage("Open Backup Destination to continue: " + action.title);
            return;
    }
}

}  // namespace tallowmere
