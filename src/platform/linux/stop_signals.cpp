#include "platform/linux/stop_signals.h"

namespace {
constexpr int STOP_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

volatile sig_atomic_t Requested = 0;

void RequestStop(int) { Requested = 1; }
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

bool StopRequested() { return Requested != 0; }
