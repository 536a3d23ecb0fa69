// Which messages close full-screen saving, how the password check gates the
// close on the Windows 95/98 family, and that preview ignores all of it.
#include <gtest/gtest.h>

#include "support/fake_saver_platform.h"

const std::vector<std::string> CLOSED = {"5 16 0 0"}, OPEN = {};
// The message's own coordinates lie far off: only the cursor counts.
static LRESULT Handle(UINT message, WPARAM wParam = 0) { return DefaultSaverHandling(Hwnd(5), message, wParam, (500 << 16) | 500); }
static void LoadVerifier() { Win9xFamily = TRUE, LoadPasswordHook(); }

TEST(CloseRulesTest, InputAndSystemEventsCloseOnlyInFullScreen)
{
    const LRESULT D = DEFAULT_RESULT;
    const struct { UINT message; WPARAM wParam; bool closes; LRESULT result; int hides; } cases[] = {
        {WM_KEYDOWN, 'A', true, D, 0}, {WM_SYSKEYDOWN, 0x12, true, D, 0}, {WM_LBUTTONDOWN, 1, true, D, 0},
        {WM_RBUTTONDOWN, 2, true, D, 0}, {WM_MBUTTONDOWN, 16, true, D, 0}, {WM_ACTIVATEAPP, 0, true, D, 0},
        {WM_ACTIVATEAPP, 1, false, D, 0}, {WM_POWER, 2, false, D, 0}, {WM_POWER, PWR_CRITICALRESUME, true, D, 0},
        {WM_POWERBROADCAST, 7, true, D, 0}, {WM_SHOWWINDOW, 0, false, D, 0}, {WM_SHOWWINDOW, 1, false, D, 1},
        {WM_SETCURSOR, 0, false, 1, 1}, {WM_KEYDOWN + 1, 'A', false, D, 0}, {0, 0, false, D, 0},
    };
    for (const int world : {0, 1, 2}) {  // full screen, Windows 95/98 full screen, preview with a verifier
        for (const auto& c : cases) {
            FakeSaverPlatform fake;
            if (world > 0) LoadVerifier();
            PreviewMode = world == 2;
            EXPECT_EQ(Handle(c.message, c.wParam), world == 2 ? D : c.result) << c.message << " " << world;
            EXPECT_TRUE(fake.posts == (c.closes && world < 2 ? CLOSED : OPEN) && fake.hides == (world == 2 ? 0 : c.hides)) << c.message;
        }
        FakeSaverPlatform fake;  // the AutoPlay query closes in every world, cancelling AutoPlay under a password
        if (world > 0) LoadVerifier();
        AutoPlayMessage = 0xC1F0, PreviewMode = world == 2;
        EXPECT_TRUE(Handle(0xC1F0) == (world > 0) && fake.posts == CLOSED) << world;
    }
}

TEST(CloseRulesTest, MouseTravelIsMeasuredFromTheReferenceByTheCursor)
{
    FakeSaverPlatform fake;
    // Travel over 4 pixels, summed over both axes, closes and moves the reference.
    const struct { int x, y; bool readable, closes; } moves[] = {{3, 1, true, false}, {3, 2, true, true}, {5, 2, true, false},
        {8, 2, true, true}, {10, 2, true, false}, {6, 2, true, false}, {7, 1, true, false}, {900, 900, false, false},
        {5, 0, true, true}, {3, 3, true, true}, {-100000, 3, true, true}};
    for (const auto& m : moves) {
        const POINT before = LastCursorPos;
        fake.posts.clear(), fake.cursor = {m.x, m.y}, fake.cursorOk = m.readable;
        Handle(WM_MOUSEMOVE);
        EXPECT_EQ(fake.posts, m.closes ? CLOSED : OPEN) << m.x;
        EXPECT_TRUE(LastCursorPos.x == (m.closes ? m.x : before.x) && LastCursorPos.y == (m.closes ? m.y : before.y)) << m.x;
    }
}

// Without a verifier the first close is granted on the Windows 95/98 family,
// and the rules stop; elsewhere closing is never marked granted.
TEST(CloseRulesTest, CloseIsGrantedWithoutAVerifier)
{
    for (const BOOL win9x : {FALSE, TRUE}) {
        FakeSaverPlatform fake;
        Win9xFamily = win9x;
        EXPECT_EQ(Handle(SAVER_VERIFY_MSG), win9x ? 1 : DEFAULT_RESULT);
        EXPECT_EQ(Handle(WM_CLOSE), DEFAULT_RESULT);
        EXPECT_TRUE(CloseGranted == win9x && Handle(WM_SETCURSOR) == (win9x ? DEFAULT_RESULT : 1));
        Handle(WM_KEYDOWN);
        EXPECT_EQ(fake.posts, win9x ? OPEN : CLOSED);
    }
}

// A refused check keeps saving and moves the reference to the cursor; the
// gate after a check runs from the prompt's end, in wrapping ticks.
TEST(CloseRulesTest, RecheckGateAndRefusal)
{
    const struct { DWORD last, now; bool prompts; } cases[] = {{1000, 1199, false}, {1000, 1200, true}, {1000, 1000, false},
        {0xFFFFFF00, 0x10, true}, {0xFFFFFFF0, 0x10, false}, {1000, 999, true}, {NO_CHECK_TICK, 5, true}};
    for (const auto& c : cases) {
        FakeSaverPlatform fake;
        LoadVerifier();
        LastCheckTick = c.last, fake.tick = c.now, fake.timers = 3, fake.cursor = {300, 250};
        // Inside the check a second close is refused unprompted and input goes to the default handling.
        fake.duringPrompt = [&] {
            fake.tick = c.now + 3000;
            ASSERT_TRUE(CheckInProgress && fake.prompts == 1);
            EXPECT_TRUE(!Handle(WM_CLOSE) && Handle(WM_KEYDOWN) == DEFAULT_RESULT && Handle(WM_SETCURSOR) == DEFAULT_RESULT);
        };
        EXPECT_EQ(Handle(WM_CLOSE), 0);
        EXPECT_TRUE(fake.prompts == c.prompts && fake.hides == c.prompts && fake.timers == (c.prompts ? 1 : 3)) << c.last << " " << c.now;
        EXPECT_TRUE(!CloseGranted && !CheckInProgress && LastCursorPos.x == 300 && LastCursorPos.y == 250);
        EXPECT_EQ(LastCheckTick, c.prompts ? c.now + 3000 : c.last);
        EXPECT_TRUE(Handle(WM_KEYDOWN) && fake.posts == CLOSED);
    }
}

