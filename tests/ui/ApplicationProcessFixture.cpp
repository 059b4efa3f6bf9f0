#include "tests/ui/ApplicationProcessFixture.h"

#include <unistd.h>
#include <QDir>
#include <QFile>

namespace tallowmere::testing {

ApplicationProcessFixture::ApplicationProcessFixture() {
    for (const char* name : {"home", "data", "config", "runtime", "tmp"}) QDir().mkpath(path(name));
    environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), path("home"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), path("data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path("config"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), path("runtime"));
    // The single-instance socket lives in the temporary folder: this one, not the user's.
    environment.insert(QStringLiteral("TMPDIR"), path("tmp"));
    // No session bus: the program must not reach the user's desktop (its tray, its portals).
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QStringLiteral("unix:path=") + path("runtime") + QStringLiteral("/no-bus"));
}

QString ApplicationProcessFixture::path(const char* name) const {
    return QString::fromStdString((folder / name).string());
}

void ApplicationProcessFixture::launch(QProcess& process, const QStringList& arguments) {
    process.setProcessEnvironment(environment);
    process.setProgram(QStringLiteral(TALLOWMERE_EXECUTABLE));
    process.setArguments(arguments);
    process.start();
    ASSERT_TRUE(process.waitForStarted(10'000)) << process.errorString().toStdString();
}

bool ApplicationProcessFixture::isUp() const {
    const QString socket = path("tmp") + QStringLiteral("/tallowmere-%1").arg(::getuid());
    return QFile::exists(path("data") + QStringLiteral("/Tallowmere/Tallowmere.sqlite")) &&
           QFile::exists(socket);
}

void ApplicationProcessFixture::expectQuitsCleanly(QProcess& process) {
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(20'000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
    EXPECT_FALSE(errors.contains(QStringLiteral("QThread"))) << errors.toStdString();
    EXPECT_FALSE(errors.contains(QStringLiteral("Tallowmere could not"))) << errors.toStdString();
}

}  // namespace tallowmere::testing
