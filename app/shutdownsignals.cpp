// SPDX-License-Identifier: MIT
#include "app/shutdownsignals.h"

#include "common/savefile.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace velmix {

namespace {

constexpr std::array<int, 3> kSignals{SIGTERM, SIGINT, SIGHUP};

// Shared with the handler: only lock-free values and plain descriptors.
volatile std::sig_atomic_t g_received = 0;
int g_socket[2] = {-1, -1};
std::array<struct sigaction, kSignals.size()> g_previous{};
std::array<bool, kSignals.size()> g_installed{};

extern "C" void OnShutdownSignal(int sig)
{
    // Every later one of these signals ends the program at once, removing
    // the named temporary file of a save in progress first. sigaction,
    // unlink, write and the errno dance are all safe in a handler.
    const int savedErrno = errno;
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        if (!g_installed[i])
            continue;
        struct sigaction dfl = {};
        dfl.sa_handler = RemoveInProgressFileAndDie;
        sigemptyset(&dfl.sa_mask);
        sigaction(kSignals[i], &dfl, nullptr);
    }
    g_received = sig;
    const char byte = static_cast<char>(sig);
    [[maybe_unused]] const ssize_t n = write(g_socket[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent)
{
    Q_ASSERT(g_socket[0] < 0);
    g_received = 0;
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_socket) != 0)
        return; // no way to hear them: the signals keep their default action
    m_notifier = new QSocketNotifier(g_socket[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ShutdownSignals::readSignal);

    struct sigaction sa = {};
    sa.sa_handler = OnShutdownSignal;
    sa.sa_flags = SA_RESTART;
    // Two different ones at the same moment: the second waits for the first
    // handler to finish and then meets the default action.
    sigemptyset(&sa.sa_mask);
    for (int s : kSignals)
        sigaddset(&sa.sa_mask, s);
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        struct sigaction old = {};
        if (sigaction(kSignals[i], nullptr, &old) != 0 || old.sa_handler == SIG_IGN)
            continue;
        g_previous[i] = old;
        g_installed[i] = true;
        sigaction(kSignals[i], &sa, nullptr);
    }
}

ShutdownSignals::~ShutdownSignals()
{
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        if (g_installed[i])
            sigaction(kSignals[i], &g_previous[i], nullptr);
        g_installed[i] = false;
    }
    delete m_notifier;
    for (int& fd : g_socket) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
}

int ShutdownSignals::received()
{
    return g_received;
}

void ShutdownSignals::readSignal()
{
    char byte = 0;
    if (read(g_socket[1], &byte, 1) == 1)
        emit requested(static_cast<unsigned char>(byte));
}

} // namespace velmix
