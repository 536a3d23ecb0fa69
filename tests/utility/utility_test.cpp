// Assertions, the random sequence and the frame timer. The golden numbers of
// the sequence were computed from the generator's rules in Python's doubles,
// apart from this code.
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "support/fake_clock.h"
#include "support/scene_state.h"
#include "utility/diagnostics.h"
#include "utility/mathutil.h"
#include "utility/random.h"
#include "utility/timer.h"

static bool debugger = false;
static void Mark(const std::string& text)
{
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

// Each row: what is asserted where, with or without a debugger, and what the
// dying process wrote (the stand-ins mark the beep and the break).
TEST(DiagnosticsDeathTest, AssertTracesBeepsBreaksAndExits) {
    const DiagnosticsPlatform saved = Diagnostics;
    Diagnostics.MessageBeep = [](UINT type) WINAPI { return Mark("[beep " + std::to_string(type) + "]"), TRUE; };
    Diagnostics.IsDebuggerPresent = []() WINAPI { return BOOL(debugger); }, Diagnostics.DebugBreak = []() WINAPI { Mark("[break]"); };
    const std::string long_path(2000, 'p');
    struct Case { const char *expression, *file; bool debugger; const char* output; } cases[] = {
        {"w > 0", "src/render.cpp", false, "^src/render.cpp \\(112\\) Assert: w > 0\r?\n\\[beep 48\\]$"},
        {"w > 0", "src/render.cpp", true, "^src/render.cpp \\(112\\) Assert: w > 0\r?\n\\[beep 48\\]\\[break\\]$"},
        {"a != b", "dir%s%n%d/x.cpp", false, "^dir%s%n%d/x.cpp \\(112\\) Assert: a != b\r?\n\\[beep 48\\]$"},
        {"x", long_path.c_str(), true, "^p+\\[beep 48\\]\\[break\\]$"},  // cut short, not overrun
        {nullptr, "f.cpp", true, "^Assert\\(\\) param error.\r?\n$"}, {"x", nullptr, true, "^Assert\\(\\) param error.\r?\n$"}};
    for (const Case& c : cases) EXPECT_EXIT((debugger = c.debugger, Assert(c.expression, c.file, 112)), testing::ExitedWithCode(1), c.output);
    EXPECT_EXIT(Assert_Response(nullptr), testing::ExitedWithCode(1), "^Assert_Response\\(\\) param error.\r?\n$");
    EXPECT_EXIT({ ASSERT(-0.00009 > -EPSILON); std::exit(7); }, testing::ExitedWithCode(7), "");
    EXPECT_EXIT(ASSERT(-0.0001 > -EPSILON), testing::ExitedWithCode(1), "utility_test.cpp \\(.+\\) Assert: -0.0001 > -EPSILON");
    Diagnostics = saved;
#ifndef _WIN32
    // Outside a debugger the host finds none; its break is the trap signal.
    EXPECT_FALSE(Diagnostics.IsDebuggerPresent());
    EXPECT_EXIT(Diagnostics.DebugBreak(), testing::KilledBySignal(SIGTRAP), "");
#endif
}

TEST(Random, GoldenSequencesAndDraws) {
    struct Sequence { int32_t seed; std::vector<int> values; int32_t seed_after; } sequences[] = {
        {1, {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358}, 1924036713},
        {-123456789, {19585, 21232, 28925, 7287, 31768, 7733, 32592, 9821}, 643667859}};
    for (const Sequence& s : sequences) {
        std::vector<int> drawn;
        for (Random_Seed(s.seed); drawn.size() < s.values.size();) drawn.push_back(Random_Next());
        EXPECT_TRUE(drawn == s.values && RandomSeed == s.seed_after) << s.seed;
    }
    struct Draw { int32_t seed; double lower, upper, expected; } draws[] = {
        {1, -6, 6, -5.98498489333781},          {7, -1, 1, -0.9962767418439283},    {2745024, 30, 250, 153.98876918851283},
        {-99, -12, -2, -2.0866725669118313},    {424242, 0, 1, 0.2800988799707022}};
    for (const Draw& d : draws) EXPECT_EQ((Random_Seed(d.seed), RandomRange(d.lower, d.upper)), d.expected) << d.seed;
    EXPECT_NEAR(RandomRange(1, 1 - 0.00005), 1.0, 0.0001);  // reversed, but within the tolerance
    EXPECT_EQ(Vector3().Length() + Vector3(3, 4, 12).Length(), 13.0);
    EXPECT_EXIT(RandomRange(1, 0), testing::ExitedWithCode(1), "Assert: upper - lower > -EPSILON");
    EXPECT_EXIT(RandomRange(0, -EPSILON), testing::ExitedWithCode(1), "Assert: upper - lower > -EPSILON");
}

// Each row: where the counter starts, then per tick the seconds since the last
// one and the interval, sample rate, average rate and both frame counts.
TEST(Timer, FiguresAfterEachTick) {
    struct Tick { double after_s, interval, sample_rate, average_rate; uint32_t frames, sample_frames; };
    struct Case { int64_t start; std::vector<Tick> ticks; } cases[] = {
        // The fourth quarter second closes the window at exactly 1.0 s.
        {1000, {{0.25, 0.25, 0, 4, 1, 1}, {0.25, 0.25, 0, 4, 2, 2}, {0.25, 0.25, 0, 4, 3, 3}, {0.25, 0.25, 4, 4, 4, 0},
                {0.5, 0.5, 4, 5 / 1.5, 5, 1}}},
        {5000000000LL, {{0.3, 0.3, 0, 1 / 0.3, 1, 1}, {0.9, 0.9, 2 / 1.2, 2 / 1.2, 2, 0}}},
        {1000, {{0, 0, 0, 0, 1, 1}, {0.5, 0.5, 0, 4, 2, 2}}}};
    FakeClock clock;
    for (const Case& c : cases) {
        ResetSceneState(), clock.counter = c.start, Timer_Start();
        for (const Tick& t : c.ticks) {
            clock.AdvanceSeconds(t.after_s), Timer_Frame();
            const double got[] = {FrameInterval, SampleFrameRate, AverageFrameRate}, want[] = {t.interval, t.sample_rate, t.average_rate};
            for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], 1e-9) << c.start << " frame " << t.frames << " figure " << i;
            EXPECT_TRUE(FrameCount == t.frames && SampleFrameCount == t.sample_frames) << FrameCount << " " << SampleFrameCount;
        }
    }
    EXPECT_EXIT((clock.counter_result = FALSE, Timer_Frame()), testing::ExitedWithCode(1), "Assert: qpc_result > 0");
    EXPECT_EXIT((clock.counter_result = FALSE, Timer_Start()), testing::ExitedWithCode(1), "Assert: qpc_result > 0");
    EXPECT_EXIT((clock.frequency = 0, Timer_Start()), testing::ExitedWithCode(1), "Assert: Frequency.QuadPart > 0");
    EXPECT_EXIT((clock.frequency_result = FALSE, Timer_Start()), testing::ExitedWithCode(1), "Assert: qpf_result > 0");
}
