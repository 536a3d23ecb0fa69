// The checked platform call: a failure shows the error box and ends the
// process with exit code 1; success returns quietly. Each case runs in a
// child process, where a watcher thread reads the box that appears, reports
// it on standard error and dismisses it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "main.h"

namespace {

struct BoxReport {
    std::string text;
    int buttons = 0;
    bool error_icon = false;
};

BOOL CALLBACK InspectBoxChild(HWND child, LPARAM context)
{
    BoxReport& report = *reinterpret_cast<BoxReport*>(context);
    char window_class[32] = {}, text[1024] = {};
    GetClassNameA(child, window_class, sizeof window_class);
    GetWindowTextA(child, text, sizeof text);
    if (!IsWindowVisible(child)) return TRUE;
    if (lstrcmpiA(window_class, "Button") == 0) {
        ++report.buttons;
    } else if (lstrcmpiA(window_class, "Static") == 0) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            const HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
            report.error_icon = icon != NULL && icon == LoadIconA(NULL, IDI_ERROR);
        } else if (text[0] != '\0') {
            report.text = text;
        }
    }
    return TRUE;
}

// Waits up to ten seconds for a box captioned "Lumenfall", prints what it
// shows, then presses its OK button. A process still waiting then (a box
// with another caption, say) is ended with code 99 rather than left hanging.
DWORD WINAPI WatchForBox(LPVOID)
{
    for (int i = 0; i < 1000; ++i) {
        const HWND box = FindWindowA("#32770", "Lumenfall");
        if (box != NULL && IsWindowVisible(box)) {
            Sleep(100);  // let the box finish laying out its controls
            BoxReport report;
            EnumChildWindows(box, InspectBoxChild, reinterpret_cast<LPARAM>(&report));
            std::fprintf(stderr, "[box text=%s buttons=%d icon=%s]", report.text.c_str(), report.buttons,
                         report.error_icon ? "error" : "other");
            std::fflush(stderr);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(10);
    }
    std::fprintf(stderr, "[no box captioned Lumenfall]");
    std::fflush(stderr);
    ExitProcess(99);
}

void StartBoxWatcher()
{
    const HANDLE thread = CreateThread(NULL, 0, WatchForBox, NULL, 0, NULL);
    if (thread != NULL) CloseHandle(thread);
}

TEST(CheckResultDeathTest, OnlyTheFailureValueShowsTheBoxAndEnds)
{
    // A name too long for the 500-byte message is cut short, never overrun:
    // 499 characters and the NUL.
    const std::string long_name(600, 'n');
    const std::string long_box(499, 'n');
    const struct {
        INT_PTR result;
        const char* name;
        const char* expected_box;
    } cases[] = {
        {0, "SetPixelFormat", "SetPixelFormat failed\\."},
        {0, "wglCreateContext", "wglCreateContext failed\\."},
        {0, long_name.c_str(), long_box.c_str()},
        // Success: no box, and the caller carries on.
        {7, "ChoosePixelFormat", nullptr},
        {-1, "CreateWindow", nullptr},  // only the given failure value counts
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.expected_box != nullptr) {
            const std::string box = std::string("^\\[box text=") + c.expected_box + " buttons=1 icon=error\\]$";
            EXPECT_EXIT((StartBoxWatcher(), CheckResult(c.result, 0, c.name), std::exit(7)),
                        testing::ExitedWithCode(1), box);
        } else {
            EXPECT_EXIT((StartBoxWatcher(), CheckResult(c.result, 0, c.name), std::exit(7)),
                        testing::ExitedWithCode(7), "^$");
        }
    }
}

TEST(CheckResultDeathTest, MissingNameEndsTheProcessEvenOnSuccess)
{
    EXPECT_EXIT((StartBoxWatcher(), CheckResult(7, 0, nullptr), std::exit(7)), testing::ExitedWithCode(1),
                "main\\.cpp \\(\\d+\\) Assert: function_name != NULL\r?\n$");
}

}  // namespace
