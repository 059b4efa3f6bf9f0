#include "ui/screens/SettingsView.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTest>
#include <QToolButton>

#include "persistence/SettingsRepository.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/components/AdaptiveGrid.h"
#include "ui/components/TMButton.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

using namespace testing;

class SettingsViewTest : public ::testing::Test {
protected:
    std::optional<std::string> stored(const std::string& key) {
        return SettingsRepository(fixture.database().queue(), std::make_shared<FixedClock>())
            .string(key);
    }

    template <typename T>
    T* child(SettingsView& view, const char* name) {
        T* found = view.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    ModelFixture fixture;
};

TEST_F(SettingsViewTest, ShowsTheHeaderPanelsAndTheModelsValues) {
    fixture.setSetting("localReminderDriveMissing", "false");
    fixture.setSetting("backupStaleReminderDays", "14");
    fixture.refresh();
    SettingsView view(fixture.model());
    showAt(view, {1100, 900});

    EXPECT_EQ(textOf(view, "headerEyebrow"), "Preferences");
    EXPECT_EQ(textOf(view, "headerTitle"), "Settings");
    EXPECT_EQ(textOf(view, "headerSubtitle"),
              "Local reminders, privacy controls, advanced test mode, and support exports.");
    EXPECT_TRUE(child<QCheckBox>(view, "backupCompletedToggle")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(view, "driveMissingToggle")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(view, "allowLocalTestToggle")->isChecked());
    EXPECT_EQ(textOf(view, "staleDaysLabel"), "Backup stale after 14 days");
    EXPECT_EQ(textOf(view, "remindersText"),
              "These settings shape local dashboard reminders only. Tallowmere does not request "
              "macOS notification permission in this beta.");
    EXPECT_EQ(textOf(view, "supportText"),
              "Support diagnostics are privacy-safe by default and omit local paths, Photos "
              "metadata, manifests, checksums, reports, files, and photos.");
    // Three panels side by side at this width, one under the other in a narrow window.
    auto* grid = child<AdaptiveGrid>(view, "settingsGrid");
    EXPECT_EQ(grid->columnCount(), 3);
    view.resize(560, 900);
    QApplication::processEvents();
    EXPECT_EQ(grid->columnCount(), 1);
}

TEST_F(SettingsViewTest, TogglesWriteTheirSettingAtOnce) {
    SettingsView view(fixture.model());
    showAt(view, {1100, 900});

    QTest::mouseClick(child<QCheckBox>(view, "backupCompletedToggle"), Qt::LeftButton);
    EXPECT_FALSE(fixture.model().localReminderBackupCompleted());
    EXPECT_EQ(stored("localReminderBackupCompleted"), "false");

    QTest::mouseClick(child<QCheckBox>(view, "driveMissingToggle"), Qt::LeftButton);
    EXPECT_FALSE(fixture.model().localReminderDriveMissing());
    EXPECT_EQ(stored("localReminderDriveMissing"), "false");

    QTest::mouseClick(child<QCheckBox>(view, "backupCompletedToggle"), Qt::LeftButton);
    EXPECT_TRUE(fixture.model().localReminderBackupCompleted());
    EXPECT_EQ(stored("localReminderBackupCompleted"), "true");
}

TEST_F(SettingsViewTest, StaleDaysStepperStaysWithinOneToThirty) {
    struct Case {
        const char* storedDays;
        const char* button;
        int expectedDays;
        bool downEnabled;
        bool upEnabled;
    };
    const Case cases[] = {
        {"7", "staleDaysUp", 8, true, true},
        {"29", "staleDaysUp", 30, true, false},
        {"2", "staleDaysDown", 1, false, true},
        // Written by another tool: the first step brings it back into the range.
        {"45", "staleDaysDown", 30, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.storedDays);
        fixture.setSetting("backupStaleReminderDays", c.storedDays);
        fixture.refresh();
        SettingsView view(fixture.model());
        showAt(view, {1100, 900});

        QTest::mouseClick(child<QToolButton>(view, c.button), Qt::LeftButton);

        EXPECT_EQ(fixture.model().backupStaleReminderDays(), c.expectedDays);
        EXPECT_EQ(stored("backupStaleReminderDays"), std::to_string(c.expectedDays));
        EXPECT_EQ(textOf(view, "staleDaysLabel"),
                  QStringLiteral("Backup stale after %1 days").arg(c.expectedDays));
        EXPECT_EQ(child<QToolButton>(view, "staleDaysDown")->isEnabled(), c.downEnabled);
        EXPECT_EQ(child<QToolButton>(view, "staleDaysUp")->isEnabled(), c.upEnabled);
    }
}

TEST_F(SettingsViewTest, TestModeExplanationTurnsAmberTheMomentTheSwitchIsOn) {
    SettingsView view(fixture.model());
    showAt(view, {1100, 900});
    auto* text = child<QLabel>(view, "testModeText");
    const auto ink = [text] {
        return text->palette().color(QPalette::WindowText);
    };
    EXPECT_EQ(text->text(),
              "Keep this off for real backups. When enabled, Tallowmere may copy to an internal "
              "folder for local testing only.");
    EXPECT_EQ(ink(), TMTheme::color(ThemeColor::secondaryLabel));

    // No event loop turn between the click and the check.
    QTest::mouseClick(child<QCheckBox>(view, "allowLocalTestToggle"), Qt::LeftButton);
    EXPECT_TRUE(fixture.model().allowLocalBackupTestDestination());
    EXPECT_EQ(ink(), TMTheme::color(ThemeColor::amber));
    EXPECT_EQ(fixture.model().statusMessage(),
              "Local test destinations are enabled for backup copying. Use an external drive for "
              "a real second copy.");

    QTest::mouseClick(child<QCheckBox>(view, "allowLocalTestToggle"), Qt::LeftButton);
    EXPECT_FALSE(fixture.model().allowLocalBackupTestDestination());
    EXPECT_EQ(ink(), TMTheme::color(ThemeColor::secondaryLabel));
}

TEST_F(SettingsViewTest, FollowsASettingChangedElsewhere) {
    SettingsView view(fixture.model());
    showAt(view, {1100, 900});
    fixture.model().setAllowLocalBackupTestDestination(true);
    fixture.model().setBackupStaleReminderDays(30);
    EXPECT_TRUE(child<QCheckBox>(view, "allowLocalTestToggle")->isChecked());
    EXPECT_EQ(textOf(view, "staleDaysLabel"), "Backup stale after 30 days");
    EXPECT_FALSE(child<QToolButton>(view, "staleDaysUp")->isEnabled());
}

TEST_F(SettingsViewTest, ShowOnboardingAgainClearsTheCompletedFlag) {
    fixture.model().completeOnboarding();
    SettingsView view(fixture.model());
    showAt(view, {1100, 900});
    auto* reset = child<TMButton>(view, "resetOnboardingButton");
    EXPECT_EQ(reset->text(), "Show onboarding on next launch");

    QTest::mouseClick(reset, Qt::LeftButton);

    EXPECT_FALSE(fixture.model().hasCompletedOnboarding());
    EXPECT_EQ(stored("hasCompletedOnboarding"), "false");
}

TEST_F(SettingsViewTest, SupportButtonsOpenThePagesAndAskBeforeExportingDiagnostics) {
    SettingsView view(fixture.model());
    showAt(view, {1100, 900});
    auto* updates = child<TMButton>(view, "checkForUpdatesButton");
    auto* contact = child<TMButton>(view, "contactSupportButton");
    auto* diagnostics = child<TMButton>(view, "exportDiagnosticsButton");
    EXPECT_EQ(updates->text(), "Check for Updates");
    EXPECT_EQ(contact->text(), "Contact Support");
    EXPECT_EQ(diagnostics->text(), "Export Diagnostics");

    QTest::mouseClick(contact, Qt::LeftButton);
    ASSERT_EQ(fixture.desktop().opened.size(), 1u);
    EXPECT_EQ(fixture.desktop().opened[0], fixture.model().websiteConfiguration().supportURL);
    EXPECT_EQ(fixture.model().statusMessage(),
              "Opened Tallowmere support. No local safety data was sent.");

    QTest::mouseClick(updates, Qt::LeftButton);
    ASSERT_EQ(fixture.desktop().opened.size(), 2u);
    EXPECT_EQ(fixture.desktop().opened[1], fixture.model().websiteConfiguration().downloadURL);

    fixture.dialogs().confirmAnswer = false;
    QTest::mouseClick(diagnostics, Qt::LeftButton);
    ASSERT_EQ(fixture.dialogs().confirmations.size(), 1u);
    const ConfirmationRequest& asked = fixture.dialogs().confirmations[0];
    EXPECT_EQ(asked.message, "Export privacy-safe support diagnostics?");
    EXPECT_EQ(asked.informativeText,
              "Tallowmere will export app version, build, macOS version, last scan dates, backup "
              "status, verification status, generation time, and the redaction list.\n\nThe "
              "export omits file paths, Photos metadata, scan results, backup manifests, "
              "checksums, local reports, files, and photos. Review the JSON before attaching it "
              "to a support request.");
    EXPECT_EQ(asked.confirmButton, "Export");
    EXPECT_EQ(asked.cancelButton, "Cancel");
    EXPECT_TRUE(fixture.dialogs().saveRequests.empty());
    EXPECT_EQ(fixture.model().statusMessage(), "Support diagnostics export cancelled.");
}

}  // namespace
}  // namespace tallowmere
