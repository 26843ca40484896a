// SPDX-License-Identifier: GPL-3.0-or-later
#include "termination_signals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>

namespace vornik {
namespace {

int gSignalSockets[2] = {-1, -1};

void OnSignal(int /*signal*/) {
    // Only async-signal-safe work here: a byte that wakes the event loop.
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gSignalSockets[0], &byte, 1);
}

}  // namespace

void CloseOnTerminationSignals(QWidget* window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalSockets) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(gSignalSockets[1], QSocketNotifier::Read, window);
    QPointer<QWidget> target(window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [target] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(gSignalSockets[1], &byte, 1);
        if (target) {
            target->close();
        }
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

}  // namespace vornik
