#include "ui/screens/safety/ICloudDriveSafetyView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "app/AppModel.h"
#include "ui/components/AdaptiveGridLayout.h"
#include "ui/components/Divider.h"
#include "ui/components/ElidedLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMButton.h"
#include "ui/components/TMHeader.h"
#include "ui/components/TMPanel.h"
#include "ui/components/TMStatusModule.h"
#include "ui/components/Text.h"
#include "ui/dialogs/FileChooser.h"
#include "ui/screens/RedrawScheduler.h"
#include "ui/screens/ScreenParts.h"
#include "ui/screens/safety/ICloudFileResultsList.h"

namespace tallowmere {
namespace {

const char* const kMetricNames[] = {"metricScannedFiles", "metricLocalFiles",
                                    "metricCloudOnlyFiles", "metricWaitingItems"};

// A count in headline type above its label in small secondary text.
QWidget* progressCount(const QString& title, QLabel*& value) {
    auto* cell = new QWidget;
    cell->setObjectName(QStringLiteral("progressCount"));
    auto* column = new QVBoxLayout(cell);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    value = ScreenParts::label(QStringLiteral("0"), "progressCountValue", TextStyle::headline,
                               ThemeColor::label, false);
    column->addWidget(value);
    column->addWidget(ScreenParts::label(title, "progressCountLabel", TextStyle::caption,
                                         ThemeColor::secondaryLabel, false));
    return cell;
}

}  // namespace

ICloudDriveSafetyView::ICloudDriveSafetyView(AppModel& model, std::shared_ptr<FileChooser> chooser,
                                             QWidget* parent)
    : TMScreen(parent),
      m_model(model),
      m_chooser(std::move(chooser)),
      m_scheduler(new RedrawScheduler([this] { redraw(); }, this)) {
    setObjectName(QStringLiteral("iCloudDriveSafetyView"));
    addWidget(new ScreenHeader(
        QStringLiteral("iCloud Drive Safety"),
        QStringLiteral(
            "Cloud-only files, waiting uploads, waiting downloads, and unknown states.")));

    auto* metrics = new QWidget;
    metrics->setObjectName(QStringLiteral("metricGrid"));
    auto* grid =
        new AdaptiveGridLayout(kMetricMinimumWidth, kMetricSpacing, kMetricSpacing, metrics);
    const auto initial = SafetyScreenContent::iCloudMetrics(std::nullopt, model.formatting());
    for (std::size_t i = 0; i < m_metrics.size(); ++i) {
        m_metrics[i] = new MetricView(toQString(initial[i].title), {}, {}, initial[i].systemImage);
        m_metrics[i]->setObjectName(QLatin1String(kMetricNames[i]));
        grid->addWidget(m_metrics[i]);
    }
    addWidget(metrics);

    m_cloudOnlyPanel = new tallowmere::Panel;
    m_cloudOnlyPanel->setObjectName(QStringLiteral("cloudOnlyPanel"));
    auto* cloudHeading = new QHBoxLayout;
    cloudHeading->setSpacing(8);
    cloudHeading->addWidget(
        new SymbolView("icloud.and.arrow.down", TMTheme::color(ThemeColor::amber), 18));
    cloudHeading->addWidget(
        ScreenParts::label(QStringLiteral("Cloud-only files need a local copy before backup."),
                           "cloudOnlyHeading", TextStyle::headline, ThemeColor::label),
        1);
    m_cloudOnlyPanel->contentLayout()->addLayout(cloudHeading);
    m_cloudOnlyPanel->addWidget(ScreenParts::label(
        QStringLiteral("These files may only exist in iCloud right now. Open Finder, choose the "
                       "files or folders you care about, and use Download Now before preparing "
                       "a backup."),
        "cloudOnlyText", TextStyle::body, ThemeColor::label));
    m_cloudOnlyPanel->addWidget(
        ScreenParts::label(QStringLiteral("Tallowmere does not force downloads or change your "
                                          "files."),
                           "cloudOnlyCaption", TextStyle::caption, ThemeColor::secondaryLabel));
    addWidget(m_cloudOnlyPanel);

    addWidget(makeScanningPanel());
    addWidget(makeScanFoldersPanel());

    auto* note = new tallowmere::Panel;
    note->setObjectName(QStringLiteral("diagnosticNote"));
    note->addWidget(ScreenParts::heading(QStringLiteral("Diagnostic note"), "noteHeading"));
    note->addWidget(ScreenParts::label(
        QStringLiteral("Tallowmere can verify local file state for items it can inspect. Some "
                       "iCloud server-side issues cannot be fully diagnosed from your Mac."),
        "noteText", TextStyle::body, ThemeColor::secondaryLabel));
    note->addWidget(ScreenParts::label(QStringLiteral("Tallowmere did not modify your files."),
                                       "noteDidNotModify", TextStyle::body,
                                       ThemeColor::secondaryLabel));
    addWidget(note);

    addWidget(makeResultsPanel());

    m_scheduler->watch(model, {
                                  &AppModel::iCloudSummaryChanged,
                                  &AppModel::iCloudFileResultsChanged,
                                  &AppModel::scanProgressChanged,
                                  &AppModel::isScanningChanged,
                                  &AppModel::iCloudScanRootsChanged,
                              });
    redraw();
}

QWidget* ICloudDriveSafetyView::makeScanningPanel() {
    m_scanningPanel = new tallowmere::Panel;
    m_scanningPanel->setObjectName(QStringLiteral("scanningPanel"));
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(
        ScreenParts::heading(QStringLiteral("Scanning iCloud Drive"), "scanningHeading"));
    m_scanningDetail =
        ScreenParts::label({}, "scanningDetail", TextStyle::callout, ThemeColor::secondaryLabel);
    texts->addWidget(m_scanningDetail);
    auto* cancel = new TMButton(QStringLiteral("Cancel"), "xmark.circle", TMButton::Kind::bordered);
    cancel->setObjectName(QStringLiteral("cancelScanButton"));
    connect(cancel, &QPushButton::clicked, this, &ICloudDriveSafetyView::cancelScan);
    auto* top = new QHBoxLayout;
    top->addLayout(texts, 1);
    top->addWidget(cancel, 0, Qt::AlignTop);
    m_scanningPanel->contentLayout()->addLayout(top);

    auto* busy = new QProgressBar;
    busy->setObjectName(QStringLiteral("scanningIndicator"));
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    busy->setFixedHeight(6);
    m_scanningPanel->addWidget(busy);

    auto* counts = new QHBoxLayout;
    counts->setSpacing(28);
    const char* titles[] = {"Scanned", "Local", "Cloud-only", "Unknown"};
    for (std::size_t i = 0; i < m_progressCounts.size(); ++i)
        counts->addWidget(progressCount(QLatin1String(titles[i]), m_progressCounts[i]));
    counts->addStretch(1);
    m_scanningPanel->contentLayout()->addLayout(counts);
    return m_scanningPanel;
}

QWidget* ICloudDriveSafetyView::makeScanFoldersPanel() {
    auto* panel = new tallowmere::Panel;
    panel->setObjectName(QStringLiteral("scanFoldersPanel"));
    auto* add =
        new TMButton(QStringLiteral("Add folder"), "folder.badge.plus", TMButton::Kind::bordered);
    add->setObjectName(QStringLiteral("addFolderButton"));
    connect(add, &QPushButton::clicked, this, &ICloudDriveSafetyView::addFolder);
    m_runScanButton =
        new TMButton(QStringLiteral("Run scan"), "arrow.clockwise", TMButton::Kind::prominent);
    m_runScanButton->setObjectName(QStringLiteral("runScanButton"));
    connect(m_runScanButton, &QPushButton::clicked, this,
            [this] { m_model.runScan(ScanTrigger::manual); });
    auto* headingRow = new QHBoxLayout;
    headingRow->setSpacing(8);
    headingRow->addWidget(ScreenParts::heading(QStringLiteral("Scan Folders"), "foldersHeading"),
                          1);
    headingRow->addWidget(add);
    headingRow->addWidget(m_runScanButton);
    panel->contentLayout()->addLayout(headingRow);

    m_rootsEmpty =
        ScreenParts::label(QStringLiteral("No iCloud Drive folders are selected. Add a "
                                          "folder to start a read-only scan."),
                           "scanRootsEmpty", TextStyle::body, ThemeColor::secondaryLabel);
    panel->addWidget(m_rootsEmpty);
    m_rootRows = new QVBoxLayout;
    m_rootRows->setSpacing(8);
    panel->contentLayout()->addLayout(m_rootRows);
    return panel;
}

QWidget* ICloudDriveSafetyView::makeResultsPanel() {
    auto* panel = new tallowmere::Panel;
    panel->setObjectName(QStringLiteral("fileResultsPanel"));
    panel->addWidget(ScreenParts::heading(QStringLiteral("Recent File Results"), "resultsHeading"));
    m_resultsEmpty =
        ScreenParts::label(QStringLiteral("Run a scan to see file-level iCloud Drive results."),
                           "fileResultsEmpty", TextStyle::body, ThemeColor::secondaryLabel);
    panel->addWidget(m_resultsEmpty);
    m_results = new ICloudFileResultsList;
    panel->addWidget(m_results);
    return panel;
}

void ICloudDriveSafetyView::redraw() {
    const Formatting& formatting = m_model.formatting();
    const auto& summary = m_model.iCloudSummary();
    const auto metrics = SafetyScreenContent::iCloudMetrics(summary, formatting);
    for (std::size_t i = 0; i < metrics.size(); ++i)
        m_metrics[i]->setValue(toQString(metrics[i].value), toQString(metrics[i].detail));
    m_cloudOnlyPanel->setVisible(summary && summary->cloudOnlyCount >= 1);

    const ScanProgressSnapshot& progress = m_model.scanProgress();
    m_scanningPanel->setVisible(progress.isRunning);
    m_scanningDetail->setText(toQString(progress.currentRoot.value_or(progress.message)));
    const std::int64_t counts[] = {progress.scannedItemCount, progress.localAvailableCount,
                                   progress.cloudOnlyCount, progress.unknownCount};
    for (std::size_t i = 0; i < m_progressCounts.size(); ++i)
        m_progressCounts[i]->setText(toQString(formatting.count(counts[i])));

    const bool scanning = m_model.isScanning();
    m_runScanButton->setText(scanning ? QStringLiteral("Scanning") : QStringLiteral("Run scan"));
    m_runScanButton->setEnabled(!scanning);

    showScanRoots(
        SafetyScreenContent::scanRootRows(m_model.iCloudScanRoots(), m_model.homeDirectoryPath()));

    const auto& results = m_model.iCloudFileResults();
    m_resultsEmpty->setVisible(results.empty());
    m_results->setVisible(!results.empty());
    m_results->setResults(results);
}

void ICloudDriveSafetyView::showScanRoots(
    const std::vector<SafetyScreenContent::ScanRootRow>& rows) {
    if (m_shownRoots == rows)
        return;
    m_shownRoots = rows;
    ScreenParts::clear(m_rootRows);
    m_rootsEmpty->setVisible(rows.empty());
    const QColor secondary = TMTheme::color(ThemeColor::secondaryLabel);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& entry = rows[i];
        if (i > 0)
            m_rootRows->addWidget(new Divider);
        auto* row = new QWidget;
        row->setObjectName(QStringLiteral("scanRootRow"));
        auto* symbol = new SymbolView(entry.systemImage, secondary, 20);
        symbol->setObjectName(QStringLiteral("rootSymbol"));

        auto* texts = new QVBoxLayout;
        texts->setSpacing(1);
        texts->addWidget(ScreenParts::label(toQString(entry.name), "rootName", TextStyle::headline,
                                            ThemeColor::label, false));
        auto* path = new ElidedLabel(Qt::ElideMiddle);
        path->setObjectName(QStringLiteral("rootPath"));
        TMTheme::styleLabel(path, TextStyle::caption, ThemeColor::secondaryLabel);
        path->setFullText(toQString(entry.root.path));
        texts->addWidget(path);

        QLabel* detail = ScreenParts::label(toQString(entry.detail), "rootDetail",
                                            TextStyle::caption, ThemeColor::secondaryLabel, false);
        QFont semibold = detail->font();
        semibold.setWeight(QFont::DemiBold);
        detail->setFont(semibold);

        auto* remove = new TMButton({}, "minus.circle", TMButton::Kind::borderless);
        remove->setObjectName(QStringLiteral("removeRootButton"));
        remove->setToolTip(QStringLiteral("Remove from Tallowmere scan list"));
        remove->setAccessibleName(QStringLiteral("Remove from Tallowmere scan list"));
        const ICloudScanRoot root = entry.root;
        connect(remove, &QPushButton::clicked, this,
                [this, root] { m_model.removeScanRoot(root); });

        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 4, 0, 4);
        layout->setSpacing(10);
        layout->addWidget(symbol, 0, Qt::AlignVCenter);
        layout->addLayout(texts, 1);
        layout->addWidget(detail, 0, Qt::AlignVCenter);
        layout->addWidget(remove, 0, Qt::AlignVCenter);
        m_rootRows->addWidget(row);
    }
}

void ICloudDriveSafetyView::addFolder() {
    if (!m_chooser)
        return;
    const auto folder = m_chooser->choose({.title = "Choose a Folder to Scan",
                                           .prompt = "Add Folder",
                                           .canChooseDirectories = true,
                                           .canChooseFiles = false,
                                           .canCreateDirectories = false},
                                          this);
    if (folder)
        m_model.addScanRoot(*folder);
}

void ICloudDriveSafetyView::cancelScan() {
    m_model.cancelScan();
}

}  // namespace tallowmere
