// What the framework's default handling adds to the close rule (whose
// decisions close_rule_test.cpp tables): preview ignores input, a close is
// posted to the window that saw the input, the cursor stays hidden, the
// AutoPlay query is answered, and on the Windows 95/98 family a password
// verifier must accept a close before it goes through. Every row runs in a
// world of its own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "framework/close_rules.h"
#include "platform/close_rules.h"
#include "support/framework_state.h"

namespace {
using testing::FieldsAre;

// The framework's values as a fresh process has them, over a system of this
// object's: a cursor, a tick, a password verifier and its prompt, and what the
// system saw. A sent message runs through the window's procedure, which ends
// in the framework's default handling.
struct FakeCloseRules {
    FakeCloseRules()
    {
        ResetFrameworkState();
        current = this;
        CloseRules.PostMessageA = [](HWND window, UINT message, WPARAM w, LPARAM l) WINAPI {
            current->posts.emplace_back(window, message, w, l);
            return TRUE;
        };
        CloseRules.GetCursorPos = [](POINT* position) WINAPI {
            *position = current->cursor;
            return TRUE;
        };
        CloseRules.SetCursor = [](HCURSOR cursor) WINAPI {
            if (cursor == nullptr) ++current->hides;
            return HCURSOR(nullptr);
        };
        CloseRules.GetTickCount = []() WINAPI { return current->tick; };
        // Only ever asked to take a pending timer message.
        CloseRules.PeekMessageA = [](MSG*, HWND, UINT, UINT, UINT) WINAPI {
            ++current->timers_taken;
            return FALSE;
        };
        CloseRules.SendMessageA = [](HWND window, UINT message, WPARAM w, LPARAM l) WINAPI {
            return DefaultSaverHandling(window, message, w, l);
        };
        CloseRules.DefWindowProcA = [](HWND, UINT, WPARAM, LPARAM)
                                        WINAPI { return DEFAULT_RESULT; };
    }

    // The password verifier, answering `verdict`.
    static BOOL WINAPI Verifier(HWND)
    {
        if (++current->prompts == 1 && current->during_prompt) current->during_prompt();
        return current->verdict;
    }

