#include "platform/linux/stop_signals.h"

#include <cstdio>

namespace {
constexpr int STOP_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

// The signal that arrived, 0 for none.
volatile sig_atomic_t Received = 0;

void RequestStop(int signal_number) { Received = signal_number; }
}  // namespace

sigset_t BlockStopSignals()
{
    struct sigaction action = {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigset_t stop, unblocked;
    sigemptyset(&stop);
    for (int signal_number : STOP_SIGNALS) {
        sigaction(signal_number, &action, nullptr);
        sigaddset(&stop, signal_number);
    }
    sigprocmask(SIG_BLOCK, &stop, &unblocked);
    for (int signal_number : STOP_SIGNALS) sigdelset(&unblocked, signal_number);
    return unblocked;
}

bool StopRequested()
{
    // A wait that returns at once, because the display server's connection
    // is always ready, restores the mask before a signal could get in: one
    // still pending is taken as arrived.
    if (Received == 0) {
        sigset_t pending;
        sigpending(&pending);
        for (int signal_number : STOP_SIGNALS)
            if (sigismember(&pending, signal_number)) Received = signal_number;
    }
    return Received != 0;
}

void DieByStopSignal()
{
    const int signal_number = Received;
    if (signal_number == 0) return;
    std::fflush(nullptr);
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal_number, &action, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal_number);
    // Still blocked since the last wait: raised, it is delivered as soon as
    // it is let through.
    raise(signal_number);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
}
