#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace tallowmere {

// Keeps one running Tallowmere per user. Launching the application again from the desktop
// is how a Linux user brings back a window that was closed to the tray: the second process
// hands the request to the first, which shows its dashboard, and then ends.
// Main thread only.
class InstanceGate : public QObject {
    Q_OBJECT
public:
    // One name per user; tests pass their own.
    static QString defaultName();

    explicit InstanceGate(QString name, QObject* parent = nullptr);
    ~InstanceGate() override;

    // True when another process already runs under this name and took the request to show
    // its window (this process should end). False when this process is now the one that
    // listens; a listening failure is not fatal, the application then just runs alone.
    bool forwardToRunningInstance(int timeoutMilliseconds = 1000);

    bool isListening() const;

Q_SIGNALS:
    // Another launch asked this process to show its window.
    void reopenRequested();

private:
    void listen();

    QString m_name;
    QLocalServer* m_server = nullptr;
};

}  // namespace tallowmere
