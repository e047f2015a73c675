#include "platform/qt/termination_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace vistrel {

namespace {

// Written by the signal handler, which may do nothing but write().
volatile sig_atomic_t g_signalWriteFd = -1;

void OnTerminationSignal(int)
{
    char byte = 1;
    if (g_signalWriteFd >= 0)
        (void)!write(g_signalWriteFd, &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_readFd = fds[0];
    g_signalWriteFd = fds[1];
    auto* notifier = new QSocketNotifier(m_readFd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (read(m_readFd, bytes, sizeof bytes) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        std::signal(sig, SIG_DFL);
    int writeFd = g_signalWriteFd;
    g_signalWriteFd = -1;
    if (writeFd >= 0)
        close(writeFd);
    if (m_readFd >= 0)
        close(m_readFd);
}

} // namespace vistrel
