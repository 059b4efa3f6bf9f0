#pragma once

#include <QProcess>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace tallowmere::testing {

// An X server of the test's own (Xvfb) on a display number the server picks itself, and
// a client connection to it through which the test looks at and acts on the windows there,
// as a window manager or a panel would. The server is stopped when the object goes away,
// whichever way the test ends.
class VirtualDisplay {
public:
    struct Window {
        unsigned long id = 0;
        QString title;
        bool viewable = false;
        // The window it belongs to (a dialog's parent), 0 for a window of its own.
        unsigned long transientFor = 0;
        int width = 0;
        int height = 0;
    };

    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // Empty when the server is running; otherwise why it is not.
    QString failure() const { return m_failure; }
    // ":<number>", for DISPLAY.
    QString name() const { return m_name; }

    // The windows at the top of the window tree, in stacking order, bottom first.
    std::vector<Window> topLevelWindows() const;
    // The first viewable top-level window titled exactly `title` that belongs to no other.
    std::optional<Window> viewableWindow(const QString& title) const;
    // Asks the window's owner to close it, as a window manager's close button does.
    void requestClose(unsigned long window) const;
    // Takes the system-tray selection, so that programs started now find a tray. Nothing is
    // embedded; the tray only has to be there.
    bool provideSystemTray();

private:
    QProcess m_server;
    QString m_name;
    QString m_failure;
    struct Connection;
    std::unique_ptr<Connection> m_connection;
};

}  // namespace tallowmere::testing
