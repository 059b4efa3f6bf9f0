#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QFuture>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QPromise>
#include <QThreadPool>

#include "app/AppEnvironment.h"
#include "app/BackupCoordinating.h"
#include "app/LocalVerificationCoordinator.h"
#include "app/PhotosLibraryScanner.h"
#include "app/ReportCards.h"
#include "app/WebsiteConfiguration.h"
#include "core/dashboard/AppSection.h"
#include "core/dashboard/DashboardSnapshot.h"
#include "core/dashboard/NextBestAction.h"
#include "core/icloud/ICloudDriveScanSummary.h"
#include "core/icloud/ICloudDriveScanner.h"
#include "core/icloud/ICloudFileScanResult.h"
#include "core/icloud/ICloudScanRoot.h"
#include "core/icloud/ScanProgressSnapshot.h"
#include "core/photos/PhotosScanProgressSnapshot.h"
#include "core/photos/PhotosScanSummary.h"
#include "core/safety/ActivityEvent.h"
#include "core/safety/ReportGenerating.h"
#include "core/safety/ReportSummary.h"
#include "core/secondcopy/BackupDestination.h"
#include "core/secondcopy/BackupJobSnapshot.h"
#include "core/secondcopy/BackupManifestItem.h"
#include "core/secondcopy/BackupProgressSnapshot.h"
#include "core/verification/VerificationItemResult.h"
#include "core/verification/VerificationProgressSnapshot.h"
#include "core/verification/VerificationRun.h"
#include "persistence/ActivityRepository.h"
#include "persistence/BackupRepository.h"
#include "persistence/ICloudScanRepository.h"
#include "persistence/PhotosScanRepository.h"
#include "persistence/ReportRepository.h"
#include "persistence/ScanRepository.h"
#include "persistence/SettingsRepository.h"
#include "persistence/TallowmereDatabase.h"
#include "persistence/VerificationRepository.h"

namespace tallowmere {

// The one object the user interface observes and calls. It owns the store, the
// repositories and the engines, publishes everything the screens show, and every user
// action is one of its methods.
//
// Thread safety: confined to the main thread. Every method is called there, every
// published field changes there and every change signal is emitted there. Engine work
// runs on the model's own thread pool; its progress and results come back to the main
// thread as queued calls. No method throws: failures become `statusMessage`.
//
// Each published field has a getter and a change signal, emitted once per change of its
// value; observers that draw may coalesce bursts of signals.
class AppModel final : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kTemporaryStorageMessage =
        "Tallowmere could not open the Application Support database, so this launch is using "
        "temporary local storage.";

    // The production model of this process, created (and started) on the first call, on
    // the main thread; a QCoreApplication must exist. It lives until the application
    // object goes away.
    static AppModel& shared();

    // The user interface provides its dialogs, and optionally its own way to open web
    // pages, before the first call to shared().
    static void provideUserInterfaceServices(std::shared_ptr<UserPrompts> prompts,
                                             std::shared_ptr<DesktopServices> desktop);

    // Runs the whole start-up with the given collaborators. When the store cannot be
    // opened the model runs on a temporary in-memory store and says so in
    // startupErrorMessage; the file is never touched again. Throws DatabaseError only
    // when even the temporary store cannot be made.
    explicit AppModel(AppEnvironment environment, QObject* parent = nullptr);
    // Stops running engines and waits for their threads.
    ~AppModel() override;

    AppModel(const AppModel&) = delete;
    AppModel& operator=(const AppModel&) = delete;

    // ---- Published state.

