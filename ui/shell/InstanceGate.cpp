#include "ui/shell/InstanceGate.h"

#include <unistd.h>
#include <QLocalServer>
#include <QLocalSocket>

namespace tallowmere {
namespace {

constexpr char kReopen[] = "reopen\n";

}  // namespace

QString InstanceGate::defaultName() {
    return QStringLiteral("tallowmere-%1").arg(static_cast<qulonglong>(::getuid()));
}

InstanceGate::InstanceGate(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name)) {}

InstanceGate::~InstanceGate() = default;

bool InstanceGate::forwardToRunningInstance(int timeoutMilliseconds) {
    QLocalSocket socket;
    socket.connectToServer(m_name, QIODevice::WriteOnly);
    if (socket.waitForConnected(timeoutMilliseconds)) {
        socket.write(kReopen);
        const bool sent = socket.waitForBytesWritten(timeoutMilliseconds);
        socket.disconnectFromServer();
        if (sent)
            return true;
    }
    listen();
    return false;
}

bool InstanceGate::isListening() const {
    return m_server && m_server->isListening();
}

void InstanceGate::listen() {
    if (m_server)
        return;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Nobody answered, so a socket file left by a process that crashed is stale.
    if (!m_server->listen(m_name)) {
        QLocalServer::removeServer(m_name);
        m_server->listen(m_name);
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                // Any request means the same thing: show the window.
                socket->readAll();
                Q_EMIT reopenRequested();
            });
        }
    });
}

}  // namespace tallowmere
