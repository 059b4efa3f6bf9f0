#include "app/AppModel.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

#include <sqlite3.h>

#include "app/LocalBackupCoordinator.h"
#include "app/LocaleFormatting.h"
#include "platform/linux/FolderPhotoLibrary.h"
#include "platform/linux/LinuxBookmarks.h"
#include "platform/linux/LinuxFileSystem.h"

namespace tallowmere {
namespace {

// The production model and what the user interface provides for it; main thread only.
QPointer<AppModel> g_sharedModel;
std::shared_ptr<UserPrompts> g_sharedPrompts;
std::shared_ptr<DesktopServices> g_sharedDesktop;

std::shared_ptr<TallowmereDatabase> applicationSupportStore(const FileSystem& fileSystem) {
    const auto folder = fileSystem.applicationSupportDirectory();
    if (!folder)
        throw DatabaseError("No Application Support folder is known", 0);
    return TallowmereDatabase::applicationSupportDatabase(*folder);
}

// SQLite opens a file it may not write read-only without complaint; every later save
// would then fail, so such a store counts as one that could not be opened.
bool isReadOnly(const TallowmereDatabase& database) {
    return database.queue()->read(
        [](SQLite::Database& db) { return sqlite3_db_readonly(db.getHandle(), "main") == 1; });
}

void fillMissingCollaborators(AppEnvironment& environment) {
    if (!environment.fileSystem)
        environment.fileSystem = std::make_shared<LinuxFileSystem>();
    if (!environment.bookmarks)
        environment.bookmarks = std::make_shared<LinuxBookmarks>();
    if (!environment.photoLibrary)
        environment.photoLibrary = std::make_shared<FolderPhotoLibrary>(*environment.fileSystem);
    if (!environment.clock)
        environment.clock = std::make_shared<SystemClock>();
    if (!environment.formatting)
        environment.formatting = std::make_shared<LocaleFormatting>();
    if (!environment.desktop)
        environment.desktop = std::make_shared<XdgDesktopServices>();
}

}  // namespace

AppModel& AppModel::shared() {
    Q_ASSERT(QCoreApplication::instance() != nullptr);
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    if (!g_sharedModel) {
        auto environment = AppEnvironment::production();
        environment.prompts = g_sharedPrompts;
        if (g_sharedDesktop)
            environment.desktop = g_sharedDesktop;
        g_sharedModel = new AppModel(std::move(environment), QCoreApplication::instance());
    }
    return *g_sharedModel;
}

void AppModel::provideUserInterfaceServices(std::shared_ptr<UserPrompts> prompts,
                                            std::shared_ptr<DesktopServices> desktop) {
    g_sharedPrompts = std::move(prompts);
    g_sharedDesktop = std::move(desktop);
}

AppModel::AppModel(AppEnvironment environment, QObject* parent)
    : QObject(parent), m_environment(std::move(environment)) {
    fillMissingCollaborators(m_environment);
    // Enough threads that a pause or cancel request never waits behind a running scan,
    // copy and verification.
    m_pool.setMaxThreadCount(8);

    // 1. Initial values of the fields that depend on the clock or on chance.
    m_backupSnapshot = placeholderBackupJob("No backup has been started yet.");
    m_verificationSnapshot =
        placeholderVerification(VerificationMode::quick, "No verification has been run yet.");
    m_restoreTestSnapshot =
        placeholderVerification(VerificationMode::restoreTest, "No restore test has been run yet.");

    // 2 and 3. The store, or temporary storage.
    std::optional<std::string> startupError;
    try {
        auto database = m_environment.openStore
                            ? m_environment.openStore()
                            : applicationSupportStore(*m_environment.fileSystem);
        if (!database || isReadOnly(*database))
            throw DatabaseError("The store cannot be written", SQLITE_READONLY);
        m_database = std::move(database);
    } catch (...) {
        // The reason is not shown; the file is left as it is.
        m_database = TallowmereDatabase::inMemory();
        startupError = kTemporaryStorageMessage;
    }

    // 4. Repositories over the one connection, then the engines.
    const auto& queue = m_database->queue();
    const auto& clock = m_environment.clock;
    m_scanRepository = std::make_shared<ScanRepository>(queue);
    m_iCloudScanRepository = std::make_shared<ICloudScanRepository>(queue, clock);
    m_photosScanRepository = std::make_shared<PhotosScanRepository>(queue);
    m_backupRepository = std::make_shared<BackupRepository>(queue, clock);
    m_verificationRepository = std::make_shared<VerificationRepository>(queue, clock);
    m_reportRepository = std::make_shared<ReportRepository>(queue);
    m_activityRepository = std::make_shared<ActivityRepository>(queue);
    m_settingsRepository = std::make_shared<SettingsRepository>(queue, clock);
    const auto& bookmarks = m_environment.bookmarks;
    m_scanner = std::make_shared<ICloudDriveScanner>(
        *m_environment.fileSystem, ICloudScanLimits{.maxEntries = 50'000, .maxDepth = 64}, clock,
        ScanRootAccess{
            .resolveBookmark = [bookmarks](const Bytes& bookmark) -> std::optional<std::string> {
                const auto resolved = bookmarks->resolve(bookmark);
                return resolved ? std::optional(resolved->path) : std::nullopt;
            },
            .startAccessing =
                [bookmarks](const std::string& path) { return bookmarks->startAccessing(path); },
            .stopAccessing =
                [bookmarks](const std::string& path) { bookmarks->stopAccessing(path); },
        });
    m_photosScanner = std::make_shared<PhotosLibraryScanner>(*m_environment.fileSystem,
                                                             *m_environment.photoLibrary, clock);
    m_backupCoordinator = std::make_shared<LocalBackupCoordinator>(
        *m_backupRepository, *m_iCloudScanRepository, m_environment.fileSystem,
        m_environment.bookmarks, clock, m_environment.formatting);
    LocalVerificationCoordinator::Options verificationOptions;
    verificationOptions.resolveDestination =
        [bookmarks](const BackupDestination& destination) -> std::optional<std::string> {
        if (!destination.bookmarkData)
            return std::nullopt;
        const auto resolved = bookmarks->resolve(*destination.bookmarkData);
        return resolved ? std::optional(resolved->path) : std::nullopt;
    };
    m_verificationCoordinator = std::make_shared<LocalVerificationCoordinator>(
        *m_backupRepository, *m_verificationRepository, m_environment.fileSystem, clock,
        std::move(verificationOptions));
    m_reportGenerator = std::make_shared<StubReportGenerator>(clock);

    // 5. Web pages.
    m_websiteConfiguration =
        TallowmereWebsiteConfiguration::fromEnvironment(m_environment.environment);

    // 6. Self-update, only with a complete configuration and a framework to run it.
    if (const auto configuration = UpdateController::configuration(m_environment.bundle);
        configuration && m_environment.makeSelfUpdater) {
        if (auto updater = m_environment.makeSelfUpdater(*configuration))
            m_updateController = std::make_unique<UpdateController>(std::move(updater));
    }

    // 7. The storage warning.
    publish(m_startupErrorMessage, std::move(startupError), &AppModel::startupErrorMessageChanged);

    // 8. Engine progress reaches the published fields on the main thread.
    m_scanner->setProgressHandler(
        progressForwarder(&AppModel::m_scanProgress, &AppModel::scanProgressChanged));
    m_backupCoordinator->setProgressHandler(
        progressForwarder(&AppModel::m_backupProgress, &AppModel::backupProgressChanged));
    m_verificationCoordinator->setProgressHandler(progressForwarder(
        &AppModel::m_verificationProgress, &AppModel::verificationProgressChanged));
    m_photosScanner->setProgressHandler(
        progressForwarder(&AppModel::m_photosProgress, &AppModel::photosProgressChanged));

    // 9. Everything from the store.
    refreshFromStore();

    // 10. The destination may have come or gone since the last run. Its outcome arrives on
    // a later turn of the event loop.
    m_startupDestinationCheck = refreshBackupDestinationStatus();
}

AppModel::~AppModel() {
    m_scanner->setProgressHandler(nullptr);
    m_scanner->cancelScan();
    m_photosScanner->setProgressHandler(nullptr);
    m_verificationCoordinator->setProgressHandler(nullptr);
    m_backupCoordinator->setProgressHandler(nullptr);
    // A copy stops at its next file boundary as a paused job that the next start resumes.
    if (m_isBackupRunning)
        m_backupCoordinator->pauseBackup();
    m_pool.waitForDone();
}

std::string AppModel::homeDirectoryPath() const {
    auto home = m_environment.fileSystem->homeDirectory();
    return home ? std::move(home).value() : std::string();
}

BackupJobSnapshot AppModel::placeholderBackupJob(std::string message) const {
    BackupJobSnapshot job;
    job.id = Uuid::random();
    job.status = BackupJobStatus::notStarted;
    job.message = std::move(message);
    return job;
}

VerificationRun AppModel::placeholderVerification(VerificationMode mode,
                                                  std::string message) const {
    VerificationRun run;
    run.id = Uuid::random();
    run.mode = mode;
    run.status = VerificationStatus::notRun;
    run.startedAt = m_environment.clock->now();
    run.message = std::move(message);
    return run;
}

void AppModel::recordEvent(ActivityEventKind kind, const std::string& title,
                           const std::string& message, SafetyState severity,
                           AppSection localActionTarget) {
    try {
        m_activityRepository->insert(ActivityEvent(Uuid::random(), kind, title, message, severity,
                                                   std::string(rawValue(localActionTarget)),
                                                   m_environment.clock->now()));
        publish(m_activityEvents, m_activityRepository->fetchRecent(12),
                &AppModel::activityEventsChanged);
    } catch (const std::exception&) {
        // A timeline entry that cannot be stored never fails the workflow that made it.
    }
}

}  // namespace tallowmere
