// Which messages close full-screen saving, how the password check gates the
// close on the Windows 95/98 family, and that preview ignores all of it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/close_rules.h"
#include "framework/entry.h"
#include "framework/password_hooks.h"
#include "support/fake_saver_platform.h"

namespace {
using Calls = std::vector<std::string>;

const HWND SAVER = Window(5);
const std::string POST_CLOSE = "PostMessageA(5, 0x10, 0, 0)";
const std::string HIDE_CURSOR = "SetCursor(0)";
const std::string SEND_VERIFY = "SendMessageA(5, 0x8000)";
const std::string PROMPT = "VerifyScreenSavePwd(5)";
const std::string REMOVE_TIMER = "PeekMessageA(5, 0x113, 0x113, 3)";
constexpr LPARAM FAR_AWAY = (500 << 16) | 500;  // a mouse message's own coordinates
constexpr UINT AUTOPLAY = 0xC1F0;

std::string Default(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    char text[64];
    std::snprintf(text, sizeof text, "DefWindowProcA(5, 0x%X, %lu, %ld)", message,
                  static_cast<unsigned long>(wParam), static_cast<long>(lParam));
    return text;
}

bool Contains(const Calls& calls, const std::string& call)
{
    for (const std::string& c : calls)
        if (c == call) return true;
    return false;
}

class CloseRulesTest : public testing::Test {
protected:
    void SetUp() override
    {
        LastCursorPos = {100, 100};
        fake.cursor = {100, 100};
    }
    // A verifier loaded the way full-screen saving loads it.
    void LoadVerifier()
    {
        Win9xFamily = TRUE;
        fake.storedValue = {1, 0, 0, 0};
        fake.libraries = {"PASSWORD.CPL"};
        fake.routines = {"VerifyScreenSavePwd"};
        LoadPasswordHook();
        ASSERT_NE(VerifyPasswordFn, nullptr);
        fake.ClearCalls();
    }
    LRESULT Handle(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return DefaultSaverHandling(SAVER, message, wParam, lParam);
    }

    FakeSaverPlatform fake;
};

struct EventCase {
    UINT message;
    WPARAM wParam;
    bool closes;
};

TEST_F(CloseRulesTest, InputAndSystemEventsPostACloseInFullScreen)
{
    const EventCase cases[] = {
        {WM_KEYDOWN, 'A', true},        {WM_SYSKEYDOWN, 0x12, true}, {WM_LBUTTONDOWN, 1, true},
        {WM_RBUTTONDOWN, 2, true},      {WM_MBUTTONDOWN, 16, true},          {WM_ACTIVATEAPP, 0, true},
        {WM_ACTIVATEAPP, 1, false},     {WM_POWER, 1, false},                {WM_POWER, 2, false},
        {WM_POWER, 3, true},            {WM_POWERBROADCAST, 0, true},        {WM_POWERBROADCAST, 7, true},
        {WM_POWERBROADCAST, 0x8013, true}, {WM_TIMER, 1, false},             {WM_SHOWWINDOW, 0, false},
        {WM_KEYDOWN + 1, 'A', false},   {WM_LBUTTONDOWN + 1, 0, false},      {0, 0, false},
    };
    // Neither the platform family nor a verifier changes these rules.
    for (const BOOL win9x : {FALSE, TRUE}) {
        Win9xFamily = win9x;
        for (const EventCase& c : cases) {
            SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << c.message << " wParam " << c.wParam
                                            << " win9x " << win9x);
            fake.ClearCalls();
            EXPECT_EQ(Handle(c.message, c.wParam, FAR_AWAY), fake.defaultResult);
            Calls expected;
            if (c.closes) expected.push_back(POST_CLOSE);
            expected.push_back(Default(c.message, c.wParam, FAR_AWAY));
            EXPECT_EQ(fake.calls, expected);
        }
    }
    EXPECT_FALSE(CloseGranted);
}

