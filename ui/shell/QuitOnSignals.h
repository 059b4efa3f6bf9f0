#pragma once

#include <QObject>

class QSocketNotifier;

namespace tallowmere {

// Ends the event loop cleanly when the process gets SIGTERM, SIGINT or SIGHUP (the session
// ending, Ctrl+C in a terminal, `kill`), so that the application quits as if the user had
// chosen Quit: windows close, the model stops its engines and waits for them. The signal
// handler only writes one byte to a socket; the event loop does the rest.
// Create once, on the main thread, after the application object.
class QuitOnSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitOnSignals(QObject* parent = nullptr);
    ~QuitOnSignals() override;

    // False when the handlers could not be installed (the application then runs without).
    bool isActive() const { return m_notifier != nullptr; }

private:
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace tallowmere
