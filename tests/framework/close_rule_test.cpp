// The one close rule of full-screen saving, as every host asks it, and the
// narrower rule of a saver tried out in a window of its own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "framework/close_rule.h"

namespace {
using testing::FieldsAre;

constexpr POINT REFERENCE = {100, 100};
constexpr POINT LOWEST = {INT_MIN, INT_MIN};
constexpr POINT HIGHEST = {INT_MAX, INT_MAX};

SaverEvent Input(SaverInput input) { return {.input = input}; }
SaverEvent PointerAt(POINT where) { return {.input = SaverInput::PointerAt, .pointer = where}; }

struct CloseCase {
    const char* name;
    SaverEvent event;
    POINT reference;
    bool closes;
    POINT reference_after;
};

// Travel is the sum of both axes' distances; up to MOUSE_THRESHOLD (4) it
// passes, and the reference stays put so that small moves add up against it.
const CloseCase CLOSE_CASES[] = {
    {"key", Input(SaverInput::KeyDown), REFERENCE, true, REFERENCE},
    {"escape", Input(SaverInput::EscapeDown), REFERENCE, true, REFERENCE},
    {"close_requested", Input(SaverInput::CloseRequested), REFERENCE, true, REFERENCE},
    {"button", Input(SaverInput::ButtonDown), REFERENCE, true, REFERENCE},
    {"focus_lost", Input(SaverInput::FocusLost), REFERENCE, true, REFERENCE},
    {"critical_resume", Input(SaverInput::CriticalResume), REFERENCE, true, REFERENCE},
    {"power_broadcast", Input(SaverInput::PowerBroadcast), REFERENCE, true, REFERENCE},
    {"autoplay_query", Input(SaverInput::AutoPlayQuery), REFERENCE, true, REFERENCE},
    {"pointer_still", PointerAt(REFERENCE), REFERENCE, false, REFERENCE},
    {"travel_4_passes", PointerAt({103, 101}), REFERENCE, false, REFERENCE},
    {"travel_5_closes", PointerAt({103, 102}), REFERENCE, true, {103, 102}},
    {"travel_5_backwards", PointerAt({96, 99}), REFERENCE, true, {96, 99}},
    {"travel_along_y_only", PointerAt({100, 95}), REFERENCE, true, {100, 95}},
    {"travel_across_the_range", PointerAt(HIGHEST), LOWEST, true, HIGHEST},
};

TEST(CloseRule, DecidesEachEvent)
{
    for (const CloseCase& row : CLOSE_CASES) {
        SCOPED_TRACE(row.name);
        const CloseDecision decision = DecideClose(row.event, row.reference);
        EXPECT_EQ(decision.close, row.closes);
        EXPECT_THAT(decision.reference, FieldsAre(row.reference_after.x, row.reference_after.y));
    }
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
        {"far_pointer", PointerAt(HIGHEST), false},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(EndsWindowedRun(row.event), row.ends);
    }
}
}  // namespace
