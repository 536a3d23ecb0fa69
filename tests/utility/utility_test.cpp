// Assertions, the random sequence and the frame timer. The golden numbers of
// the sequence were computed from the generator's rules in Python's doubles,
// apart from this code.
#include <gmock/gmock.h>

#include <csignal>
#include <cstdio>
#include <limits>

#include "support/fake_clock.h"
#include "support/scene_state.h"
#include "utility/diagnostics.h"
#include "utility/mathutil.h"
#include "utility/random.h"
#include "utility/timer.h"

using testing::ExitedWithCode;

static BOOL WINAPI Alone() { return FALSE; }
static BOOL WINAPI Attached() { return TRUE; }

// The stand-ins, set in the dying process alone, mark the beep and the break
// in what it writes.
[[noreturn]] static void AssertWithStandIns(BOOL(WINAPI* debugger)(), const char* expression)
{
    Diagnostics.MessageBeep = [](UINT type) WINAPI {
        return BOOL(std::fputs(type == MB_ICONEXCLAMATION ? "[warning beep]" : "[beep]", stderr));
    };
    Diagnostics.IsDebuggerPresent = debugger;
    Diagnostics.DebugBreak = []() WINAPI { std::fputs("[break]", stderr); };
    Assert(expression, "d%s%n.cpp", 7);
}

// The path has format directives: it is traced as text.
TEST(AssertDeathTest, TracesTheCheckBeepsBreaksIntoADebuggerAndExits)
{
    EXPECT_EXIT(AssertWithStandIns(Alone, "a != b"), ExitedWithCode(1),
                "^d%s%n\\.cpp \\(7\\) Assert: a != b\r?\n\\[warning beep\\]$");
    EXPECT_EXIT(AssertWithStandIns(Attached, "w > 0"), ExitedWithCode(1),
                "Assert: w > 0\r?\n\\[warning beep\\]\\[break\\]$");
    EXPECT_EXIT(AssertWithStandIns(Alone, nullptr), ExitedWithCode(1), "^Assert\\(\\) param error");
    EXPECT_EXIT(Assert_Response(nullptr), ExitedWithCode(1), "^Assert_Response\\(\\) param error");
}

#ifndef _WIN32
// Outside a debugger the host finds none; its break is the trap signal.
TEST(LinuxDiagnosticsDeathTest, FindsNoDebuggerAndBreaksWithTheTrapSignal)
{
    EXPECT_FALSE(Diagnostics.IsDebuggerPresent());
    EXPECT_EXIT(Diagnostics.DebugBreak(), testing::KilledBySignal(SIGTRAP), "");
}
#endif

TEST(Random, DrawsTheGoldenSequenceAndScalesItIntoRanges)
{
    Random_Seed(1);
    const int drawn[] = {Random_Next(), Random_Next(), Random_Next(), Random_Next()};
    EXPECT_THAT(drawn, testing::ElementsAre(41, 18467, 6334, 26500));
    EXPECT_EQ(RandomSeed, -410750699);
    Random_Seed(1);
    EXPECT_EQ(RandomRange(-6, 6), -5.98498489333781);
    Random_Seed(-99);
    EXPECT_EQ(RandomRange(-12, -2), -2.0866725669118313);
    EXPECT_EXIT(RandomRange(0, -EPSILON), ExitedWithCode(1), "Assert: upper - lower > -EPSILON");
    // Only an endless range makes a value outside it.
    const double endless = std::numeric_limits<double>::infinity();
    EXPECT_EXIT(RandomRange(-endless, 0), ExitedWithCode(1), "Assert: x - lower > -EPSILON");
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
        {.after_s = 0.75, .sample_rate = 3 / 1.0, .average_rate = 3 / 1.0, .sample_frames = 0},
        {.after_s = 1.2, .sample_rate = 1 / 1.2, .average_rate = 4 / 2.2, .sample_frames = 0},
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
        EXPECT_EQ(SampleFrameCount, row.sample_frames);
    }
    clock.counter_result = FALSE;
    EXPECT_EXIT(Timer_Frame(), ExitedWithCode(1), "Assert: qpc_result > 0");
    clock.frequency = 0;
    EXPECT_EXIT(Timer_Start(), ExitedWithCode(1), "Assert: Frequency.QuadPart > 0");
    clock.frequency_result = FALSE;
    EXPECT_EXIT(Timer_Start(), ExitedWithCode(1), "Assert: qpf_result > 0");
}
