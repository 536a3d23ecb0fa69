// Assertions, the random sequence and the frame timer. The golden numbers of
// the sequence were computed from the generator's rules in Python's doubles,
// apart from this code.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <vector>

#include "support/fake_clock.h"
#include "support/scene_state.h"
#include "utility/diagnostics.h"
#include "utility/mathutil.h"
#include "utility/random.h"
#include "utility/timer.h"

using testing::ElementsAre;
using testing::ExitedWithCode;

// The stand-ins mark the beep and the break in what the dying process writes.
static BOOL WINAPI MarkBeep(UINT type) { return std::fprintf(stderr, "[beep %u]", type) > 0; }
static void WINAPI MarkBreak() { std::fputs("[break]", stderr); }
static BOOL WINAPI NoDebugger() { return FALSE; }
static BOOL WINAPI Debugger() { return TRUE; }

TEST(AssertDeathTest, TracesTheCheckBeepsBreaksIntoADebuggerAndExits)
{
    const DiagnosticsPlatform saved = Diagnostics;
    Diagnostics.MessageBeep = MarkBeep;
    Diagnostics.DebugBreak = MarkBreak;
    // The path is traced as text, never used as a format.
    Diagnostics.IsDebuggerPresent = NoDebugger;
    EXPECT_EXIT(Assert("a != b", "dir%s%n/x.cpp", 112), ExitedWithCode(1),
                "^dir%s%n/x.cpp \\(112\\) Assert: a != b\r?\n\\[beep 48\\]$");
    Diagnostics.IsDebuggerPresent = Debugger;
    EXPECT_EXIT(Assert("w > 0", "render.cpp", 7), ExitedWithCode(1),
                "^render.cpp \\(7\\) Assert: w > 0\r?\n\\[beep 48\\]\\[break\\]$");
    EXPECT_EXIT(Assert(nullptr, "f.cpp", 1), ExitedWithCode(1), "^Assert\\(\\) param error.\r?\n$");
    EXPECT_EXIT(Assert_Response(nullptr), ExitedWithCode(1),
                "^Assert_Response\\(\\) param error.\r?\n$");
    Diagnostics = saved;
#ifndef _WIN32
    // Outside a debugger the host finds none; its break is the trap signal.
    EXPECT_FALSE(Diagnostics.IsDebuggerPresent());
    EXPECT_EXIT(Diagnostics.DebugBreak(), testing::KilledBySignal(SIGTRAP), "");
#endif
}

TEST(Random, DrawsTheGoldenSequence)
{
    Random_Seed(1);
    std::vector<int> drawn;
    for (int i = 0; i < 4; ++i) drawn.push_back(Random_Next());
    EXPECT_THAT(drawn, ElementsAre(41, 18467, 6334, 26500));
    EXPECT_EQ(RandomSeed, -410750699);
}

TEST(Random, RangeScalesTheNextValue)
{
    struct Draw {
        int32_t seed;
        double lower, upper, expected;
    };
    const Draw draws[] = {
        {.seed = 1, .lower = -6, .upper = 6, .expected = -5.98498489333781},
        {.seed = -99, .lower = -12, .upper = -2, .expected = -2.0866725669118313},
        {.seed = 2745024, .lower = 30, .upper = 250, .expected = 153.98876918851283},
    };
    for (const Draw& row : draws) {
        SCOPED_TRACE(row.seed);
        Random_Seed(row.seed);
        EXPECT_EQ(RandomRange(row.lower, row.upper), row.expected);
    }
    EXPECT_EXIT(RandomRange(0, -EPSILON), ExitedWithCode(1), "Assert: upper - lower > -EPSILON");
    EXPECT_EQ(Vector3(3, 4, 12).Length(), 13);
}

// Each row: one tick, the seconds since the one before, and the figures
// after it. The window of the sample rate closes once a second has passed.
TEST(Timer, FiguresAfterEachTick)
{
    struct Tick {
        double after_s, sample_rate, average_rate;
        uint32_t sample_frames;
    };
    const Tick ticks[] = {
        {.after_s = 0, .sample_rate = 0, .average_rate = 0, .sample_frames = 1},
        {.after_s = 0.25, .sample_rate = 0, .average_rate = 2 / 0.25, .sample_frames = 2},
        {.after_s = 0.25, .sample_rate = 0, .average_rate = 3 / 0.5, .sample_frames = 3},
        {.after_s = 0.5, .sample_rate = 4 / 1.0, .average_rate = 4 / 1.0, .sample_frames = 0},
        {.after_s = 0.3, .sample_rate = 4, .average_rate = 5 / 1.3, .sample_frames = 1},
        {.after_s = 0.9, .sample_rate = 2 / 1.2, .average_rate = 6 / 2.2, .sample_frames = 0},
    };
    FakeClock clock;
    ResetSceneState();
    clock.counter = 5000000000LL;
    Timer_Start();
    for (const Tick& row : ticks) {
        SCOPED_TRACE(FrameCount);
        clock.AdvanceSeconds(row.after_s);
        Timer_Frame();
        EXPECT_NEAR(FrameInterval, row.after_s, 1e-9);
        EXPECT_NEAR(SampleFrameRate, row.sample_rate, 1e-9);
        EXPECT_NEAR(AverageFrameRate, row.average_rate, 1e-9);
        EXPECT_EQ(SampleFrameCount, row.sample_frames);
    }
    EXPECT_EQ(FrameCount, 6u);
    clock.counter_result = FALSE;
    EXPECT_EXIT(Timer_Frame(), ExitedWithCode(1), "Assert: qpc_result > 0");
}

// Each failing reading of the clock ends the start.
TEST(Timer, StartChecksTheCounter)
{
    FakeClock clock;
    clock.counter_result = FALSE;
    EXPECT_EXIT(Timer_Start(), ExitedWithCode(1), "Assert: qpc_result > 0");
    clock.frequency = 0;
    EXPECT_EXIT(Timer_Start(), ExitedWithCode(1), "Assert: Frequency.QuadPart > 0");
    clock.frequency_result = FALSE;
    EXPECT_EXIT(Timer_Start(), ExitedWithCode(1), "Assert: qpf_result > 0");
}
