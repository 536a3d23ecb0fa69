// The saver window's run and the framework's share of its messages.
#include <gtest/gtest.h>

#include "support/fake_saver_platform.h"

// Full-screen saving with a password on the Windows 95/98 family: the verifier
// is loaded for the life of the window only; preview never loads it.
TEST(SaverWindowTest, RunMakesTheWindowForItsMode)
{
    const char* const FULL = "8 Screen Saver 96000000 -10,-20 1280x1024 0";
    const struct { uintptr_t parent, running, created; ATOM atom; int result; const char* window; uintptr_t front; } cases[] = {
        {0, 0, 0x500, 1, 5, FULL, 0x500}, {0x900, 0, 0x500, 1, 5, "0 Preview 52000000 0,0 152x112 2304", 0},
        {0, 0x321, 0x500, 1, 0, "", 0x321}, {0, 0xDEAD, 0x500, 1, 5, FULL, 0x500}, {0, 0, 0x500, 0, 1, "", 0}, {0, 0, 0, 1, 1, FULL, 0},
    };
    for (const auto& c : cases) {
        FakeSaverPlatform fake;
        Win9xFamily = TRUE, fake.parent = c.parent, fake.runningSaver = c.running, fake.created = c.created, fake.atom = c.atom;
        fake.queue.push_back(MSG{Hwnd(0x500), WM_TIMER, 1, 0, 0, {0, 0}});
        bool hooked = false;
        fake.duringRun = [&] { hooked = fake.running && !fake.loaded.empty(); };
        EXPECT_EQ(RunSaver(Hwnd(c.parent)), c.result) << c.window;
        EXPECT_TRUE(fake.window == c.window && fake.front == c.front && PreviewMode == (c.parent != 0)) << c.window;
        EXPECT_EQ(fake.passed, c.result == 5 ? std::vector<UINT>{WM_TIMER} : std::vector<UINT>{});
        EXPECT_TRUE(fake.translated == (c.result == 5) && AutoPlayMessage == (c.running == 0x321 ? 0u : 0xC123u));
        EXPECT_TRUE(hooked == (c.parent == 0 && c.result == 5) && fake.loaded.empty() && !fake.running && fake.dcs == 0);
        const WNDCLASSA& k = fake.registered;
        EXPECT_TRUE(c.running == 0x321 || (k.lpfnWndProc == SaverWindowProc && k.hIcon && k.hbrBackground == HBRUSH(0xB000 + BLACK_BRUSH) &&
                                           k.style == (CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC)));
    }
}

TEST(SaverWindowTest, FrameworkShareOfTheMessages)
{
    // Answered by the program (P), the default handling (D) or here; hides, yields and posts to the preview's host.
    const LRESULT P = PROGRAM_RESULT, D = DEFAULT_RESULT;
    const struct { BOOL preview, granted; UINT message; WPARAM wParam; LRESULT result; int hides, sleeps; const char* posted; } cases[] = {
        {FALSE, FALSE, WM_SETTEXT, 0, 0, 0, 0, ""}, {TRUE, FALSE, WM_SETTEXT, 0, 0, 0, 0, ""}, {FALSE, FALSE, WM_PAINT, 0, P, 1, 0, ""},
        {TRUE, FALSE, WM_PAINT, 0, P, 0, 0, ""}, {FALSE, TRUE, WM_PAINT, 0, D, 0, 0, ""}, {FALSE, FALSE, WM_KEYDOWN, 13, P, 0, 0, ""},
        {FALSE, TRUE, WM_KEYDOWN, 13, D, 0, 0, ""}, {FALSE, TRUE, WM_MOUSEMOVE, 0, D, 0, 0, ""}, {FALSE, TRUE, WM_RBUTTONDOWN, 0, D, 0, 0, ""},
        {FALSE, FALSE, WM_SYSCOMMAND, SC_SCREENSAVE, 0, 0, 0, ""}, {FALSE, FALSE, WM_SYSCOMMAND, SC_NEXTWINDOW, 0, 0, 0, ""},
        {FALSE, FALSE, WM_SYSCOMMAND, SC_PREVWINDOW, 0, 0, 0, ""}, {FALSE, FALSE, WM_SYSCOMMAND, SC_CLOSE, P, 0, 0, ""},
        {TRUE, FALSE, WM_SYSCOMMAND, SC_SCREENSAVE, P, 0, 0, ""}, {FALSE, FALSE, WM_TIMER, 1, P, 0, 1, ""},
        {FALSE, TRUE, WM_TIMER, 1, 0, 0, 0, ""}, {FALSE, FALSE, WM_HELP, 0, P, 0, 0, ""}, {TRUE, FALSE, WM_HELP, 0, 1, 0, 0, "2304 83 2304 1234"},
        {TRUE, FALSE, WM_CONTEXTMENU, 0, 1, 0, 0, "2304 123 2304 1234"}, {FALSE, TRUE, WM_SIZE, 0, P, 0, 0, ""},
    };
    for (const auto& c : cases) {
        for (const uintptr_t host : {0x900, 0, 0xDEAD}) {  // the preview's host, none, and one that has gone
            FakeSaverPlatform fake;
            PreviewMode = c.preview, CloseGranted = c.granted, fake.parent = host;
            EXPECT_EQ(SaverWindowProc(Hwnd(0x500), c.message, c.wParam, 1234), c.result) << c.message;
            EXPECT_TRUE(fake.passed.size() == (c.result == P) && fake.hides == c.hides && fake.sleeps == c.sleeps) << c.message;
            EXPECT_EQ(fake.posts, *c.posted && host == 0x900 ? std::vector<std::string>{c.posted} : std::vector<std::string>{}) << c.message;
        }
    }
}

TEST(SaverWindowTest, CreationDetachesTheInputMethodAndDestructionGivesItBack)
{
    for (const int world : {0, 1, 2}) {  // input method, none, preview
        FakeSaverPlatform fake;
        fake.ime = world == 0, PreviewMode = world == 2, fake.cursor = {321, 123};
        SaverWindowProc(Hwnd(0x500), WM_CREATE, 0, 0);
        EXPECT_EQ(fake.imeContext, world == 0 ? 0u : 0x77u);
        EXPECT_TRUE(LastCursorPos.x == 321 && LastCursorPos.y == 123 && fake.hides == (world < 2) && fake.quit == -1);
        SaverWindowProc(Hwnd(0x500), WM_DESTROY, 0, 0);
        EXPECT_TRUE(fake.imeContext == 0x77u && fake.quit == 0 && fake.passed == (std::vector<UINT>{WM_CREATE, WM_DESTROY}));
    }
}
