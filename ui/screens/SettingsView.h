#pragma once

#include "ui/components/TMScreen.h"

class QCheckBox;
class QLabel;
class QToolButton;

namespace tallowmere {

class AppModel;
class TMButton;

// The "Settings" screen: local reminders, the privacy note with the onboarding reset, the
// local-test-destination switch and the support actions. Every control calls one model
// operation and shows the model's value back; nothing is kept here. `model` must outlive
// the screen.
class SettingsView : public TMScreen {
    Q_OBJECT
public:
    static constexpr int kMinimumPanelWidth = 310;
    static constexpr int kPanelSpacing = 18;
    static constexpr int kMinimumStaleDays = 1;
    static constexpr int kMaximumStaleDays = 30;

    explicit SettingsView(AppModel& model, QWidget* parent = nullptr);

private:
    QWidget* makeRemindersPanel();
    QWidget* makePrivacyPanel();
    QWidget* makeTestModePanel();
    QWidget* makeSupportPanel();

    // Each shows the model's current value; connected straight to the change signals so
    // that a switch and its explanation change together, at once.
    void showReminders();
    void showStaleDays();
    void showTestMode();

    AppModel& m_model;
    QCheckBox* m_backupCompleted = nullptr;
    QCheckBox* m_driveMissing = nullptr;
    QLabel* m_staleDays = nullptr;
    QToolButton* m_staleDaysDown = nullptr;
    QToolButton* m_staleDaysUp = nullptr;
    QCheckBox* m_allowLocalTest = nullptr;
    QLabel* m_testModeText = nullptr;
};

}  // namespace tallowmere
