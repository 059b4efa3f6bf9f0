// Starts the real application binary, as `make run` does, without a display.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {
namespace {

class ApplicationProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {"home", "data", "config", "runtime", "tmp"})
            QDir().mkpath(path(folder));
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), path("home"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), path("data"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path("config"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), path("runtime"));
        // The single-instance socket lives in the temporary folder: this one, not the user's.
        environment.insert(QStringLiteral("TMPDIR"), path("tmp"));
    }

    QString path(const char* name) const {
        return QString::fromStdString((folder / name).string());
    }

    void launch(QProcess& process) {
        process.setProcessEnvironment(environment);
        process.setProgram(QStringLiteral(TALLOWMERE_EXECUTABLE));
        process.start();
        ASSERT_TRUE(process.waitForStarted(10'000)) << process.errorString().toStdString();
    }

    bool isUp() const {
        const QString socket = path("tmp") + QStringLiteral("/tallowmere-%1").arg(::getuid());
        return QFile::exists(path("data") + QStringLiteral("/Tallowmere/Tallowmere.sqlite")) &&
               QFile::exists(socket);
    }

    const testing::TemporaryDirectory folder;
    QProcessEnvironment environment;
};

TEST_F(ApplicationProcessTest, StartsAndQuitsCleanlyWhenTheSessionAsksIt) {
    QProcess application;
    launch(application);
    // Its store and its single-instance socket exist once start-up is through.
    EXPECT_TRUE(QTest::qWaitFor([this] { return isUp(); }, 30'000));
    EXPECT_EQ(application.state(), QProcess::Running);

    application.terminate();  // SIGTERM, as when the session ends
    ASSERT_TRUE(application.waitForFinished(20'000));
    EXPECT_EQ(application.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(application.exitCode(), 0);
    const QString errors = QString::fromLocal8Bit(application.readAllStandardError());
    EXPECT_FALSE(errors.contains(QStringLiteral("QThread"))) << errors.toStdString();
    EXPECT_FALSE(errors.contains(QStringLiteral("Tallowmere could not"))) << errors.toStdString();
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

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(20'000));
    EXPECT_EQ(first.exitCode(), 0);
}

}  // namespace
}  // namespace tallowmere
