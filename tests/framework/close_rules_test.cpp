// What the framework's default handling adds to the close rule (whose
// decisions close_rule_test.cpp tables): preview ignores input, a close is
// posted to the window that saw the input, the pointer's reference follows the
// decision, the cursor stays hidden, and on the Windows 95/98 family a
// password verifier must accept a close before it goes through.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "support/fake_close_rules.h"
#include "support/framework_state.h"

namespace {
using testing::FieldsAre;

const HWND WINDOW = HandleFromNumber(5);
const std::vector<Posted> CLOSED = {{WINDOW, WM_CLOSE, 0, 0}};
const std::vector<Posted> OPEN = {};
constexpr UINT AUTOPLAY_QUERY = 0xC1F0;
constexpr LRESULT CURSOR_SET = 1;  // WM_SETCURSOR's answer: the cursor is taken care of
constexpr LRESULT REFUSED = 0;

struct CloseRulesTest : testing::Test {
    CloseRulesTest() { ResetFrameworkState(); }
    static LRESULT Handle(UINT message, WPARAM wParam = 0)
    {
        return DefaultSaverHandling(WINDOW, message, wParam, 0);
    }
    FakeCloseRules fake;
};

TEST_F(CloseRulesTest, InputClosesFullScreenSavingOnlyAndTheCursorStaysHidden)
{
    const struct {
        const char* name;
        BOOL preview;
        UINT message;
        WPARAM wParam;
        bool closes;
        LRESULT result;
        int hides;
    } cases[] = {
        {"key", FALSE, WM_KEYDOWN, 'A', true, DEFAULT_RESULT, 0},
        {"key_in_preview", TRUE, WM_KEYDOWN, 'A', false, DEFAULT_RESULT, 0},
        {"window_shown", FALSE, WM_SHOWWINDOW, TRUE, false, DEFAULT_RESULT, 1},
        {"window_hidden", FALSE, WM_SHOWWINDOW, FALSE, false, DEFAULT_RESULT, 0},
        {"set_cursor", FALSE, WM_SETCURSOR, 0, false, CURSOR_SET, 1},
        {"set_cursor_in_preview", TRUE, WM_SETCURSOR, 0, false, DEFAULT_RESULT, 0},
        // With no AutoPlay query registered, message 0 is not taken for one.
        {"no_autoplay_query", FALSE, 0, 0, false, DEFAULT_RESULT, 0},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        FakeCloseRules fresh;
        PreviewMode = row.preview;
        EXPECT_EQ(Handle(row.message, row.wParam), row.result);
        EXPECT_EQ(fresh.posts, row.closes ? CLOSED : OPEN);
        EXPECT_EQ(fresh.hides, row.hides);
    }
}

// The query closes even a preview; the answer cancels AutoPlay only while a
// password guards the desktop.
TEST_F(CloseRulesTest, TheAutoPlayQueryClosesAndCancelsUnderAPassword)
{
    AutoPlayMessage = AUTOPLAY_QUERY;
    EXPECT_EQ(Handle(AUTOPLAY_QUERY), 0);
    PreviewMode = TRUE;
    VerifyPasswordFn = [](HWND) WINAPI { return TRUE; };
    EXPECT_EQ(Handle(AUTOPLAY_QUERY), 1);
    EXPECT_EQ(fake.posts.size(), 2u);
}

// Measured by the cursor, not by the message's coordinates.
TEST_F(CloseRulesTest, AClosingTravelMovesTheReferenceToTheCursor)
{
    fake.cursor = {3, 2};
    Handle(WM_MOUSEMOVE);
    EXPECT_EQ(fake.posts, CLOSED);
    EXPECT_THAT(LastCursorPos, FieldsAre(3, 2));
}

// On the Windows 95/98 family the first close is granted and the rules stop;
// elsewhere a close is never marked granted and the rules go on.
TEST_F(CloseRulesTest, WithoutAVerifierTheCloseGoesThrough)
{
    const struct {
        const char* name;
        BOOL win9x;
        LRESULT verify_answer;
        bool granted;
    } cases[] = {
        {"windows_nt", FALSE, DEFAULT_RESULT, false},
        {"windows_95", TRUE, TRUE, true},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        FakeCloseRules fresh;
        CloseGranted = FALSE;
        Win9xFamily = row.win9x;
        EXPECT_EQ(Handle(SAVER_VERIFY_MSG), row.verify_answer);
        EXPECT_EQ(Handle(WM_CLOSE), DEFAULT_RESULT);
        EXPECT_EQ(CloseGranted, row.granted);
        Handle(WM_KEYDOWN);
        EXPECT_EQ(fresh.posts, row.granted ? OPEN : CLOSED);
    }
}

// The verifier, answering `verdict`; inside it `during_prompt` runs.
struct PasswordCheckTest : CloseRulesTest {
    PasswordCheckTest()
    {
        current = this;
        Win9xFamily = TRUE;
        VerifyPasswordFn = [](HWND) WINAPI {
            ++current->prompts;
            if (current->during_prompt) current->during_prompt();
            return current->verdict;
        };
    }
    static inline PasswordCheckTest* current = nullptr;
    BOOL verdict = FALSE;
    int prompts = 0;
    std::function<void()> during_prompt;
};

TEST_F(PasswordCheckTest, TheVerifierDecidesTheClose)
{
    const struct {
        const char* name;
        BOOL verdict;
        LRESULT result;
        int hides;
        // The inner refusal, then a refusal of the check, take the cursor for
        // the reference: the travel that led here must not close again at once.
        POINT reference_after;
    } cases[] = {
        {"accepted", TRUE, DEFAULT_RESULT, 0, {300, 250}},
        {"refused", FALSE, REFUSED, 1, {310, 260}},
    };
    constexpr DWORD PROMPT_START = 1000;
    constexpr DWORD PROMPT_END = 4000;
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        FakeCloseRules fresh;
        CloseGranted = FALSE;
        LastCursorPos = {0, 0};
        prompts = 0;
        verdict = row.verdict;
        fresh.tick = PROMPT_START;
        fresh.cursor = {300, 250};
        fresh.pending_timers = 3;
        // Inside the check a second close is refused unasked, and input is
        // left to the default handling.
        during_prompt = [&] {
            fresh.tick = PROMPT_END;
            EXPECT_TRUE(CheckInProgress);
            EXPECT_EQ(Handle(WM_CLOSE), REFUSED);
            EXPECT_EQ(Handle(WM_KEYDOWN), DEFAULT_RESULT);
            fresh.cursor = {310, 260};
        };
        EXPECT_EQ(Handle(WM_CLOSE), row.result);
        EXPECT_EQ(prompts, 1);
        EXPECT_EQ(CloseGranted, row.verdict);
        EXPECT_FALSE(CheckInProgress);
        EXPECT_EQ(fresh.hides, row.hides);
        EXPECT_EQ(fresh.posts, OPEN);
        // Two timer messages that piled up go, with the prompt.
        EXPECT_EQ(fresh.pending_timers, 1);
        EXPECT_EQ(LastCheckTick, PROMPT_END);
        EXPECT_THAT(LastCursorPos, FieldsAre(row.reference_after.x, row.reference_after.y));
    }
}

// After a check, RECHECK_GATE_MS (200) must pass in wrapping ticks before the
// next one, counted from the prompt's end.
TEST_F(PasswordCheckTest, ARecheckWaitsOutTheGate)
{
    const struct {
        const char* name;
        DWORD last_check;
        DWORD now;
        bool prompts;
    } cases[] = {
        {"within_the_gate", 1000, 1199, false},
        {"gate_over", 1000, 1200, true},
        {"first_check", NO_CHECK_TICK, 5, true},
        {"gate_over_across_the_wrap", 0xFFFFFF00, 0x10, true},
        {"within_the_gate_across_the_wrap", 0xFFFFFFF0, 0x10, false},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        prompts = 0;
        fake.tick = row.now;
        LastCheckTick = row.last_check;
        EXPECT_EQ(Handle(WM_CLOSE), REFUSED);
        EXPECT_EQ(prompts, row.prompts ? 1 : 0);
        EXPECT_EQ(LastCheckTick, row.prompts ? row.now : row.last_check);
    }
}
}  // namespace
