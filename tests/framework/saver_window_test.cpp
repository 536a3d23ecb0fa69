// The saver window's run and the framework's share of its messages, over
// doubles of the platform tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/close_rules.h"
#include "framework/entry.h"
#include "framework/password_hooks.h"
#include "framework/saver_window.h"
#include "support/fake_saver_platform.h"
#include "support/fake_saver_window.h"

namespace {

class SaverWindowTest : public testing::Test {
protected:
    SaverWindowTest() : window(platform) {}

    // Sets up the Windows 95/98 family with the password on and a verifier.
    void PasswordOn()
    {
        Win9xFamily = TRUE;
        platform.storedValue = {1, 0, 0, 0};
        platform.libraries = {"PASSWORD.CPL"};
        platform.routines = {"VerifyScreenSavePwd"};
    }

    // Index of the first logged call that starts with `prefix`, or -1.
    int IndexOf(const std::string& prefix) const
    {
        const auto& calls = platform.calls;
        for (size_t i = 0; i < calls.size(); ++i)
            if (calls[i].rfind(prefix, 0) == 0) return int(i);
        return -1;
    }

    FakeSaverPlatform platform;
    FakeSaverWindow window;
};

TEST_F(SaverWindowTest, FullScreenRunMakesATopmostWindowOverTheScreen)
{
    window.screen = {-10, 0, 1270, 1024};
    window.queue.push_back(MSG{Window(0x500), WM_KEYDOWN, 'A', 0, 0, {0, 0}});
    window.quitCode = 5;
    EXPECT_EQ(RunSaver(nullptr), 5);  // the quit code

    EXPECT_EQ(platform.CallsTo("CreateWindowExA"),
              std::vector<std::string>{"CreateWindowExA(0x8, WindowsScreenSaverClass, Screen Saver, "
                                       "0x96000000, -10, 0, 1280, 1024, 0)"});
    EXPECT_EQ(window.registered.style, UINT(0x2B));
    EXPECT_EQ(window.registered.lpfnWndProc, SaverWindowProc);
    EXPECT_EQ(window.registered.hbrBackground, reinterpret_cast<HBRUSH>(uintptr_t(0xB000 + BLACK_BRUSH)));
    EXPECT_EQ(window.registered.hCursor, nullptr);
    EXPECT_EQ(window.registered.cbClsExtra + window.registered.cbWndExtra, 0);
    EXPECT_EQ(platform.CallsTo("LoadIconA"), std::vector<std::string>{"LoadIconA(100)"});
    EXPECT_EQ(SaverWindow, Window(0x500));
    EXPECT_FALSE(PreviewMode);
    // Brought to the front before the loop hands out its first message.
    EXPECT_LT(IndexOf("SetForegroundWindow(1280)"), IndexOf("DispatchMessageA"));
    EXPECT_GE(IndexOf("SetForegroundWindow(1280)"), 0);
    EXPECT_GE(IndexOf("ScreenSaverProc(0x100"), 0);
    // The AutoPlay query belongs to the Windows 95/98 family only.
    EXPECT_EQ(AutoPlayMessage, 0u);
    EXPECT_EQ(IndexOf("RegisterWindowMessageA"), -1);
}

TEST_F(SaverWindowTest, SecondFullScreenStartOnlyRaisesTheRunningSaver)
{
    PasswordOn();
    window.runningSaver = 0x321;
    EXPECT_EQ(RunSaver(nullptr), 0);
    EXPECT_GE(IndexOf("SetForegroundWindow(801)"), 0);
    EXPECT_EQ(IndexOf("RegisterClassA"), -1);
    EXPECT_EQ(IndexOf("CreateWindowExA"), -1);
    EXPECT_EQ(IndexOf("RegOpenKeyA"), -1);
    EXPECT_EQ(IndexOf("LoadLibraryA"), -1);
    EXPECT_EQ(IndexOf("FreeLibrary"), -1);
}

TEST_F(SaverWindowTest, PreviewIsAChildOfTheHostsClientArea)
{
    PasswordOn();
    window.hostClient = {0, 0, 152, 112};
    EXPECT_EQ(RunSaver(Window(0x900)), 0);
    EXPECT_EQ(platform.CallsTo("CreateWindowExA"),
              std::vector<std::string>{"CreateWindowExA(0x0, WindowsScreenSaverClass, Preview, "
                                       "0x52000000, 0, 0, 152, 112, 2304)"});
    EXPECT_TRUE(PreviewMode);
    // Preview neither looks for a running saver, nor reads the password
    // setting, nor comes to the front.
    EXPECT_EQ(IndexOf("FindWindowA"), -1);
    EXPECT_EQ(IndexOf("RegOpenKeyA"), -1);
    EXPECT_EQ(IndexOf("SetForegroundWindow"), -1);
}

TEST_F(SaverWindowTest, PasswordHookSpansTheWindowsLife)
{
    PasswordOn();
    window.queue.push_back(MSG{Window(0x500), WM_TIMER, 1, 0, 0, {0, 0}});
    EXPECT_EQ(RunSaver(nullptr), 0);
    const int on = IndexOf("SystemParametersInfoA(97, 1");
    const int created = IndexOf("CreateWindowExA");
    const int freed = IndexOf("FreeLibrary(PASSWORD.CPL)");
    const int off = IndexOf("SystemParametersInfoA(97, 0");
    ASSERT_GE(on, 0);
    EXPECT_LT(IndexOf("FindWindowA"), IndexOf("RegOpenKeyA"));
    EXPECT_LT(on, created);
    EXPECT_LT(IndexOf("DispatchMessageA"), freed);
    EXPECT_LT(freed, off);
    EXPECT_EQ(VerifyPasswordFn, nullptr);
    EXPECT_EQ(AutoPlayMessage, 0xC123u);
}

TEST_F(SaverWindowTest, NoWindowEndsTheRunAsAFailureAndUnloadsTheHook)
{
    struct Case {
        ATOM atom;
        uintptr_t created;
    };
    for (const Case c : {Case{0, 0x500}, Case{0xC001, 0}}) {
        platform.ClearCalls();
        PasswordOn();
        SaverWindow = nullptr;
        window.classAtom = c.atom;
        window.createdWindow = c.created;
        window.quitCode = 0;
        EXPECT_EQ(RunSaver(nullptr), 1) << "atom " << c.atom;
        EXPECT_EQ(IndexOf("CreateWindowExA") >= 0, c.atom != 0);
        EXPECT_EQ(IndexOf("SetForegroundWindow"), -1);
        EXPECT_GE(IndexOf("SystemParametersInfoA(97, 0"), 0);
    }
}

// Each row sends one message to SaverWindowProc in a given state and names
// the calls it must make and its result.
TEST_F(SaverWindowTest, FrameworkShareOfTheMessages)
{
    struct Case {
        const char* name;
        BOOL preview, granted;
        UINT message;
        WPARAM wParam;
        std::vector<std::string> calls;
        LRESULT result;
        uintptr_t host = 0x900;  // the preview window's parent
    };
    const Case cases[] = {
        {"title never changes", FALSE, FALSE, WM_SETTEXT, 0, {}, 0},
        {"title in preview", TRUE, FALSE, WM_SETTEXT, 0, {}, 0},
        {"paint hides the cursor", FALSE, FALSE, WM_PAINT, 0, {"SetCursor(0)", "ScreenSaverProc(0xf, 0)"}, 7},
        {"paint in preview", TRUE, FALSE, WM_PAINT, 0, {"ScreenSaverProc(0xf, 0)"}, 7},
        {"paint once closing", FALSE, TRUE, WM_PAINT, 0, {"DefWindowProcA(0xf)"}, 99},
        {"key while saving", FALSE, FALSE, WM_KEYDOWN, 13, {"ScreenSaverProc(0x100, 13)"}, 7},
        {"key once closing", FALSE, TRUE, WM_KEYDOWN, 13, {"DefWindowProcA(0x100)"}, 99},
        {"mouse once closing", FALSE, TRUE, WM_MOUSEMOVE, 0, {"DefWindowProcA(0x200)"}, 99},
        {"button once closing", FALSE, TRUE, WM_RBUTTONDOWN, 0, {"DefWindowProcA(0x204)"}, 99},
        {"screen saver command swallowed", FALSE, FALSE, WM_SYSCOMMAND, SC_SCREENSAVE, {}, 0},
        {"next window swallowed", FALSE, FALSE, WM_SYSCOMMAND, SC_NEXTWINDOW, {}, 0},
        {"previous window swallowed", FALSE, FALSE, WM_SYSCOMMAND, SC_PREVWINDOW, {}, 0},
        {"close command passes", FALSE, FALSE, WM_SYSCOMMAND, SC_CLOSE, {"ScreenSaverProc(0x112, 61536)"}, 7},
        {"preview passes switch commands", TRUE, FALSE, WM_SYSCOMMAND, SC_SCREENSAVE, {"ScreenSaverProc(0x112, 61760)"}, 7},
        {"timer yields first", FALSE, FALSE, WM_TIMER, 1, {"Sleep(0)", "ScreenSaverProc(0x113, 1)"}, 7},
        {"timer dropped once closing", FALSE, TRUE, WM_TIMER, 1, {}, 0},
        {"help in full screen", FALSE, FALSE, WM_HELP, 0, {"ScreenSaverProc(0x53, 0)"}, 7},
        {"context menu to the host", TRUE, FALSE, WM_CONTEXTMENU, 0, {"IsWindow(2304)", "PostMessageA(2304, 0x7b, 2304, 1234)"}, 1},
        {"help to the host", TRUE, FALSE, WM_HELP, 0, {"IsWindow(2304)", "PostMessageA(2304, 0x53, 2304, 1234)"}, 1},
        {"context menu with the host gone", TRUE, FALSE, WM_CONTEXTMENU, 0, {}, 1, 0},
        {"other messages pass", FALSE, TRUE, WM_SIZE, 0, {"ScreenSaverProc(0x5, 0)"}, 7},
    };
    for (const Case& c : cases) {
        window.parentOfWindow = c.host;
        platform.ClearCalls();
        PreviewMode = c.preview;
        CloseGranted = c.granted;
        EXPECT_EQ(SaverWindowProc(Window(0x500), c.message, c.wParam, 1234), c.result) << c.name;
        EXPECT_EQ(platform.calls, c.calls) << c.name;
    }
}

TEST_F(SaverWindowTest, CreationDetachesTheInputMethodAndDestructionGivesItBack)
{
    struct Case {
        bool ime_loaded;
        BOOL preview;
        std::vector<std::string> create_calls;
        std::vector<std::string> destroy_calls;
    };
    const Case cases[] = {
        {true, FALSE,
         {"GetModuleHandleA(IMM32.DLL)", "GetProcAddress(ImmAssociateContext)",
          "ImmAssociateContext(1280, 0)", "SetCursor(0)", "ScreenSaverProc(0x1, 0)"},
         {"ImmAssociateContext(1280, 119)", "PostQuitMessage(0)", "ScreenSaverProc(0x2, 0)"}},
        {false, FALSE,
         {"GetModuleHandleA(IMM32.DLL)", "SetCursor(0)", "ScreenSaverProc(0x1, 0)"},
         {"PostQuitMessage(0)", "ScreenSaverProc(0x2, 0)"}},
        {false, TRUE,
         {"GetModuleHandleA(IMM32.DLL)", "ScreenSaverProc(0x1, 0)"},
         {"PostQuitMessage(0)", "ScreenSaverProc(0x2, 0)"}},
    };
    for (const Case& c : cases) {
        ImeModule = nullptr;
        ImeAssociateFn = nullptr;
        SavedInputContext = nullptr;
        window.imeLoaded = c.ime_loaded;
        PreviewMode = c.preview;
        platform.cursor = {321, 123};
        platform.ClearCalls();
        SaverWindowProc(Window(0x500), WM_CREATE, 0, 0);
        EXPECT_EQ(platform.calls, c.create_calls);
        EXPECT_EQ(LastCursorPos.x, 321);
        EXPECT_EQ(LastCursorPos.y, 123);
        platform.ClearCalls();
        SaverWindowProc(Window(0x500), WM_DESTROY, 0, 0);
        EXPECT_EQ(platform.calls, c.destroy_calls);
    }
}

}  // namespace
