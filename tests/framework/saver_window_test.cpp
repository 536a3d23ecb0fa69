// The saver window's run and the framework's share of its messages.
#include <gtest/gtest.h>

#include "framework/close_rules.h"
#include "framework/entry.h"
#include "framework/password_hooks.h"
#include "framework/saver_window.h"
#include "support/fake_saver_platform.h"

namespace {
TEST(SaverWindowTest, RunMakesTheWindowForItsMode)
{
    const struct { uintptr_t parent, running, created; ATOM atom; int result; const char* window; } cases[] = {
        {0, 0, 0x500, 1, 5, "8 Screen Saver 96000000 -10,0 1280x1024 0"},
        {0x900, 0, 0x500, 1, 5, "0 Preview 52000000 0,0 152x112 2304"},
        {0, 0x321, 0x500, 1, 0, ""}, {0, 0, 0x500, 0, 1, ""}, {0, 0, 0, 1, 1, "8 Screen Saver 96000000 -10,0 1280x1024 0"},
    };
    for (const auto& c : cases) {
        FakeSaverPlatform fake;
        Win9xFamily = TRUE;
        fake.parent = c.parent;
        fake.runningSaver = c.running;
        fake.created = c.created;
        fake.atom = c.atom;
        fake.screen = {-10, 0, 1270, 1024};
        fake.queue.push_back(MSG{Hwnd(0x500), WM_TIMER, 1, 0, 0, {0, 0}});
        fake.quitCode = 5;
        bool hooked = false;
        fake.duringRun = [&] { hooked = fake.running && !fake.loaded.empty(); };
        EXPECT_EQ(RunSaver(Hwnd(c.parent)), c.result) << c.window;
        EXPECT_EQ(fake.window, c.window);
        EXPECT_EQ(PreviewMode, c.parent != 0);
        EXPECT_EQ(fake.front, c.parent ? 0 : c.running ? c.running : c.atom ? c.created : 0);
        EXPECT_EQ(fake.passed, c.result == 5 ? std::vector<UINT>{WM_TIMER} : std::vector<UINT>{});
        EXPECT_EQ(AutoPlayMessage, c.running ? 0u : 0xC123u);
        EXPECT_EQ(hooked, c.parent == 0 && c.result == 5);
        EXPECT_TRUE(fake.loaded.empty() && !fake.running);
        EXPECT_EQ(fake.registered.lpfnWndProc, c.running ? nullptr : SaverWindowProc);
        EXPECT_TRUE(c.running || (fake.registered.hIcon && fake.registered.hbrBackground == HBRUSH(0xB000 + BLACK_BRUSH)));
    }
}

TEST(SaverWindowTest, FrameworkShareOfTheMessages)
{
    // passed: handed to the program; posted: to the preview's host.
    const struct { BOOL preview, granted; UINT message; WPARAM wParam; LRESULT result; bool passed; int hides, sleeps; const char* posted; } cases[] = {
        {FALSE, FALSE, WM_SETTEXT, 0, 0, false, 0, 0, ""}, {TRUE, FALSE, WM_SETTEXT, 0, 0, false, 0, 0, ""},
        {FALSE, FALSE, WM_PAINT, 0, PROGRAM_RESULT, true, 1, 0, ""}, {TRUE, FALSE, WM_PAINT, 0, PROGRAM_RESULT, true, 0, 0, ""},
        {FALSE, TRUE, WM_PAINT, 0, DEFAULT_RESULT, false, 0, 0, ""}, {FALSE, FALSE, WM_KEYDOWN, 13, PROGRAM_RESULT, true, 0, 0, ""},
        {FALSE, TRUE, WM_KEYDOWN, 13, DEFAULT_RESULT, false, 0, 0, ""}, {FALSE, TRUE, WM_MOUSEMOVE, 0, DEFAULT_RESULT, false, 0, 0, ""},
        {FALSE, TRUE, WM_RBUTTONDOWN, 0, DEFAULT_RESULT, false, 0, 0, ""},
        {FALSE, FALSE, WM_SYSCOMMAND, SC_SCREENSAVE, 0, false, 0, 0, ""}, {FALSE, FALSE, WM_SYSCOMMAND, SC_NEXTWINDOW, 0, false, 0, 0, ""},
        {FALSE, FALSE, WM_SYSCOMMAND, SC_PREVWINDOW, 0, false, 0, 0, ""}, {FALSE, FALSE, WM_SYSCOMMAND, SC_CLOSE, PROGRAM_RESULT, true, 0, 0, ""},
        {TRUE, FALSE, WM_SYSCOMMAND, SC_SCREENSAVE, PROGRAM_RESULT, true, 0, 0, ""},
        {FALSE, FALSE, WM_TIMER, 1, PROGRAM_RESULT, true, 0, 1, ""}, {FALSE, TRUE, WM_TIMER, 1, 0, false, 0, 0, ""},
        {FALSE, FALSE, WM_HELP, 0, PROGRAM_RESULT, true, 0, 0, ""}, {TRUE, FALSE, WM_HELP, 0, 1, false, 0, 0, "2304 83 2304 1234"},
        {TRUE, FALSE, WM_CONTEXTMENU, 0, 1, false, 0, 0, "2304 123 2304 1234"}, {FALSE, TRUE, WM_SIZE, 0, PROGRAM_RESULT, true, 0, 0, ""},
    };
    for (const auto& c : cases) {
        FakeSaverPlatform fake;
        PreviewMode = c.preview;
        CloseGranted = c.granted;
        EXPECT_EQ(SaverWindowProc(Hwnd(0x500), c.message, c.wParam, 1234), c.result) << c.message;
        EXPECT_EQ(fake.passed.size(), c.passed ? 1u : 0u) << c.message;
        EXPECT_TRUE(fake.hides == c.hides && fake.sleeps == c.sleeps) << c.message;
        EXPECT_EQ(fake.posts, *c.posted ? std::vector<std::string>{c.posted} : std::vector<std::string>{}) << c.message;
    }
    FakeSaverPlatform fake;  // the host has gone
    PreviewMode = TRUE;
    fake.parent = 0;
    EXPECT_EQ(SaverWindowProc(Hwnd(0x500), WM_CONTEXTMENU, 0, 0), 1);
    EXPECT_TRUE(fake.posts.empty());
}

TEST(SaverWindowTest, CreationDetachesTheInputMethodAndDestructionGivesItBack)
{
    for (const int world : {0, 1, 2}) {  // input method, none, preview
        FakeSaverPlatform fake;
        fake.ime = world == 0;
        PreviewMode = world == 2;
        fake.cursor = {321, 123};
        SaverWindowProc(Hwnd(0x500), WM_CREATE, 0, 0);
        EXPECT_EQ(fake.imeContext, world == 0 ? 0u : 0x77u);
        EXPECT_TRUE(LastCursorPos.x == 321 && LastCursorPos.y == 123 && fake.hides == (world < 2) && fake.quit == -1);
        SaverWindowProc(Hwnd(0x500), WM_DESTROY, 0, 0);
        EXPECT_TRUE(fake.imeContext == 0x77u && fake.quit == 0);
        EXPECT_EQ(fake.passed, (std::vector<UINT>{WM_CREATE, WM_DESTROY}));
    }
}
}  // namespace
