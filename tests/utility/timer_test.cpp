// The frame timer on a clock driven by hand.
#include <gtest/gtest.h>

#include <vector>

#include "support/fake_clock.h"
#include "support/scene_state.h"
#include "utility/timer.h"

namespace {

class TimerTest : public testing::Test {
protected:
    void SetUp() override { ResetSceneState(); }
    FakeClock clock;
};

TEST_F(TimerTest, FiguresAfterEachTick)
{
    struct Tick {
        double after_s;  // time since the previous tick
        double interval, sample_rate, average_rate;
        uint32_t frames, sample_frames;
    };
    struct Case {
        const char* name;
        std::vector<Tick> ticks;
    };
    const Case cases[] = {
        {"quarter seconds: the fourth tick closes the window at exactly 1.0 s",
         {{0.25, 0.25, 0.0, 4.0, 1, 1},
          {0.25, 0.25, 0.0, 4.0, 2, 2},
          {0.25, 0.25, 0.0, 4.0, 3, 3},
          {0.25, 0.25, 4.0, 4.0, 4, 0},
          {0.5, 0.5, 4.0, 5.0 / 1.5, 5, 1}}},
        {"0.3 s apart: the window closes at 1.2 s",
         {{0.3, 0.3, 0.0, 1 / 0.3, 1, 1},
          {0.3, 0.3, 0.0, 2 / 0.6, 2, 2},
          {0.3, 0.3, 0.0, 3 / 0.9, 3, 3},
          {0.3, 0.3, 4 / 1.2, 4 / 1.2, 4, 0}}},
        {"a window of one slow frame",
         {{0.999, 0.999, 0.0, 1 / 0.999, 1, 1}, {2.0, 2.0, 2 / 2.999, 2 / 2.999, 2, 0}}},
        {"a tick at the same counter value",
         {{0.0, 0.0, 0.0, 0.0, 1, 1}, {0.5, 0.5, 0.0, 4.0, 2, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetSceneState();
        Timer_Start();
        int index = 0;
        for (const Tick& tick : c.ticks) {
            SCOPED_TRACE(testing::Message() << "tick " << ++index);
            clock.AdvanceSeconds(tick.after_s);
            Timer_Frame();
            EXPECT_NEAR(FrameInterval, tick.interval, 1e-9);
            EXPECT_NEAR(SampleFrameRate, tick.sample_rate, 1e-9);
            EXPECT_NEAR(AverageFrameRate, tick.average_rate, 1e-9);
            EXPECT_EQ(FrameCount, tick.frames);
            EXPECT_EQ(SampleFrameCount, tick.sample_frames);
        }
    }
}

TEST_F(TimerTest, SampleRateIsExactlyZeroUntilTheFirstWindowCloses)
{
    Timer_Start();
    for (int i = 0; i < 99; ++i) {
        clock.counter += clock.frequency / 100;
        Timer_Frame();
        ASSERT_EQ(SampleFrameRate, 0.0) << "tick " << i + 1;
    }
    clock.counter += clock.frequency / 100;
    Timer_Frame();
    EXPECT_DOUBLE_EQ(SampleFrameRate, 100.0);
}

TEST_F(TimerTest, RestartKeepsCountsAndRates)
{
    Timer_Start();
    for (int i = 0; i < 4; ++i) {
        clock.AdvanceSeconds(0.25);
        Timer_Frame();
    }
    clock.AdvanceSeconds(10);
    Timer_Start();
    EXPECT_EQ(FrameCount, 4u);
    EXPECT_EQ(SampleFrameRate, 4.0);
    clock.AdvanceSeconds(0.1);
    Timer_Frame();
    EXPECT_NEAR(FrameInterval, 0.1, 1e-9);
    EXPECT_NEAR(AverageFrameRate, 5 / 0.1, 1e-6);
}

TEST_F(TimerTest, FirstIntervalRunsFromTheStart)
{
    clock.counter = 5000000000LL;  // far from zero, and beyond 32 bits
    Timer_Start();
    clock.AdvanceSeconds(0.04);
    Timer_Frame();
    EXPECT_NEAR(FrameInterval, 0.04, 1e-9);
}

using TimerDeathTest = TimerTest;

TEST_F(TimerDeathTest, UnusableCounterEndsTheProcess)
{
    clock.frequency_result = FALSE;
    EXPECT_EXIT(Timer_Start(), testing::ExitedWithCode(1), "Assert: qpf_result > 0");
    clock.frequency_result = TRUE;
    clock.frequency = 0;
    EXPECT_EXIT(Timer_Start(), testing::ExitedWithCode(1), "Assert: Frequency.QuadPart > 0");
    clock.frequency = -5;
    EXPECT_EXIT(Timer_Start(), testing::ExitedWithCode(1), "Assert: Frequency.QuadPart > 0");
    clock.frequency = 1000;
    clock.counter_result = FALSE;
    EXPECT_EXIT(Timer_Start(), testing::ExitedWithCode(1), "Assert: qpc_result > 0");
    clock.counter_result = TRUE;
    Timer_Start();
    clock.counter_result = FALSE;
    EXPECT_EXIT(Timer_Frame(), testing::ExitedWithCode(1), "Assert: qpc_result > 0");
}

}  // namespace
