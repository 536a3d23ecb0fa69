// The one close rule of full-screen saving, as every host asks it.
#include <gtest/gtest.h>

#include <climits>

#include "framework/close_rule.h"

namespace {
constexpr POINT REFERENCE = {100, 100};

SaverEvent Input(SaverInput input) { return {.input = input}; }
SaverEvent PointerAt(LONG x, LONG y) { return {.input = SaverInput::PointerAt, .pointer = {x, y}}; }

struct CloseCase {
    const char* name;
    SaverEvent event;
    POINT reference;
    bool closes;
    POINT reference_after;
};

const CloseCase CLOSE_CASES[] = {
    {"key", Input(SaverInput::KeyDown), REFERENCE, true, REFERENCE},
    {"escape", Input(SaverInput::EscapeDown), REFERENCE, true, REFERENCE},
    {"close_requested", Input(SaverInput::CloseRequested), REFERENCE, true, REFERENCE},
    {"button", Input(SaverInput::ButtonDown), REFERENCE, true, REFERENCE},
    {"focus_lost", Input(SaverInput::FocusLost), REFERENCE, true, REFERENCE},
    {"critical_resume", Input(SaverInput::CriticalResume), REFERENCE, true, REFERENCE},
    {"power_broadcast", Input(SaverInput::PowerBroadcast), REFERENCE, true, REFERENCE},
    {"autoplay_query", Input(SaverInput::AutoPlayQuery), REFERENCE, true, REFERENCE},
    {"pointer_still", PointerAt(100, 100), REFERENCE, false, REFERENCE},
    {"travel_4_keeps", PointerAt(103, 101), REFERENCE, false, REFERENCE},
    {"travel_5_closes", PointerAt(103, 102), REFERENCE, true, {103, 102}},
    {"travel_5_backwards", PointerAt(96, 99), REFERENCE, true, {96, 99}},
    {"travel_along_one_axis", PointerAt(100, 95), REFERENCE, true, {100, 95}},
    {"travel_across_the_range",
     PointerAt(INT_MAX, INT_MAX),
     {INT_MIN, INT_MIN},
     true,
     {INT_MAX, INT_MAX}},
};

TEST(CloseRule, DecidesEachEvent)
{
    for (const CloseCase& row : CLOSE_CASES) {
        SCOPED_TRACE(row.name);
        const CloseDecision decision = DecideClose(row.event, row.reference);
        EXPECT_EQ(decision.close, row.closes);
        EXPECT_EQ(decision.reference.x, row.reference_after.x);
        EXPECT_EQ(decision.reference.y, row.reference_after.y);
    }
}

// Small moves add up against the reference, which stays put until one closes.
TEST(CloseRule, SmallMovesAddUpAgainstTheReference)
{
    POINT reference = REFERENCE;
    for (LONG x = 101; x <= 104; ++x) {
        const CloseDecision decision = DecideClose(PointerAt(x, 100), reference);
        EXPECT_FALSE(decision.close) << x;
        reference = decision.reference;
    }
    EXPECT_TRUE(DecideClose(PointerAt(105, 100), reference).close);
}

// In a window of its own the saver is being looked at: only Escape and the
// window manager's close end it.
TEST(CloseRule, AWindowedRunEndsOnlyOnEscapeOrClose)
{
    const struct {
        const char* name;
        SaverEvent event;
        bool ends;
    } cases[] = {
        {"escape", Input(SaverInput::EscapeDown), true},
        {"close_requested", Input(SaverInput::CloseRequested), true},
        {"other_key", Input(SaverInput::KeyDown), false},
        {"button", Input(SaverInput::ButtonDown), false},
        {"far_pointer", PointerAt(900, 900), false},
        {"focus_lost", Input(SaverInput::FocusLost), false},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(EndsWindowedRun(row.event), row.ends);
    }
}
}  // namespace