TEST_F(CloseRulesTest, CursorMessagesHideTheCursor)
{
    EXPECT_EQ(Handle(WM_SETCURSOR, 5, 1), 1);
    EXPECT_EQ(fake.calls, Calls{HIDE_CURSOR});

    fake.ClearCalls();
    EXPECT_EQ(Handle(WM_SHOWWINDOW, 1), fake.defaultResult);
    EXPECT_EQ(fake.calls, (Calls{HIDE_CURSOR, Default(WM_SHOWWINDOW, 1)}));
}

TEST_F(CloseRulesTest, MouseTravelIsMeasuredFromTheReferenceByTheCursor)
{
    const struct {
        POINT cursor;
        bool closes;
    } moves[] = {
        // Travel 4 passes, 5 closes and becomes the reference.
        {{103, 101}, false},
        {{103, 102}, true},
        // From (103, 102): small moves add up against the reference.
        {{104, 102}, false},
        {{105, 102}, false},
        {{106, 102}, false},
        {{107, 102}, false},
        {{108, 102}, true},
        // From (108, 102): back and forth within two pixels never closes.
        {{110, 102}, false},
        {{106, 102}, false},
        {{108, 104}, false},
        {{107, 101}, false},
        {{108, 102}, false},
        // Both axes count, in either direction.
        {{105, 100}, true},
        {{103, 103}, true},
        {{103 - 100000, 103}, true},
    };
    // The messages' own coordinates lie far off every time: only the cursor counts.
    for (const auto& move : moves) {
        SCOPED_TRACE(testing::Message() << "cursor " << move.cursor.x << "," << move.cursor.y);
        const POINT before = LastCursorPos;
        fake.ClearCalls();
        fake.cursor = move.cursor;
        Handle(WM_MOUSEMOVE, 0, FAR_AWAY);
        EXPECT_EQ(Contains(fake.calls, POST_CLOSE), move.closes);
        const POINT expected = move.closes ? move.cursor : before;
        EXPECT_EQ(LastCursorPos.x, expected.x);
        EXPECT_EQ(LastCursorPos.y, expected.y);
    }
}

TEST_F(CloseRulesTest, UnreadableCursorNeitherClosesNorMovesTheReference)
{
    fake.cursorReadable = false;
    fake.cursor = {900, 900};
    Handle(WM_MOUSEMOVE);
    EXPECT_FALSE(Contains(fake.calls, POST_CLOSE));
    EXPECT_TRUE(LastCursorPos.x == 100 && LastCursorPos.y == 100);
}

TEST_F(CloseRulesTest, PreviewIgnoresEveryRule)
{
    PreviewMode = TRUE;
    const EventCase cases[] = {
        {WM_KEYDOWN, 'A', false},  {WM_LBUTTONDOWN, 1, false}, {WM_MOUSEMOVE, 0, false},
        {WM_ACTIVATEAPP, 0, false}, {WM_POWER, 3, false},       {WM_POWERBROADCAST, 0, false},
        {WM_SETCURSOR, 0, false},  {WM_SHOWWINDOW, 1, false},  {WM_CLOSE, 0, false},
        {SAVER_VERIFY_MSG, 0, false},
    };
    fake.cursor = {900, 900};
    for (const BOOL win9x : {FALSE, TRUE}) {
        if (win9x) LoadVerifier();
        for (const EventCase& c : cases) {
            SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << c.message << " win9x " << win9x);
            fake.ClearCalls();
            EXPECT_EQ(Handle(c.message, c.wParam), fake.defaultResult);
            EXPECT_EQ(fake.calls, Calls{Default(c.message, c.wParam)});
        }
    }
    EXPECT_FALSE(CloseGranted);
}

