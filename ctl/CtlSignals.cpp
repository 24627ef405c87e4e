#include "ctl/CtlSignals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <atomic>

namespace {
std::atomic<int> g_fd{-1};
std::atomic<int> g_caught{0};

sigset_t Handled() {
    sigset_t set;
    ::sigemptyset(&set);
    ::sigaddset(&set, SIGTERM);
    ::sigaddset(&set, SIGINT);
    ::sigaddset(&set, SIGHUP);
    return set;
}
}  // namespace

bool CCtlSignals::Install() {
    const sigset_t set = Handled();
    const int fd = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd < 0 || ::pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return false;
    }
    g_fd.store(fd);
    return true;
}

int CCtlSignals::Caught() {
    const int fd = g_fd.load();
    if (g_caught.load() == 0 && fd >= 0) {
        signalfd_siginfo info{};
        if (::read(fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            int none = 0;
            g_caught.compare_exchange_strong(none, static_cast<int>(info.ssi_signo));
        }
    }
    return g_caught.load();
}

const char* CCtlSignals::Name(int signal) {
    switch (signal) {
        case SIGTERM:
            return "SIGTERM";
        case SIGINT:
            return "SIGINT";
        case SIGHUP:
            return "SIGHUP";
        default:
            return "?";
    }
}
