#include "ui/onboarding/OnboardingView.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/AppModel.h"
#include "ui/components/SymbolLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TMButton.h"
#include "ui/components/Text.h"
#include "ui/screens/MainThreadTask.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {

StepCapsules::StepCapsules(int count, QWidget* parent) : QWidget(parent), m_count(count) {
    setObjectName(QStringLiteral("stepCapsules"));
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void StepCapsules::setCurrent(int step) {
    m_current = step;
    update();
}

QColor StepCapsules::capsuleColor(int index) const {
    return TMTheme::color(index <= m_current ? ThemeColor::trust : ThemeColor::separator,
                          palette());
}

void StepCapsules::paintEvent(QPaintEvent*) {
    if (m_count < 1)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const double width = (this->width() - kSpacing * (m_count - 1)) / double(m_count);
    for (int i = 0; i < m_count; ++i) {
        painter.setBrush(capsuleColor(i));
        const QRectF capsule(i * (width + kSpacing), 0, width, kHeight);
        painter.drawRoundedRect(capsule, kHeight / 2.0, kHeight / 2.0);
    }
}

OnboardingView::OnboardingView(AppModel& model, std::function<void()> dismiss, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_dismiss(std::move(dismiss)),
      m_capsules(new StepCapsules(static_cast<int>(onboardingStepNames().size()))),
      m_symbolSlot(new QVBoxLayout),
      m_title(new QLabel),
      m_subtitle(new QLabel),
      m_points(new QWidget),
      m_pointsLayout(new QVBoxLayout(m_points)),
      m_left(new TMButton({}, {}, TMButton::Kind::bordered)),
      m_primary(new TMButton({}, {}, TMButton::Kind::prominent)) {
    setObjectName(QStringLiteral("onboardingView"));
    OnboardingHandlers handlers;
    // Each starts its scan without waiting for it and shows the next step at once.
    handlers.runICloudScan = [this] {
        // Wired once the model offers runScan(firstRun).
        showStep(m_step + 1);
    };
    handlers.runPhotosScan = [this] {
        startMainThreadTask(&m_model, [model = &m_model] { model->runPhotosScan(); });
        showStep(m_step + 1);
    };
    m_steps = onboardingSteps(handlers);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(36, 30, 36, 28);
    column->setSpacing(0);
    column->addWidget(m_capsules);
    column->addSpacing(34);

    m_symbolSlot->setContentsMargins(0, 0, 0, 0);
    column->addLayout(m_symbolSlot);
    column->addSpacing(18);

    m_title->setObjectName(QStringLiteral("onboardingTitle"));
    TMTheme::styleLabel(m_title, TextStyle::largeTitle, ThemeColor::label);
    QFont titleFont = m_title->font();
    titleFont.setWeight(QFont::DemiBold);
    m_title->setFont(titleFont);
    m_title->setWordWrap(true);
    column->addWidget(m_title);
    column->addSpacing(10);

    m_subtitle->setObjectName(QStringLiteral("onboardingSubtitle"));
    TMTheme::styleLabel(m_subtitle, TextStyle::body, ThemeColor::secondaryLabel);
    QFont subtitleFont = m_subtitle->font();
    subtitleFont.setPointSizeF(subtitleFont.pointSizeF() * 1.1);
    m_subtitle->setFont(subtitleFont);
    m_subtitle->setWordWrap(true);
    column->addWidget(m_subtitle);
    column->addSpacing(22);

    m_points->setObjectName(QStringLiteral("onboardingPoints"));
    m_pointsLayout->setContentsMargins(0, 0, 0, 0);
    m_pointsLayout->setSpacing(10);
    column->addWidget(m_points);
    column->addStretch(1);

    m_left->setObjectName(QStringLiteral("onboardingLeftButton"));
    m_primary->setObjectName(QStringLiteral("onboardingPrimaryButton"));
    m_primary->setDefault(true);
    connect(m_left, &QPushButton::clicked, this, &OnboardingView::leftPressed);
    connect(m_primary, &QPushButton::clicked, this, &OnboardingView::primaryPressed);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addWidget(m_left);
    buttons->addStretch(1);
    buttons->addWidget(m_primary);
    column->addLayout(buttons);

    showStep(0);
}

void OnboardingView::showStep(int step) {
    m_step = std::clamp(step, 0, static_cast<int>(m_steps.size()) - 1);
    const OnboardingStep& shown = current();
    m_capsules->setCurrent(m_step);

    delete m_symbol;
    m_symbol =
        new SymbolTile(shown.systemImage, TMTheme::color(ThemeColor::trust, palette()), 54, 32);
    m_symbol->setObjectName(QStringLiteral("onboardingSymbol"));
    m_symbolSlot->addWidget(m_symbol, 0, Qt::AlignLeft);

    m_title->setText(toQString(shown.title));
    m_subtitle->setText(toQString(shown.subtitle));
    while (QLayoutItem* item = m_pointsLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const QColor secondary = TMTheme::color(ThemeColor::secondaryLabel, palette());
    for (const std::string& point : shown.points) {
        auto* label =
            new SymbolLabel("checkmark.circle.fill", toQString(point), TextStyle::body, secondary);
        label->setObjectName(QStringLiteral("onboardingPoint"));
        m_pointsLayout->addWidget(label);
    }

    m_left->setText(m_step == 0 ? QStringLiteral("Skip for now") : QStringLiteral("Back"));
    m_primary->setText(toQString(shown.primaryTitle));
    m_primary->setSymbol(shown.primaryImage);
}

void OnboardingView::leftPressed() {
    if (m_step == 0)
        finish();
    else
        showStep(m_step - 1);
}

void OnboardingView::primaryPressed() {
    const OnboardingStep& shown = current();
    if (shown.primaryAction && shown.primaryAction->handler) {
        shown.primaryAction->handler();
        return;
    }
    if (m_step + 1 == static_cast<int>(m_steps.size()))
        finish();
    else
        showStep(m_step + 1);
}

void OnboardingView::finish() {
    m_model.completeOnboarding();
    if (m_dismiss)
        m_dismiss();
}

OnboardingSheet::OnboardingSheet(AppModel& model, QWidget* parent)
    : QDialog(parent), m_view(new OnboardingView(model, [this] { accept(); })) {
    setObjectName(QStringLiteral("onboardingSheet"));
    setWindowTitle(QStringLiteral("Welcome to Tallowmere"));
    setWindowModality(Qt::WindowModal);
    setFixedSize(kWidth, kHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    // Escape, the close button and the buttons all end here; a second call is harmless.
    connect(this, &QDialog::finished, &model, [&model] { model.completeOnboarding(); });
}

OnboardingPresenter::OnboardingPresenter(AppModel& model, QWidget* window)
    : QObject(window), m_model(model), m_window(window) {
    setObjectName(QStringLiteral("onboardingPresenter"));
    window->installEventFilter(this);
    connect(&m_model, &AppModel::hasCompletedOnboardingChanged, this, &OnboardingPresenter::update);
    if (window->isVisible())
        scheduleFirstPresentation();
}

bool OnboardingPresenter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Show)
        scheduleFirstPresentation();
    return QObject::eventFilter(watched, event);
}

void OnboardingPresenter::scheduleFirstPresentation() {
    if (m_scheduled)
        return;
    // The sheet may come once the window is on screen: on the next turn of the loop.
    m_scheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_canPresent = true;
        update();
    });
}

void OnboardingPresenter::update() {
    if (!m_canPresent || m_sheet || m_model.hasCompletedOnboarding())
        return;
    m_sheet = new OnboardingSheet(m_model, m_window);
    m_sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_sheet, &QDialog::finished, this, [this] { m_canPresent = false; });
    m_sheet->open();
}

}  // namespace tallowmere
