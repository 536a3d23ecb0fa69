// The one close rule of full-screen saving, as every host asks it, and the
// narrower rule of a saver tried out in a window of its own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/close_rule.h"

namespace {
using testing::FieldsAre;

constexpr POINT REFERENCE = {100, 100};

SaverEvent Input(SaverInput input) { return {.input = input}; }
SaverEvent PointerAt(POINT where) { return {.input = SaverInput::PointerAt, .pointer = where}; }

struct CloseCase {
    const char* name;
    SaverEvent event;
    POINT reference;
    bool closes;
    POINT reference_after;
    bool ends_windowed_run;
};

// Every input but the pointer's closes alike: one of them stands for the rest,
// beside the two that also end a windowed run. Travel is the sum of both axes'
// distances; up to MOUSE_THRESHOLD (4) it passes, and the reference stays put
// so that small moves add up against it.
const CloseCase CLOSE_CASES[] = {
    {"key", Input(SaverInput::KeyDown), REFERENCE, true, REFERENCE, false},
    {"escape", Input(SaverInput::EscapeDown), REFERENCE, true, REFERENCE, true},
    {"close_requested", Input(SaverInput::CloseRequested), REFERENCE, true, REFERENCE, true},
    {"travel_4_passes", PointerAt({103, 101}), REFERENCE, false, REFERENCE, false},
    {"travel_5_closes", PointerAt({103, 102}), REFERENCE, true, {103, 102}, false},
};

TEST(CloseRule, DecidesEachEvent)
{
    for (const CloseCase& row : CLOSE_CASES) {
        SCOPED_TRACE(row.name);
        const CloseDecision decision = DecideClose(row.event, row.reference);
        EXPECT_EQ(decision.close, row.closes);
        EXPECT_THAT(decision.reference, FieldsAre(row.reference_after.x, row.reference_after.y));
        EXPECT_EQ(EndsWindowedRun(row.event), row.ends_windowed_run);
    }
}
}  // namespace