TEST_F(CloseRulesTest, OutsideTheFamilyCloseAndVerifyGoToTheDefault)
{
    for (const UINT message : {UINT(WM_CLOSE), SAVER_VERIFY_MSG, UINT(WM_CLOSE)}) {
        fake.ClearCalls();
        EXPECT_EQ(Handle(message), fake.defaultResult);
        EXPECT_EQ(fake.calls, Calls{Default(message)});
    }
    // Closing is never marked granted, so the rules stay on.
    EXPECT_FALSE(CloseGranted);
    fake.ClearCalls();
    Handle(WM_KEYDOWN);
    EXPECT_TRUE(Contains(fake.calls, POST_CLOSE));
}

TEST_F(CloseRulesTest, WithoutAVerifierTheFirstCloseIsGranted)
{
    Win9xFamily = TRUE;
    EXPECT_EQ(Handle(SAVER_VERIFY_MSG), 1);
    fake.ClearCalls();
    EXPECT_EQ(Handle(WM_CLOSE), fake.defaultResult);
    EXPECT_EQ(fake.calls, Calls{Default(WM_CLOSE)});
    EXPECT_TRUE(CloseGranted);
    // Once granted, input only reaches the default handling.
    fake.ClearCalls();
    EXPECT_EQ(Handle(WM_SETCURSOR), fake.defaultResult);
    Handle(WM_KEYDOWN);
    EXPECT_EQ(fake.calls, (Calls{Default(WM_SETCURSOR), Default(WM_KEYDOWN)}));
}

TEST_F(CloseRulesTest, RefusedCheckKeepsTheSaverAndResetsTheReference)
{
    LoadVerifier();
    fake.tick = 1000;
    fake.pendingTimers = 3;
    fake.cursor = {300, 250};
    fake.verdict = FALSE;
    // The prompt takes a while; the gate runs from its end.
    fake.duringPrompt = [&] {
        EXPECT_TRUE(CheckInProgress);
        fake.tick = 4000;
    };
    EXPECT_EQ(Handle(WM_CLOSE), 0);
    EXPECT_EQ(fake.calls,
              (Calls{REMOVE_TIMER, REMOVE_TIMER, SEND_VERIFY, PROMPT, HIDE_CURSOR, "GetCursorPos"}));
    EXPECT_EQ(fake.pendingTimers, 1);
    EXPECT_FALSE(CloseGranted);
    EXPECT_FALSE(CheckInProgress);
    EXPECT_EQ(LastCheckTick, 4000u);
    EXPECT_TRUE(LastCursorPos.x == 300 && LastCursorPos.y == 250);
    // Saving goes on: input still posts a close.
    fake.ClearCalls();
    Handle(WM_KEYDOWN);
    EXPECT_TRUE(Contains(fake.calls, POST_CLOSE));
}

TEST_F(CloseRulesTest, RecheckGateRunsInWrappingTicks)
{
    LoadVerifier();
    const struct {
        DWORD lastCheck, now;
        bool prompts;
    } cases[] = {
        {1000, 1199, false},
        {1000, 1200, true},
        {1000, 1000, false},
        {0xFFFFFF00, 0x10, true},   // 256 ms before the wrap, 16 after: 272 ms
        {0xFFFFFFF0, 0x10, false},  // 32 ms across the wrap
        {1000, 999, true},          // a clock that went back reads as long ago
        {NO_CHECK_TICK, 5, true},   // no check yet: no gate
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "last check " << c.lastCheck << " now " << c.now);
        fake.ClearCalls();
        LastCheckTick = c.lastCheck;
        LastCursorPos = {0, 0};
        fake.tick = c.now;
        EXPECT_EQ(Handle(WM_CLOSE), 0);
        EXPECT_EQ(Contains(fake.calls, PROMPT), c.prompts);
        // Refused with or without a prompt, the reference follows the cursor.
        EXPECT_EQ(LastCursorPos.x, 100);
        EXPECT_EQ(LastCheckTick, c.prompts ? c.now : c.lastCheck);
    }
}