    const std::string& statusMessage() const { return m_statusMessage; }
    const std::optional<std::string>& startupErrorMessage() const { return m_startupErrorMessage; }
    const DashboardSnapshot& dashboardSnapshot() const { return m_dashboardSnapshot; }
    const std::vector<ReportSummary>& reports() const { return m_reports; }
    const BackupJobSnapshot& backupSnapshot() const { return m_backupSnapshot; }
    const std::optional<BackupDestination>& backupDestination() const {
        return m_backupDestination;
    }
    const std::vector<BackupManifestItem>& backupManifestItems() const {
        return m_backupManifestItems;
    }
    const BackupProgressSnapshot& backupProgress() const { return m_backupProgress; }
    bool isBackupRunning() const { return m_isBackupRunning; }
    const VerificationRun& verificationSnapshot() const { return m_verificationSnapshot; }
    const VerificationRun& restoreTestSnapshot() const { return m_restoreTestSnapshot; }
    const VerificationProgressSnapshot& verificationProgress() const {
        return m_verificationProgress;
    }
    const std::vector<VerificationItemResult>& verificationResults() const {
        return m_verificationResults;
    }
    bool isVerificationRunning() const { return m_isVerificationRunning; }
    const std::vector<ICloudScanRoot>& iCloudScanRoots() const { return m_iCloudScanRoots; }
    const std::optional<ICloudDriveScanSummary>& iCloudSummary() const { return m_iCloudSummary; }
    const std::vector<ICloudFileScanResult>& iCloudFileResults() const {
        return m_iCloudFileResults;
    }
    const ScanProgressSnapshot& scanProgress() const { return m_scanProgress; }
    bool isScanning() const { return m_isScanning; }
    const std::optional<PhotosScanSummary>& photosSummary() const { return m_photosSummary; }
    const PhotosScanProgressSnapshot& photosProgress() const { return m_photosProgress; }
    bool isScanningPhotos() const { return m_isScanningPhotos; }
    const std::optional<std::string>& selectedPhotosLibraryPath() const {
        return m_selectedPhotosLibraryPath;
    }
    const std::vector<LocalReportCard>& reportCards() const { return m_reportCards; }
    const std::vector<ActivityEvent>& activityEvents() const { return m_activityEvents; }
    const std::vector<NextBestAction>& nextBestActions() const { return m_nextBestActions; }
    bool localReminderBackupCompleted() const { return m_localReminderBackupCompleted; }
    bool localReminderDriveMissing() const { return m_localReminderDriveMissing; }
    int backupStaleReminderDays() const { return m_backupStaleReminderDays; }
    bool allowLocalBackupTestDestination() const { return m_allowLocalBackupTestDestination; }
    bool hasCompletedOnboarding() const { return m_hasCompletedOnboarding; }

    // Constant after start-up.
    const TallowmereWebsiteConfiguration& websiteConfiguration() const {
        return m_websiteConfiguration;
    }
    bool offersUpdateChecks() const { return m_updateController != nullptr; }
    // The re-check of the backup destination that start-up begins; finished once its
    // outcome is published. Nothing needs to wait for it.
    const QFuture<void>& startupDestinationCheck() const { return m_startupDestinationCheck; }
    const std::shared_ptr<TallowmereDatabase>& database() const { return m_database; }
    // How the screens write counts, byte sizes and dates: the user's locale.
    const Formatting& formatting() const { return *m_environment.formatting; }
    // The time on the model's clock, for texts that compare a date with now.
    Date now() const { return m_environment.clock->now(); }
    // The user's home folder, for the scan-root labels; empty when none is known.
    std::string homeDirectoryPath() const;

    // ---- Refresh.

    // Reloads every published field from the store, in a fixed order, each set as soon as
    // it is read. When a read fails the refresh stops there: later fields keep their
    // values and statusMessage says "Tallowmere could not load local history.".
    void refreshFromStore();

    // ---- Scans. Each returns at once; the returned future finishes when the workflow has
    // published its outcome. None fails towards its caller.

    // One iCloud Drive safety scan of the selected roots; the run, its rows and its report
    // are stored. Does nothing while a scan runs.
    QFuture<void> runScan(ScanTrigger trigger = ScanTrigger::manual);
    // Asks a running iCloud Drive scan to stop; it is then stored as cancelled. Nothing
    // happens while no scan runs.
    void cancelScan();

    // One Photos safety scan of the selected library (or the default one). Does nothing
    // while a Photos scan runs.
    QFuture<void> runPhotosScan();

    // ---- The second copy. Each returns at once; the returned future finishes when the
    // workflow has published its outcome. None fails towards its caller.

    // Makes the folder at `folderPath` the backup destination.
    QFuture<void> selectBackupDestination(const std::string& folderPath);
    // Re-evaluates the selected destination (also run once after start-up).
    QFuture<void> refreshBackupDestinationStatus();
    // Builds a new manifest from the latest scan. Does nothing while a backup runs.
    QFuture<void> prepareBackup();
    // Copies the pending files, when the destination policy allows. Does nothing while a
    // backup runs.
    QFuture<void> startBackup();
    // Ask a running copy to stop at its next file boundary.
    QFuture<void> pauseBackup();
    QFuture<void> cancelBackup();

    // ---- Checks of the second copy; one at a time, each doing nothing while another runs.

    QFuture<void> runQuickVerification();
    QFuture<void> runFullVerification();
    QFuture<void> runRestoreTest();

