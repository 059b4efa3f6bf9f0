#include "ui/screens/safety/PhotosSafetyView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/AppModel.h"
#include "ui/components/AdaptiveGridLayout.h"
#include "ui/components/DetailRow.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMBadge.h"
#include "ui/components/TMButton.h"
#include "ui/components/TMHeader.h"
#include "ui/components/TMPanel.h"
#include "ui/components/TMStatusModule.h"
#include "ui/components/Text.h"
#include "ui/dialogs/FileChooser.h"
#include "ui/screens/RedrawScheduler.h"
#include "ui/screens/ScreenParts.h"
#include "ui/screens/safety/SafetyScreenContent.h"

namespace tallowmere {
namespace {

const char* const kMetricNames[] = {"metricAuthorization", "metricLibraryItems",
                                    "metricPhotosVideos", "metricLibraryPackage"};

DetailRow* detailRow(const char* title, const char* objectName) {
    auto* row = new DetailRow(QLatin1String(title), {});
    row->setObjectName(QLatin1String(objectName));
    return row;
}

// A heading and lines of secondary text.
Panel* listPanel(const char* objectName, const QString& title,
                 std::initializer_list<const char*> lines) {
    auto* panel = new tallowmere::Panel;
    panel->setObjectName(QLatin1String(objectName));
    panel->addWidget(ScreenParts::heading(title, "listHeading"));
    for (const char* line : lines) {
        panel->addWidget(ScreenParts::label(QLatin1String(line), "listLine", TextStyle::body,
                                            ThemeColor::secondaryLabel));
    }
    panel->contentLayout()->addStretch(1);
    return panel;
}

}  // namespace

PhotosSafetyView::PhotosSafetyView(AppModel& model, std::shared_ptr<FileChooser> chooser,
                                   QWidget* parent)
    : TMScreen(parent),
      m_model(model),
      m_chooser(std::move(chooser)),
      m_scheduler(new RedrawScheduler([this] { redraw(); }, this)) {
    setObjectName(QStringLiteral("photosSafetyView"));

    auto* choose =
        new TMButton(QStringLiteral("Choose Library"), "photo.stack", TMButton::Kind::bordered);
    choose->setObjectName(QStringLiteral("chooseLibraryButton"));
    connect(choose, &QPushButton::clicked, this, &PhotosSafetyView::chooseLibrary);
    m_scanButton =
        new TMButton(QStringLiteral("Scan Photos"), "arrow.clockwise", TMButton::Kind::prominent);
    m_scanButton->setObjectName(QStringLiteral("scanPhotosButton"));
    connect(m_scanButton, &QPushButton::clicked, this, [this] { m_model.runPhotosScan(); });
    auto* headerRow = new QHBoxLayout;
    headerRow->setSpacing(10);
    headerRow->addWidget(new ScreenHeader(QStringLiteral("Photos Safety"),
                                          QStringLiteral("Read-only Photos metadata, library "
                                                         "package size, and honest restore-risk "
                                                         "context.")),
                         1);
    headerRow->addWidget(choose, 0, Qt::AlignVCenter);
    headerRow->addWidget(m_scanButton, 0, Qt::AlignVCenter);
    addLayout(headerRow);

    auto* metrics = new QWidget;
    metrics->setObjectName(QStringLiteral("metricGrid"));
    auto* grid =
        new AdaptiveGridLayout(kMetricMinimumWidth, kMetricSpacing, kMetricSpacing, metrics);
    const auto initial = SafetyScreenContent::photosMetrics(std::nullopt, model.formatting());
    for (std::size_t i = 0; i < m_metrics.size(); ++i) {
        m_metrics[i] = new MetricView(toQString(initial[i].title), {}, {}, initial[i].systemImage);
        m_metrics[i]->setObjectName(QLatin1String(kMetricNames[i]));
        grid->addWidget(m_metrics[i]);
    }
    addWidget(metrics);

    addWidget(makeScanningPanel());
    addWidget(makeStatusPanel());
    addWidget(makeDetailsPanel());
    addWidget(makeKnownAndUnknown());

    m_scheduler->watch(model, {
                                  &AppModel::photosSummaryChanged,
                                  &AppModel::photosProgressChanged,
                                  &AppModel::isScanningPhotosChanged,
                                  &AppModel::selectedPhotosLibraryPathChanged,
                                  &AppModel::dashboardSnapshotChanged,
                              });
    redraw();
}

QWidget* PhotosSafetyView::makeScanningPanel() {
    m_scanningPanel = new tallowmere::Panel;
    m_scanningPanel->setObjectName(QStringLiteral("photosScanningPanel"));
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(ScreenParts::heading(QStringLiteral("Scanning Photos"), "scanningHeading"));
    m_scanningStage =
        ScreenParts::label({}, "scanningStage", TextStyle::callout, ThemeColor::secondaryLabel);
    texts->addWidget(m_scanningStage);
    auto* busy = new QProgressBar;
    busy->setObjectName(QStringLiteral("scanningIndicator"));
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    busy->setFixedSize(90, 6);
    auto* top = new QHBoxLayout;
    top->addLayout(texts, 1);
    top->addWidget(busy, 0, Qt::AlignTop);
    m_scanningPanel->contentLayout()->addLayout(top);

    m_progressBar = new QProgressBar;
    m_progressBar->setObjectName(QStringLiteral("photosProgressBar"));
    m_progressBar->setTextVisible(false);
    m_progressBar->setFixedHeight(8);
    m_scanningPanel->addWidget(m_progressBar);
    m_progressMessage =
        ScreenParts::label({}, "progressMessage", TextStyle::caption, ThemeColor::secondaryLabel);
    m_scanningPanel->addWidget(m_progressMessage);
    return m_scanningPanel;
}

QWidget* PhotosSafetyView::makeStatusPanel() {
    auto* panel = new tallowmere::Panel;
    panel->setObjectName(QStringLiteral("currentStatusPanel"));
    m_statusPill = new StatusPill(SafetyState::unknown);
    m_statusPill->setObjectName(QStringLiteral("photosStatusPill"));
    auto* headingRow = new QHBoxLayout;
    headingRow->addWidget(ScreenParts::heading(QStringLiteral("Current status"), "statusHeading"),
                          1);
    headingRow->addWidget(m_statusPill, 0, Qt::AlignVCenter);
    panel->contentLayout()->addLayout(headingRow);
    m_statusMessage =
        ScreenParts::label({}, "photosStatusMessage", TextStyle::body, ThemeColor::label);
    panel->addWidget(m_statusMessage);
    QLabel* metadataOnly =
        ScreenParts::label(QStringLiteral("Tallowmere reads Photos metadata only."), "metadataOnly",
                           TextStyle::headline, ThemeColor::label);
    panel->addWidget(metadataOnly);
    panel->addWidget(ScreenParts::label(
        QStringLiteral("Tallowmere does not delete, edit, upload, organize, or force iCloud "
                       "Photos downloads."),
        "readOnlyPromise", TextStyle::body, ThemeColor::secondaryLabel));
    return panel;
}

QWidget* PhotosSafetyView::makeDetailsPanel() {
    auto* panel = new tallowmere::Panel;
    panel->setObjectName(QStringLiteral("libraryDetailsPanel"));
    panel->addWidget(ScreenParts::heading(QStringLiteral("Library details"), "detailsHeading"));
    m_selectedPackage = detailRow("Selected package", "detailSelectedPackage");
    m_detectedPackage = detailRow("Detected package", "detailDetectedPackage");
    m_packageSize = detailRow("Estimated package size", "detailPackageSize");
    m_dateRange = detailRow("Date range", "detailDateRange");

    m_dateRangeNote = new QWidget;
    m_dateRangeNote->setObjectName(QStringLiteral("dateRangeNote"));
    const QColor orange = TMTheme::color(ThemeColor::amber);
    m_dateRangeNoteText = new QLabel;
    m_dateRangeNoteText->setObjectName(QStringLiteral("dateRangeNoteText"));
    TMTheme::styleLabel(m_dateRangeNoteText, TextStyle::callout, orange);
    m_dateRangeNoteText->setWordWrap(true);
    auto* noteRow = new QHBoxLayout(m_dateRangeNote);
    noteRow->setContentsMargins(0, 0, 0, 0);
    noteRow->setSpacing(8);
    noteRow->addWidget(new SymbolView("calendar.badge.exclamationmark", orange, 16), 0,
                       Qt::AlignTop);
    noteRow->addWidget(m_dateRangeNoteText, 1);

    m_favorites = detailRow("Favorites", "detailFavorites");
    m_screenshots = detailRow("Screenshots", "detailScreenshots");
    m_hiddenItems = detailRow("Hidden items", "detailHiddenItems");
    m_resources = detailRow("Approximate resources", "detailResources");
    m_videoDuration = detailRow("Video duration", "detailVideoDuration");
    for (QWidget* row : std::initializer_list<QWidget*>{
             m_selectedPackage, m_detectedPackage, m_packageSize, m_dateRange, m_dateRangeNote,
             m_favorites, m_screenshots, m_hiddenItems, m_resources, m_videoDuration}) {
        panel->addWidget(row);
    }
    return panel;
}

QWidget* PhotosSafetyView::makeKnownAndUnknown() {
    auto* row = new QWidget;
    row->setObjectName(QStringLiteral("knownAndUnknown"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    layout->addWidget(
        listPanel("canVerifyPanel", QStringLiteral("What Tallowmere can verify"),
                  {"Photos access status.", "Visible Photos asset counts and basic metadata.",
                   "Whether a local Photos library package exists at the selected or default "
                   "location.",
                   "Estimated local library package size when macOS allows metadata reads."}),
        1);
    layout->addWidget(
        listPanel("remainsUnknownPanel", QStringLiteral("What remains unknown"),
                  {"Whether every original is stored locally.",
                   "Whether iCloud Photos optimized storage is enabled.",
                   "Server-side iCloud Photos sync state.",
                   "Photos backup/export is intentionally not part of this milestone."}),
        1);
    return row;
}

void PhotosSafetyView::redraw() {
    const Formatting& formatting = m_model.formatting();
    const auto& summary = m_model.photosSummary();

    const bool scanning = m_model.isScanningPhotos();
    m_scanButton->setText(scanning ? QStringLiteral("Scanning") : QStringLiteral("Scan Photos"));
    m_scanButton->setEnabled(!scanning);

    const auto metrics = SafetyScreenContent::photosMetrics(summary, formatting);
    for (std::size_t i = 0; i < metrics.size(); ++i)
        m_metrics[i]->setValue(toQString(metrics[i].value), toQString(metrics[i].detail));

    const PhotosScanProgressSnapshot& progress = m_model.photosProgress();
    m_scanningPanel->setVisible(progress.isRunning);
    m_scanningStage->setText(toQString(progress.currentStage.value_or(progress.message)));
    const auto bar = SafetyScreenContent::photosProgressBar(progress.scannedAssetCount,
                                                            progress.totalAssetCount);
    m_progressBar->setRange(0, bar.maximum);
    m_progressBar->setValue(bar.value);
    m_progressMessage->setText(toQString(progress.message));

    const DashboardSnapshot& snapshot = m_model.dashboardSnapshot();
    const auto finding =
        std::find_if(snapshot.findings.begin(), snapshot.findings.end(),
                     [](const SafetyFinding& f) { return f.domain == SafetyDomain::photos; });
    const bool hasFinding = finding != snapshot.findings.end();
    m_statusPill->setState(hasFinding ? finding->state : SafetyState::unknown);
    m_statusMessage->setText(hasFinding
                                 ? toQString(finding->message)
                                 : QStringLiteral("Photos safety has not been scanned yet."));

    const auto details = SafetyScreenContent::libraryDetails(
        summary, m_model.selectedPhotosLibraryPath(), m_model.now(), formatting);
    m_selectedPackage->setValue(toQString(details.selectedPackage));
    m_detectedPackage->setValue(toQString(details.detectedPackage));
    m_packageSize->setValue(toQString(details.estimatedPackageSize));
    m_dateRange->setValue(toQString(details.dateRange));
    m_dateRangeNote->setVisible(details.dateRangeNote.has_value());
    m_dateRangeNoteText->setText(toQString(details.dateRangeNote.value_or(std::string())));
    m_favorites->setValue(toQString(details.favorites));
    m_screenshots->setValue(toQString(details.screenshots));
    m_hiddenItems->setValue(toQString(details.hiddenItems));
    m_resources->setValue(toQString(details.approximateResources));
    m_videoDuration->setValue(toQString(details.videoDuration));
}

void PhotosSafetyView::chooseLibrary() {
    if (!m_chooser)
        return;
    // On this system a Photos library is a folder (the Pictures folder by default), so the
    // panel chooses folders.
    const auto library = m_chooser->choose({.title = "Choose Photos Library",
                                            .prompt = "Choose",
                                            .canChooseDirectories = true,
                                            .canChooseFiles = false,
                                            .canCreateDirectories = false},
                                           this);
    if (library)
        m_model.selectPhotosLibrary(*library);
}

}  // namespace tallowmere