TEST_F(CloseRulesTest, DuringTheCheckOnlyTheVerifyRequestIsAnswered)
{
    LoadVerifier();
    fake.verdict = TRUE;
    fake.cursor = {900, 900};
    Calls inside;
    LRESULT closeInside = -1, cursorInside = -1;
    fake.duringPrompt = [&] {
        const size_t before = fake.calls.size();
        closeInside = Handle(WM_CLOSE);
        Handle(WM_KEYDOWN);
        Handle(WM_MOUSEMOVE);
        cursorInside = Handle(WM_SETCURSOR);
        inside.assign(fake.calls.begin() + before, fake.calls.end());
    };
    EXPECT_NE(Handle(WM_CLOSE), 0);
    // The second close is refused without a second prompt; input is left to
    // the default handling.
    EXPECT_EQ(closeInside, 0);
    EXPECT_EQ(cursorInside, fake.defaultResult);
    EXPECT_EQ(inside, (Calls{"GetCursorPos", Default(WM_KEYDOWN), Default(WM_MOUSEMOVE), Default(WM_SETCURSOR)}));
    // Accepted: the pending close goes on to destroy the window.
    EXPECT_TRUE(CloseGranted);
    EXPECT_EQ(fake.calls.back(), Default(WM_CLOSE));
    EXPECT_EQ(fake.CallsTo("VerifyScreenSavePwd").size(), 1u);
    EXPECT_FALSE(Contains(fake.calls, HIDE_CURSOR));
}

TEST_F(CloseRulesTest, VerifyRequestPassesTheInProgressGuard)
{
    LoadVerifier();
    CheckInProgress = TRUE;
    for (const BOOL verdict : {FALSE, TRUE}) {
        fake.ClearCalls();
        fake.verdict = verdict;
        EXPECT_EQ(Handle(SAVER_VERIFY_MSG), verdict);
        EXPECT_EQ(fake.calls, Calls{PROMPT});
    }
    // A close attempt while a check runs is refused outright.
    fake.ClearCalls();
    EXPECT_EQ(VerifyBeforeClose(SAVER), FALSE);
    EXPECT_TRUE(fake.calls.empty());
}

TEST_F(CloseRulesTest, AutoPlayQueryPostsACloseInEveryState)
{
    const struct {
        bool verifier, preview, granted, checking;
    } cases[] = {
        {false, false, false, false}, {true, false, false, false}, {true, true, false, false},
        {false, true, false, false},  {true, false, true, false},  {true, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "verifier " << c.verifier << " preview " << c.preview << " granted "
                                        << c.granted << " checking " << c.checking);
        Win9xFamily = TRUE;
        UnloadPasswordHook();
        if (c.verifier) LoadVerifier();
        AutoPlayMessage = AUTOPLAY;
        PreviewMode = c.preview;
        CloseGranted = c.granted;
        CheckInProgress = c.checking;
        fake.ClearCalls();
        EXPECT_EQ(Handle(AUTOPLAY), c.verifier ? 1 : 0);
        EXPECT_EQ(fake.calls, Calls{POST_CLOSE});
    }
    // Without the query message registered, message 0 is just a message.
    AutoPlayMessage = 0;
    fake.ClearCalls();
    Handle(0);
    EXPECT_EQ(fake.calls, Calls{Default(0)});
}

TEST(ElapsedTicksTest, DifferenceSurvivesTheWrap)
{
    const struct {
        DWORD start, now, elapsed;
    } cases[] = {
        {0, 0, 0},           {1000, 1200, 200},     {0xFFFFFF00, 0x10, 272},
        {0xFFFFFFFF, 0, 1},  {5, 4, 0xFFFFFFFF},    {0, 0xFFFFFFFF, 0xFFFFFFFF},
    };
    for (const auto& c : cases) EXPECT_EQ(ElapsedTicks(c.start, c.now), c.elapsed) << c.start << " " << c.now;
}
}  // namespace
