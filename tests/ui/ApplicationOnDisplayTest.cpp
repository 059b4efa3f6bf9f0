// Starts the real application binary on an X server of the test's own, as a desktop would.
#include <gtest/gtest.h>

#include <QTest>

#include "tests/ui/ApplicationProcessFixture.h"
#include "tests/ui/VirtualDisplay.h"

namespace tallowmere {
namespace {

using testing::VirtualDisplay;

const QString kTitle = QStringLiteral("Tallowmere");

class ApplicationOnDisplayTest : public testing::ApplicationProcessFixture {
protected:
    void SetUp() override {
        if (!display.failure().isEmpty())
            GTEST_SKIP() << "No X server for this test: " << display.failure().toStdString();
        environment.insert(QStringLiteral("DISPLAY"), display.name());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    }

    bool dashboardShown() const { return display.viewableWindow(kTitle).has_value(); }

    int windowsTitledTallowmere() const {
        int count = 0;
        for (const VirtualDisplay::Window& window : display.topLevelWindows())
            count += window.viewable && window.title == kTitle ? 1 : 0;
        return count;
    }

    // Closes every window of the application on screen, dialogs first, as the user would.
    void closeEveryWindow() {
        for (bool dialogs : {true, false}) {
            for (const VirtualDisplay::Window& window : display.topLevelWindows()) {
                if (window.viewable && (window.transientFor != 0) == dialogs)
                    display.requestClose(window.id);
            }
            QTest::qWait(200);
        }
    }

    VirtualDisplay display;
};

TEST_F(ApplicationOnDisplayTest, ShowsItsWindowAndASecondLaunchLeavesTheFirstRunning) {
    QProcess first;
    launch(first);
    ASSERT_TRUE(QTest::qWaitFor([this] { return dashboardShown(); }, 30'000))
        << QString::fromLocal8Bit(first.readAllStandardError()).toStdString();
    const VirtualDisplay::Window window = *display.viewableWindow(kTitle);
    // Created at its default size; nothing else of the application claims the title.
    EXPECT_EQ(window.width, 1120);
    EXPECT_EQ(window.height, 740);
    ASSERT_TRUE(QTest::qWaitFor([this] { return isUp(); }, 30'000));

    QProcess second;
    launch(second);
    ASSERT_TRUE(second.waitForFinished(20'000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    // Still the one window: the second launch opened none of its own.
    EXPECT_EQ(windowsTitledTallowmere(), 1);
    EXPECT_EQ(display.viewableWindow(kTitle)->id, window.id);

    expectQuitsCleanly(first);
}

TEST_F(ApplicationOnDisplayTest, ClosedToTheTrayItKeepsRunningAndALaunchBringsTheWindowBack) {
    ASSERT_TRUE(display.provideSystemTray());
    QProcess first;
    launch(first);
    ASSERT_TRUE(QTest::qWaitFor([this] { return dashboardShown() && isUp(); }, 30'000))
        << QString::fromLocal8Bit(first.readAllStandardError()).toStdString();

    // The first-run sheet may still come up over the window; closing it first lets the
    // window itself be closed.
    EXPECT_TRUE(QTest::qWaitFor(
        [this] {
            closeEveryWindow();
            return !dashboardShown();
        },
        20'000));
    // Time enough to end, had closing the window ended it.
    QTest::qWait(500);
    EXPECT_FALSE(dashboardShown());
    ASSERT_EQ(first.state(), QProcess::Running);

    QProcess second;
    launch(second);
    ASSERT_TRUE(second.waitForFinished(20'000));
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return dashboardShown(); }, 20'000));
    EXPECT_EQ(windowsTitledTallowmere(), 1);
    EXPECT_EQ(first.state(), QProcess::Running);

    expectQuitsCleanly(first);
}

TEST_F(ApplicationOnDisplayTest, WithoutATrayClosingTheWindowQuits) {
    QProcess application;
    launch(application);
    ASSERT_TRUE(QTest::qWaitFor([this] { return dashboardShown() && isUp(); }, 30'000))
        << QString::fromLocal8Bit(application.readAllStandardError()).toStdString();

    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            closeEveryWindow();
            return application.state() == QProcess::NotRunning;
        },
        20'000));
    EXPECT_EQ(application.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(application.exitCode(), 0);
}

}  // namespace
}  // namespace tallowmere
