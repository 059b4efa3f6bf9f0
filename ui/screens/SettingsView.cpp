#include "ui/screens/SettingsView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AppModel.h"
#include "ui/components/AdaptiveGrid.h"
#include "ui/components/TMButton.h"
#include "ui/components/TMHeader.h"
#include "ui/components/TMPanel.h"
#include "ui/screens/PanelParts.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

QLabel* panelTitle(const QString& text) {
    auto* label = new QLabel(text);
    label->setObjectName(QStringLiteral("panelTitle"));
    TMTheme::styleLabel(label, TextStyle::title3, ThemeColor::label);
    return label;
}

QLabel* bodyText(const QString& text, const char* name) {
    auto* label = new QLabel(text);
    label->setObjectName(QLatin1String(name));
    TMTheme::styleLabel(label, TextStyle::body, ThemeColor::secondaryLabel);
    label->setWordWrap(true);
    return label;
}

QCheckBox* toggle(const QString& text, const char* name) {
    auto* box = new QCheckBox(text);
    box->setObjectName(QLatin1String(name));
    return box;
}

QToolButton* stepButton(const QString& text, const char* name) {
    auto* button = new QToolButton;
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setFixedSize(28, 24);
    return button;
}

TMPanel* panel(const char* name) {
    auto* result = new TMPanel(18);
    result->setObjectName(QLatin1String(name));
    result->contentLayout()->setSpacing(12);
    return result;
}

}  // namespace

SettingsView::SettingsView(AppModel& model, QWidget* parent) : TMScreen(parent), m_model(model) {
    setObjectName(QStringLiteral("settingsView"));
    addWidget(new TMHeader(QStringLiteral("Preferences"), QStringLiteral("Settings"),
                           QStringLiteral("Local reminders, privacy controls, advanced test mode, "
                                          "and support exports.")));
    auto* grid = new AdaptiveGrid(kMinimumPanelWidth, kPanelSpacing);
    grid->setObjectName(QStringLiteral("settingsGrid"));
    grid->addWidget(makeRemindersPanel());
    grid->addWidget(makePrivacyPanel());
    grid->addWidget(makeTestModePanel());
    addWidget(grid);
    addWidget(makeSupportPanel());

    connect(&m_model, &AppModel::localReminderBackupCompletedChanged, this,
            &SettingsView::showReminders);
    connect(&m_model, &AppModel::localReminderDriveMissingChanged, this,
            &SettingsView::showReminders);
    connect(&m_model, &AppModel::backupStaleReminderDaysChanged, this,
            &SettingsView::showStaleDays);
    connect(&m_model, &AppModel::allowLocalBackupTestDestinationChanged, this,
            &SettingsView::showTestMode);
    showReminders();
    showStaleDays();
    showTestMode();
}

QWidget* SettingsView::makeRemindersPanel() {
    TMPanel* reminders = panel("remindersPanel");
    reminders->addWidget(panelTitle(QStringLiteral("Local reminders")));
    reminders->addWidget(bodyText(
        QStringLiteral("These settings shape local dashboard reminders only. Tallowmere does not "
                       "request macOS notification permission in this beta."),
        "remindersText"));
    m_backupCompleted =
        toggle(QStringLiteral("Backup completed reminder"), "backupCompletedToggle");
    m_driveMissing = toggle(QStringLiteral("Backup drive missing reminder"), "driveMissingToggle");
    connect(m_backupCompleted, &QCheckBox::toggled, this,
            [this](bool on) { m_model.setLocalReminderBackupCompleted(on); });
    connect(m_driveMissing, &QCheckBox::toggled, this,
            [this](bool on) { m_model.setLocalReminderDriveMissing(on); });
    reminders->addWidget(m_backupCompleted);
    reminders->addWidget(m_driveMissing);

    auto* stepper = new QHBoxLayout;
    stepper->setSpacing(4);
    m_staleDays = new QLabel;
    m_staleDays->setObjectName(QStringLiteral("staleDaysLabel"));
    m_staleDaysDown = stepButton(QStringLiteral("\u2212"), "staleDaysDown");
    m_staleDaysUp = stepButton(QStringLiteral("+"), "staleDaysUp");
    m_staleDaysDown->setToolTip(QStringLiteral("Fewer days"));
    m_staleDaysUp->setToolTip(QStringLiteral("More days"));
    // A stored value outside the range (written by another tool) comes back into it on
    // the first step.
    connect(m_staleDaysDown, &QToolButton::clicked, this, [this] {
        m_model.setBackupStaleReminderDays(
            std::min(m_model.backupStaleReminderDays() - 1, kMaximumStaleDays));
    });
    connect(m_staleDaysUp, &QToolButton::clicked, this, [this] {
        m_model.setBackupStaleReminderDays(
            std::max(m_model.backupStaleReminderDays() + 1, kMinimumStaleDays));
    });
    stepper->addWidget(m_staleDays, 1);
    stepper->addWidget(m_staleDaysDown);
    stepper->addWidget(m_staleDaysUp);
    reminders->contentLayout()->addLayout(stepper);
    reminders->contentLayout()->addStretch(1);
    return reminders;
}

