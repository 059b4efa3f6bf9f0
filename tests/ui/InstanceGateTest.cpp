#include "ui/shell/InstanceGate.h"

#include <gtest/gtest.h>

#include <QLocalServer>
#include <QSignalSpy>
#include <QUuid>

namespace tallowmere {
namespace {

QString uniqueName() {
    return QStringLiteral("tallowmere-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

TEST(InstanceGateTest, ASecondLaunchAsksTheFirstToShowItsWindow) {
    const QString name = uniqueName();
    InstanceGate first(name);
    ASSERT_FALSE(first.forwardToRunningInstance(200));
    ASSERT_TRUE(first.isListening());
    QSignalSpy reopen(&first, &InstanceGate::reopenRequested);

    InstanceGate second(name);
    EXPECT_TRUE(second.forwardToRunningInstance(2000));
    EXPECT_FALSE(second.isListening());
    EXPECT_TRUE(reopen.wait(2000));
    EXPECT_EQ(reopen.count(), 1);
}

TEST(InstanceGateTest, ASocketLeftByACrashedProcessDoesNotBlockTheNextLaunch) {
    const QString name = uniqueName();
    QString staleSocket;
    {
        // A server that goes away without removing its socket file, as a crash leaves it.
        QLocalServer crashed;
        crashed.setSocketOptions(QLocalServer::UserAccessOption);
        ASSERT_TRUE(crashed.listen(name));
        staleSocket = crashed.fullServerName();
        crashed.close();
    }
    QFile leftover(staleSocket);
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));  // the stale path is taken
    leftover.close();

    InstanceGate gate(name);
    EXPECT_FALSE(gate.forwardToRunningInstance(200));
    EXPECT_TRUE(gate.isListening());
}

}  // namespace
}  // namespace tallowmere
