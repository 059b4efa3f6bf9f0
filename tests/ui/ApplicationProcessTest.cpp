// Starts the real application binary, as `make run` does, without a display.
#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include "tests/ui/ApplicationProcessFixture.h"

namespace tallowmere {
namespace {

using ApplicationProcessTest = testing::ApplicationProcessFixture;

TEST_F(ApplicationProcessTest, StartsAndQuitsCleanlyWhenTheSessionAsksIt) {
    QProcess application;
    launch(application);
    EXPECT_TRUE(QTest::qWaitFor([this] { return isUp(); }, 30'000));
    EXPECT_EQ(application.state(), QProcess::Running);

    expectQuitsCleanly(application);
}

TEST_F(ApplicationProcessTest, ASecondLaunchHandsOverToTheFirstAndEnds) {
    QProcess first;
    launch(first);
    ASSERT_TRUE(QTest::qWaitFor([this] { return isUp(); }, 30'000));

    QProcess second;
    launch(second);
    ASSERT_TRUE(second.waitForFinished(20'000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    expectQuitsCleanly(first);
}

TEST_F(ApplicationProcessTest, CommandLineQuestionsAreAnsweredWithoutStartingOrOpeningTheStore) {
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* output;  // expected in standard output
        const char* errors;  // expected in standard error
    };
    const Case cases[] = {
        {{"--version"}, 0, "Tallowmere " TALLOWMERE_VERSION_TEXT, ""},
        {{"-v"}, 0, "Tallowmere " TALLOWMERE_VERSION_TEXT, ""},
        {{"--help"}, 0, "Usage: tallowmere [options]", ""},
        {{"--help", "--no-such-option"}, 0, "--version", ""},
        {{"--no-such-option"}, 2, "", "no-such-option"},
        {{"some-file.txt"}, 2, "", "unexpected argument 'some-file.txt'"},
    };
    // No display at all: answering must not need one (unknown input is only found out
    // once the window system has taken its own options, so those cases draw off screen).
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        if (c.exitCode == 0) {
            environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
            environment.remove(QStringLiteral("DISPLAY"));
            environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        } else {
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        }
        QProcess application;
        launch(application, c.arguments);
        ASSERT_TRUE(application.waitForFinished(20'000));

        EXPECT_EQ(application.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(application.exitCode(), c.exitCode);
        const QString output = QString::fromLocal8Bit(application.readAllStandardOutput());
        const QString errors = QString::fromLocal8Bit(application.readAllStandardError());
        EXPECT_TRUE(output.contains(QLatin1String(c.output))) << output.toStdString();
        EXPECT_TRUE(errors.contains(QLatin1String(c.errors))) << errors.toStdString();
        EXPECT_FALSE(QDir(path("data") + QStringLiteral("/Tallowmere")).exists());
    }
}

}  // namespace
}  // namespace tallowmere