    // ---- Next best actions.

    // Carries out the action of a dashboard card: starts its workflow on a later turn of
    // the event loop, or says where to continue. Returns at once.
    void perform(const NextBestAction& action);

    // ---- Scan folders and the Photos library.

    // Adds the folder at `folderPath` to the scan roots.
    void addScanRoot(const std::string& folderPath);
    // Deselects the root; its row and past results stay stored.
    void removeScanRoot(const ICloudScanRoot& root);
    // Remembers the Photos library package at `libraryPath` for Photos scans.
    void selectPhotosLibrary(const std::string& libraryPath);

    // ---- Settings and onboarding. Each publishes first, then stores; a failed write
    // keeps the new value for this run and only sets statusMessage.

    void completeOnboarding();
    void resetOnboarding();
    void setLocalReminderBackupCompleted(bool enabled);
    void setLocalReminderDriveMissing(bool enabled);
    // Clamped to 1...30.
    void setBackupStaleReminderDays(int days);
    void setAllowLocalBackupTestDestination(bool allowed);

    // ---- Web pages.

    // The self-update framework's check when this build offers one, else the download page.
    void checkForUpdates();
    void openSupportPage();

    // ---- Exports. Modal and synchronous: the file is written before the call returns.

    // Asks where to save the card, then writes it as JSON.
    void exportReportCard(const LocalReportCard& card);
    // Asks for confirmation and where to save, then writes the diagnostics file.
    void exportSupportDiagnostics();

Q_SIGNALS:
    void statusMessageChanged();
    void startupErrorMessageChanged();
    void dashboardSnapshotChanged();
    void reportsChanged();
    void backupSnapshotChanged();
    void backupDestinationChanged();
    void backupManifestItemsChanged();
    void backupProgressChanged();
    void isBackupRunningChanged();
    void verificationSnapshotChanged();
    void restoreTestSnapshotChanged();
    void verificationProgressChanged();
    void verificationResultsChanged();
    void isVerificationRunningChanged();
    void iCloudScanRootsChanged();
    void iCloudSummaryChanged();
    void iCloudFileResultsChanged();
    void scanProgressChanged();
    void isScanningChanged();
    void photosSummaryChanged();
    void photosProgressChanged();
    void isScanningPhotosChanged();
    void selectedPhotosLibraryPathChanged();
    void reportCardsChanged();
    void activityEventsChanged();
    void nextBestActionsChanged();
    void localReminderBackupCompletedChanged();
    void localReminderDriveMissingChanged();
    void backupStaleReminderDaysChanged();
    void allowLocalBackupTestDestinationChanged();
    void hasCompletedOnboardingChanged();

private:
    // Sets a published field and emits its signal when the value changed.
    template <typename T, typename U>
    void publish(T& field, U&& value, void (AppModel::*changed)()) {
        if (field == value)
            return;
        field = std::forward<U>(value);
        Q_EMIT(this->*changed)();
    }

    void setStatusMessage(std::string message) {
        publish(m_statusMessage, std::move(message), &AppModel::statusMessageChanged);
    }

    // Runs `work` on the model's pool and hands its result to `finish` on the main thread:
    // none when the work threw. `work` captures values only, never the model; `finish`
    // does not run when the model is gone by then. `finish` always runs on a later turn of
    // the event loop, after every progress snapshot the work published (a continuation
    // attached with QFuture::then would run at once, inside this call, when the work is
    // already done, and before those snapshots). The returned future finishes after
    // `finish`.
    template <typename Work, typename Finish>
    QFuture<void> inBackground(Work work, Finish finish) {
        using Result = std::invoke_result_t<Work&>;
        auto promise = std::make_shared<QPromise<void>>();
        promise->start();
        QFuture<void> done = promise->future();
        QPointer<AppModel> guard(this);
        m_pool.start(
            [work = std::move(work), finish = std::move(finish), promise, guard]() mutable {
                std::optional<Result> outcome;
                try {
                    outcome = work();
                } catch (...) {
                }
                QMetaObject::invokeMethod(
                    guard.data(),
                    [finish, promise, outcome = std::move(outcome)]() mutable {
                        finish(std::move(outcome));
                        promise->finish();
                    },
                    Qt::QueuedConnection);
            });
        return done;
    }

