// The stop signals: taken even when no wait lets them in, and the process
// then dies by the one that arrived.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/linux/stop_signals.h"

namespace {
constexpr int NOT_STOPPED = 3;

// In a child of its own: blocks the signals, sends `signal_number` (0: none),
// ends in order if asked to stop, and otherwise exits with NOT_STOPPED.
void RunUntilStopped(int signal_number)
{
    BlockStopSignals();
    if (signal_number != 0) raise(signal_number);
    if (StopRequested()) DieByStopSignal();
    std::exit(NOT_STOPPED);
}

TEST(StopSignals, APendingSignalStopsTheSaverWhichThenDiesByIt)
{
    for (const int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal_number);
        EXPECT_EXIT(RunUntilStopped(signal_number), testing::KilledBySignal(signal_number), "");
    }
}

TEST(StopSignals, WithoutASignalTheSaverGoesOn)
{
    EXPECT_EXIT(RunUntilStopped(0), testing::ExitedWithCode(NOT_STOPPED), "");
}
}  // namespace