QWidget* SettingsView::makePrivacyPanel() {
    TMPanel* privacy = panel("privacyPanel");
    privacy->addWidget(panelTitle(QStringLiteral("Privacy")));
    privacy->addWidget(bodyText(
        QStringLiteral("Tallowmere does not upload photos, files, filenames, folder paths, scan "
                       "results, manifests, checksums, or reports unless a future explicit opt-in "
                       "adds more diagnostics."),
        "privacyText"));
    auto* reset = new TMButton(QStringLiteral("Show onboarding on next launch"), {},
                               TMButton::Kind::bordered);
    reset->setObjectName(QStringLiteral("resetOnboardingButton"));
    connect(reset, &QPushButton::clicked, this, [this] { m_model.resetOnboarding(); });
    privacy->contentLayout()->addLayout(buttonRow({reset}));
    privacy->contentLayout()->addStretch(1);
    return privacy;
}

QWidget* SettingsView::makeTestModePanel() {
    TMPanel* testMode = panel("testModePanel");
    testMode->addWidget(panelTitle(QStringLiteral("Advanced / Test Mode")));
    m_allowLocalTest =
        toggle(QStringLiteral("Allow local test backup destinations"), "allowLocalTestToggle");
    connect(m_allowLocalTest, &QCheckBox::toggled, this,
            [this](bool on) { m_model.setAllowLocalBackupTestDestination(on); });
    testMode->addWidget(m_allowLocalTest);
    m_testModeText = bodyText(
        QStringLiteral("Keep this off for real backups. When enabled, Tallowmere may copy to an "
                       "internal folder for local testing only."),
        "testModeText");
    testMode->addWidget(m_testModeText);
    testMode->contentLayout()->addStretch(1);
    return testMode;
}

QWidget* SettingsView::makeSupportPanel() {
    TMPanel* support = panel("supportPanel");
    support->addWidget(panelTitle(QStringLiteral("Support and updates")));
    support->addWidget(
        bodyText(QStringLiteral("Support diagnostics are privacy-safe by default and omit local "
                                "paths, Photos metadata, manifests, checksums, reports, files, and "
                                "photos."),
                 "supportText"));
    auto* updates = new TMButton(QStringLiteral("Check for Updates"), "arrow.down.circle",
                                 TMButton::Kind::bordered);
    updates->setObjectName(QStringLiteral("checkForUpdatesButton"));
    auto* contact = new TMButton(QStringLiteral("Contact Support"), "questionmark.circle",
                                 TMButton::Kind::bordered);
    contact->setObjectName(QStringLiteral("contactSupportButton"));
    auto* diagnostics = new TMButton(QStringLiteral("Export Diagnostics"), "square.and.arrow.down",
                                     TMButton::Kind::bordered);
    diagnostics->setObjectName(QStringLiteral("exportDiagnosticsButton"));
    connect(updates, &QPushButton::clicked, this, [this] { m_model.checkForUpdates(); });
    connect(contact, &QPushButton::clicked, this, [this] { m_model.openSupportPage(); });
    connect(diagnostics, &QPushButton::clicked, this,
            [this] { m_model.exportSupportDiagnostics(); });
    support->contentLayout()->addLayout(buttonRow({updates, contact, diagnostics}));
    return support;
}

void SettingsView::showReminders() {
    const QSignalBlocker blockCompleted(m_backupCompleted);
    const QSignalBlocker blockMissing(m_driveMissing);
    m_backupCompleted->setChecked(m_model.localReminderBackupCompleted());
    m_driveMissing->setChecked(m_model.localReminderDriveMissing());
}

void SettingsView::showStaleDays() {
    const int days = m_model.backupStaleReminderDays();
    m_staleDays->setText(QStringLiteral("Backup stale after %1 days").arg(days));
    m_staleDaysDown->setEnabled(days > kMinimumStaleDays);
    m_staleDaysUp->setEnabled(days < kMaximumStaleDays);
}

void SettingsView::showTestMode() {
    const bool allowed = m_model.allowLocalBackupTestDestination();
    {
        const QSignalBlocker block(m_allowLocalTest);
        m_allowLocalTest->setChecked(allowed);
    }
    TMTheme::styleLabel(m_testModeText, TextStyle::body,
                        allowed ? ThemeColor::amber : ThemeColor::secondaryLabel);
}

}  // namespace tallowmere