    POINT cursor = {0, 0};
    DWORD tick = 0;
    BOOL verdict = FALSE;
    // Runs inside the first prompt, while the check is in progress.
    std::function<void()> during_prompt;
    std::vector<Posted> posts;
    int hides = 0;
    int timers_taken = 0;
    int prompts = 0;
    static inline FakeCloseRules* current = nullptr;
};

const HWND WINDOW = HandleFromNumber(5);
const std::vector<Posted> CLOSED = {{WINDOW, WM_CLOSE, 0, 0}};
const std::vector<Posted> OPEN = {};
constexpr UINT QUERY = 0xC1F0;  // the shell's AutoPlay query, registered at run time
constexpr UINT NULL_MESSAGE = 0;
constexpr LRESULT CURSOR_SET = 1;  // WM_SETCURSOR's answer: the cursor is taken care of
constexpr LRESULT REFUSED = 0;
// RECHECK_GATE_MS (200) after the last check, which ended at LAST_CHECK.
constexpr DWORD LAST_CHECK = 1000;
constexpr DWORD STILL_GATED = 1199;
constexpr DWORD GATE_OVER = 1200;

struct HandlingCase {
    const char* name;
    BOOL preview = FALSE;
    bool autoplay_registered = true;
    BOOL win9x = TRUE;
    std::optional<BOOL> verdict = std::nullopt;  // none: no verifier is loaded
    DWORD now = GATE_OVER;
    UINT message = WM_CLOSE;
    WPARAM wParam = 0;
    LRESULT result = DEFAULT_RESULT;
    bool closes = false;
    int hides = 0;
    BOOL granted = FALSE;
};

// The AutoPlay query closes even a preview; its answer cancels AutoPlay (TRUE)
// only while a password guards the desktop. Without a verifier a check
// accepts (TRUE). With no query registered, message 0 is not taken for one.
// Outside the Windows 95/98 family a close is never marked granted; without a
// verifier the first close is.
const HandlingCase HANDLING_CASES[] = {
    {.name = "key", .message = WM_KEYDOWN, .closes = true},
    {.name = "key_in_preview", .preview = TRUE, .message = WM_KEYDOWN},
    {.name = "window_shown", .message = WM_SHOWWINDOW, .wParam = TRUE, .hides = 1},
    {.name = "set_cursor", .message = WM_SETCURSOR, .result = CURSOR_SET, .hides = 1},
    {.name = "null_message", .autoplay_registered = false, .message = NULL_MESSAGE},
    {.name = "preview_query", .preview = TRUE, .message = QUERY, .result = FALSE, .closes = true},
    {.name = "password_query", .verdict = TRUE, .message = QUERY, .result = TRUE, .closes = true},
    {.name = "nt_close", .win9x = FALSE},
    {.name = "nt_verify", .win9x = FALSE, .message = SAVER_VERIFY_MSG},
    {.name = "no_verifier_close", .granted = TRUE},
    {.name = "no_verifier_verify", .message = SAVER_VERIFY_MSG, .result = TRUE},
    {.name = "refused", .verdict = FALSE, .result = REFUSED, .hides = 1},
    {.name = "within_the_gate", .verdict = TRUE, .now = STILL_GATED, .result = REFUSED},
    {.name = "gate_over", .verdict = TRUE, .granted = TRUE},
};

TEST(DefaultHandling, ActsOnTheCloseRuleAndGatesTheClose)
{
    for (const HandlingCase& row : HANDLING_CASES) {
        SCOPED_TRACE(row.name);
        FakeCloseRules world;
        PreviewMode = row.preview;
        if (row.autoplay_registered) AutoPlayMessage = QUERY;
        Win9xFamily = row.win9x;
        if (row.verdict) VerifyPasswordFn = FakeCloseRules::Verifier;
        world.verdict = row.verdict.value_or(FALSE);
        LastCheckTick = LAST_CHECK;
        world.tick = row.now;
        EXPECT_EQ(DefaultSaverHandling(WINDOW, row.message, row.wParam, 0), row.result);
        EXPECT_EQ(world.posts, row.closes ? CLOSED : OPEN);
        EXPECT_EQ(world.hides, row.hides);
        EXPECT_EQ(CloseGranted, row.granted);
    }
}

// Pointer travel closes and moves the reference to the cursor (not to the
// message's coordinates). While the prompt is up a second close is refused
// unasked and input is left to the default handling. After a refusal the
// cursor is the reference: the travel that led here must not close again at
// once.
TEST(DefaultHandling, ATravelsCloseIsCheckedAndRefused)
{
    constexpr POINT FAR_AWAY = {3, 2};
    constexpr POINT CURSOR_AFTER = {310, 260};
    constexpr DWORD PROMPT_END = 4000;
    FakeCloseRules world;
    Win9xFamily = TRUE;
    VerifyPasswordFn = FakeCloseRules::Verifier;
    world.cursor = FAR_AWAY;
    DefaultSaverHandling(WINDOW, WM_MOUSEMOVE, 0, 0);
    EXPECT_THAT(LastCursorPos, FieldsAre(FAR_AWAY.x, FAR_AWAY.y));
    world.during_prompt = [&] {
        world.tick = PROMPT_END;
        EXPECT_TRUE(CheckInProgress);
        EXPECT_EQ(DefaultSaverHandling(WINDOW, WM_CLOSE, 0, 0), REFUSED);
        EXPECT_EQ(DefaultSaverHandling(WINDOW, WM_KEYDOWN, 0, 0), DEFAULT_RESULT);
        world.cursor = CURSOR_AFTER;
    };
    EXPECT_EQ(DefaultSaverHandling(WINDOW, WM_CLOSE, 0, 0), REFUSED);
    EXPECT_EQ(world.prompts, 1);
    EXPECT_FALSE(CheckInProgress);
    EXPECT_EQ(world.posts, CLOSED);
    // Timer messages that piled up go, two of them, with the prompt.
    EXPECT_EQ(world.timers_taken, 2);
    EXPECT_EQ(LastCheckTick, PROMPT_END);
    EXPECT_THAT(LastCursorPos, FieldsAre(CURSOR_AFTER.x, CURSOR_AFTER.y));
}
}  // namespace
