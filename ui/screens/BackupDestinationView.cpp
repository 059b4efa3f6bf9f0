#include "ui/screens/BackupDestinationView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "app/AppModel.h"
#include "core/platform/Formatting.h"
#include "core/secondcopy/LocalBackupDestinationPolicy.h"
#include "ui/components/CountView.h"
#include "ui/components/Divider.h"
#include "ui/components/ElidedLabel.h"
#include "ui/components/SymbolLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMButton.h"
#include "ui/components/TMHeader.h"
#include "ui/components/TMPanel.h"
#include "ui/components/TMStatusModule.h"
#include "ui/components/Text.h"
#include "ui/dialogs/FileChooser.h"
#include "ui/screens/MainThreadTask.h"
#include "ui/screens/PanelParts.h"
#include "ui/screens/RedrawScheduler.h"
#include "ui/theme/SecondCopyPresentation.h"

namespace tallowmere {
namespace {

QString count(const Formatting& formatting, std::int64_t value) {
    return toQString(formatting.count(value));
}

// One row of the manifest list: the status symbol, the item's path with its status at the
// right, where the copy goes and what happened.
QWidget* manifestRow(const BackupManifestItem& item, const QPalette& palette) {
    const QColor color = TMTheme::color(statusColor(item.status), palette);
    auto* row = new QWidget;
    row->setObjectName(QStringLiteral("manifestRow"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setSpacing(10);
    auto* symbol = new SymbolView(statusSymbol(item.status), color, 22);
    symbol->setObjectName(QStringLiteral("itemSymbol"));
    layout->addWidget(symbol, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto* firstLine = new QHBoxLayout;
    firstLine->setSpacing(10);
    auto* path = new ElidedLabel(Qt::ElideMiddle);
    path->setObjectName(QStringLiteral("itemPath"));
    TMTheme::styleLabel(path, TextStyle::headline, ThemeColor::label);
    path->setFullText(toQString(item.relativePath));
    firstLine->addWidget(path, 1);
    QLabel* status = makeLabel(toQString(displayName(item.status)), "itemStatus",
                               TextStyle::caption, ThemeColor::label, false);
    TMTheme::styleLabel(status, TextStyle::caption, color);
    firstLine->addWidget(status, 0, Qt::AlignRight);
    texts->addLayout(firstLine);
    auto* destination = new ElidedLabel(Qt::ElideMiddle);
    destination->setObjectName(QStringLiteral("itemDestination"));
    TMTheme::styleLabel(destination, TextStyle::caption, ThemeColor::secondaryLabel);
    destination->setFullText(toQString(item.destinationPath));
    texts->addWidget(destination);
    texts->addWidget(makeLabel(toQString(item.message), "itemMessage", TextStyle::callout,
                               ThemeColor::secondaryLabel));
    layout->addLayout(texts, 1);
    return row;
}

}  // namespace

QString destinationDetail(const std::optional<BackupDestination>& destination,
                          bool allowLocalTestDestination) {
    if (const auto warning =
            LocalBackupDestinationPolicy::warning(destination, allowLocalTestDestination))
        return toQString(*warning);
    if (!destination)
        return QStringLiteral("External backup destination not selected.");
    if (destination->warningMessage)
        return toQString(*destination->warningMessage);
    return QStringLiteral("Destination status: ") + toQString(displayName(destination->status)) +
           QLatin1Char('.');
}

BackupDestinationView::BackupDestinationView(AppModel& model, std::shared_ptr<FileChooser> chooser,
                                             QWidget* parent)
    : TMScreen(parent),
      m_model(model),
      m_chooser(std::move(chooser)),
      m_redraw(new RedrawScheduler([this] { redraw(); }, this)) {
    setObjectName(QStringLiteral("backupDestinationView"));
    addWidget(new ScreenHeader(
        QStringLiteral("Backup Destination"),
        QStringLiteral(
            "External-drive second copy setup, manifest preparation, and safe copying.")));

    auto* tiles = new QHBoxLayout;
    tiles->setSpacing(16);
    m_driveTile = new MetricView(QStringLiteral("Selected drive"), {}, {}, "externaldrive");
    m_driveTile->setObjectName(QStringLiteral("selectedDriveTile"));
    m_preparedTile =
        new MetricView(QStringLiteral("Prepared files"), {}, {}, "doc.badge.gearshape");
    m_preparedTile->setObjectName(QStringLiteral("preparedFilesTile"));
    tiles->addWidget(m_driveTile, 1);
    tiles->addWidget(m_preparedTile, 1);
    addLayout(tiles);

    addWidget(makeDestinationPanel());
    addWidget(makePreparationPanel());
    addWidget(makeSafetyNotesPanel());
    addWidget(makeManifestPanel());

    m_redraw->watch(m_model, {&AppModel::backupDestinationChanged, &AppModel::backupSnapshotChanged,
                              &AppModel::backupProgressChanged, &AppModel::isBackupRunningChanged,
                              &AppModel::allowLocalBackupTestDestinationChanged});
    connect(&m_model, &AppModel::backupManifestItemsChanged, this, [this] {
        m_itemsChanged = true;
        m_redraw->schedule();
    });
    redraw();
}

QWidget* BackupDestinationView::makeDestinationPanel() {
    auto* panel = new tallowmere::Panel;
    panel->setObjectName(QStringLiteral("destinationPanel"));
    m_destinationStatus = makeSemiboldLabel({}, "destinationStatus", TextStyle::caption,
                                            ThemeColor::secondaryLabel, false);
    panel->contentLayout()->addLayout(panelHeading(
        makeLabel(QStringLiteral("Destination"), "panelTitle", TextStyle::title3,
                  ThemeColor::label),
        makeLabel(QStringLiteral("Tallowmere will create and use only the Tallowmere Backup "
                                 "folder inside your selected destination."),
                  "panelSubtitle", TextStyle::callout, ThemeColor::secondaryLabel),
        m_destinationStatus));

    m_noDestination = makeLabel(QStringLiteral("No backup destination is selected."),
                                "noDestination", TextStyle::body, ThemeColor::secondaryLabel);
    m_path = new ElidedLabel(Qt::ElideMiddle);
    m_path->setObjectName(QStringLiteral("destinationPath"));
    TMTheme::styleLabel(m_path, TextStyle::caption, ThemeColor::secondaryLabel);
    m_available =
        makeLabel({}, "destinationAvailable", TextStyle::caption, ThemeColor::secondaryLabel);
    const QColor amber = TMTheme::color(ThemeColor::amber, palette());
    m_destinationWarning =
        new SymbolLabel("exclamationmark.triangle", {}, TextStyle::callout, amber);
    m_destinationWarning->setObjectName(QStringLiteral("destinationWarning"));
    m_policyWarning = new SymbolLabel("internaldrive", {}, TextStyle::callout, amber, true);
    m_policyWarning->setObjectName(QStringLiteral("policyWarning"));
    for (QWidget* widget :
         {static_cast<QWidget*>(m_noDestination), static_cast<QWidget*>(m_path),
          static_cast<QWidget*>(m_available), static_cast<QWidget*>(m_destinationWarning),
          static_cast<QWidget*>(m_policyWarning)}) {
        panel->addWidget(widget);
    }

    m_choose = new TMButton(QStringLiteral("Choose destination"), "folder.badge.plus",
                            TMButton::Kind::prominent);
    m_choose->setObjectName(QStringLiteral("chooseDestinationButton"));
    m_refresh =
        new TMButton(QStringLiteral("Refresh"), "arrow.clockwise", TMButton::Kind::bordered);
    m_refresh->setObjectName(QStringLiteral("refreshDestinationButton"));
    connect(m_choose, &QPushButton::clicked, this, &BackupDestinationView::chooseDestination);
    connect(m_refresh, &QPushButton::clicked, this, [this] {
        startMainThreadTask(&m_model,
                            [model = &m_model] { model->refreshBackupDestinationStatus(); });
    });
    panel->contentLayout()->addSpacing(2);
    panel->contentLayout()->addLayout(buttonRow({m_choose, m_refresh}));
    return panel;
}

QWidget* BackupDestinationView::makePreparationPanel() {
    auto* panel = new tallowmere::Panel;
    panel->setObjectName(QStringLiteral("preparationPanel"));
    m_jobMessage = makeLabel({}, "jobMessage", TextStyle::callout, ThemeColor::secondaryLabel);
    m_jobStatus =
        makeSemiboldLabel({}, "jobStatus", TextStyle::caption, ThemeColor::secondaryLabel, false);
    panel->contentLayout()->addLayout(
        panelHeading(makeLabel(QStringLiteral("Backup Preparation"), "panelTitle",
                               TextStyle::title3, ThemeColor::label),
                     m_jobMessage, m_jobStatus));

    auto* counts = new QHBoxLayout;
    counts->setSpacing(28);
    m_ready = new CountView(QStringLiteral("Ready"), {});
    m_copied = new CountView(QStringLiteral("Copied"), {});
    m_skipped = new CountView(QStringLiteral("Skipped"), {});
    m_conflicts = new CountView(QStringLiteral("Conflicts"), {});
    m_failed = new CountView(QStringLiteral("Failed"), {});
    for (CountView* view : {m_ready, m_copied, m_skipped, m_conflicts, m_failed})
        counts->addWidget(view);
    counts->addStretch(1);
    panel->contentLayout()->addLayout(counts);

    m_progress = new QWidget;
    m_progress->setObjectName(QStringLiteral("copyProgress"));
    auto* progressColumn = new QVBoxLayout(m_progress);
    progressColumn->setContentsMargins(0, 0, 0, 0);
    progressColumn->setSpacing(4);
    m_progressBar = new QProgressBar;
    m_progressBar->setObjectName(QStringLiteral("copyProgressBar"));
    m_progressBar->setTextVisible(false);
    m_progressBar->setFixedHeight(8);
    m_progressText = new ElidedLabel(Qt::ElideMiddle);
    m_progressText->setObjectName(QStringLiteral("copyProgressText"));
    TMTheme::styleLabel(m_progressText, TextStyle::caption, ThemeColor::secondaryLabel);
    progressColumn->addWidget(m_progressBar);
    progressColumn->addWidget(m_progressText);
    panel->addWidget(m_progress);

    m_copyWarning = new SymbolLabel("exclamationmark.triangle", {}, TextStyle::callout,
                                    TMTheme::color(ThemeColor::amber, palette()), true);
    m_copyWarning->setObjectName(QStringLiteral("copyWarning"));
    panel->addWidget(m_copyWarning);

    m_prepare = new TMButton(QStringLiteral("Prepare Backup"), "doc.badge.gearshape",
                             TMButton::Kind::bordered);
    m_prepare->setObjectName(QStringLiteral("prepareBackupButton"));
    m_start = new TMButton(QStringLiteral("Start Copy"), "play.fill", TMButton::Kind::prominent);
    m_start->setObjectName(QStringLiteral("startCopyButton"));
    m_pause = new TMButton(QStringLiteral("Pause"), "pause.fill", TMButton::Kind::bordered);
    m_pause->setObjectName(QStringLiteral("pauseCopyButton"));
    m_cancel = new TMButton(QStringLiteral("Cancel"), "xmark.circle", TMButton::Kind::bordered);
    m_cancel->setObjectName(QStringLiteral("cancelCopyButton"));
    connect(m_prepare, &QPushButton::clicked, this, [this] {
        startMainThreadTask(&m_model, [model = &m_model] { model->prepareBackup(); });
    });
    connect(m_start, &QPushButton::clicked, this, [this] {
        startMainThreadTask(&m_model, [model = &m_model] { model->startBackup(); });
    });
    connect(m_pause, &QPushButton::clicked, this, [this] {
        startMainThreadTask(&m_model, [model = &m_model] { model->pauseBackup(); });
    });
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        startMainThreadTask(&m_model, [model = &m_model] { model->cancelBackup(); });
    });
    panel->contentLayout()->addSpacing(2);
    panel->contentLayout()->addLayout(buttonRow({m_prepare, m_start, m_pause, m_cancel}));
    return panel;
}

QWidget* BackupDestinationView::makeSafetyNotesPanel() {
    auto* panel = new tallowmere::Panel;
    panel->setObjectName(QStringLiteral("safetyNotesPanel"));
    panel->addWidget(makeLabel(QStringLiteral("Safety Notes"), "panelTitle", TextStyle::title3,
                               ThemeColor::label));
    for (const char* note : {"Tallowmere will not delete or change your original files.",
                             "Cloud-only files must be downloaded before they can be copied.",
                             "Use the Verification screen to check that Tallowmere can read the "
                             "second copy."}) {
        panel->addWidget(
            makeLabel(QString::fromUtf8(note), "safetyNote", TextStyle::body, ThemeColor::label));
    }
    return panel;
}

QWidget* BackupDestinationView::makeManifestPanel() {
    auto* panel = new tallowmere::Panel;
    panel->setObjectName(QStringLiteral("manifestPanel"));
    panel->addWidget(makeLabel(QStringLiteral("Manifest Items"), "panelTitle", TextStyle::title3,
                               ThemeColor::label));
    m_noItems = makeLabel(
        QStringLiteral("Prepare a backup to see eligible, skipped, conflict, and copied items."),
        "noManifestItems", TextStyle::body, ThemeColor::secondaryLabel);
    panel->addWidget(m_noItems);
    m_items = new QWidget;
    m_items->setObjectName(QStringLiteral("manifestItems"));
    m_itemsLayout = new QVBoxLayout(m_items);
    m_itemsLayout->setContentsMargins(0, 0, 0, 0);
    m_itemsLayout->setSpacing(6);
    panel->addWidget(m_items);
    return panel;
}

void BackupDestinationView::chooseDestination() {
    if (!m_chooser)
        return;
    const std::optional<std::string> folder =
        m_chooser->choose({.title = "Choose a Backup Destination",
                           .prompt = "Use Folder",
                           .canChooseDirectories = true,
                           .canChooseFiles = false,
                           .canCreateDirectories = true},
                          this);
    if (!folder)
        return;
    startMainThreadTask(
        &m_model, [model = &m_model, path = *folder] { model->selectBackupDestination(path); });
}

void BackupDestinationView::redraw() {
    redrawDestination();
    redrawPreparation();
    if (m_itemsChanged) {
        m_itemsChanged = false;
        redrawManifestItems();
    }
}

void BackupDestinationView::redrawDestination() {
    const std::optional<BackupDestination>& destination = m_model.backupDestination();
    const bool allowLocal = m_model.allowLocalBackupTestDestination();
    m_driveTile->setValue(
        destination ? toQString(destination->displayName) : QStringLiteral("Not selected"),
        destinationDetail(destination, allowLocal));

    m_destinationStatus->setVisible(destination.has_value());
    m_noDestination->setVisible(!destination);
    m_path->setVisible(destination.has_value());
    m_available->setVisible(destination && destination->availableBytes);
    m_destinationWarning->setVisible(destination && destination->warningMessage);
    const auto policyWarning = LocalBackupDestinationPolicy::warning(destination, allowLocal);
    m_policyWarning->setVisible(policyWarning.has_value());
    if (policyWarning) {
        m_policyWarning->setContent(
            "internaldrive", toQString(*policyWarning),
            TMTheme::color(allowLocal ? ThemeColor::amber : ThemeColor::danger, palette()));
    }
    if (destination) {
        m_destinationStatus->setText(toQString(displayName(destination->status)));
        TMTheme::styleLabel(m_destinationStatus, TextStyle::caption,
                            TMTheme::color(statusColor(destination->status), palette()));
        setSemibold(m_destinationStatus);
        m_path->setFullText(destination->path ? toQString(*destination->path)
                                              : QStringLiteral("Path unavailable"));
        if (destination->availableBytes) {
            m_available->setText(
                toQString(m_model.formatting().byteCount(*destination->availableBytes)) +
                QStringLiteral(" available."));
        }
        if (destination->warningMessage) {
            m_destinationWarning->setContent("exclamationmark.triangle",
                                             toQString(*destination->warningMessage),
                                             TMTheme::color(ThemeColor::amber, palette()));
        }
    }
    m_refresh->setEnabled(destination.has_value());
}

void BackupDestinationView::redrawPreparation() {
    const BackupJobSnapshot& job = m_model.backupSnapshot();
    const BackupProgressSnapshot& progress = m_model.backupProgress();
    const std::optional<BackupDestination>& destination = m_model.backupDestination();
    const bool allowLocal = m_model.allowLocalBackupTestDestination();
    const bool running = m_model.isBackupRunning();
    const bool canStart = LocalBackupDestinationPolicy::canStartCopy(destination, allowLocal);

    m_preparedTile->setValue(count(m_model.formatting(), job.totalFiles),
                             toQString(m_model.formatting().byteCount(job.preparedBytes)) +
                                 QStringLiteral(" ready to copy."));

    m_jobMessage->setText(toQString(job.message));
    m_jobStatus->setText(toQString(displayName(job.status)));
    m_ready->setValue(count(m_model.formatting(), job.totalFiles));
    m_copied->setValue(count(m_model.formatting(), job.completedFiles));
    m_skipped->setValue(count(m_model.formatting(), job.skippedFiles));
    m_conflicts->setValue(count(m_model.formatting(), job.conflictFiles));
    m_failed->setValue(count(m_model.formatting(), job.failedFiles));

    m_progress->setVisible(progress.isRunning);
    if (progress.isRunning) {
        setProgress(m_progressBar, progress.completedFiles, progress.totalFiles);
        m_progressText->setFullText(toQString(progress.currentFile.value_or(progress.message)));
    }

    const bool showCopyWarning = destination.has_value() && !canStart;
    m_copyWarning->setVisible(showCopyWarning);
    if (showCopyWarning) {
        const auto warning = LocalBackupDestinationPolicy::warning(destination, allowLocal);
        m_copyWarning->setContent(
            "exclamationmark.triangle",
            warning ? toQString(*warning)
                    : QStringLiteral("Choose an available external destination before copying."),
            TMTheme::color(ThemeColor::amber, palette()));
    }

    m_prepare->setEnabled(!running && destination.has_value());
    m_start->setText(job.status == BackupJobStatus::paused ? QStringLiteral("Resume Copy")
                                                           : QStringLiteral("Start Copy"));
    m_start->setEnabled(!running && canStart);
    m_pause->setVisible(running);
    m_cancel->setVisible(running);
}

void BackupDestinationView::redrawManifestItems() {
    while (QLayoutItem* item = m_itemsLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const std::vector<BackupManifestItem>& items = m_model.backupManifestItems();
    m_noItems->setVisible(items.empty());
    m_items->setVisible(!items.empty());
    for (const BackupManifestItem& item : items) {
        m_itemsLayout->addWidget(manifestRow(item, palette()));
        m_itemsLayout->addWidget(new Divider);
    }
}

}  // namespace tallowmere
