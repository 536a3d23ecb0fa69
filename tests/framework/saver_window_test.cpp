// The framework's share of the saver window's messages, over a double of
// the saver window's table: what it answers itself, what it leaves to the
// default handling once a close is granted, and what goes on to the
// program's procedure.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/saver_window.h"
#include "support/framework_state.h"

namespace {
const HWND HOST = HandleFromNumber(0x900);  // the preview's host
const HWND WINDOW = HandleFromNumber(0x500);
const HCURSOR VISIBLE = reinterpret_cast<HCURSOR>(uintptr_t(0xC5));
constexpr LRESULT PROGRAM = 7;  // the program's procedure's answer

// The saver window's table for a fresh process's window, a child of the
// preview's host: it keeps the cursor last set, counts the yields and keeps
// what was posted. The program's procedure answers PROGRAM.
struct SaverWindowWorld {
    SaverWindowWorld(BOOL preview, BOOL granted)
    {
        ResetFrameworkState();
        PreviewMode = preview;
        CloseGranted = granted;
        current = this;
        SaverWindowPlatform& table = SaverWindowOps;
        table = {};
        table.SetCursor = [](HCURSOR c) WINAPI { return std::exchange(current->cursor, c); };
        table.Sleep = [](DWORD ms) WINAPI { current->yields += ms == 0; };
        table.GetParent = [](HWND) WINAPI { return HOST; };
        table.IsWindow = [](HWND window) WINAPI { return BOOL(window == HOST); };
        table.PostMessageA = Post;
        table.DefWindowProcA = [](HWND, UINT, WPARAM, LPARAM) WINAPI { return DEFAULT_RESULT; };
        table.ScreenSaverProc = [](HWND, UINT, WPARAM, LPARAM) CALLBACK { return PROGRAM; };
    }
    ~SaverWindowWorld() { SaverWindowOps = saved; }
    static BOOL WINAPI Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        current->posts.push_back({window, message, wParam, lParam});
        return TRUE;
    }

    HCURSOR cursor = VISIBLE;
    int yields = 0;
    std::vector<Posted> posts;
    SaverWindowPlatform saved = SaverWindowOps;
    static inline SaverWindowWorld* current = nullptr;
};

TEST(SaverWindowTest, FrameworkShareOfTheMessages)
{
    constexpr LRESULT ANSWERED = 0;  // here, going no further
    constexpr LRESULT TAKEN = 1;     // help handed to the preview's host
    constexpr LPARAM WHERE = 1234;
    const struct {
        const char* name;
        BOOL preview;
        BOOL granted;
        UINT message;
        WPARAM wParam;
        LRESULT result;
        bool hidden;
        int yields;
    } cases[] = {
        {"set_text", FALSE, FALSE, WM_SETTEXT, 0, ANSWERED, false, 0},
        {"paint", FALSE, FALSE, WM_PAINT, 0, PROGRAM, true, 0},
        {"paint_preview", TRUE, FALSE, WM_PAINT, 0, PROGRAM, false, 0},
        {"paint_granted", FALSE, TRUE, WM_PAINT, 0, DEFAULT_RESULT, false, 0},
        {"key", FALSE, FALSE, WM_KEYDOWN, 0, PROGRAM, false, 0},
        {"key_granted", FALSE, TRUE, WM_KEYDOWN, 0, DEFAULT_RESULT, false, 0},
        {"system_key_granted", FALSE, TRUE, WM_SYSKEYDOWN, 0, DEFAULT_RESULT, false, 0},
        {"move_granted", FALSE, TRUE, WM_MOUSEMOVE, 0, DEFAULT_RESULT, false, 0},
        {"left_button_granted", FALSE, TRUE, WM_LBUTTONDOWN, 0, DEFAULT_RESULT, false, 0},
        {"right_button_granted", FALSE, TRUE, WM_RBUTTONDOWN, 0, DEFAULT_RESULT, false, 0},
        {"middle_button_granted", FALSE, TRUE, WM_MBUTTONDOWN, 0, DEFAULT_RESULT, false, 0},
        {"start_saver", FALSE, FALSE, WM_SYSCOMMAND, SC_SCREENSAVE, ANSWERED, false, 0},
        {"next_window", FALSE, FALSE, WM_SYSCOMMAND, SC_NEXTWINDOW, ANSWERED, false, 0},
        {"previous_window", FALSE, FALSE, WM_SYSCOMMAND, SC_PREVWINDOW, ANSWERED, false, 0},
        {"close_command", FALSE, FALSE, WM_SYSCOMMAND, SC_CLOSE, PROGRAM, false, 0},
        {"start_saver_preview", TRUE, FALSE, WM_SYSCOMMAND, SC_SCREENSAVE, PROGRAM, false, 0},
        {"timer", FALSE, FALSE, WM_TIMER, 0, PROGRAM, false, 1},
        {"timer_granted", FALSE, TRUE, WM_TIMER, 0, ANSWERED, false, 0},
        {"help", FALSE, FALSE, WM_HELP, 0, PROGRAM, false, 0},
        {"help_preview", TRUE, FALSE, WM_HELP, 0, TAKEN, false, 0},
        {"context_menu_preview", TRUE, FALSE, WM_CONTEXTMENU, 0, TAKEN, false, 0},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        SaverWindowWorld world(row.preview, row.granted);
        EXPECT_EQ(SaverWindowProc(WINDOW, row.message, row.wParam, WHERE), row.result);
        EXPECT_EQ(world.cursor == nullptr, row.hidden);
        EXPECT_EQ(world.yields, row.yields);
        const std::vector<Posted> help = {{HOST, row.message, WPARAM(HOST), WHERE}};
        EXPECT_EQ(world.posts, row.result == TAKEN ? help : std::vector<Posted>{});
    }
}

}  // namespace
