// Which messages close full-screen saving, how the password check gates the
// close on the Windows 95/98 family, and that preview ignores all of it.
#include <gtest/gtest.h>

#include "framework/close_rules.h"
#include "framework/entry.h"
#include "framework/password_hooks.h"
#include "support/fake_saver_platform.h"

namespace {
const HWND SAVER = Hwnd(5);
const std::string CLOSE = "5 16 0 0";
LRESULT Handle(UINT message, WPARAM wParam = 0) { return DefaultSaverHandling(SAVER, message, wParam, (500 << 16) | 500); }

void LoadVerifier()
{
    Win9xFamily = TRUE;
    LoadPasswordHook();
    ASSERT_NE(VerifyPasswordFn, nullptr);
}

TEST(CloseRulesTest, InputAndSystemEventsCloseOnlyInFullScreen)
{
    const struct { UINT message; WPARAM wParam; bool closes; LRESULT result; int hides; } cases[] = {
        {WM_KEYDOWN, 'A', true, DEFAULT_RESULT, 0}, {WM_SYSKEYDOWN, 0x12, true, DEFAULT_RESULT, 0},
        {WM_LBUTTONDOWN, 1, true, DEFAULT_RESULT, 0}, {WM_RBUTTONDOWN, 2, true, DEFAULT_RESULT, 0},
        {WM_MBUTTONDOWN, 16, true, DEFAULT_RESULT, 0}, {WM_ACTIVATEAPP, 0, true, DEFAULT_RESULT, 0},
        {WM_ACTIVATEAPP, 1, false, DEFAULT_RESULT, 0}, {WM_POWER, 2, false, DEFAULT_RESULT, 0},
        {WM_POWER, PWR_CRITICALRESUME, true, DEFAULT_RESULT, 0}, {WM_POWERBROADCAST, 7, true, DEFAULT_RESULT, 0},
        {WM_SHOWWINDOW, 0, false, DEFAULT_RESULT, 0}, {WM_SHOWWINDOW, 1, false, DEFAULT_RESULT, 1},
        {WM_SETCURSOR, 0, false, 1, 1}, {WM_KEYDOWN + 1, 'A', false, DEFAULT_RESULT, 0}, {0, 0, false, DEFAULT_RESULT, 0},
    };
    for (const int world : {0, 1, 2}) {  // full screen, Windows 95/98 full screen, preview with a verifier
        for (const auto& c : cases) {
            FakeSaverPlatform fake;
            if (world > 0) LoadVerifier();
            PreviewMode = world == 2;
            EXPECT_EQ(Handle(c.message, c.wParam), world == 2 ? DEFAULT_RESULT : c.result) << c.message << " " << world;
            EXPECT_EQ(fake.posts.size(), c.closes && world < 2 ? 1u : 0u) << c.message << " " << world;
            EXPECT_EQ(fake.hides, world == 2 ? 0 : c.hides) << c.message << " " << world;
        }
    }
}

TEST(CloseRulesTest, MouseTravelIsMeasuredFromTheReferenceByTheCursor)
{
    FakeSaverPlatform fake;
    // Travel over 4 pixels, summed over both axes, closes and moves the reference.
    const struct { int x, y; bool readable, closes; } moves[] = {
        {103, 101, true, false}, {103, 102, true, true}, {105, 102, true, false}, {108, 102, true, true},
        {110, 102, true, false}, {106, 102, true, false}, {107, 101, true, false}, {900, 900, false, false},
        {105, 100, true, true}, {103, 103, true, true}, {-99900, 103, true, true},
    };
    for (const auto& m : moves) {
        const POINT before = LastCursorPos;
        fake.posts.clear();
        fake.cursor = {m.x, m.y};
        fake.cursorOk = m.readable;
        Handle(WM_MOUSEMOVE);
        EXPECT_EQ(fake.posts, m.closes ? std::vector<std::string>{CLOSE} : std::vector<std::string>{}) << m.x;
        EXPECT_EQ(LastCursorPos.x, m.closes ? m.x : before.x);
        EXPECT_EQ(LastCursorPos.y, m.closes ? m.y : before.y);
    }
}

TEST(CloseRulesTest, CloseIsGrantedWithoutAVerifierAndTheRulesStop)
{
    for (const BOOL win9x : {FALSE, TRUE}) {
        FakeSaverPlatform fake;
        fake.found.clear();
        Win9xFamily = win9x;
        EXPECT_EQ(Handle(SAVER_VERIFY_MSG), win9x ? 1 : DEFAULT_RESULT);
        EXPECT_EQ(Handle(WM_CLOSE), DEFAULT_RESULT);
        EXPECT_EQ(CloseGranted, win9x);
        EXPECT_EQ(Handle(WM_SETCURSOR), win9x ? DEFAULT_RESULT : 1);
        Handle(WM_KEYDOWN);
        EXPECT_EQ(fake.posts.size(), win9x ? 0u : 1u);
    }
}

TEST(CloseRulesTest, RefusedCheckKeepsTheSaverAndResetsTheReference)
{
    FakeSaverPlatform fake;
    LoadVerifier();
    fake.tick = 1000;
    fake.timers = 3;
    fake.cursor = {300, 250};
    fake.duringPrompt = [&] { fake.tick = 4000; EXPECT_TRUE(CheckInProgress); };
    EXPECT_EQ(Handle(WM_CLOSE), 0);
    EXPECT_EQ(fake.timers, 1);
    EXPECT_EQ(fake.hides, 1);
    EXPECT_TRUE(!CloseGranted && !CheckInProgress && LastCheckTick == 4000 && LastCursorPos.x == 300 && LastCursorPos.y == 250);
    Handle(WM_KEYDOWN);
    EXPECT_EQ(fake.posts, std::vector<std::string>{CLOSE});
}

TEST(CloseRulesTest, RecheckGateRunsInWrappingTicks)
{
    const struct { DWORD last, now; bool prompts; } cases[] = {
        {1000, 1199, false}, {1000, 1200, true}, {1000, 1000, false}, {0xFFFFFF00, 0x10, true},
        {0xFFFFFFF0, 0x10, false}, {1000, 999, true}, {NO_CHECK_TICK, 5, true},
    };
    for (const auto& c : cases) {
        FakeSaverPlatform fake;
        LoadVerifier();
        LastCheckTick = c.last;
        LastCursorPos = {0, 0};
        fake.tick = c.now;
        EXPECT_EQ(Handle(WM_CLOSE), 0);
        EXPECT_EQ(fake.prompts, c.prompts ? 1 : 0) << c.last << " " << c.now;
        EXPECT_EQ(LastCursorPos.x, 100);
        EXPECT_EQ(LastCheckTick, c.prompts ? c.now : c.last);
    }
}

// Inside the check a second close is refused without a second prompt and input
// goes to the default handling; the verify request itself is answered.
TEST(CloseRulesTest, DuringTheCheckOnlyTheVerifyRequestIsAnswered)
{
    FakeSaverPlatform fake;
    LoadVerifier();
    fake.verdict = TRUE;
    fake.cursor = {900, 900};
    std::vector<LRESULT> inside;
    fake.duringPrompt = [&] {
        if (fake.prompts > 1) return;
        for (UINT m : {UINT(WM_CLOSE), UINT(WM_KEYDOWN), UINT(WM_MOUSEMOVE), UINT(WM_SETCURSOR), SAVER_VERIFY_MSG})
            inside.push_back(Handle(m));
    };
    EXPECT_EQ(Handle(WM_CLOSE), DEFAULT_RESULT);
    EXPECT_EQ(inside, (std::vector<LRESULT>{0, DEFAULT_RESULT, DEFAULT_RESULT, DEFAULT_RESULT, TRUE}));
    EXPECT_TRUE(CloseGranted && fake.prompts == 2 && fake.posts.empty() && fake.hides == 0);
}

TEST(CloseRulesTest, AutoPlayQueryPostsACloseInEveryState)
{
    const struct { bool verifier; BOOL preview, granted, checking; } cases[] = {
        {false, FALSE, FALSE, FALSE}, {true, FALSE, FALSE, FALSE}, {true, TRUE, FALSE, FALSE},
        {false, TRUE, FALSE, FALSE}, {true, FALSE, TRUE, FALSE}, {true, FALSE, FALSE, TRUE},
    };
    for (const auto& c : cases) {
        FakeSaverPlatform fake;
        if (c.verifier) LoadVerifier();
        AutoPlayMessage = 0xC1F0;
        PreviewMode = c.preview;
        CloseGranted = c.granted;
        CheckInProgress = c.checking;
        EXPECT_EQ(Handle(0xC1F0), c.verifier ? 1 : 0);
        EXPECT_EQ(fake.posts, std::vector<std::string>{CLOSE});
    }
}
}  // namespace
