#include "ui/RootView.h"

#include <QAction>
#include <QDialog>
#include <QEasingCurve>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QTimer>
#include <QVariantAnimation>

#include "app/AppModel.h"
#include "ui/navigation/AppSidebarView.h"
#include "ui/onboarding/OnboardingView.h"
#include "ui/screens/BackupDestinationView.h"
#include "ui/screens/ReportsView.h"
#include "ui/screens/SettingsView.h"
#include "ui/screens/VerificationView.h"
#include "ui/screens/dashboard/DashboardView.h"
#include "ui/screens/safety/ICloudDriveSafetyView.h"
#include "ui/screens/safety/PhotosSafetyView.h"
#include "ui/symbols/Symbols.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

// The sidebar slides and fades in and out in about a fifth of a second.
constexpr int kSidebarAnimationMilliseconds = 220;

}  // namespace

RootView::RootView(AppModel& model, std::shared_ptr<FileChooser> chooser, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_sidebar(new AppSidebarView),
      m_stack(new QStackedWidget),
      m_toggleSidebar(new QAction(this)),
      m_sidebarAnimation(new QVariantAnimation(this)) {
    setObjectName(QStringLiteral("rootView"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    m_stack->setObjectName(QStringLiteral("detailArea"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_sidebar);
    row->addWidget(m_stack, 1);

    for (const auto& entry : allCases<AppSection>()) {
        QWidget* view = nullptr;
        switch (entry.value) {
            case AppSection::dashboard:
                view = new DashboardView(model, [this](AppSection s) { setSelection(s); });
                break;
            case AppSection::photosSafety:
                view = new PhotosSafetyView(model, chooser);
                break;
            case AppSection::iCloudDriveSafety:
                view = new ICloudDriveSafetyView(model, chooser);
                break;
            case AppSection::backupDestination:
                view = new BackupDestinationView(model, chooser);
                break;
            case AppSection::verification:
                view = new VerificationView(model);
                break;
            case AppSection::reports:
                view = new ReportsView(model);
                break;
            case AppSection::settings:
                view = new SettingsView(model);
                break;
        }
        m_views[entry.value] = view;
        m_stack->addWidget(view);
    }
    connect(m_sidebar, &AppSidebarView::sectionClicked, this, &RootView::setSelection);

    m_toggleSidebar->setObjectName(QStringLiteral("toggleSidebarAction"));
    m_toggleSidebar->setIcon(Symbols::icon("sidebar.leading", TMTheme::color(ThemeColor::label)));
    m_toggleSidebar->setText(QStringLiteral("Hide sidebar"));
    m_toggleSidebar->setToolTip(QStringLiteral("Hide sidebar"));
    connect(m_toggleSidebar, &QAction::triggered, this,
            [this] { setSidebarVisible(!m_isSidebarVisible); });

    auto* fade = new QGraphicsOpacityEffect(m_sidebar);
    fade->setOpacity(1.0);
    fade->setEnabled(false);
    m_sidebar->setGraphicsEffect(fade);
    m_sidebarAnimation->setDuration(kSidebarAnimationMilliseconds);
    m_sidebarAnimation->setEasingCurve(QEasingCurve::OutCubic);
    connect(
        m_sidebarAnimation, &QVariantAnimation::valueChanged, this,
        [this, fade](const QVariant& value) {
            const double shown = value.toDouble();
            m_sidebar->setFixedWidth(static_cast<int>(std::lround(AppSidebarView::kWidth * shown)));
            fade->setOpacity(shown);
        });
    connect(m_sidebarAnimation, &QVariantAnimation::finished, this, [this, fade] {
        fade->setEnabled(false);
        m_sidebar->setFixedWidth(AppSidebarView::kWidth);
        m_sidebar->setVisible(m_isSidebarVisible);
    });

    m_onboardingPresenter = [&model](QWidget* parent) {
        return new OnboardingSheet(model, parent);
    };
    setSelection(AppSection::dashboard);
}

void RootView::setSelection(AppSection section) {
    const bool changed = section != m_selection;
    m_selection = section;
    m_sidebar->setSelection(section);
    m_stack->setCurrentWidget(m_views.at(section));
    if (changed)
        Q_EMIT selectionChanged(section);
}

void RootView::setSidebarVisible(bool visible) {
    if (visible == m_isSidebarVisible)
        return;
    m_isSidebarVisible = visible;
    const QString help = visible ? QStringLiteral("Hide sidebar") : QStringLiteral("Show sidebar");
    m_toggleSidebar->setText(help);
    m_toggleSidebar->setToolTip(help);

    const double from = m_sidebarAnimation->state() == QAbstractAnimation::Running
                            ? m_sidebarAnimation->currentValue().toDouble()
                            : (visible ? 0.0 : 1.0);
    m_sidebarAnimation->stop();
    m_sidebar->graphicsEffect()->setEnabled(true);
    m_sidebar->setVisible(true);
    m_sidebar->setSelection(m_selection);
    m_sidebarAnimation->setStartValue(from);
    m_sidebarAnimation->setEndValue(visible ? 1.0 : 0.0);
    m_sidebarAnimation->start();
}

QWidget* RootView::sectionView(AppSection section) const {
    return m_views.at(section);
}

void RootView::setSectionView(AppSection section, QWidget* view) {
    QWidget* old = m_views.at(section);
    const int index = m_stack->indexOf(old);
    m_stack->insertWidget(index, view);
    m_stack->removeWidget(old);
    old->deleteLater();
    m_views[section] = view;
    if (section == m_selection)
        m_stack->setCurrentWidget(view);
}

void RootView::setOnboardingPresenter(OnboardingPresenter presenter) {
    m_onboardingPresenter = std::move(presenter);
    updateOnboardingPresentation();
}

void RootView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_wasShown)
        return;
    m_wasShown = true;
    // The sheet needs a window on screen to attach to.
    QTimer::singleShot(0, this, [this] {
        m_canPresentOnboarding = true;
        updateOnboardingPresentation();
    });
}

void RootView::updateOnboardingPresentation() {
    if (!m_canPresentOnboarding || m_model.hasCompletedOnboarding() || m_onboardingSheet ||
        !m_onboardingPresenter)
        return;
    QDialog* sheet = m_onboardingPresenter(this);
    if (!sheet)
        return;
    m_onboardingSheet = sheet;
    connect(sheet, &QDialog::finished, this, &RootView::onboardingDismissed);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->open();
}

void RootView::onboardingDismissed() {
    m_canPresentOnboarding = false;
    if (m_onboardingSheet)
        m_onboardingSheet->deleteLater();
    m_onboardingSheet = nullptr;
    m_model.completeOnboarding();
}

}  // namespace tallowmere
