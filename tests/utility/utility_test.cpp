// Assertions, the range check of the random draws and the frame timer. The
// random sequence itself is held to its golden values by the scene's spawns.
#include <gmock/gmock.h>

#include <limits>

#include "support/fake_clock.h"
#include "support/scene_state.h"
#include "utility/diagnostics.h"
#include "utility/mathutil.h"
#include "utility/timer.h"

using testing::ExitedWithCode;

// Only an endless range makes a value outside it.
TEST(RandomRangeDeathTest, RefusesAnEmptyRangeAndAValueOutsideIt)
{
    EXPECT_EXIT(RandomRange(0, -EPSILON), ExitedWithCode(1), "Assert: upper - lower > -EPSILON");
    const double endless = std::numeric_limits<double>::infinity();
    EXPECT_EXIT(RandomRange(-endless, 0), ExitedWithCode(1), "Assert: x - lower > -EPSILON");
}

// Each row: one tick, the seconds since the one before, and the figures
// after it. The window of the sample rate closes once a second has passed,
// and the next one starts afresh.
TEST(Timer, FiguresAfterEachTick)
{
    struct Tick {
        double after_s, sample_rate, average_rate;
    };
    const Tick ticks[] = {
        {.after_s = 0, .sample_rate = 0, .average_rate = 0},
        {.after_s = 1.0, .sample_rate = 2 / 1.0, .average_rate = 2 / 1.0},
        {.after_s = 1.2, .sample_rate = 1 / 1.2, .average_rate = 3 / 2.2},
    };
    FakeClock clock;
    ResetSceneState();
    Timer_Start();
    for (const Tick& row : ticks) {
        SCOPED_TRACE(FrameCount);
        clock.AdvanceSeconds(row.after_s);
        Timer_Frame();
        EXPECT_NEAR(FrameInterval, row.after_s, 1e-9);
        EXPECT_NEAR(SampleFrameRate, row.sample_rate, 1e-9);
        EXPECT_NEAR(AverageFrameRate, row.average_rate, 1e-9);
    }
    clock.counter_result = FALSE;
    EXPECT_EXIT(Timer_Frame(), ExitedWithCode(1), "Assert: qpc_result > 0");
    clock.frequency_result = FALSE;
    EXPECT_EXIT(Timer_Start(), ExitedWithCode(1), "Assert: qpf_result > 0");
}