    // A progress handler for an engine: from any thread, each snapshot becomes one queued
    // main-thread call that publishes it in `field` and then its message in statusMessage.
    // The handler holds the model only weakly.
    template <typename Snapshot>
    std::function<void(const Snapshot&)> progressForwarder(Snapshot AppModel::*field,
                                                           void (AppModel::*changed)()) {
        QPointer<AppModel> guard(this);
        return [guard, field, changed](const Snapshot& snapshot) {
            if (!guard)
                return;
            QMetaObject::invokeMethod(
                guard.data(),
                [guard, field, changed, snapshot] {
                    if (!guard)
                        return;
                    guard->publish(guard.data()->*field, snapshot, changed);
                    guard->setStatusMessage(snapshot.message);
                },
                Qt::QueuedConnection);
        };
    }

    // Start-up steps.
    void openStore();

    // The standard step every workflow ends with: stores the event (its message redacted)
    // and reloads the twelve newest. Failures are ignored.
    void recordEvent(ActivityEventKind kind, const std::string& title, const std::string& message,
                     SafetyState severity, AppSection localActionTarget);

    QFuture<void> runCheck(VerificationMode mode);

    // Placeholders published while nothing is stored.
    BackupJobSnapshot placeholderBackupJob(std::string message) const;
    VerificationRun placeholderVerification(VerificationMode mode, std::string message) const;

    // Constant after construction.
    AppEnvironment m_environment;
    std::shared_ptr<TallowmereDatabase> m_database;
    std::shared_ptr<ScanRepository> m_scanRepository;
    std::shared_ptr<ICloudScanRepository> m_iCloudScanRepository;
    std::shared_ptr<PhotosScanRepository> m_photosScanRepository;
    std::shared_ptr<BackupRepository> m_backupRepository;
    std::shared_ptr<VerificationRepository> m_verificationRepository;
    std::shared_ptr<ReportRepository> m_reportRepository;
    std::shared_ptr<ActivityRepository> m_activityRepository;
    std::shared_ptr<SettingsRepository> m_settingsRepository;
    std::shared_ptr<ReportGenerating> m_reportGenerator;
    std::shared_ptr<ICloudDriveScanner> m_scanner;
    std::shared_ptr<PhotosLibraryScanner> m_photosScanner;
    std::shared_ptr<BackupCoordinating> m_backupCoordinator;
    std::shared_ptr<LocalVerificationCoordinator> m_verificationCoordinator;
    TallowmereWebsiteConfiguration m_websiteConfiguration;
    std::unique_ptr<UpdateController> m_updateController;
    // Engine work runs here, so that the destructor can wait for it.
    QThreadPool m_pool;
    QFuture<void> m_startupDestinationCheck;

    // Published state; main thread only.
    std::string m_statusMessage = "Ready";
    std::optional<std::string> m_startupErrorMessage;
    DashboardSnapshot m_dashboardSnapshot = DashboardSnapshot::empty();
    std::vector<ReportSummary> m_reports;
    BackupJobSnapshot m_backupSnapshot;
    std::optional<BackupDestination> m_backupDestination;
    std::vector<BackupManifestItem> m_backupManifestItems;
    BackupProgressSnapshot m_backupProgress = BackupProgressSnapshot::idle();
    bool m_isBackupRunning = false;
    VerificationRun m_verificationSnapshot;
    VerificationRun m_restoreTestSnapshot;
    VerificationProgressSnapshot m_verificationProgress = VerificationProgressSnapshot::idle();
    std::vector<VerificationItemResult> m_verificationResults;
    bool m_isVerificationRunning = false;
    std::vector<ICloudScanRoot> m_iCloudScanRoots;
    std::optional<ICloudDriveScanSummary> m_iCloudSummary;
    std::vector<ICloudFileScanResult> m_iCloudFileResults;
    ScanProgressSnapshot m_scanProgress = ScanProgressSnapshot::idle();
    bool m_isScanning = false;
    std::optional<PhotosScanSummary> m_photosSummary;
    PhotosScanProgressSnapshot m_photosProgress = PhotosScanProgressSnapshot::idle();
    bool m_isScanningPhotos = false;
    std::optional<std::string> m_selectedPhotosLibraryPath;
    std::vector<LocalReportCard> m_reportCards;
    std::vector<ActivityEvent> m_activityEvents;
    std::vector<NextBestAction> m_nextBestActions;
    bool m_localReminderBackupCompleted = true;
    bool m_localReminderDriveMissing = true;
    int m_backupStaleReminderDays = 7;
    bool m_allowLocalBackupTestDestination = false;
    bool m_hasCompletedOnboarding = false;
};

}  // namespace tallowmere
