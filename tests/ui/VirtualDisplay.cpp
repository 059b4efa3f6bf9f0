#include "tests/ui/VirtualDisplay.h"

#include <QStandardPaths>

// Last: Xlib's macros (None, Bool, Status...) would change the meaning of Qt's headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tallowmere::testing {
namespace {

// A window can go away between listing it and asking about it; that is no reason to end
// the test process, which Xlib's own handler would do.
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

struct VirtualDisplay::Connection {
    Display* display = nullptr;
    ::Window trayOwner = 0;
    ~Connection() {
        if (display)
            XCloseDisplay(display);
    }
};

VirtualDisplay::VirtualDisplay() {
    const QString server = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (server.isEmpty()) {
        m_failure = QStringLiteral("Xvfb is not installed");
        return;
    }
    // -displayfd: the server takes the first free display number and writes it to us.
    m_server.setProgram(server);
    m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                           QStringLiteral("-screen"), QStringLiteral("0"),
                           QStringLiteral("1600x1000x24"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp")});
    m_server.setProcessChannelMode(QProcess::SeparateChannels);
    m_server.start();
    if (!m_server.waitForStarted(10'000)) {
        m_failure = QStringLiteral("Xvfb did not start: ") + m_server.errorString();
        return;
    }
    QByteArray number;
    while (!number.contains('\n') && m_server.waitForReadyRead(20'000))
        number += m_server.readAllStandardOutput();
    if (!number.contains('\n')) {
        m_failure = QStringLiteral("Xvfb gave no display number: ") +
                    QString::fromLocal8Bit(m_server.readAllStandardError());
        return;
    }
    m_name = QStringLiteral(":") + QString::fromLatin1(number.trimmed());

    XSetErrorHandler(ignoreErrors);
    m_connection = std::make_unique<Connection>();
    m_connection->display = XOpenDisplay(m_name.toLocal8Bit().constData());
    if (!m_connection->display)
        m_failure = QStringLiteral("cannot connect to Xvfb on ") + m_name;
}

VirtualDisplay::~VirtualDisplay() {
    m_connection.reset();
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(10'000)) {
        m_server.kill();
        m_server.waitForFinished(10'000);
    }
}

std::vector<VirtualDisplay::Window> VirtualDisplay::topLevelWindows() const {
    std::vector<Window> windows;
    if (!m_connection || !m_connection->display)
        return windows;
    Display* display = m_connection->display;
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return windows;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes))
            continue;
        Window window;
        window.id = children[i];
        window.viewable = attributes.map_state == IsViewable;
        window.width = attributes.width;
        window.height = attributes.height;
        XTextProperty name;
        if (XGetWMName(display, children[i], &name) && name.value) {
            char** list = nullptr;
            int items = 0;
            if (Xutf8TextPropertyToTextList(display, &name, &list, &items) >= Success && list &&
                items > 0)
                window.title = QString::fromUtf8(list[0]);
            if (list)
                XFreeStringList(list);
            XFree(name.value);
        }
        ::Window owner = 0;
        if (XGetTransientForHint(display, children[i], &owner))
            window.transientFor = owner;
        windows.push_back(window);
    }
    if (children)
        XFree(children);
    return windows;
}

std::optional<VirtualDisplay::Window> VirtualDisplay::viewableWindow(const QString& title) const {
    for (const Window& window : topLevelWindows()) {
        if (window.viewable && window.transientFor == 0 && window.title == title)
            return window;
    }
    return std::nullopt;
}

void VirtualDisplay::requestClose(unsigned long window) const {
    if (!m_connection || !m_connection->display)
        return;
    Display* display = m_connection->display;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

bool VirtualDisplay::provideSystemTray() {
    if (!m_connection || !m_connection->display)
        return false;
    Display* display = m_connection->display;
    const ::Window rootWindow = DefaultRootWindow(display);
    const Atom selection = XInternAtom(
        display, QStringLiteral("_NET_SYSTEM_TRAY_S%1").arg(DefaultScreen(display)).toLatin1(),
        False);
    m_connection->trayOwner = XCreateSimpleWindow(display, rootWindow, 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, selection, m_connection->trayOwner, CurrentTime);
    // Programs already running learn of a new tray from this announcement.
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = rootWindow;
    event.xclient.message_type = XInternAtom(display, "MANAGER", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = CurrentTime;
    event.xclient.data.l[1] = static_cast<long>(selection);
    event.xclient.data.l[2] = static_cast<long>(m_connection->trayOwner);
    XSendEvent(display, rootWindow, False, StructureNotifyMask, &event);
    XSync(display, False);
    return XGetSelectionOwner(display, selection) == m_connection->trayOwner;
}

}  // namespace tallowmere::testing
