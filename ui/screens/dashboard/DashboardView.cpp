#include "ui/screens/dashboard/DashboardView.h"

#include <QHBoxLayout>
#include <QLabel>

#include "app/AppModel.h"
#include "core/dashboard/DashboardScoreExplainer.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMActivityTimeline.h"
#include "ui/components/TMButton.h"
#include "ui/components/TMHeader.h"
#include "ui/components/TMPanel.h"
#include "ui/components/Text.h"
#include "ui/screens/RedrawScheduler.h"
#include "ui/screens/dashboard/DashboardContent.h"
#include "ui/screens/dashboard/DashboardPanels.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {

DashboardView::DashboardView(AppModel& model, std::function<void(AppSection)> onNavigate,
                             QWidget* parent)
    : TMScreen(parent),
      m_model(model),
      m_onNavigate(std::move(onNavigate)),
      m_scheduler(new RedrawScheduler([this] { redraw(); }, this)),
      m_scanButton(
          new TMButton(QStringLiteral("Run Scan"), "arrow.clockwise", TMButton::Kind::prominent)),
      m_startupWarning(new TMPanel(16)),
      m_startupWarningText(new QLabel),
      m_banner(new DashboardHealthBanner),
      m_actions(new NextBestActionsView([this](const NextBestAction& a) { performAction(a); })),
      m_score(new ScoreBreakdownPanel),
      m_actionsAndScore(new ResponsiveRow(m_actions, m_score, kScorePanelWidth, kSideBySideWidth)),
      m_modules(new StatusModulesGrid),
      m_timeline(new TMActivityTimeline(model.formatting())) {
    setObjectName(QStringLiteral("dashboardView"));

    m_scanButton->setObjectName(QStringLiteral("scanButton"));
    connect(m_scanButton, &QPushButton::clicked, this, &DashboardView::pressScanButton);
    addWidget(new TMHeader(
        QStringLiteral("Command center"), QStringLiteral("Safety Dashboard"),
        QStringLiteral("A calm view of what is local, what needs attention, and what to do next."),
        m_scanButton));

    m_startupWarning->setObjectName(QStringLiteral("startupWarning"));
    const QColor amber = TMTheme::color(ThemeColor::amber);
    auto* warningSymbol = new SymbolView("exclamationmark.triangle", amber, 18);
    m_startupWarningText->setObjectName(QStringLiteral("startupWarningText"));
    TMTheme::styleLabel(m_startupWarningText, TextStyle::body, amber);
    m_startupWarningText->setWordWrap(true);
    auto* warningRow = new QHBoxLayout;
    warningRow->setSpacing(10);
    warningRow->addWidget(warningSymbol, 0, Qt::AlignTop);
    warningRow->addWidget(m_startupWarningText, 1);
    m_startupWarning->contentLayout()->addLayout(warningRow);
    addWidget(m_startupWarning);

    addWidget(m_banner);
    m_actionsAndScore->setObjectName(QStringLiteral("actionsAndScore"));
    addWidget(m_actionsAndScore);
    addWidget(m_modules);
    addWidget(m_timeline);

    m_scheduler->watch(model, {
                                  &AppModel::isScanningChanged,
                                  &AppModel::startupErrorMessageChanged,
                                  &AppModel::dashboardSnapshotChanged,
                                  &AppModel::backupDestinationChanged,
                                  &AppModel::iCloudSummaryChanged,
                                  &AppModel::photosSummaryChanged,
                                  &AppModel::backupSnapshotChanged,
                                  &AppModel::verificationSnapshotChanged,
                                  &AppModel::allowLocalBackupTestDestinationChanged,
                                  &AppModel::nextBestActionsChanged,
                                  &AppModel::activityEventsChanged,
                              });
    redraw();
}

void DashboardView::redraw() {
    const Formatting& formatting = m_model.formatting();
    if (m_model.isScanning()) {
        m_scanButton->setText(QStringLiteral("Cancel Scan"));
        m_scanButton->setSymbol("xmark.circle");
    } else {
        m_scanButton->setText(QStringLiteral("Run Scan"));
        m_scanButton->setSymbol("arrow.clockwise");
    }

    const auto& startupError = m_model.startupErrorMessage();
    m_startupWarning->setVisible(startupError.has_value());
    m_startupWarningText->setText(startupError ? toQString(*startupError) : QString());

    const DashboardSnapshot& snapshot = m_model.dashboardSnapshot();
    m_banner->setContent(snapshot, m_model.backupDestination(), formatting);
    m_actions->setActions(m_model.nextBestActions());
    m_score->setContent(
        snapshot.safetyScore, snapshot.overallState,
        DashboardScoreExplainer::makeBreakdown(
            m_model.iCloudSummary(), m_model.photosSummary(), m_model.backupDestination(),
            m_model.backupSnapshot(), m_model.verificationSnapshot(), formatting));
    m_modules->setModules(DashboardContent::statusModules(
        {snapshot, m_model.iCloudSummary(), m_model.photosSummary(), m_model.backupDestination(),
         m_model.backupSnapshot(), m_model.verificationSnapshot(),
         m_model.allowLocalBackupTestDestination()},
        formatting));
    m_timeline->setEvents(m_model.activityEvents());
}

void DashboardView::pressScanButton() {
    if (m_model.isScanning()) {
        m_model.cancelScan();
    } else {
        m_model.runScan(ScanTrigger::manual);
    }
}

void DashboardView::performAction(const NextBestAction& action) {
    m_model.perform(action);
    if (m_onNavigate)
        m_onNavigate(sectionOpenedAfter(action.kind));
}

}  // namespace tallowmere
