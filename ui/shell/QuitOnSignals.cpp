#include "ui/shell/QuitOnSignals.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

namespace tallowmere {
namespace {

// Written by the signal handler, so it must be a plain global: [0] is written, [1] read.
int g_signalSockets[2] = {-1, -1};

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void onSignal(int) {
    const char byte = 1;
    // Only async-signal-safe calls here; a full socket already holds a pending request.
    [[maybe_unused]] const ssize_t written = ::write(g_signalSockets[0], &byte, 1);
}

}  // namespace

QuitOnSignals::QuitOnSignals(QObject* parent) : QObject(parent) {
    if (g_signalSockets[0] != -1)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_signalSockets) != 0)
        return;
    m_notifier = new QSocketNotifier(g_signalSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [] {
        char buffer[16];
        while (::read(g_signalSockets[1], buffer, sizeof buffer) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

QuitOnSignals::~QuitOnSignals() {
    if (!m_notifier)
        return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
    ::close(g_signalSockets[0]);
    ::close(g_signalSockets[1]);
    g_signalSockets[0] = g_signalSockets[1] = -1;
}

}  // namespace tallowmere
