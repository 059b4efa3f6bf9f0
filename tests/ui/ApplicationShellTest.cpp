#include "ui/shell/ApplicationShell.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "tests/ui/UiTestSupport.h"
#include "ui/onboarding/OnboardingView.h"
#include "ui/screens/SettingsView.h"
#include "ui/shell/MenuBarPopoverView.h"
#include "ui/shell/TrayController.h"

namespace tallowmere {
namespace {

using namespace testing;

class ApplicationShellTest : public ::testing::Test {
protected:
    void SetUp() override { fixture.model().completeOnboarding(); }
    void TearDown() override { QApplication::setQuitOnLastWindowClosed(true); }

    // Started, and through the activation that showing the window brings.
    std::unique_ptr<ApplicationShell> startedShell(bool systemTray) {
        auto shell = makeShell(systemTray);
        shell->start();
        QApplication::processEvents();
        return shell;
    }

    std::unique_ptr<ApplicationShell> makeShell(bool systemTray) {
        ApplicationShell::Options options;
        options.systemTray = systemTray;
        return std::make_unique<ApplicationShell>(
            fixture.model(), fixture.formatting(),
            [this] {
                ++windowsMade;
                auto* window = new QMainWindow;
                auto* content = new QWidget;
                content->setObjectName(QStringLiteral("windowContent"));
                window->setCentralWidget(content);
                return window;
            },
            options);
    }

    ModelFixture fixture;
    int windowsMade = 0;
};

TEST_F(ApplicationShellTest, StartShowsOneDashboardWindowAndKeepsRunningWhenItCloses) {
    auto shell = startedShell(true);
    QApplication::processEvents();

    QWidget* window = shell->mainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(windowsMade, 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Tallowmere");
    EXPECT_EQ(window->size(), QSize(1120, 740));
    EXPECT_EQ(window->minimumSize(), QSize(940, 620));
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
    ASSERT_NE(shell->tray(), nullptr);
    EXPECT_EQ(shell->windowMenu(), nullptr);  // the tray's popover has the actions

    // Closing hides the window; the next show brings back the same one.
    QPointer<QWidget> guard = window;
    window->findChild<QWidget*>("windowContent")->setProperty("state", 42);
    window->close();
    QApplication::processEvents();
    ASSERT_FALSE(guard.isNull());
    EXPECT_FALSE(window->isVisible());
    shell->showDashboard();
    EXPECT_EQ(shell->mainWindow(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->findChild<QWidget*>("windowContent")->property("state").toInt(), 42);
    EXPECT_EQ(windowsMade, 1);
}

TEST_F(ApplicationShellTest, TrayClickTogglesThePopoverWhoseOpenDashboardBringsTheWindowBack) {
    auto shell = startedShell(true);
    shell->mainWindow()->close();
    QApplication::processEvents();
    ASSERT_FALSE(shell->mainWindow()->isVisible());

    Q_EMIT shell->tray()->activated();
    PopoverWindow* popover = shell->popover();
    ASSERT_TRUE(popover->isVisible());
    EXPECT_EQ(popover->size(), QSize(340, 430));
    Q_EMIT shell->tray()->activated();
    EXPECT_FALSE(popover->isVisible());
    // The click that closed it (elsewhere) does not reopen it straight away.
    Q_EMIT shell->tray()->activated();
    EXPECT_FALSE(popover->isVisible());
    QTest::qWait(ApplicationShell::kReopenGuardMilliseconds + 50);
    Q_EMIT shell->tray()->activated();
    ASSERT_TRUE(popover->isVisible());

    QTest::mouseClick(popover->findChild<QPushButton*>("popoverOpenDashboard"), Qt::LeftButton);
    EXPECT_FALSE(popover->isVisible());
    EXPECT_TRUE(shell->mainWindow()->isVisible());
    EXPECT_EQ(windowsMade, 1);
}

TEST_F(ApplicationShellTest, PopoverSettingsOpensOneSettingsWindow) {
    auto shell = startedShell(true);
    shell->togglePopover();
    QTest::mouseClick(shell->popover()->findChild<QPushButton*>("popoverSettings"), Qt::LeftButton);

    QWidget* settings = shell->settingsWindow();
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(settings->size(), QSize(560, 440));
    EXPECT_NE(settings->findChild<SettingsView*>(), nullptr);
    settings->close();
    shell->showSettings();
    EXPECT_EQ(shell->settingsWindow(), settings);
    EXPECT_TRUE(settings->isVisible());
}

TEST_F(ApplicationShellTest, WithoutATrayClosingQuitsAndTheWindowMenuHasThePopoversActions) {
    auto shell = startedShell(false);

    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
    EXPECT_EQ(shell->tray(), nullptr);
    QMenu* menu = shell->windowMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "Tallowmere");
    auto* window = qobject_cast<QMainWindow*>(shell->mainWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->menuBar()->actions().contains(menu->menuAction()));
    QStringList texts;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator())
            texts << action->text();
    }
    EXPECT_EQ(texts, (QStringList{"Run scan", "Start backup", "Verify backup", "Status", "Settings",
                                  "Quit"}));

    // "Status" shows the popover's facts without a tray icon.
    menu->findChild<QAction*>("menuStatus")->trigger();
    EXPECT_TRUE(shell->popover()->isVisible());
    menu->findChild<QAction*>("menuSettings")->trigger();
    ASSERT_NE(shell->settingsWindow(), nullptr);
    EXPECT_TRUE(shell->settingsWindow()->isVisible());
}

TEST_F(ApplicationShellTest, WindowContentThatIsNoWindowGetsOneWithAMenuBar) {
    ApplicationShell shell(fixture.model(), fixture.formatting(),
                           [] {
                               auto* content = new QWidget;
                               content->setObjectName(QStringLiteral("rootContent"));
                               return content;
                           },
                           {.systemTray = false, .presentOnboarding = false});
    shell.start();

    auto* window = qobject_cast<QMainWindow*>(shell.mainWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->centralWidget()->objectName(), "rootContent");
    EXPECT_NE(shell.windowMenu(), nullptr);
}

TEST_F(ApplicationShellTest, ComingBackToTheFrontWithNothingVisibleShowsTheDashboard) {
    auto shell = startedShell(true);
    shell->mainWindow()->close();
    QApplication::processEvents();

    QGuiApplication* application = qApp;
    Q_EMIT application->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_TRUE(shell->mainWindow()->isVisible());

    // With the settings window on screen, becoming active leaves the dashboard closed.
    shell->mainWindow()->close();
    shell->showSettings();
    Q_EMIT application->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_FALSE(shell->mainWindow()->isVisible());
    shell->settingsWindow()->close();

    // Opening the popover from the tray activates the application: no dashboard behind it.
    QApplication::processEvents();
    Q_EMIT shell->tray()->activated();
    ASSERT_TRUE(shell->popover()->isVisible());
    Q_EMIT application->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_FALSE(shell->mainWindow()->isVisible());
    shell->popover()->hide();
}

TEST_F(ApplicationShellTest, PresentsOnboardingOverTheWindowUntilItIsComplete) {
    fixture.model().resetOnboarding();
    auto shell = startedShell(true);

    OnboardingSheet* sheet = nullptr;
    QTRY_VERIFY((sheet = shell->mainWindow()->findChild<OnboardingSheet*>()) != nullptr);
    EXPECT_TRUE(sheet->isVisible());
    sheet->close();
    QApplication::processEvents();
    EXPECT_TRUE(fixture.model().hasCompletedOnboarding());
}

}  // namespace
}  // namespace tallowmere
